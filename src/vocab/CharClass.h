#pragma once
// Character classes for the text readers of every layer: the C library's isspace without its
// locale and without its trap for negative char values.

namespace korvex {

// White space as isspace sees it in the C locale: space, tab, LF, VT, FF, CR.
inline constexpr bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The gap between words on one line: a space or a tab.
inline constexpr bool isSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}

} // namespace korvex
