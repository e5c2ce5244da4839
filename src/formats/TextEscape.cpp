#include "formats/TextEscape.h"

#include <cstdio>

namespace korvex {

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        char escape[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte >= 0x80) {
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string htmlText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            if (byte >= 0xa0) {
                char ref[8];
                std::snprintf(ref, sizeof ref, "&#%u;", static_cast<unsigned>(byte));
                out += ref;
            } else if ((byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte >= 0x7f) {
                out += "&#65533;";
            } else {
                out += c;
            }
        }
    }
    return out;
}

} // namespace korvex
