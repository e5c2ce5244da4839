#pragma once
// Message texts with numbers and words put in: formatText("NVI {} read ok.\n", 4) gives
// "NVI 4 read ok.\n". Each "{}" takes the next argument, an integer written in decimal or a text
// as it is. The compiler checks that a format has one "{}" for each argument (and no other
// brace), and only integers and texts are taken, so a format and its arguments cannot disagree.
// Texts are never cut short. Plain functions, safe on any thread.
#include <concepts>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace korvex {

// One argument of a format: an integer or a text.
class FormatArg {
public:
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) FormatArg(T number)
        : text_(std::to_string(number)) {}
    FormatArg(std::string_view text) : view_(text) {}
    FormatArg(const char* text) : view_(text) {}
    FormatArg(const std::string& text) : view_(text) {}

    // The argument as it goes into the text.
    std::string_view text() const { return text_.empty() ? view_ : std::string_view(text_); }

private:
    std::string text_;      // a number written out
    std::string_view view_; // a text given
};

// The number of "{}" in a format; -1 when a brace stands anywhere else.
constexpr int countPlaceholders(std::string_view format) {
    int count = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '}') return -1;
        if (format[i] != '{') continue;
        if (i + 1 == format.size() || format[i + 1] != '}') return -1;
        ++count;
        ++i;
    }
    return count;
}

// Not constexpr: a format that reaches it does not compile.
void formatPlaceholdersDoNotMatchTheArguments();

// A format checked at compile time against the number of arguments given with it.
template <std::size_t Count> class FormatString {
public:
    template <std::size_t N> consteval FormatString(const char (&format)[N]) : text_(format, N - 1) {
        if (countPlaceholders(text_) != static_cast<int>(Count)) formatPlaceholdersDoNotMatchTheArguments();
    }
    consteval FormatString(std::string_view format) : text_(format) {
        if (countPlaceholders(text_) != static_cast<int>(Count)) formatPlaceholdersDoNotMatchTheArguments();
    }
    constexpr std::string_view text() const { return text_; }

private:
    std::string_view text_;
};

// The format with its "{}" replaced by the arguments in order (unchecked: formatText checks).
std::string formatArgs(std::string_view format, std::initializer_list<FormatArg> args);

template <typename... Args>
std::string formatText(FormatString<sizeof...(Args)> format, const Args&... args) {
    return formatArgs(format.text(), {FormatArg(args)...});
}

} // namespace korvex
