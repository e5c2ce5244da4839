#pragma once
// The common reply forms of the gateway console: leading control characters, the "Ok"
// acknowledgement, error texts ending in the prompt, element replies, and the C-style number
// scans the reply handlers use.
#include "device/engine/DeviceResult.h"
#include "device/link/ConsolePrompt.h"
#include "formats/xml/XmlError.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace korvex::device {

// One reply as a handler sees it: at most the state's reply max bytes in a zero-filled buffer.
struct Reply {
    const char* data = nullptr;
    int length = 0; // 0 means no reply in time

    bool timedOut() const { return length == 0; }
    std::string_view bytes() const { return {data, static_cast<std::size_t>(length)}; }
    // The reply after its leading control characters.
    std::string_view text() const;
};

std::string_view skipLeadingControl(std::string_view reply);
// True when the reply (after leading control characters) begins with "Ok".
bool isOk(std::string_view reply);

// Error text for an area's 100-byte buffer: the reply after its leading control characters,
// at most capacity - 1 characters, cut at the first prompt, trailing control characters removed.
// Returns the length stored; the rest of the buffer is zero.
std::size_t copyErrorText(char* dest, std::size_t capacity, std::string_view reply);
template <std::size_t N> std::size_t copyErrorText(std::array<char, N>& dest, std::string_view reply) {
    return copyErrorText(dest.data(), N, reply);
}

// An element reader's code as a result: Ok is success; anything else is stored in parseCode
// (as its number, which the texts show) and gives BadReply.
DeviceResult elementReplyResult(XmlError readerCode, int& parseCode);

// Reads a number as "%d" / "%x" would at the start of text (leading blanks skipped, optional
// sign, digits). On success advances text past the number. Out-of-range values saturate.
bool scanDecimal(std::string_view& text, int& value);
bool scanHex(std::string_view& text, unsigned& value);
// Matches one literal character exactly (as a non-blank character in a scanf format does).
bool scanLiteral(std::string_view& text, char c);

} // namespace korvex::device
