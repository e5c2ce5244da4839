#pragma once
// Attribute values are read the way the C formatted conversions read them: leading blanks
// are skipped, a sign is allowed and reading stops at the first character that cannot continue
// the number. Numbers too large for their conversion saturate instead of wrapping, so an
// absurd value is caught by the range test of its attribute.
#include "formats/xml/XmlError.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvex::xml {

// "%d": a signed decimal number, saturated to the 32-bit range. `pos` advances past it.
std::optional<int32_t> scanDecimal(std::string_view text, std::size_t& pos);
// "%x": hexadecimal with an optional 0x; a minus sign wraps as the C conversion does.
std::optional<uint32_t> scanHex(std::string_view text, std::size_t& pos);
// "%f": a decimal real (also inf and nan); nullopt when no number starts here.
std::optional<double> scanReal(std::string_view text);

// Reads `text` against a pattern in which 'd' is a "%d", 'x' is a "%x" and any other
// character must appear literally. Returns the number of conversions made before the first
// mismatch, as the C scanning functions do. `used`, when given, receives the characters read.
int scanPattern(std::string_view text, std::string_view pattern, std::span<int64_t> out,
                std::size_t* used = nullptr);

struct SendTimeText {
    int64_t days = 0;
    int64_t hours = 0;
    int64_t minutes = 0;
    int64_t seconds = 0;
    int64_t milliseconds = 0;
};

// Reads a send time in one of its accepted shapes ("d,h:m:s.ms", "d,h:m:s", "h:m:s", "m:s",
// "s"); returns an XmlError code (1 for no shape, 3 for a part outside its range).
XmlError scanSendTime(std::string_view text, SendTimeText& out);

} // namespace korvex::xml
