// Byte and bit offsets given to the fields of a structured type.
#include "vocab/SnvtLayout.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace korvex {
namespace {

using Offsets = std::vector<std::pair<int, int>>; // byte, bit

Offsets offsetsOf(const SnvtLayout& layout) {
    Offsets out;
    for (int i = 0; i < layout.count; ++i)
        out.emplace_back(layout.fields[i].byteOffset, layout.fields[i].bitOffset);
    return out;
}

SnvtField whole(int32_t size) {
    return SnvtField{NvtCatUnsignedLong, size, 0, 0, 0, 0, "w"};
}
SnvtField bitAt(int32_t bit) {
    return SnvtField{NvtCatBitfield, bit, 1, 0, 0, 0, "b"};
}

TEST(SnvtLayout, CatalogueTypes) {
    const struct {
        int index;
        Offsets want;
    } cases[] = {
        {127, {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}}},
        {106, {{0, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0}, {10, 0}}},
        {172, {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {1, 0}}},
        {95, {{0, 0}, {1, 0}}},
        {88,
         {{0, 0},
          {6, 0},
          {8, 0},
          {9, 0},
          {10, 0},
          {12, 0},
          {16, 0},
          {18, 0},
          {19, 0},
          {20, 0},
          {21, 0},
          {22, 0},
          {23, 0},
          {25, 0}}},
        {10, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(offsetsOf(snvt_layout(c.index)), c.want) << c.index;
}

TEST(SnvtLayout, SixteenBitsShareByteZero) {
    const SnvtLayout layout = snvt_layout(83);
    ASSERT_EQ(layout.count, 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(layout.fields[i].byteOffset, 0);
        EXPECT_EQ(layout.fields[i].bitOffset, i);
        EXPECT_EQ(layout.fields[i].field, &snvt_fields(83)[i]);
    }
}

TEST(SnvtLayout, BitRuns) {
    const struct {
        const char* what;
        std::vector<SnvtField> rows;
        Offsets want;
    } cases[] = {
        {"whole fields only", {whole(2), whole(1), whole(4)}, {{0, 0}, {2, 0}, {3, 0}}},
        {"bits then whole", {bitAt(0), bitAt(1), whole(2), whole(1)}, {{0, 0}, {0, 1}, {1, 0}, {3, 0}}},
        {"whole then bits", {whole(3), bitAt(0), bitAt(1)}, {{0, 0}, {3, 0}, {3, 1}}},
        {"bit numbers are taken, not counted", {bitAt(4), bitAt(6), whole(1)}, {{0, 4}, {0, 6}, {1, 0}}},
        {"two bit runs around a whole field",
         {bitAt(0), whole(1), bitAt(0), whole(1)},
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
        {"empty", {}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(offsetsOf(layoutFields(c.rows)), c.want) << c.what;
}

TEST(SnvtLayout, StopsAtCategoryZeroAndAtSixteenRows) {
    std::vector<SnvtField> rows{whole(1), whole(1), SnvtField{}, whole(1)};
    EXPECT_EQ(layoutFields(rows).count, 2);

    std::vector<SnvtField> many(20, whole(1));
    const SnvtLayout layout = layoutFields(many);
    EXPECT_EQ(layout.count, 16);
    EXPECT_EQ(layout.fields[15].byteOffset, 15);
}

} // namespace
} // namespace korvex
