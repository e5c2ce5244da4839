// XIF reader cases found by fuzzing: a zero byte in an NV name ends the name, so the element
// suffix of an array stays visible and nothing is hidden behind the terminator; an NV count
// too large for any file reads to the end (and array blocks adding to it do not overflow).
#include "formats/xif/XifReader.h"
#include "model/FixedText.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace korvex {
namespace {

using namespace std::string_literals;

TEST(XifHardening, AZeroByteEndsTheNVName) {
    const std::string head = "h\r\nh\r\nh\r\nh\r\nh\r\n0 0 0 3\r\nh\r\n\r\n";
    const std::string nvs =
        "VAR ab\0cd 0 0 0 2\r\n0 1 63 1 0\r\n8 * 1\r\nVAR e\0 2 0 0 0\r\n0 1 63 1 0\r\n8 * 1\r\n"s;
    auto table = std::make_unique<ImportTable>();
    std::istringstream in(head + nvs);
    ASSERT_EQ(XifReader().read(in, *table), 3);
    EXPECT_EQ(textOf(table->entries[0].name), "ab_0");
    EXPECT_EQ(textOf(table->entries[1].name), "ab_1");
    EXPECT_EQ(textOf(table->entries[2].name), "e");
    for (int i = 0; i < 3; ++i) {
        const auto& name = table->entries[i].name;
        const std::size_t length = textOf(name).size();
        for (std::size_t k = length; k < name.size(); ++k) EXPECT_EQ(name[k], '\0') << i;
    }
}

TEST(XifHardening, AHugeNVCountReadsToTheEnd) {
    for (const char* count : {"9999999999999999999", "9223372036854775807", "1000000000000"}) {
        const std::string head = "h\r\nh\r\nh\r\nh\r\nh\r\n0 0 0 "s + count + "\r\nh\r\n\r\n";
        const std::string nvs =
            "VAR a 0 0 0 7\r\n0 1 63 1 0\r\n8 * 1\r\nVAR b 7 0 0 0\r\n0 1 63 1 0\r\n8 * 1\r\n";
        auto table = std::make_unique<ImportTable>();
        std::istringstream in(head + nvs);
        EXPECT_EQ(XifReader().read(in, *table), 8) << count;
        EXPECT_EQ(textOf(table->entries[7].name), "b") << count;
    }
}

} // namespace
} // namespace korvex
