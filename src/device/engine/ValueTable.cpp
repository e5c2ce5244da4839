#include "device/engine/ValueTable.h"
#include "vocab/CharClass.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace korvex::device {

namespace {

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

std::string fixedSix(double x) {
    if (std::isnan(x)) return std::signbit(x) ? "-nan" : "nan";
    if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
    char text[400];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, x, std::chars_format::fixed, 6);
    if (ec != std::errc()) return "0.000000";
    return std::string(text, end);
}

bool scanReal(std::string_view text, double& value) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
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
