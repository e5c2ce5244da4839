#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "vocab/ObjectValue.h"
#include "vocab/RegisterCodes.h"

using namespace korvex;
namespace T = ObjectDataType;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
} // namespace

TEST(ObjectValue, RoundHalfAwayFromZero) {
    const std::pair<double, double> cases[] = {{-1.0, -1.0},
                                               {-2.7, -3.0},
                                               {-2.5, -3.0},
                                               {-0.4, 0.0},
                                               {2.5, 3.0},
                                               {2.4, 2.0},
                                               {0.49999999999999994, 0.0}};
    for (auto [in, out] : cases) EXPECT_EQ(roundHalfAwayFromZero(in), out) << in;
}

TEST(ObjectValue, FromNumberRoundsAndClamps) {
    struct Case {
        double number;
        int32_t type;
        uint32_t cell;
    };
    for (const Case& c :
         {Case{70000.0, T::U16, 65535}, Case{-5.0, T::U16, 0}, Case{65534.6, T::U16, 65535},
          Case{-40000.0, T::S16, 0x8001}, Case{-1.0, T::S16, 0xFFFF}, Case{40000, T::S16, 32767},
          Case{-2.7, T::S32, uint32_t(-3)}, Case{-1.0, T::S32, uint32_t(-1)},
          Case{-2.5, T::S32, uint32_t(-3)}, Case{2.5, T::S32, 3}, Case{-1.0, T::U32, 0},
          Case{-3.0, T::U32, 0}, Case{2.5, T::U32, 3}, Case{0.25, T::BIT, 1}, Case{0.0, T::BIT, 0},
          Case{5.0, T::None, 0}, Case{5.0, 9, 0}})
        EXPECT_EQ(object_value_from_number(c.number, c.type), c.cell) << c.number << " type " << c.type;
}

TEST(ObjectValue, FromNumberIsSafeForHugeAndNaN) {
    struct Case {
        double number;
        int32_t type;
        uint32_t cell;
    };
    for (const Case& c : {Case{1e20, T::U32, 0xFFFFFFFFu}, Case{-1e20, T::U32, 0}, Case{kNaN, T::U32, 0},
                          Case{kInf, T::U32, 0xFFFFFFFFu}, Case{1e20, T::S32, 0x7FFFFFFFu},
                          Case{-1e20, T::S32, 0x80000000u}, Case{kNaN, T::S32, 0}, Case{kNaN, T::U16, 0},
                          Case{kNaN, T::S16, 0}, Case{1e20, T::U16, 0xFFFF}, Case{-kInf, T::S16, 0x8001}})
        EXPECT_EQ(object_value_from_number(c.number, c.type), c.cell) << c.number << " type " << c.type;
    EXPECT_EQ(std::bit_cast<float>(object_value_from_number(1e300, T::FP)),
              std::numeric_limits<float>::max());
    EXPECT_EQ(std::bit_cast<float>(object_value_from_number(-2.5, T::FP)), -2.5f);
}

TEST(ObjectValue, FromText) {
    struct Case {
        const char* text;
        int32_t type;
        uint32_t cell;
    };
    for (const Case& c :
         {Case{"0x1F", T::U32, 31}, Case{"abc", T::U32, 0}, Case{"", T::U32, 0}, Case{"70000", T::U16, 4464},
          Case{"0", T::BIT, 0}, Case{"X2", T::BIT, 1}, Case{"  42 kW", T::U32, 42}, Case{"42 max", T::U32, 0},
          Case{"ff", T::U32, 0}, Case{"0xffffffff1", T::U32, ~0u}, Case{"99999999999", T::U32, ~0u},
          Case{"-1", T::U32, ~0u}, Case{"-12", T::S32, uint32_t(-12)}, Case{"+7", T::S32, 7},
          Case{"3000000000", T::S32, 0x7FFFFFFFu}, Case{"-3000000000", T::S32, 0x80000000u},
          Case{"-2", T::S16, 0xFFFE}, Case{"40000", T::S16, 40000 & 0xFFFF}, Case{"7", T::None, 0}})
        EXPECT_EQ(object_value_from_text(c.text, c.type), c.cell) << '"' << c.text << "\" type " << c.type;
}

TEST(ObjectValue, FloatFromText) {
    const std::pair<const char*, float> cases[] = {{"2.5", 2.5f},
                                                   {" -1.25e2", -125.0f},
                                                   {"+3", 3.0f},
                                                   {"", 0.0f},
                                                   {"x", 0.0f},
                                                   {"1e-400", 0.0f},
                                                   {"1e50", std::numeric_limits<float>::max()}};
    for (auto [text, value] : cases)
        EXPECT_EQ(std::bit_cast<float>(object_value_from_text(text, T::FP)), value) << text;
}

TEST(ObjectValue, ToTextAndNumber) {
    struct Case {
        uint32_t cell;
        int32_t type;
        const char* text;
        double number;
    };
    for (const Case& c :
         {Case{std::bit_cast<uint32_t>(1.5f), T::FP, "1.500000", 1.5},
          Case{0xFFFFFFFFu, T::U32, "4294967295", 4294967295.0}, Case{0xFFFFFFFFu, T::S32, "-1", -1},
          Case{0x12345678u, T::U16, "22136", 22136}, Case{0x0001FFFFu, T::S16, "-1", -1},
          Case{0x100u, T::BIT, "0", 0}, Case{0x2u, T::BIT, "1", 1}, Case{5, T::None, "Undef", 0},
          Case{5, 42, "Undef", 0}}) {
        EXPECT_EQ(object_value_to_text(c.cell, c.type), c.text) << c.type;
        EXPECT_EQ(object_value_to_number(c.cell, c.type), c.number) << c.type;
    }
    for (int32_t type = 0; type < 8; ++type)
        EXPECT_EQ(object_value_width(type), (type >= T::FP && type <= T::S32) ? 2 : 1) << type;
}

TEST(ObjectValue, NegativeValuesSurviveAReadWriteRoundTrip) {
    for (int32_t type : {T::S16, T::S32})
        for (double v : {-1.0, -2.0, -32767.0}) {
            const uint32_t cell = object_value_from_number(v, type);
            EXPECT_EQ(object_value_to_number(cell, type), v) << type;
            EXPECT_EQ(object_value_from_number(object_value_to_number(cell, type), type), cell) << type;
        }
}
