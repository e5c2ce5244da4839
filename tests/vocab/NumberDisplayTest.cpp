#include <gtest/gtest.h>

#include <limits>

#include "vocab/NumberDisplay.h"

using namespace korvex;

TEST(NumberDisplay, DecimalsFollowTheIntegerDigits) {
    const std::pair<double, const char*> cases[] = {
        {3.14159, "3.14159"},   {0.0, "0.00000"},          {-0.5, "-0.50000"},    {12.5, "12.5000"},
        {123.456, "123.456"},   {-1234.5, "-1234.50"},     {99999.94, "99999.9"}, {123456.7, "123457"},
        {9999999.0, "9999999"}, {12345678.0, "1.235e+07"}, {-1e9, "-1.000e+09"},  {1e-9, "0.00000"}};
    for (auto [value, text] : cases) EXPECT_EQ(displayReal(value), text) << value;
    EXPECT_EQ(displayReal(std::numeric_limits<double>::infinity()), "inf");
}

TEST(NumberDisplay, FixedAndScientific) {
    EXPECT_EQ(formatFixed(1.5, 6), "1.500000");
    EXPECT_EQ(formatFixed(2.5, 0), "2"); // printf rounds halves to even, and so do we
    EXPECT_EQ(formatScientific(0.00012345, 3), "1.234e-04");
    EXPECT_EQ(formatFixed(3.4e38, 1).size(), 41u);
}
