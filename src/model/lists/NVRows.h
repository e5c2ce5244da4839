#pragma once
// How NV types map onto rows of the NV list: the base type a row stands for, how many rows a type
// takes when added, how many rows go when a row is deleted, and where a field row's header is.
#include "model/ObjectMap.h"

#include <cstdint>

namespace korvex {

// The base type of a row: the catalogue's for a standard type, the row's own otherwise.
uint8_t nvBaseType(const NetVar& row);

// Rows a new NV of standard type t takes: 1 plus one per catalogue field; 0 when the catalogue
// does not hold t (such a type cannot be added).
int standardTypeRowCount(int t);

// Rows removed by deleting at row r (0-based): a field row alone; a STRUCT header with every
// defined field row below it; a header of a plain base type alone; 0 for any other row.
int nvDeleteRowCount(const ObjectMap& map, int r);

// The header of row r: the nearest row at or above r that is not a field row; -1 when none.
int nvHeaderRow(const ObjectMap& map, int r);

// 0-based index of the last field row that belongs to the header at h (h itself when none).
int nvLastFieldRow(const ObjectMap& map, int h);

// Type fields of a header row of standard type t: snvt, size and scaling from the catalogue's
// size table, base type from the catalogue. False (row untouched) when t is not in the catalogue.
bool setStandardType(NetVar& row, int t);

bool validNVRow(const ObjectMap& map, int r);
bool validRegisterRow(const ObjectMap& map, int r);

} // namespace korvex
