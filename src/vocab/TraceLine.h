#pragma once
// The text form of one wire trace line, shared by the tool's link, the command line and the
// simulated gateway, so a trace from either end of the line reads the same:
//   <seconds since the port opened, 6 decimals> <tag> <payload>
// Tags: '>' bytes sent, '<' bytes received, '=' reply complete ("len=N ms=M"), '!' an event
// ("timeout", "open PORT", "close", "lost"). Payload bytes are escaped so a line stays one line
// of printable text. Pure functions; any thread.
#include <cstdint>
#include <string>
#include <string_view>

namespace korvex {

enum class TraceKind : std::uint8_t { Sent, Received, Reply, Timeout, Open, Close, Lost };

char traceTag(TraceKind kind);

// Appends bytes with \r, \n, \t and \\ written as such and every other byte below 0x20 or above
// 0x7E as \xNN (upper-case hex).
void appendEscaped(std::string& out, std::string_view bytes);

// "12.345678": whole microseconds as seconds (negative times count as 0).
void appendTraceSeconds(std::string& out, std::int64_t micros);

// The payload column: the escaped bytes (sent, received), "len=N ms=M" (reply; ms whole
// milliseconds since the command), or the event's words ("open " + the escaped port name).
void appendTracePayload(std::string& out, TraceKind kind, std::string_view bytes, int length = 0, int ms = 0);

// One whole line with its "\n".
void appendTraceLine(std::string& out, std::int64_t micros, TraceKind kind, std::string_view bytes,
                     int length = 0, int ms = 0);

// A line of the reader's own ("12.345678 ! dropped 3 events: ..."), with its "\n": what a reader
// says about the trace itself, such as a gap, in the form of an event line.
void appendTraceNote(std::string& out, std::int64_t micros, std::string_view words);

} // namespace korvex
