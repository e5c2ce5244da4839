#pragma once
// Text made safe for the two markup languages the tool writes: JSON string literals and HTML
// text. Map texts are ISO-8859-1, as the map file keeps them; bytes from 0x80 up are taken so.
#include <string>
#include <string_view>

namespace korvex {

// A JSON string literal of the text, quotes included: control characters and bytes from 0x80 up
// as \uXXXX.
std::string jsonString(std::string_view text);
// The text with &, <, >, " and ' as character references, control characters (but tab, CR and
// LF) and the C1 range as U+FFFD, bytes from 0xA0 up as their ISO-8859-1 character, so any input
// is safe between tags and in attribute values.
std::string htmlText(std::string_view text);

} // namespace korvex
