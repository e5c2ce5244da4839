// Default values typed or read as numbers, stored in the object's own data format.
#include "model/ObjectMap.h"
#include "vocab/ObjectValue.h"
#include "vocab/RegisterCodes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace korvex {
namespace {

struct DefaultCase {
    uint8_t datatype;
    double value;
    uint32_t cell;
};

TEST(DefaultValue, StoredInTheObjectsFormatWithClampsAndHalfAwayFromZero) {
    const DefaultCase cases[] = {
        {ObjectDataType::S16, -40000, static_cast<uint16_t>(-32767)},
        {ObjectDataType::S16, 40000, 32767},
        {ObjectDataType::S16, -1, 0xFFFF}, // -1 must stay -1, not become 0
        {ObjectDataType::S16, -2.5, static_cast<uint16_t>(-3)},
        {ObjectDataType::U16, 70000, 65535},
        {ObjectDataType::U16, -5, 0},
        {ObjectDataType::U16, 2.5, 3},
        {ObjectDataType::U32, -3, 0},
        {ObjectDataType::U32, 7.4, 7},
        {ObjectDataType::S32, -1, 0xFFFFFFFF},
        {ObjectDataType::S32, -2.7, static_cast<uint32_t>(-3)},
        {ObjectDataType::S32, 2.7, 3},
        {ObjectDataType::BIT, 0.2, 1},
        {ObjectDataType::BIT, 0, 0},
        {ObjectDataType::None, 12, 0},
        {ObjectDataType::FP, 12.5, std::bit_cast<uint32_t>(12.5f)},
    };
    for (const auto& c : cases) {
        DataObject o;
        o.datatype = c.datatype;
        o.defVal = 0xDEADBEEF;
        setDefaultValue(o, c.value);
        EXPECT_EQ(o.defVal, c.cell) << "type " << int(c.datatype) << " value " << c.value;
    }
}

TEST(DefaultValue, NegativeOneRoundTripsThroughText) {
    DataObject o;
    o.datatype = ObjectDataType::S16;
    setDefaultValue(o, -1);
    EXPECT_EQ(object_value_to_text(o.defVal, o.datatype), "-1");
}

} // namespace
} // namespace korvex
