// Names of the NV categories: lower case in the NV lists, upper case in the NV editor's choice.
#include "vocab/SnvtCatalogue.h"

namespace korvex {
namespace {

constexpr std::array<const char*, NvCategoryCount> kLower{
    "nvt_cat_nul",           "nvt_cat_signed_char",    "nvt_cat_unsigned_char",
    "nvt_cat_signed_short",  "nvt_cat_unsigned_short", "nvt_cat_signed_long",
    "nvt_cat_unsigned_long", "nvt_cat_enum",           "nvt_cat_array",
    "nvt_cat_struct",        "nvt_cat_union",          "nvt_cat_bitfield",
    "nvt_cat_float",         "nvt_cat_signed_quad",    "nvt_cat_reference",
};

constexpr std::array<const char*, NvCategoryCount> kUpper{
    "NVT_CAT_NUL",           "NVT_CAT_SIGNED_CHAR",    "NVT_CAT_UNSIGNED_CHAR",
    "NVT_CAT_SIGNED_SHORT",  "NVT_CAT_UNSIGNED_SHORT", "NVT_CAT_SIGNED_LONG",
    "NVT_CAT_UNSIGNED_LONG", "NVT_CAT_ENUM",           "NVT_CAT_ARRAY",
    "NVT_CAT_STRUCT",        "NVT_CAT_UNION",          "NVT_CAT_BITFIELD",
    "NVT_CAT_FLOAT",         "NVT_CAT_SIGNED_QUAD",    "NVT_CAT_REFERENCE",
};

} // namespace

const char* category_name(int value) {
    if (value < 0 || value >= NvCategoryCount) return "Invalid";
    return kLower[value];
}

const std::array<const char*, NvCategoryCount>& categoryNamesLower() {
    return kLower;
}
const std::array<const char*, NvCategoryCount>& categoryNamesUpper() {
    return kUpper;
}

} // namespace korvex
