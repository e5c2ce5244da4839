#pragma once
// The built-in table of standard network variable types (SNVTs): names, categories, sizes,
// scale factors and the field tables of the structured types. Index 0 is the user-defined
// (raw) type; 1..177 are catalogue rows; anything else is not in the catalogue.
#include "vocab/BaseType.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace korvex {

inline constexpr int SnvtCount = 177;    // rows 1..177
inline constexpr int SnvtMaxFields = 16; // rows per field table
inline constexpr int SnvtFieldTables = 17;

struct SnvtEntry {
    const char* name; // at most 17 characters
    uint16_t index;   // equal to the row number
    NvCategory category;
    uint8_t size; // declared size in bytes, used by the XIF import
};

struct SnvtScaling {
    uint8_t defaultSize; // size of a new NV created from the type index
    int16_t scaleA;      // value = A * 10^B * (raw + C)
    int16_t scaleB;
    int16_t scaleC;
};

struct SnvtField {
    int32_t category;  // NvCategory; 0 ends a table
    int32_t sizeOrBit; // size in bytes, or the bit number of a bitfield
    int32_t scaleA;
    int32_t scaleB;
    int32_t scaleC;
    int32_t reserved; // always 0
    const char* name; // up to 40 bytes; NV field rows point at it
};

// "UNVT/Raw NV" for 0, the row's name for 1..177, "SNVT_undefined" otherwise.
const char* snvt_name(int index);
// Category and declared size of rows 1..177; 0 for anything else.
NvCategory snvt_category(int index);
uint8_t snvt_size(int index);
// The row (1..177) that stores this index, 0 when none does: the test for a known standard type.
int snvt_find(int index);
// Scaling of the row snvt_find returns; all zero when it returns 0.
SnvtScaling snvt_scaling(int index);
// Whole catalogue row (row 0, all empty, for anything outside 1..177).
const SnvtEntry& snvt_entry(int index);

// The field rows of one of the 17 structured types that have a table; empty for every other index.
std::span<const SnvtField> snvt_fields(int index);
// Rows before the first category-0 row, at most 16; 1 when the index has no field table
// (callers count the NV itself as its one row).
int snvt_field_count(int index);

// Lower-case category name for 0..14, "Invalid" otherwise.
const char* category_name(int value);
// The 15 category names in value order: lower case (NV lists), upper case (NV editor choice).
const std::array<const char*, NvCategoryCount>& categoryNamesLower();
const std::array<const char*, NvCategoryCount>& categoryNamesUpper();
// Names of rows 1..177 in index order, for the NV editor's type choice.
const std::array<const char*, SnvtCount>& snvtTypeNames();

} // namespace korvex
