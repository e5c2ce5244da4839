#include "formats/csv/CsvResult.h"

#include <array>
#include <cstdio>

namespace korvex {
namespace {

constexpr std::array<const char*, static_cast<std::size_t>(CsvResult::Count)> kMessages{
    "",
    "",
    "Invalid flag at line %d\n",
    "Invalid Modbus register at line %d\n",
    "Unrecognized Modbus register type code at line %d\n",
    "Unrecognized Modbus format code at line %d\n",
    "Invalid Modbus slave id/unit at line %d\n",
    "Invalid Modbus bit number at line %d\n",
    "Invalid register number at line %d\n",
    "Unable to recognize file contents.",
    "List size exceeded.",
    "No registers found.",
    "Error writing CSV register list.\n",
};

} // namespace

const char* csvMessageFormat(CsvResult code) {
    const auto index = static_cast<std::size_t>(code);
    return index < kMessages.size() ? kMessages[index] : "";
}

std::string csvMessage(CsvReadResult result) {
    char text[96];
    std::snprintf(text, sizeof text, csvMessageFormat(result.code), result.line);
    return text;
}

} // namespace korvex
