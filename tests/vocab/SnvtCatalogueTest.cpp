// Catalogue rows, lookups at their bounds, category names and the name lists.
#include "vocab/SnvtCatalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace korvex {
namespace {

struct RowCase {
    int index;
    const char* name;
    NvCategory category;
    int size;
    int defaultSize;
    int a, b, c;
};

// One row of every category/size/scaling group (the last index of each group, so range ends are
// covered), the first index of the larger ranges, and every row whose default size differs.
const RowCase kRows[] = {
    {7, "SNVT_char_ascii", NvtCatUnsignedChar, 1, 1, 1, 0, 0},
    {177, "SNVT_sched_val", NvtCatUnsignedShort, 1, 1, 1, 0, 0},
    {21, "SNVT_lev_cont", NvtCatUnsignedShort, 1, 1, 5, -1, 0},
    {125, "SNVT_ph", NvtCatSignedLong, 2, 2, 1, -3, 0},
    {153, "SNVT_enthalpy", NvtCatSignedLong, 2, 2, 1, -2, 0},
    {39, "SNVT_temp", NvtCatSignedLong, 2, 2, 1, -1, -2740},
    {107, "SNVT_time_sec", NvtCatSignedLong, 2, 2, 1, -1, 0},
    {124, "SNVT_time_hour", NvtCatSignedLong, 2, 2, 1, 0, 0},
    {104, "SNVT_angle_deg", NvtCatSignedLong, 2, 2, 2, -2, 0},
    {98, "SNVT_pwr_fact", NvtCatSignedLong, 2, 2, 5, -5, 0},
    {81, "SNVT_lev_percent", NvtCatSignedLong, 2, 2, 5, -3, 0},
    {131, "SNVT_temp_ror", NvtCatSignedLong, 2, 2, 5, -1, 0},
    {78, "SNVT_freq_milhz", NvtCatUnsignedLong, 2, 2, 1, -4, 0},
    {143, "SNVT_turbidity", NvtCatUnsignedLong, 2, 2, 1, -3, 0},
    {161, "SNVT_flow_p", NvtCatUnsignedLong, 2, 2, 1, -2, 0},
    {77, "SNVT_freq_kilohz", NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {139, "SNVT_amp_ac", NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {110, "SNVT_area", NvtCatUnsignedLong, 2, 2, 2, -4, 0},
    {82, "SNVT_multiplier", NvtCatUnsignedLong, 2, 2, 5, -4, 0},
    {100, "SNVT_density", NvtCatUnsignedLong, 2, 2, 5, -1, 0},
    {171, "SNVT_flow_dir", NvtCatEnum, 1, 1, 1, 0, 0},
    {167, "SNVT_undefined", NvtCatStruct, 1, 0, 0, 0, 0},
    {115, "SNVT_scene", NvtCatStruct, 2, 2, 0, 0, 0},
    {127, "SNVT_chlr_status", NvtCatStruct, 3, 3, 0, 0, 0},
    {175, "SNVT_dev_maint", NvtCatStruct, 4, 4, 0, 0, 0},
    {172, "SNVT_hvac_satsts", NvtCatStruct, 5, 2, 0, 0, 0},
    {136, "SNVT_reg_val", NvtCatStruct, 6, 6, 0, 0, 0},
    {149, "SNVT_ctrl_resp", NvtCatStruct, 7, 7, 0, 0, 0},
    {165, "SNVT_state_64", NvtCatStruct, 8, 8, 0, 0, 0},
    {157, "SNVT_ex_control", NvtCatStruct, 10, 10, 0, 0, 0},
    {135, "SNVT_earth_pos", NvtCatStruct, 11, 11, 0, 0, 0},
    {112, "SNVT_hvac_status", NvtCatStruct, 12, 12, 0, 0, 0},
    {152, "SNVT_pos_ctrl", NvtCatStruct, 13, 13, 0, 0, 0},
    {94, "SNVT_preset", NvtCatStruct, 14, 14, 0, 0, 0},
    {134, "SNVT_time_zone", NvtCatStruct, 15, 15, 0, 0, 0},
    {80, "SNVT_ISO_7811", NvtCatStruct, 17, 0, 0, 0, 0},
    {166, "SNVT_nv_type", NvtCatStruct, 19, 19, 0, 0, 0},
    {86, "SNVT_magcard", NvtCatStruct, 20, 20, 1, 0, 0},
    {158, "SNVT_pumpset_sn", NvtCatStruct, 23, 23, 0, 0, 0},
    {176, "SNVT_date_event", NvtCatStruct, 26, 26, 0, 0, 0},
    {74, "SNVT_file_status", NvtCatStruct, 27, 27, 0, 0, 0},
    {88, "SNVT_alarm", NvtCatStruct, 29, 29, 0, 0, 0},
    {96, "SNVT_trans_table", NvtCatStruct, 30, 30, 0, 0, 0},
    {164, "SNVT_alarm2", NvtCatStruct, 31, 31, 0, 0, 0},
    {144, "SNVT_turbidity_f", NvtCatFloat, 4, 4, 0, 0, 0},
    {146, "SNVT_elec_kwh_l", NvtCatSignedQuad, 4, 4, 1, -1, 0},
    // first rows of ranges
    {1, "SNVT_amp", NvtCatSignedLong, 2, 2, 1, -1, 0},
    {44, "SNVT_volt", NvtCatSignedLong, 2, 2, 1, -1, 0},
    {17, "SNVT_length", NvtCatUnsignedLong, 2, 2, 1, -1, 0},
    {5, "SNVT_btu_kilo", NvtCatUnsignedLong, 2, 2, 1, 0, 0},
    {108, "SNVT_hvac_mode", NvtCatEnum, 1, 1, 1, 0, 0},
    {48, "SNVT_amp_f", NvtCatFloat, 4, 4, 0, 0, 0},
    {68, "SNVT_elec_whr_f", NvtCatFloat, 4, 4, 0, 0, 0},
    {36, "SNVT_str_ascii", NvtCatStruct, 31, 31, 0, 0, 0},
    // default size differs from the declared size
    {10, "SNVT_date_cal", NvtCatStruct, 4, 0, 0, 0, 0},
    {12, "SNVT_date_time", NvtCatStruct, 3, 0, 0, 0, 0},
    {140, "SNVT_undefined", NvtCatStruct, 1, 0, 0, 0, 0},
    {141, "SNVT_undefined", NvtCatStruct, 1, 0, 0, 0, 0},
    {142, "SNVT_undefined", NvtCatStruct, 1, 0, 0, 0, 0},
    {150, "SNVT_ptz", NvtCatStruct, 4, 6, 0, 0, 0},
};

TEST(SnvtCatalogue, RowsOfEveryGroup) {
    for (const RowCase& row : kRows) {
        SCOPED_TRACE(row.index);
        EXPECT_STREQ(snvt_name(row.index), row.name);
        EXPECT_EQ(snvt_category(row.index), row.category);
        EXPECT_EQ(snvt_size(row.index), row.size);
        const SnvtScaling scaling = snvt_scaling(row.index);
        EXPECT_EQ(scaling.defaultSize, row.defaultSize);
        EXPECT_EQ(scaling.scaleA, row.a);
        EXPECT_EQ(scaling.scaleB, row.b);
        EXPECT_EQ(scaling.scaleC, row.c);
    }
}

TEST(SnvtCatalogue, ExactlyNineRowsHaveTheirOwnDefaultSize) {
    int differing = 0;
    for (int index = 1; index <= SnvtCount; ++index) {
        if (snvt_scaling(index).defaultSize != snvt_size(index)) ++differing;
    }
    EXPECT_EQ(differing, 9);
}

TEST(SnvtCatalogue, EveryRowStoresItsIndexAndAShortName) {
    for (int index = 1; index <= SnvtCount; ++index) {
        SCOPED_TRACE(index);
        const SnvtEntry& entry = snvt_entry(index);
        EXPECT_EQ(entry.index, index);
        EXPECT_STREQ(entry.name, snvt_name(index));
        EXPECT_LE(std::strlen(entry.name), 17u);
        EXPECT_EQ(std::strncmp(entry.name, "SNVT_", 5), 0);
        EXPECT_NE(entry.category, NvtCatNul);
    }
}

struct BoundCase {
    int index;
    const char* name;
    int find;
    int size;
    NvCategory category;
};

TEST(SnvtCatalogue, LookupsAtTheirBounds) {
    const BoundCase cases[] = {
        {-1, "SNVT_undefined", 0, 0, NvtCatNul},
        {0, "UNVT/Raw NV", 0, 0, NvtCatNul},
        {1, "SNVT_amp", 1, 2, NvtCatSignedLong},
        {140, "SNVT_undefined", 140, 1, NvtCatStruct},
        {177, "SNVT_sched_val", 177, 1, NvtCatUnsignedShort},
        {178, "SNVT_undefined", 0, 0, NvtCatNul},
        {200, "SNVT_undefined", 0, 0, NvtCatNul},
        {255, "SNVT_undefined", 0, 0, NvtCatNul},
        {65536 + 39, "SNVT_undefined", 0, 0, NvtCatNul},
    };
    for (const BoundCase& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_STREQ(snvt_name(c.index), c.name);
        EXPECT_EQ(snvt_find(c.index), c.find);
        EXPECT_EQ(snvt_size(c.index), c.size);
        EXPECT_EQ(snvt_category(c.index), c.category);
        if (c.find == 0) {
            const SnvtScaling none = snvt_scaling(c.index);
            EXPECT_EQ(none.defaultSize, 0);
            EXPECT_EQ(none.scaleA, 0);
            EXPECT_EQ(none.scaleB, 0);
            EXPECT_EQ(none.scaleC, 0);
            EXPECT_EQ(snvt_entry(c.index).index, 0);
        }
    }
}

TEST(SnvtCatalogue, CategoryNames) {
    const auto& lower = categoryNamesLower();
    const auto& upper = categoryNamesUpper();
    EXPECT_STREQ(category_name(0), "nvt_cat_nul");
    EXPECT_STREQ(category_name(NvtCatSignedLong), "nvt_cat_signed_long");
    EXPECT_STREQ(category_name(14), "nvt_cat_reference");
    EXPECT_STREQ(category_name(15), "Invalid");
    EXPECT_STREQ(category_name(-1), "Invalid");
    EXPECT_STREQ(upper[0], "NVT_CAT_NUL");
    EXPECT_STREQ(upper[11], "NVT_CAT_BITFIELD");
    EXPECT_STREQ(upper[14], "NVT_CAT_REFERENCE");
    // The two forms differ only in letter case, value for value.
    for (int value = 0; value < NvCategoryCount; ++value) {
        std::string folded = upper[value];
        for (char& ch : folded) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(folded, lower[value]) << value;
        EXPECT_STREQ(category_name(value), lower[value]);
    }
}

TEST(SnvtCatalogue, TypeNameListFollowsTheRows) {
    const auto& names = snvtTypeNames();
    ASSERT_EQ(names.size(), 177u);
    EXPECT_STREQ(names.front(), "SNVT_amp");
    EXPECT_STREQ(names.back(), "SNVT_sched_val");
    for (int index = 1; index <= SnvtCount; ++index) EXPECT_STREQ(names[index - 1], snvt_name(index));
}

} // namespace
} // namespace korvex
