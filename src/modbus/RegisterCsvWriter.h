#pragma once
// Writes the register list as a comma-separated text file: a header of the column keywords
// and one line per row in use, lines ending in CR LF. With the Modicon option on a MODICON
// column replaces REG and TYPE.
#include "modbus/CsvResult.h"
#include "model/ObjectMap.h"

#include <ostream>
#include <string>

namespace korvex {

class RegisterCsvWriter {
public:
    explicit RegisterCsvWriter(bool modiconOption = false) : modicon_(modiconOption) {}

    // WriteFailed as soon as a line cannot be written.
    CsvResult write(std::ostream& out, const ObjectMap& map) const;

    std::string headerLine() const;                     // without the line end
    std::string dataLine(const RegisterDef& row) const; // without the line end

private:
    bool modicon_;
};

} // namespace korvex
