#pragma once
// The NV import table: the network variables read from another device's XIF file, indexed by
// the NV index the file gives, before the user picks entries for the gateway's NV list.
#include "formats/xif/XifTypeLayout.h"
#include "model/ObjectMap.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvex {

inline constexpr int kImportEntries = 1000;

// Where an entry's type description comes from. A standard type the catalogue lacks is held as
// a user-defined type laid out as the file's own type lines say, or, when they say nothing
// usable, cannot be added.
enum class ImportLayout : uint8_t { Catalogue, File, Missing };

struct ImportEntry {
    uint8_t size = 0;    // bytes
    uint8_t isInput = 0; // an input of the file's device
    uint8_t typeIndex = 0;
    uint8_t baseType = 0;              // left 0 by the reader, but for a File layout
    std::array<uint8_t, 2> reserved{}; // become the row's byte and bit offsets; left 0
    int16_t scaleA = 0;
    int16_t scaleB = 0;
    int16_t scaleC = 0;
    std::array<char, kNameSize> name{};
    uint8_t selected = 0;
    ImportLayout layout = ImportLayout::Catalogue;
    uint8_t fieldCount = 0; // a File layout's field rows
    std::array<ImportField, kMaxFields> fields{};
    bool operator==(const ImportEntry&) const = default;
};

struct ImportTable {
    int count = 0; // the page shows entries 0..count-1
    std::array<ImportEntry, kImportEntries> entries{};
};

// The page's clear action.
void clearImportTable(ImportTable& table);

// Selection marks on entries 0..count-1; indices outside are ignored. Returns the marks set.
void selectAllImportEntries(ImportTable& table, bool selected = true);
int selectImportEntries(ImportTable& table, std::span<const int> indices);

// Appends a row for every marked entry, in table order, with its direction reversed: the
// partner's outputs become the gateway's inputs. Structured standard types get a row per field,
// and so do types laid out by the file. The NV list grows to at most 1000 rows. Returns the
// number of rows added; `notes`, when given, gets one line for each marked entry that was left
// out or went in without all its field rows.
int add_selected(const ImportTable& table, ObjectMap& map, std::vector<std::string>* notes = nullptr);

} // namespace korvex
