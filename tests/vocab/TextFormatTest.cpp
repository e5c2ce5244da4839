// The checked formatter of message texts: placeholders filled in order, integers of every width
// in decimal, texts as they are (never cut short), and formats whose braces do not match their
// arguments refused at compile time.
#include "vocab/TextFormat.h"

#include <gtest/gtest.h>

#include <climits>

namespace korvex {
namespace {

static_assert(countPlaceholders("NVI {} Error {}.\n") == 2);
static_assert(countPlaceholders("Done") == 0);
static_assert(countPlaceholders("a { b") == -1 && countPlaceholders("a } b") == -1 &&
              countPlaceholders("{") == -1);

TEST(TextFormatTest, FillsThePlaceholdersInOrder) {
    const std::string longText(500, 'x');
    struct Case {
        std::string got;
        std::string expected;
    } cases[] = {
        {formatText("Done"), "Done"},
        {formatText("NVI {} Error {}.\n", 4, -2), "NVI 4 Error -2.\n"},
        {formatText("Obj {} {}.\n", 400u, "Flash busy"), "Obj 400 Flash busy.\n"},
        {formatText("{} {}", INT_MIN, ULLONG_MAX), "-2147483648 18446744073709551615"},
        {formatText("<{}>", std::string_view("a{}b")), "<a{}b>"}, // an argument is not read again
        {formatText("{}.\n", longText), longText + ".\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected);
}

} // namespace
} // namespace korvex
