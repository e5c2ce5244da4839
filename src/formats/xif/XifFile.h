#pragma once
// The XIF import and export actions without any window: path checks, opening, reading or
// writing, and the texts the user sees. The window and the command line share them.
#include "formats/xif/NvImport.h"
#include "model/ObjectMap.h"

#include <string>
#include <vector>

namespace korvex {

namespace XifText {
inline constexpr const char* NeedXifFile = "Need a .xif file.";
inline constexpr const char* ErrorOpening = "Error opening XIF file %s\n";
inline constexpr const char* ImportUnsuccessful = "XIF import unsuccessful.";
inline constexpr const char* NVsParsed = "%d NV's parsed from %s.";
inline constexpr const char* EntriesAdded = "%d entries added to list.";
inline constexpr const char* ErrorCreating = "Error creating XIF file %s\n";
inline constexpr const char* FileSaved = "File saved.";
} // namespace XifText

struct XifFileOutcome {
    bool ok = false;
    std::string message;            // failure text, or the status text on success
    std::string fileName;           // the path after its last slash or backslash, on success
    int parsed = 0;                 // NVs parsed by an import
    std::vector<std::string> notes; // an import: NVs of types the catalogue lacks, one line each
};

// Import: the path must contain ".xif" or ".XIF". On failure the table is empty.
XifFileOutcome importXifFile(const std::string& path, ImportTable& table);

// Export path: ".xif" is appended when the path does not contain it (lower case).
std::string xifExportPath(const std::string& path);
// Export to `path` as given; the NV names written are made safe in the map. A file that cannot
// be created or written whole is reported with "Error creating XIF file %s\n".
XifFileOutcome exportXifFile(const std::string& path, ObjectMap& map, const std::string& modelName,
                             const std::string& dateText);

std::string nvEntriesAddedText(int count);

} // namespace korvex
