#pragma once
// The register import list: what a CSV file held, before the user picks entries for the
// register list. An entry's `defined` byte is its selection mark (clear after reading).
#include "model/ObjectMap.h"
#include "model/RegisterDef.h"

#include <array>
#include <span>

namespace korvex {

struct RegisterImportList {
    std::array<RegisterDef, kListCapacity> entries{};
    int count = 0;
};

// The page's clear action: every entry zeroed, count 0.
void clearImportList(RegisterImportList& list);

// Selection marks on entries 0..count-1. Indices outside that range are ignored; the result
// tells how many marks were set.
void selectAllImported(RegisterImportList& list, bool selected = true);
int selectImported(RegisterImportList& list, std::span<const int> indices);

// Copies every marked entry, in import order, to the end of the register list while it holds
// fewer than 1000 rows. Returns the number of rows added.
int addSelectedRegisters(const RegisterImportList& list, ObjectMap& map);

} // namespace korvex
