#pragma once
// Result codes of the register CSV reader and writer, with their message texts in one table.
// Reader messages carry the 1-based line number of the offending line.
#include <cstdint>
#include <string>

namespace korvex {

enum class CsvResult : uint8_t {
    Ok = 0,
    EmptyFile,             // reported with an empty message
    InvalidFlag,           // RW, PACKED, HIGHREGFIRST
    InvalidRegister,       // REG, MODICON
    UnrecognizedType,      // TYPE
    UnrecognizedFormat,    // FORMAT
    InvalidSlave,          // SLAVE
    InvalidBitNumber,      // BITNUMBER
    InvalidRegisterNumber, // a required register or Modicon number is 0
    UnrecognizedContents,  // no header and no number on the first line
    ListSizeExceeded,
    NoRegisters,
    WriteFailed,
    Count
};

struct CsvReadResult {
    CsvResult code = CsvResult::Ok;
    int line = 0; // 1-based line of the failure, 0 when none applies
    bool ok() const { return code == CsvResult::Ok; }
};

// The message format of a code ("Invalid flag at line %d\n", ...).
const char* csvMessageFormat(CsvResult code);
// The message with the line number filled in.
std::string csvMessage(CsvReadResult result);

// Texts of the import and export actions, shared by the window and the command line.
namespace CsvText {
inline constexpr const char* NeedCsvFile = "Need a .csv file.";
inline constexpr const char* ErrorOpening = "Error opening CSV file %s\n";
inline constexpr const char* ImportUnsuccessful = "CSV import unsuccessful.";
inline constexpr const char* RegistersParsed = "%d registers parsed from %s.";
inline constexpr const char* EntriesAdded = "%d entries added to list.";
inline constexpr const char* FailedToCreate = "Failed to create file.";
} // namespace CsvText

} // namespace korvex
