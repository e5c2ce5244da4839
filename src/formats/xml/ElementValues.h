#pragma once
// Conversions from an attribute's value text to a record field, each returning an XmlError
// code: 1 when the text is not of the attribute's form, 3 when the number is outside its range.
// Used by the element attribute tables inside src/xml only.
#include "formats/xml/ValueScan.h"
#include "formats/xml/XmlError.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace korvex::xml {

inline XmlError readInteger(std::string_view value, int64_t low, int64_t high, int64_t& out) {
    std::size_t pos = 0;
    const auto number = scanDecimal(value, pos);
    if (!number) return XmlError::BadSyntax;
    if (*number < low || *number > high) return XmlError::OutOfRange;
    out = *number;
    return XmlError::Ok;
}

// An integer of any size; non-zero sets `bit` in `flags`, zero clears it.
template <class Flags> XmlError readFlag(std::string_view value, Flags& flags, Flags bit) {
    int64_t number = 0;
    if (const XmlError code = readInteger(value, INT32_MIN, INT32_MAX, number); code != XmlError::Ok)
        return code;
    flags = number != 0 ? static_cast<Flags>(flags | bit) : static_cast<Flags>(flags & ~bit);
    return XmlError::Ok;
}

inline XmlError readHexValue(std::string_view value, uint32_t& out) {
    std::size_t pos = 0;
    const auto number = scanHex(value, pos);
    if (!number) return XmlError::BadSyntax;
    out = *number;
    return XmlError::Ok;
}

// A real stored as a float: numbers beyond the float range are held at its largest value, so
// the conversion stays defined; infinities and NaN pass through as they are.
inline XmlError readFloat(std::string_view value, float& out) {
    const auto number = scanReal(value);
    if (!number) return XmlError::BadSyntax;
    constexpr double kMax = std::numeric_limits<float>::max();
    double v = *number;
    if (std::isfinite(v)) v = v > kMax ? kMax : (v < -kMax ? -kMax : v);
    out = static_cast<float>(v);
    return XmlError::Ok;
}

// `count` numbers in the shape of `pattern`, each tested against [low, high].
template <std::size_t N>
XmlError readNumbers(std::string_view value, std::string_view pattern, std::array<int64_t, N>& out,
                     const std::array<std::pair<int64_t, int64_t>, N>& ranges) {
    if (scanPattern(value, pattern, out) != static_cast<int>(N)) return XmlError::BadSyntax;
    for (std::size_t i = 0; i < N; ++i)
        if (out[i] < ranges[i].first || out[i] > ranges[i].second) return XmlError::OutOfRange;
    return XmlError::Ok;
}

// The position of `value` in a name table (exact, case-sensitive); UnknownTag when it is not there.
template <std::size_t N>
XmlError readNameCode(std::string_view value, const std::array<const char*, N>& names, int& out) {
    for (std::size_t i = 0; i < N; ++i) {
        if (value == names[i]) {
            out = static_cast<int>(i);
            return XmlError::Ok;
        }
    }
    return XmlError::UnknownTag;
}

inline constexpr std::pair<int64_t, int64_t> kInt16Range{INT16_MIN, INT16_MAX};
inline constexpr std::pair<int64_t, int64_t> kByteRange{0, 255};

} // namespace korvex::xml
