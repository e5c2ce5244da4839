#include "ui/dialogs/rules/NVEditFields.h"

#include "vocab/BaseType.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

namespace korvex::ui::dialogs {
namespace {

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// "%d" at pos: blanks skipped, an optional sign, at least one digit; saturated far beyond any
// range a box accepts.
std::optional<long long> readDecimal(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    const std::size_t start = pos;
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        value = std::min(value * 10 + (text[pos] - '0'), 1LL << 40);
    if (pos == start) return std::nullopt;
    return negative ? -value : value;
}

// Reads text against a format of 'd' (a number), ' ' (any blanks, none included) and ':' (that
// character); true when every number of the format was read.
bool scanForm(std::string_view text, std::string_view form, std::array<long long, 4>& out) {
    std::size_t pos = 0;
    std::size_t count = 0;
    for (char f : form) {
        if (f == 'd') {
            const std::optional<long long> value = readDecimal(text, pos);
            if (!value) return false;
            out[count++] = *value;
        } else if (f == ' ') {
            while (pos < text.size() && isBlank(text[pos])) ++pos;
        } else if (pos >= text.size() || text[pos++] != f) {
            return false;
        }
    }
    return true;
}

uint16_t part(long long value) {
    return static_cast<uint16_t>(std::clamp(value, 0LL, 65535LL));
}

} // namespace

SendTime parseSendTime(std::string_view text) {
    std::array<long long, 4> v{};
    if (scanForm(text, "d d:d:d", v)) return SendTime{part(v[3]), part(v[2]), part(v[1]), part(v[0])};
    if (scanForm(text, "d:d:d", v)) return SendTime{part(v[2]), part(v[1]), part(v[0]), 0};
    if (scanForm(text, "d:d", v)) return SendTime{part(v[1]), part(v[0]), 0, 0};
    if (scanForm(text, "d", v)) return SendTime{part(v[0]), 0, 0, 0};
    return SendTime{};
}

std::string sendTimeText(const SendTime& time) {
    char text[40];
    std::snprintf(text, sizeof text, "%d %02d:%02d:%02d", time.days, time.hours, time.minutes, time.seconds);
    return text;
}

int boundedDecimal(std::string_view text, int low, int high) {
    std::size_t pos = 0;
    const long long value = readDecimal(text, pos).value_or(0);
    return static_cast<int>(std::clamp(value, static_cast<long long>(low), static_cast<long long>(high)));
}

NVEditEnabling nvEditEnabling(const NetVar& copy, int parentType) {
    NVEditEnabling e;
    if (copy.isInput) e.sendTimes = false;
    if (copy.fbNumber != 0 || copy.objectNumber != 0) {
        e.direction = false;
        e.fbNumber = false;
        e.autoAssign = false;
    }
    if (copy.objectNumber != 0) e.objectNumber = false;
    if (copy.baseType == BaseType::STRUCT) e.objectNumber = false;
    if (copy.isField) {
        e.name = e.type = e.direction = e.fbNumber = e.size = false;
        if (parentType != 0) e.method = e.formula = false;
    }
    if (copy.snvt != 0 || parentType != 0) {
        e.category = e.scales = e.offsets = e.lock = e.size = e.scopePid = false;
    } else {
        switch (copy.baseType) {
        case BaseType::None:
        case BaseType::ARRAY:
        case BaseType::STRUCT:
        case BaseType::UNION:
        case NvtCatReference:
            e.scales = e.offsets = e.lock = false;
            break;
        default:
            break;
        }
    }
    return e;
}

const char* fbLabel(bool isInput) {
    return isInput ? "FB (OLA)#" : "FB (OLS)#";
}

int formulaFor(int snvt) {
    if (snvt == kSnvtSwitch) return 1;
    if (snvt == kSnvtElapsedTime) return 2;
    return 0;
}

std::string formulaText(int method, int snvt) {
    return method == 2 ? std::to_string(formulaFor(snvt)) : std::string("---");
}

} // namespace korvex::ui::dialogs
