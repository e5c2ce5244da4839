#include "formats/xml/ValueScan.h"
#include "vocab/CharClass.h"

#include "formats/xml/XmlError.h"

#include <array>
#include <charconv>
#include <limits>

namespace korvex::xml {
namespace {

void skipBlanks(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && isSpace(text[pos])) ++pos;
}

// Strips an optional sign; true for a minus.
bool takeSign(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || (text[pos] != '-' && text[pos] != '+')) return false;
    return text[pos++] == '-';
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// Reads digits of `base`, saturating at `limit`; nullopt when there is none.
std::optional<uint64_t> readDigits(std::string_view text, std::size_t& pos, int base, uint64_t limit) {
    const std::size_t start = pos;
    uint64_t value = 0;
    while (pos < text.size() && digitValue(text[pos]) < base) {
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digitValue(text[pos]));
        if (value > limit) value = limit;
        ++pos;
    }
    if (pos == start) return std::nullopt;
    return value;
}

} // namespace

std::optional<int32_t> scanDecimal(std::string_view text, std::size_t& pos) {
    std::size_t at = pos;
    skipBlanks(text, at);
    const bool negative = takeSign(text, at);
    const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    const auto magnitude = readDigits(text, at, 10, limit);
    if (!magnitude) return std::nullopt;
    pos = at;
    const auto value = static_cast<int64_t>(*magnitude);
    return static_cast<int32_t>(negative ? -value : value);
}

std::optional<uint32_t> scanHex(std::string_view text, std::size_t& pos) {
    std::size_t at = pos;
    skipBlanks(text, at);
    const bool negative = takeSign(text, at);
    // "0x" counts as a prefix only when a hex digit follows it.
    if (at + 2 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
        digitValue(text[at + 2]) < 16)
        at += 2;
    const auto magnitude = readDigits(text, at, 16, 0xFFFFFFFFull);
    if (!magnitude) return std::nullopt;
    pos = at;
    const auto value = static_cast<uint32_t>(*magnitude);
    return negative ? 0u - value : value;
}

std::optional<double> scanReal(std::string_view text) {
    std::size_t pos = 0;
    skipBlanks(text, pos);
    if (pos < text.size() && text[pos] == '+') {
        ++pos;
        if (pos < text.size() && text[pos] == '-') return std::nullopt;
    }
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    double value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::invalid_argument) return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Too small rounds to zero, too large saturates.
        const std::string_view match(first, static_cast<std::size_t>(end - first));
        const auto e = match.find_first_of("eE");
        if (e != std::string_view::npos && e + 1 < match.size() && match[e + 1] == '-') return 0.0;
        constexpr double kMax = std::numeric_limits<double>::max();
        return match.front() == '-' ? -kMax : kMax;
    }
    return value;
}

int scanPattern(std::string_view text, std::string_view pattern, std::span<int64_t> out, std::size_t* used) {
    std::size_t pos = 0;
    int count = 0;
    for (char p : pattern) {
        if (p == 'd' || p == 'x') {
            if (static_cast<std::size_t>(count) >= out.size()) break;
            std::optional<int64_t> value;
            if (p == 'd') {
                if (auto v = scanDecimal(text, pos)) value = *v;
            } else if (auto v = scanHex(text, pos)) {
                value = *v;
            }
            if (!value) break;
            out[static_cast<std::size_t>(count++)] = *value;
        } else {
            if (pos >= text.size() || text[pos] != p) break;
            ++pos;
        }
    }
    if (used) *used = pos;
    return count;
}

namespace {

struct SendTimeShape {
    std::string_view pattern;
    int parts;
    // Where each converted number goes: 0 days, 1 hours, 2 minutes, 3 seconds, 4 milliseconds.
    std::array<int, 5> slots;
};

constexpr std::array<SendTimeShape, 5> kShapes{{
    {"d,d:d:d.d", 5, {0, 1, 2, 3, 4}},
    {"d,d:d:d", 4, {0, 1, 2, 3, 0}},
    {"d:d:d", 3, {1, 2, 3, 0, 0}},
    {"d:d", 2, {2, 3, 0, 0, 0}},
    {"d", 1, {3, 0, 0, 0, 0}},
}};

bool restIsBlank(std::string_view text, std::size_t pos) {
    skipBlanks(text, pos);
    return pos == text.size();
}

} // namespace

XmlError scanSendTime(std::string_view text, SendTimeText& out) {
    for (const SendTimeShape& shape : kShapes) {
        std::array<int64_t, 5> numbers{};
        std::size_t used = 0;
        if (scanPattern(text, shape.pattern, numbers, &used) != shape.parts || !restIsBlank(text, used))
            continue;
        std::array<int64_t, 5> parts{};
        for (int i = 0; i < shape.parts; ++i) parts[static_cast<std::size_t>(shape.slots[i])] = numbers[i];
        out = SendTimeText{parts[0], parts[1], parts[2], parts[3], parts[4]};
        const bool inRange = out.days >= 0 && out.days <= 0xFFFF && out.hours >= 0 && out.hours < 60 &&
                             out.minutes >= 0 && out.minutes < 60 && out.seconds >= 0 && out.seconds < 60 &&
                             out.milliseconds >= 0 && out.milliseconds < 1000;
        return inRange ? XmlError::Ok : XmlError::OutOfRange;
    }
    return XmlError::BadSyntax;
}

} // namespace korvex::xml
