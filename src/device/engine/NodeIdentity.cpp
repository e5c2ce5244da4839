#include "device/engine/NodeIdentity.h"

#include "device/engine/ReplyText.h"

#include <algorithm>
#include <cstdio>

namespace korvex::device {

namespace {

constexpr unsigned kByteMax = 255;

// The text that starts `offset` characters after the first `label`; false when the label is
// missing or the reply ends before that point.
bool afterLabel(std::string_view reply, std::string_view label, std::size_t offset, std::string_view& rest) {
    const std::size_t at = reply.find(label);
    if (at == std::string_view::npos || at + offset > reply.size()) return false;
    rest = reply.substr(at + offset);
    return true;
}

bool labelledDecimal(std::string_view reply, std::string_view label, std::size_t offset, int& value) {
    std::string_view rest;
    return afterLabel(reply, label, offset, rest) && scanDecimal(rest, value);
}

// Up to bytes.size() hexadecimal numbers, each after the separator (blanks are skipped before
// every number, as "%x" does). Returns how many were read; a number above 255 stops the read
// and counts as unreadable (-1).
template <std::size_t N> int scanHexBytes(std::string_view text, char separator, std::array<int, N>& bytes) {
    int count = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0 && separator != ' ' && !scanLiteral(text, separator)) break;
        unsigned value = 0;
        if (!scanHex(text, value)) break;
        if (value > kByteMax) return -1;
        bytes[i] = static_cast<int>(value);
        ++count;
    }
    return count;
}

template <std::size_t N>
bool parseIdReply(std::string_view reply, std::string_view label, std::size_t offset,
                  std::array<int, N>& bytes) {
    std::string_view rest;
    if (!afterLabel(reply, label, offset, rest)) return false;
    std::array<int, N> read{};
    if (scanHexBytes(rest, ':', read) != static_cast<int>(N)) return false;
    bytes = read;
    return true;
}

template <std::size_t N> std::string hexText(const std::array<int, N>& bytes) {
    std::string text;
    char piece[8];
    for (std::size_t i = 0; i < N; ++i) {
        std::snprintf(piece, sizeof piece, i == 0 ? "%02X" : ":%02X",
                      static_cast<unsigned>(bytes[i]) & 0xFFu);
        text += piece;
    }
    return text;
}

} // namespace

bool validDomainLength(int length) {
    return length == 0 || length == 1 || length == 3 || length == 6;
}

bool parseDomainReply(std::string_view reply, DomainEntry& entry) {
    if (reply.find("unused") != std::string_view::npos) {
        entry = DomainEntry{};
        entry.vacant = true;
        return true;
    }
    DomainEntry read;
    if (!labelledDecimal(reply, "Subnet", 7, read.subnet) || !labelledDecimal(reply, "Node", 5, read.node) ||
        !labelledDecimal(reply, "Len", 4, read.idLength) || !validDomainLength(read.idLength))
        return false;
    if (read.idLength != 0) {
        std::string_view rest;
        if (!afterLabel(reply, "Id", 4, rest) || scanHexBytes(rest, ' ', read.id) != read.idLength)
            return false;
        // Only the first idLength bytes are kept; the count read must match it exactly.
        std::fill(read.id.begin() + read.idLength, read.id.end(), 0);
    }
    entry = read;
    return true;
}

std::string setDomainLine(int index, const DomainEntry& entry) {
    char text[64];
    std::snprintf(text, sizeof text, "ndomain %d %d %d %d", index, entry.subnet, entry.node, entry.idLength);
    std::string line = text;
    const int count = std::clamp(entry.idLength, 0, static_cast<int>(entry.id.size()));
    for (int i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, " %02x",
                      static_cast<unsigned>(entry.id[static_cast<std::size_t>(i)]) & 0xFFu);
        line += text;
    }
    return line + "\r\n";
}

bool parseProgramIdReply(std::string_view reply, std::array<int, 8>& bytes) {
    return parseIdReply(reply, "Prog ID", 9, bytes);
}

bool parseNeuronIdReply(std::string_view reply, std::array<int, 6>& bytes) {
    return parseIdReply(reply, "Neuron ID", 11, bytes);
}

std::string programIdText(const std::array<int, 8>& bytes) {
    return hexText(bytes);
}

std::string neuronIdText(const std::array<int, 6>& bytes) {
    return hexText(bytes);
}

} // namespace korvex::device
