#include "ui/widgets/NumberText.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>

namespace korvex::ui::widgets {

int scanDecimal(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

std::optional<int> decimalIn(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
    if (i >= text.size() || text[i] < u'0' || text[i] > u'9') return std::nullopt;
    return scanDecimal(text);
}

QString numberOrEmpty(int value) {
    return value == 0 ? QString() : QString::number(value);
}

unsigned scanHex(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    const auto digit = [&](qsizetype at) {
        if (at >= text.size()) return -1;
        const char16_t c = text[at].unicode();
        if (c >= u'0' && c <= u'9') return static_cast<int>(c - u'0');
        if (c >= u'a' && c <= u'f') return static_cast<int>(c - u'a' + 10);
        if (c >= u'A' && c <= u'F') return static_cast<int>(c - u'A' + 10);
        return -1;
    };
    if (digit(i) == 0 && i + 2 < text.size() && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        digit(i + 2) >= 0)
        i += 2;
    unsigned long long value = 0;
    for (int d; (d = digit(i)) >= 0; ++i)
        value = std::min(value * 16 + static_cast<unsigned>(d), 0xFFFFFFFFull);
    const auto magnitude = static_cast<unsigned>(value);
    return negative ? 0u - magnitude : magnitude;
}

double scanFraction(const QString& text) {
    const std::string latin = text.trimmed().toStdString();
    const char* first = latin.c_str();
    const char* last = first + latin.size();
    if (first != last && *first == '+') ++first;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        const std::string_view match(first, static_cast<std::size_t>(end - first));
        const auto e = match.find_first_of("eE");
        if (e != std::string_view::npos && e + 1 < match.size() && match[e + 1] == '-') return 0;
        return match.front() == '-' ? -DBL_MAX : DBL_MAX;
    }
    if (error != std::errc() || !std::isfinite(value)) return 0;
    return value;
}

} // namespace korvex::ui::widgets
