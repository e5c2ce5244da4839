#include "vocab/TraceLine.h"

#include <cinttypes>
#include <cstdio>

namespace korvex {

char traceTag(TraceKind kind) {
    switch (kind) {
    case TraceKind::Sent:
        return '>';
    case TraceKind::Received:
        return '<';
    case TraceKind::Reply:
        return '=';
    default:
        return '!';
    }
}

void appendEscaped(std::string& out, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (byte >= 0x20 && byte <= 0x7E) {
                out += c;
            } else {
                const char escape[] = {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
                out.append(escape, sizeof escape);
            }
        }
    }
}

void appendTraceSeconds(std::string& out, std::int64_t micros) {
    if (micros < 0) micros = 0;
    char text[32];
    const int n =
        std::snprintf(text, sizeof text, "%" PRId64 ".%06" PRId64, micros / 1000000, micros % 1000000);
    out.append(text, static_cast<std::size_t>(n));
}

void appendTracePayload(std::string& out, TraceKind kind, std::string_view bytes, int length, int ms) {
    switch (kind) {
    case TraceKind::Sent:
    case TraceKind::Received:
        appendEscaped(out, bytes);
        break;
    case TraceKind::Reply:
        out += "len=" + std::to_string(length) + " ms=" + std::to_string(ms);
        break;
    case TraceKind::Timeout:
        out += "timeout";
        break;
    case TraceKind::Open:
        out += "open ";
        appendEscaped(out, bytes);
        break;
    case TraceKind::Close:
        out += "close";
        break;
    case TraceKind::Lost:
        out += "lost";
        break;
    }
}

void appendTraceLine(std::string& out, std::int64_t micros, TraceKind kind, std::string_view bytes,
                     int length, int ms) {
    appendTraceSeconds(out, micros);
    out += ' ';
    out += traceTag(kind);
    out += ' ';
    appendTracePayload(out, kind, bytes, length, ms);
    out += '\n';
}

void appendTraceNote(std::string& out, std::int64_t micros, std::string_view words) {
    appendTraceSeconds(out, micros);
    out += " ! ";
    out += words;
    out += '\n';
}

} // namespace korvex
