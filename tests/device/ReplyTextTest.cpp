// The common reply forms: control-character skip, "Ok", error texts, the C-style scans and the
// usage reply.
#include "device/engine/ReplyText.h"
#include "device/engine/CommandEngine.h"
#include "device/link/PortName.h"

#include <gtest/gtest.h>

#include <climits>

namespace korvex::device {
namespace {

TEST(ReplyTextTest, OkAfterLeadingControlCharacters) {
    struct Case {
        std::string_view reply;
        bool ok;
    } cases[] = {
        {"Ok", true},
        {"\r\nOk\r\n:->", true},
        {"\x01\x1f"
         "Okay",
         true},
        {" Ok", false},
        {"OK", false},
        {"O", false},
        {"", false},
        {"\r\n\r\n", false},
        {"Error: Ok\r\n", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isOk(c.reply), c.ok) << c.reply;
    EXPECT_EQ(skipLeadingControl("\r\n\t"), "");
}

TEST(ReplyTextTest, ErrorTextIsCutAtThePromptAndStripped) {
    struct Case {
        std::string_view reply;
        std::string_view stored;
    } cases[] = {
        {"\r\nSyntax is bad\r\n:->", "Syntax is bad"},
        {"Bad value :->", "Bad value "}, // a blank before the prompt stays
        {"Bad\r\n\r\n", "Bad"},
        {"\r\n:->", ""},
        {"a:->b:->", "a"},
        {"\r\n\x01\x02", ""},
    };
    for (const auto& c : cases) {
        std::array<char, 100> buffer;
        buffer.fill('x');
        EXPECT_EQ(copyErrorText(buffer, c.reply), c.stored.size()) << c.reply;
        EXPECT_EQ(std::string_view(buffer.data()), c.stored);
    }
}

TEST(ReplyTextTest, ErrorTextKeepsAtMost99Characters) {
    std::array<char, 100> buffer;
    const std::string longText(150, 'e');
    EXPECT_EQ(copyErrorText(buffer, longText), 99u);
    EXPECT_EQ(buffer[98], 'e');
    EXPECT_EQ(buffer[99], '\0');
    // A prompt beyond the 99th character is not seen.
    EXPECT_EQ(copyErrorText(buffer, std::string(99, 'f') + ":->"), 99u);
}

TEST(ReplyTextTest, ElementReplyResult) {
    int parseCode = 77;
    EXPECT_EQ(elementReplyResult(XmlError::Ok, parseCode), DeviceResult::Ok);
    EXPECT_EQ(parseCode, 0);
    EXPECT_EQ(elementReplyResult(XmlError::OutOfRange, parseCode), DeviceResult::BadReply);
    EXPECT_EQ(parseCode, 3);
}

TEST(ReplyTextTest, ScansBehaveLikeTheCConversions) {
    struct Case {
        std::string_view text;
        bool read;
        int value;
        std::string_view rest;
    } decimals[] = {
        {"42,7", true, 42, ",7"},
        {"  -5x", true, -5, "x"},
        {"+8", true, 8, ""},
        {"\r\n 9", true, 9, ""},
        {"x1", false, 0, "x1"},
        {"-", false, 0, "-"},
        {"99999999999", true, INT_MAX, ""},
        {"-99999999999", true, INT_MIN, ""},
    };
    for (const auto& c : decimals) {
        std::string_view text = c.text;
        int value = 0;
        EXPECT_EQ(scanDecimal(text, value), c.read) << c.text;
        if (c.read) {
            EXPECT_EQ(value, c.value) << c.text;
        }
        EXPECT_EQ(text, c.rest) << c.text;
    }
    std::string_view hex = "0x1F:a5 zz";
    unsigned value = 0;
    ASSERT_TRUE(scanHex(hex, value));
    EXPECT_EQ(value, 0x1Fu);
    ASSERT_TRUE(scanLiteral(hex, ':'));
    ASSERT_TRUE(scanHex(hex, value));
    EXPECT_EQ(value, 0xA5u);
    EXPECT_FALSE(scanHex(hex, value));
}

TEST(ReplyTextTest, UsageReplyForms) {
    struct Case {
        std::string_view reply;
        UsageParse parse;
        std::array<int, 4> numbers;
    } cases[] = {
        {"\r\nLast Obj,NVI,NVO,Map: 250,12,9,3\r\n:->", UsageParse::Complete, {250, 12, 9, 3}},
        {"Last Obj,NVI,NVO,Map:250,12,9,3", UsageParse::Complete, {50, 12, 9, 3}}, // fixed offset
        {"Last Obj,NVI,NVO,Map: 250,12,9", UsageParse::Incomplete, {}},
        {"Last Obj,NVI,NVO,Map: 250, 12,9,3", UsageParse::Complete, {250, 12, 9, 3}},
        {"Last Obj,NVI,NVO,Map: 250 ,12,9,3", UsageParse::Incomplete, {}},
        {"Last Obj", UsageParse::Incomplete, {}},
        {"Last obj,NVI,NVO,Map: 1,2,3,4", UsageParse::NotUsage, {}},
        {"\r\n", UsageParse::NotUsage, {}},
    };
    for (const auto& c : cases) {
        std::array<int, 4> numbers{};
        EXPECT_EQ(parseUsageReply(c.reply, numbers), c.parse) << c.reply;
        if (c.parse == UsageParse::Complete) {
            EXPECT_EQ(numbers, c.numbers) << c.reply;
        }
    }
}

TEST(PortNameTest, ComNamesAndPaths) {
    struct Case {
        std::string_view name;
        bool windows;
        std::string_view path;
    } cases[] = {
        {"COM1", false, "/dev/ttyS0"}, {"COM20", false, "/dev/ttyS19"},
        {"COM1", true, "COM1"},        {"/dev/ttyACM0", false, "/dev/ttyACM0"},
        {"COM0", false, "COM0"},       {"COMx", false, "COMx"},
        {"COM3 ", false, "COM3 "},     {"/dev/serial/by-id/usb-X", false, "/dev/serial/by-id/usb-X"},
    };
    for (const auto& c : cases) EXPECT_EQ(resolvePortName(c.name, c.windows), c.path) << c.name;
}

} // namespace
} // namespace korvex::device
