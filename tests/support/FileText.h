#pragma once
// A whole file as bytes, for tests that compare what was written.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace korvex::test {

// The file's bytes; empty when it cannot be read.
inline std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace korvex::test
