#pragma once
// Reads a register list from a comma-separated text file into the import list. The first line
// is a header when it names columns (it contains "MODICON" or "REG"); otherwise the file is one
// number per line: Modicon numbers when the first lies in 40001..49999, register numbers else.
#include "formats/csv/CsvColumn.h"
#include "formats/csv/CsvResult.h"
#include "formats/csv/RegisterImport.h"

#include <array>
#include <istream>

namespace korvex {

inline constexpr int kCsvMaxColumns = 10; // recognised header columns kept; later ones are ignored

class RegisterCsvReader {
public:
    // Longer lines are read in pieces of this length, each a line of its own.
    static constexpr std::size_t kMaxLine = 1998;

    // With the Modicon option on every file is read as Modicon-addressed.
    explicit RegisterCsvReader(bool modiconOption = false) : modiconOption_(modiconOption) {}

    // Fills the import list and its count. On failure the count is 0 and the result names the
    // first bad line; entries are not otherwise cleared.
    CsvReadResult read(std::istream& in, RegisterImportList& list);

private:
    struct Layout {
        std::array<CsvColumnId, kCsvMaxColumns> columns{};
        int count = 0;
        bool modicon = false;
        bool hasType = false;
    };

    bool readHeader(const std::string& firstLine, Layout& layout) const;
    CsvResult readDataLine(const std::string& line, const Layout& layout, RegisterDef& entry) const;

    bool modiconOption_;
};

} // namespace korvex
