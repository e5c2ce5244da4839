#include "vocab/NumberDisplay.h"

#include <charconv>
#include <cmath>

namespace korvex {
namespace {

std::string toChars(double value, std::chars_format format, int precision) {
    // Large enough for the fixed form of DBL_MAX with any precision used here.
    char text[400];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, format, precision);
    if (ec != std::errc()) return {};
    return std::string(text, end);
}

int integerDigits(double value) {
    double magnitude = std::trunc(std::fabs(value));
    int digits = 1;
    while (magnitude >= 10.0 && digits < 8) {
        magnitude /= 10.0;
        ++digits;
    }
    return digits;
}

} // namespace

std::string formatFixed(double value, int precision) {
    return toChars(value, std::chars_format::fixed, precision);
}

std::string formatScientific(double value, int precision) {
    return toChars(value, std::chars_format::scientific, precision);
}

std::string displayReal(double value) {
    if (!std::isfinite(value)) return formatScientific(value, 3);
    const int digits = integerDigits(value);
    if (digits >= 8) return formatScientific(value, 3);
    if (digits >= 6) return formatFixed(value, 0);
    return formatFixed(value, 6 - digits);
}

} // namespace korvex
