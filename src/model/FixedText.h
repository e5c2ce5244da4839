#pragma once
// Bounded copies into the fixed, zero-terminated text fields of the map's records.
// Every write into a record's char array goes through these so no field can be overrun.
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace korvex {

// Copies at most min(limit, N - 1) bytes of text into field and zero-fills the rest.
template <std::size_t N>
void setText(std::array<char, N>& field, std::string_view text, std::size_t limit = N - 1) {
    static_assert(N > 0);
    const std::size_t cap = limit < N - 1 ? limit : N - 1;
    const std::size_t len = text.size() < cap ? text.size() : cap;
    field.fill('\0');
    if (len > 0) std::memcpy(field.data(), text.data(), len);
}

// Reads a field up to its first zero byte (or its whole width if none).
template <std::size_t N>
std::string_view textOf(const std::array<char, N>& field) {
    const void* end = std::memchr(field.data(), '\0', N);
    const std::size_t len = end ? static_cast<std::size_t>(static_cast<const char*>(end) - field.data()) : N;
    return std::string_view(field.data(), len);
}

template <std::size_t N>
std::string stringOf(const std::array<char, N>& field) {
    return std::string(textOf(field));
}

} // namespace korvex
