// The text form of a wire trace line: the escaping of payload bytes and the whole line of each
// kind of event.
#include "vocab/TraceLine.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

TEST(TraceLineTest, PayloadBytesAreEscaped) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"npid\r\n", "npid\\r\\n"},
        {"a\tb\\c", "a\\tb\\\\c"},
        {" ~<obj n=\"1\"/>", " ~<obj n=\"1\"/>"},
        {std::string("\0\x01\x1b[\x1f", 5), "\\x00\\x01\\x1B[\\x1F"},
        {"\x7f\x80\xc3\xa9\xff", "\\x7F\\x80\\xC3\\xA9\\xFF"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        appendEscaped(out, c.bytes);
        EXPECT_EQ(out, "x" + c.text) << c.text;
    }
}

TEST(TraceLineTest, OneLinePerEvent) {
    const struct {
        std::int64_t micros;
        TraceKind kind;
        std::string bytes;
        int length, ms;
        std::string line;
    } cases[] = {
        {0, TraceKind::Sent, "nid\r\n", 0, 0, "0.000000 > nid\\r\\n\n"},
        {1234567, TraceKind::Received, "\r\n:->", 0, 0, "1.234567 < \\r\\n:->\n"},
        {3723000001, TraceKind::Reply, "", 15, 170, "3723.000001 = len=15 ms=170\n"},
        {2000000, TraceKind::Timeout, "", 0, 0, "2.000000 ! timeout\n"},
        {-5, TraceKind::Open, "/dev/tty\tS0", 0, 0, "0.000000 ! open /dev/tty\\tS0\n"},
        {999999, TraceKind::Close, "", 0, 0, "0.999999 ! close\n"},
        {1000000, TraceKind::Lost, "", 0, 0, "1.000000 ! lost\n"},
    };
    for (const auto& c : cases) {
        std::string out;
        appendTraceLine(out, c.micros, c.kind, c.bytes, c.length, c.ms);
        EXPECT_EQ(out, c.line);
    }
}

} // namespace
} // namespace korvex
