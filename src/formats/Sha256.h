#pragma once
// SHA-256 of a byte string or of a file's bytes, as lower-case hexadecimal, for the record of
// which map file a gateway was configured from. Plain functions without shared state: any
// thread may call them at once.
#include <optional>
#include <string>
#include <string_view>

namespace korvex {

// 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);
// The digest of the file as it is on the disk; nullopt when it cannot be read.
std::optional<std::string> sha256OfFile(const std::string& path);

} // namespace korvex
