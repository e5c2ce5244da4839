#pragma once
// Writes the register list as a comma-separated text file: a header of the column keywords
// and one line per row in use, lines ending in CR LF. With the Modicon option on a MODICON
// column replaces REG and TYPE.
#include "formats/csv/CsvResult.h"
#include "model/ObjectMap.h"

#include <ostream>
#include <string>

namespace korvex {

class RegisterCsvWriter {
public:
    explicit RegisterCsvWriter(bool modiconOption = false) : modicon_(modiconOption) {}

    // WriteFailed as soon as a line cannot be written.
    CsvResult write(std::ostream& out, const ObjectMap& map) const;

    // Why the first row in use (1-based `row` in the list) would not read back as the same
    // register: its type as the notation folds it (single-write coils and holding registers,
    // and NONE, come back as COIL or HOLD in Modicon notation), its number and its name. One
    // line naming the row, its type and number; empty when every row reads back.
    std::string refusal(const RegisterDef& entry, int row) const;
    std::string refusal(const ObjectMap& map) const;

    std::string headerLine() const;                     // without the line end
    std::string dataLine(const RegisterDef& row) const; // without the line end

private:
    bool modicon_;
};

} // namespace korvex
