#pragma once
// The import and export actions on CSV files, without any window: path checks, opening,
// reading or writing, and the texts the user sees. The window and the command line share them.
#include "formats/csv/RegisterImport.h"
#include "model/ObjectMap.h"

#include <string>

namespace korvex {

struct CsvFileOutcome {
    bool ok = false;
    std::string message;  // failure text, or the status text on a successful import
    std::string fileName; // the path after its last slash or backslash, on success
};

// Import: the path must contain ".csv" or ".CSV"; the import list is filled from the file.
// On failure the list's count is 0.
CsvFileOutcome importRegisterCsvFile(const std::string& path, RegisterImportList& list, bool modiconOption);

// Export path: ".csv" is appended when the path does not contain it (lower case).
std::string csvExportPath(const std::string& path);
// Export: writes the register list's rows in use to `path` as given. A row that would not read
// back as the same register is refused with a line naming it, and the file is left untouched.
CsvFileOutcome exportRegisterCsvFile(const std::string& path, const ObjectMap& map, bool modiconOption);

// "%d entries added to list." for the add action.
std::string entriesAddedText(int count);

// The part of a path after its last slash or backslash.
std::string fileNameOfPath(const std::string& path);

} // namespace korvex
