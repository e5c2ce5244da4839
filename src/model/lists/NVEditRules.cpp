#include "model/lists/NVEditRules.h"
#include "vocab/CharClass.h"

#include "model/FixedText.h"
#include "model/ModelMessages.h"
#include "model/lists/NVRows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace korvex {
namespace {

bool isAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
// A cursor over the text with the number readers of the formatted-input conventions: leading
// white space skipped, an optional sign, digits; a hexadecimal number may start with 0x.
class TextCursor {
public:
    explicit TextCursor(std::string_view text) : text_(text) {}

    bool literal(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    void skipSpace() {
        while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
    }
    // Decimal integer, saturated far beyond any range the editor accepts.
    std::optional<long long> decimal() {
        bool negative = false;
        if (!sign(negative)) return std::nullopt;
        long long value = 0;
        const std::size_t start = pos_;
        for (; pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9'; ++pos_)
            value = std::min(value * 10 + (text_[pos_] - '0'), 1LL << 40);
        if (pos_ == start) return std::nullopt;
        return negative ? -value : value;
    }
    // Hexadecimal number; only its low byte matters to the caller, which wrap-around keeps exact.
    std::optional<uint32_t> hex() {
        bool negative = false;
        if (!sign(negative)) return std::nullopt;
        const bool prefix = pos_ + 2 < text_.size() && text_[pos_] == '0' &&
                            (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X') &&
                            hexDigit(text_[pos_ + 2]) >= 0;
        if (prefix) pos_ += 2;
        uint32_t value = 0;
        const std::size_t start = pos_;
        for (int d; pos_ < text_.size() && (d = hexDigit(text_[pos_])) >= 0; ++pos_)
            value = value * 16u + static_cast<uint32_t>(d);
        if (pos_ == start) return std::nullopt;
        return negative ? 0u - value : value;
    }

private:
    bool sign(bool& negative) {
        skipSpace();
        if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+'))
            negative = text_[pos_++] == '-';
        return true;
    }
    static int hexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// "Not a number" reads as 0, as the editor's number boxes do.
long long numberOrZero(std::string_view text) {
    return TextCursor(text).decimal().value_or(0);
}

bool sameDirection(const NetVar& row, const NetVar& copy) {
    return (row.isInput != 0) == (copy.isInput != 0);
}

} // namespace

std::string cleanNVName(std::string_view text) {
    std::string name(text.substr(0, kNameSize));
    if (name.size() > kNVNameLength) name.resize(kNVNameLength);
    for (char& c : name)
        if (!isAsciiAlnum(c)) c = '_';
    return name;
}

bool nvNameTaken(const ObjectMap& map, std::string_view name, int ownRow) {
    const int first = validNVRow(map, ownRow) ? nvHeaderRow(map, ownRow) : -1;
    const int last = first >= 0 ? nvLastFieldRow(map, first) : -1;
    for (int r = 0; r < map.nvCount; ++r) {
        if (r >= first && r <= last && first >= 0) continue;
        if (map.nvs[r].defined && textOf(map.nvs[r].name) == name) return true;
    }
    return false;
}

int editNVName(const ObjectMap& map, int ownRow, std::string_view text, NetVar& copy) {
    const std::string name = cleanNVName(text);
    if (!name.empty() && nvNameTaken(map, name, ownRow)) {
        copy.name.fill('\0');
        return kRefused;
    }
    setText(copy.name, name);
    return kOk;
}

int editScopePid(std::string_view text, NetVar& copy) {
    TextCursor cursor(text);
    if (!cursor.literal('[')) return kRefused;
    const std::optional<long long> scope = cursor.decimal();
    if (!scope || !cursor.literal(']') || *scope < 0 || *scope > 6) return kRefused;
    cursor.skipSpace();
    std::array<uint8_t, 8> pid{};
    for (std::size_t i = 0; i < pid.size(); ++i) {
        if (i > 0 && !cursor.literal(':')) return kRefused;
        const std::optional<uint32_t> byte = cursor.hex();
        if (!byte) return kRefused;
        pid[i] = static_cast<uint8_t>(*byte & 0xFFu);
    }
    copy.scope = static_cast<uint8_t>(*scope);
    copy.programId = pid;
    return kOk;
}

std::string scopePidText(const NetVar& row) {
    char text[48];
    const auto& p = row.programId;
    std::snprintf(text, sizeof text, "[%d] %02X:%02X:%02X:%02X:%02X:%02X:%02X:%02X", row.scope, p[0], p[1],
                  p[2], p[3], p[4], p[5], p[6], p[7]);
    return text;
}

int editFbNumber(const ObjectMap& map, std::string_view text, NetVar& copy) {
    const long long fb = numberOrZero(text);
    if (fb == 0) {
        copy.fbNumber = 0;
        return kOk;
    }
    if (fb < 1 || fb > kFbNumbers) return EditNumberResult::Invalid;
    for (int r = 0; r < map.nvCount; ++r)
        if (map.nvs[r].fbNumber == fb && sameDirection(map.nvs[r], copy))
            return EditNumberResult::AllocatedElsewhere;
    copy.fbNumber = static_cast<int32_t>(fb);
    return kOk;
}

int editObjectNumber(const ObjectMap& map, std::string_view text, NetVar& copy) {
    const long long n = numberOrZero(text);
    if (n == 0) {
        copy.objectNumber = 0;
        return kOk;
    }
    if (n < 1 || n > kObjectCount) return EditNumberResult::Invalid;
    for (int r = 0; r < map.nvCount; ++r)
        if (map.nvs[r].objectNumber == n) return EditNumberResult::AllocatedElsewhere;
    copy.objectNumber = static_cast<int32_t>(n);
    return kOk;
}

int editMethod(int method, int snvt, NetVar& copy) {
    if (method < 0 || method > 2) return kRefused;
    copy.method = static_cast<uint8_t>(method);
    copy.formula = 0;
    if (method != 2) return kOk;
    if (snvt == 95) copy.formula = 1;
    if (snvt == 87) copy.formula = 2;
    return copy.formula != 0 ? kOk : kRefused;
}

} // namespace korvex
