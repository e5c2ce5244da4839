// Field tables of the structured types: which indices have one, their lengths, their first and
// last rows, and the row invariants every consumer relies on.
#include "vocab/SnvtCatalogue.h"

#include <gtest/gtest.h>

#include <cstring>

namespace korvex {
namespace {

struct FieldCase {
    const char* name;
    int32_t category;
    int32_t sizeOrBit;
    int32_t a, b, c;
};

struct TableCase {
    int index;
    int count;
    FieldCase first;
    FieldCase last;
};

const TableCase kTables[] = {
    {40, 4, {"hours", NvtCatUnsignedShort, 1, 0, 0, 0}, {"milliseconds", NvtCatUnsignedShort, 1, 0, 0, 0}},
    {83, 16, {"bit 0", NvtCatBitfield, 0, 1, 0, 0}, {"bit 15", NvtCatBitfield, 15, 1, 0, 0}},
    {84, 6, {"year", NvtCatUnsignedLong, 1, 0, 0, 0}, {"second", NvtCatUnsignedShort, 1, 0, 0, 0}},
    {87, 5, {"day", NvtCatUnsignedLong, 1, 0, 0, 0}, {"millisecond", NvtCatUnsignedLong, 1, 0, 0, 0}},
    {88, 14, {"location", NvtCatUnsignedChar, 6, 1, 0, 0}, {"alarm_limit", NvtCatUnsignedShort, 4, 1, 0, 0}},
    {95, 2, {"value", NvtCatUnsignedShort, 1, 0, 0, 0}, {"state", NvtCatSignedShort, 1, 0, 0, 0}},
    {106,
     6,
     {"occupied_cool", NvtCatSignedLong, 2, 1, -2, 0},
     {"unoccupied_heat", NvtCatSignedLong, 2, 1, -2, 0}},
    {111, 3, {"hvac_overid", NvtCatEnum, 1, 0, 0, 0}, {"flow", NvtCatUnsignedLong, 2, 1, 0, 0}},
    {112, 7, {"hvac", NvtCatEnum, 1, 0, 0, 0}, {"in_alarm", NvtCatUnsignedShort, 1, 1, 0, 0}},
    {127, 8, {"chiller", NvtCatEnum, 1, 0, 0, 0}, {"condw_flow", NvtCatBitfield, 5, 1, 0, 0}},
    {148,
     3,
     {"receiver_id", NvtCatUnsignedLong, 2, 1, 0, 0},
     {"sender_prio", NvtCatUnsignedShort, 1, 1, 0, 0}},
    {149, 4, {"control_resp", NvtCatEnum, 1, 0, 0, 0}, {"controller_id", NvtCatUnsignedLong, 2, 1, 0, 0}},
    {156, 8, {"main_pump", NvtCatEnum, 1, 0, 0, 0}, {"maintenance_required", NvtCatEnum, 1, 0, 0, 0}},
    {158,
     14,
     {"total_dilution_flow", NvtCatUnsignedLong, 2, 1, 0, 0},
     {"power_supply_on", NvtCatEnum, 1, 0, 0, 0}},
    {159,
     13,
     {"rotational_speed", NvtCatUnsignedLong, 2, 1, -1, 0},
     {"gas_brake_active", NvtCatEnum, 1, 0, 0, 0}},
    {164, 6, {"alarm_type", NvtCatEnum, 1, 0, 0, 0}, {"description", NvtCatUnsignedChar, 22, 1, 0, 0}},
    {172, 7, {"pri_heat", NvtCatBitfield, 0, 1, 0, 0}, {"mfr defined", NvtCatUnsignedShort, 1, 1, 0, 0}},
};

void expectField(const SnvtField& field, const FieldCase& want) {
    EXPECT_STREQ(field.name, want.name);
    EXPECT_EQ(field.category, want.category);
    EXPECT_EQ(field.sizeOrBit, want.sizeOrBit);
    EXPECT_EQ(field.scaleA, want.a);
    EXPECT_EQ(field.scaleB, want.b);
    EXPECT_EQ(field.scaleC, want.c);
}

TEST(SnvtFields, EveryTableHasItsLengthAndEnds) {
    for (const TableCase& table : kTables) {
        SCOPED_TRACE(table.index);
        const auto rows = snvt_fields(table.index);
        ASSERT_EQ(static_cast<int>(rows.size()), table.count);
        EXPECT_EQ(snvt_field_count(table.index), table.count);
        expectField(rows.front(), table.first);
        expectField(rows.back(), table.last);
        EXPECT_EQ(snvt_category(table.index), NvtCatStruct);
    }
}

TEST(SnvtFields, OnlyTheSeventeenIndicesHaveTables) {
    int withTable = 0;
    for (int index = -1; index <= 256; ++index) {
        if (!snvt_fields(index).empty()) ++withTable;
    }
    EXPECT_EQ(withTable, SnvtFieldTables);
}

TEST(SnvtFields, RowsAreWellFormed) {
    for (const TableCase& table : kTables) {
        for (const SnvtField& field : snvt_fields(table.index)) {
            SCOPED_TRACE(field.name);
            EXPECT_NE(field.category, NvtCatNul);
            EXPECT_EQ(field.reserved, 0);
            EXPECT_LE(std::strlen(field.name), 40u);
        }
    }
}

TEST(SnvtFields, MiddleRowsThatDifferFromTheirNeighbours) {
    const auto alarm = snvt_fields(88);
    expectField(alarm[2], {"alarm_type", NvtCatEnum, 1, 0, 0, 0});
    expectField(alarm[5], {"value", NvtCatUnsignedShort, 4, 1, 0, 0});
    const auto pumpsetSn = snvt_fields(158);
    expectField(pumpsetSn[1], {"exhaust_temperature", NvtCatSignedLong, 2, 1, -1, -2740});
    expectField(pumpsetSn[4], {"inlet_vacuum", NvtCatFloat, 4, 0, 0, 0});
    const auto alarm2 = snvt_fields(164);
    expectField(alarm2[2], {"alarm_time", NvtCatSignedQuad, 4, 1, 0, 0});
    const auto pumpSensor = snvt_fields(159);
    expectField(pumpSensor[8], {"power_usage", NvtCatUnsignedLong, 2, 1, -1, 0});
    EXPECT_STREQ(snvt_fields(149)[1].name, "sender.range.lower");
    EXPECT_STREQ(snvt_fields(156)[3].name, "proess_ready");
    const auto state = snvt_fields(83);
    for (int bit = 0; bit < 16; ++bit) EXPECT_EQ(state[bit].sizeOrBit, bit);
}

TEST(SnvtFields, CountIsOneWithoutATable) {
    for (int index : {-1, 0, 1, 10, 36, 177, 178}) {
        EXPECT_TRUE(snvt_fields(index).empty()) << index;
        EXPECT_EQ(snvt_field_count(index), 1) << index;
    }
}

} // namespace
} // namespace korvex
