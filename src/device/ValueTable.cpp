#include "device/ValueTable.h"

#include "modbus/RegisterCodes.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace korvex::device {

namespace {

constexpr double kTwoTo32 = 4294967296.0;

// Halves go up: 2.5 gives 3 and -2.5 gives -2, while whole numbers stay as they are (cutting
// x + 0.5 toward zero would turn -3 into -2). Kept as a double until it is known to fit.
double roundUp(double x) {
    return std::floor(x + 0.5);
}

uint32_t toU32(double x) {
    if (std::isnan(x) || x < 0) return 0;
    // The low 32 bits of the rounded number.
    return static_cast<uint32_t>(std::fmod(roundUp(x), kTwoTo32));
}

uint32_t toS32(double x) {
    if (std::isnan(x)) return 0;
    const double r = roundUp(x);
    const double clamped = std::clamp(r, double(std::numeric_limits<int32_t>::min()),
                                      double(std::numeric_limits<int32_t>::max()));
    return static_cast<uint32_t>(static_cast<int32_t>(clamped));
}

uint32_t toU16(double x) {
    if (std::isnan(x) || x <= 0) return 0;
    if (x > 65535) return 65535;
    return static_cast<uint32_t>(roundUp(x)) & 0xFFFFu;
}

uint32_t toS16(double x) {
    if (std::isnan(x)) return 0;
    if (x > 32767) return static_cast<uint16_t>(int16_t{32767});
    if (x < -32767) return static_cast<uint16_t>(int16_t{-32767});
    // 32766.7 rounds to 32767.2 and stays in range once cut.
    return static_cast<uint16_t>(static_cast<int16_t>(std::min(roundUp(x), 32767.0)));
}

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool startsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if ((text[i] | 0x20) != word[i]) return false;
    }
    return true;
}

} // namespace

ValueSlot& ValueTable::slot(int n) {
    if (!ObjectMap::validObject(n)) {
        scratch_ = ValueSlot{};
        return scratch_;
    }
    return slots_[static_cast<std::size_t>(n - 1)];
}

const ValueSlot& ValueTable::slot(int n) const {
    if (!ObjectMap::validObject(n)) {
        scratch_ = ValueSlot{};
        return scratch_;
    }
    return slots_[static_cast<std::size_t>(n - 1)];
}

void ValueTable::clearFresh() {
    for (ValueSlot& s : slots_) s.fresh = false;
}

uint32_t slotFromNumber(double x, int datatype) {
    switch (datatype) {
    case ObjectDataType::FP:
        return std::bit_cast<uint32_t>(static_cast<float>(x));
    case ObjectDataType::U32:
        return toU32(x);
    case ObjectDataType::S32:
        return toS32(x);
    case ObjectDataType::U16:
        return toU16(x);
    case ObjectDataType::S16:
        return toS16(x);
    case ObjectDataType::BIT:
        return x != 0 ? 1u : 0u;
    default:
        return 0;
    }
}

double numberFromSlot(uint32_t value, int datatype) {
    switch (datatype) {
    case ObjectDataType::FP:
        return std::bit_cast<float>(value);
    case ObjectDataType::U32:
        return value;
    case ObjectDataType::S32:
        return static_cast<int32_t>(value);
    case ObjectDataType::U16:
        return static_cast<uint16_t>(value);
    case ObjectDataType::S16:
        return static_cast<int16_t>(value);
    case ObjectDataType::BIT:
        return (value & 0xFFu) != 0 ? 1.0 : 0.0;
    default:
        return 0.0;
    }
}

std::string fixedSix(double x) {
    if (std::isnan(x)) return std::signbit(x) ? "-nan" : "nan";
    if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
    char text[400];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, x, std::chars_format::fixed, 6);
    if (ec != std::errc()) return "0.000000";
    return std::string(text, end);
}

bool scanReal(std::string_view text, double& value) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (startsWithWord(text, "inf") || startsWithWord(text, "nan")) {
        const double special = startsWithWord(text, "inf") ? std::numeric_limits<double>::infinity()
                                                           : std::numeric_limits<double>::quiet_NaN();
        value = negative ? -special : special;
        return true;
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') return false;
    double read = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (ec == std::errc::invalid_argument) return false;
    if (ec == std::errc::result_out_of_range) {
        // Too small reads as 0, too big as infinity.
        const std::string_view match(text.data(), static_cast<std::size_t>(end - text.data()));
        const std::size_t e = match.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < match.size() && match[e + 1] == '-';
        read = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    value = negative ? -read : read;
    return true;
}

} // namespace korvex::device
