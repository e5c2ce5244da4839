#include "vocab/ObjectValue.h"
#include "vocab/CharClass.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "vocab/NumberDisplay.h"
#include "vocab/RegisterCodes.h"

namespace korvex {
namespace {

constexpr uint32_t kU32Max = std::numeric_limits<uint32_t>::max();

std::string_view skipBlanks(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    return text;
}

// Strips an optional sign; returns true for a minus.
bool takeSign(std::string_view& text) {
    if (text.empty() || (text.front() != '-' && text.front() != '+')) return false;
    const bool negative = text.front() == '-';
    text.remove_prefix(1);
    return negative;
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Leading digits of `text`, saturating at `limit` instead of wrapping.
uint64_t readMagnitude(std::string_view text, int base, uint64_t limit) {
    uint64_t value = 0;
    for (char c : text) {
        const int digit = digitValue(c);
        if (digit >= base) break;
        value = value * base + digit;
        if (value > limit) return limit;
    }
    return value;
}

// Unsigned reading in the manner of "%u" / "%x": a minus sign wraps (-1 gives 0xFFFFFFFF), a
// number too big for 32 bits saturates.
uint32_t readUnsigned(std::string_view text, int base) {
    text = skipBlanks(text);
    const bool negative = takeSign(text);
    if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    const auto magnitude = static_cast<uint32_t>(readMagnitude(text, base, kU32Max));
    return negative ? 0u - magnitude : magnitude;
}

int32_t readSigned(std::string_view text) {
    text = skipBlanks(text);
    const bool negative = takeSign(text);
    const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    const auto magnitude = static_cast<int64_t>(readMagnitude(text, 10, limit));
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

double readReal(std::string_view text) {
    text = skipBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::invalid_argument) return 0;
    if (ec == std::errc::result_out_of_range) {
        const std::string_view match(text.data(), end - text.data());
        const auto e = match.find_first_of("eE");
        if (e != std::string_view::npos && e + 1 < match.size() && match[e + 1] == '-') return 0;
        return match.front() == '-' ? -std::numeric_limits<double>::max()
                                    : std::numeric_limits<double>::max();
    }
    return value;
}

uint32_t readUnsignedOrHex(std::string_view text) {
    const auto x = text.find_first_of("xX");
    return x == std::string_view::npos ? readUnsigned(text, 10) : readUnsigned(text.substr(x + 1), 16);
}

uint32_t floatCell(double number) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (number > kMax) number = kMax;
    if (number < -kMax) number = -kMax;
    return std::bit_cast<uint32_t>(static_cast<float>(number));
}

std::string decimalText(const char* format, long long value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

double roundHalfAwayFromZero(double value) {
    return std::round(value);
}

std::string object_value_to_text(uint32_t cell, int32_t datatype) {
    switch (datatype) {
    case ObjectDataType::FP:
        return formatFixed(std::bit_cast<float>(cell), 6);
    case ObjectDataType::U32:
        return decimalText("%lld", cell);
    case ObjectDataType::S32:
        return decimalText("%lld", static_cast<int32_t>(cell));
    case ObjectDataType::U16:
        return decimalText("%lld", static_cast<uint16_t>(cell));
    case ObjectDataType::S16:
        return decimalText("%lld", static_cast<int16_t>(cell));
    case ObjectDataType::BIT:
        return (cell & 0xFFu) != 0 ? "1" : "0";
    default:
        return "Undef";
    }
}

int object_value_width(int32_t datatype) {
    const bool wide =
        datatype == ObjectDataType::FP || datatype == ObjectDataType::U32 || datatype == ObjectDataType::S32;
    return wide ? 2 : 1;
}

uint32_t object_value_from_text(std::string_view text, int32_t datatype) {
    switch (datatype) {
    case ObjectDataType::FP:
        return floatCell(readReal(text));
    case ObjectDataType::U32:
        return readUnsignedOrHex(text);
    case ObjectDataType::U16:
        return readUnsignedOrHex(text) & 0xFFFFu;
    case ObjectDataType::S32:
        return static_cast<uint32_t>(readSigned(text));
    case ObjectDataType::S16:
        return static_cast<uint32_t>(readSigned(text)) & 0xFFFFu;
    case ObjectDataType::BIT:
        return readUnsignedOrHex(text) != 0 ? 1u : 0u;
    default:
        return 0;
    }
}

double object_value_to_number(uint32_t cell, int32_t datatype) {
    switch (datatype) {
    case ObjectDataType::FP:
        return std::bit_cast<float>(cell);
    case ObjectDataType::U32:
        return cell;
    case ObjectDataType::S32:
        return static_cast<int32_t>(cell);
    case ObjectDataType::U16:
        return static_cast<uint16_t>(cell);
    case ObjectDataType::S16:
        return static_cast<int16_t>(cell);
    case ObjectDataType::BIT:
        return (cell & 0xFFu) != 0 ? 1 : 0;
    default:
        return 0;
    }
}

namespace {

// Rounds and clamps to [low, high]; NaN gives 0. Clamping before the cast keeps the
// conversion defined for any input.
int64_t roundClamped(double number, int64_t low, int64_t high) {
    if (std::isnan(number)) return 0;
    const double rounded = roundHalfAwayFromZero(number);
    if (rounded <= static_cast<double>(low)) return low;
    if (rounded >= static_cast<double>(high)) return high;
    return static_cast<int64_t>(rounded);
}

} // namespace

uint32_t object_value_from_number(double number, int32_t datatype) {
    switch (datatype) {
    case ObjectDataType::FP:
        return floatCell(number);
    case ObjectDataType::U32:
        return static_cast<uint32_t>(roundClamped(number, 0, kU32Max));
    case ObjectDataType::S32:
        return static_cast<uint32_t>(static_cast<int32_t>(roundClamped(number, INT32_MIN, INT32_MAX)));
    case ObjectDataType::U16:
        return static_cast<uint32_t>(roundClamped(number, 0, 0xFFFF));
    case ObjectDataType::S16:
        return static_cast<uint32_t>(roundClamped(number, -32767, 32767)) & 0xFFFFu;
    case ObjectDataType::BIT:
        return number != 0 ? 1u : 0u;
    default:
        return 0;
    }
}

} // namespace korvex
