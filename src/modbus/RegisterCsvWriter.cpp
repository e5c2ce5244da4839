#include "modbus/RegisterCsvWriter.h"

#include "modbus/CsvColumn.h"

namespace korvex {
namespace {

bool writes(const CsvColumn& column, bool modicon) {
    return modicon ? column.writtenModicon : column.writtenPlain;
}

bool putLine(std::ostream& out, const std::string& line) {
    out << line << "\r\n";
    return static_cast<bool>(out);
}

} // namespace

std::string RegisterCsvWriter::headerLine() const {
    std::string line;
    for (const CsvColumn& column : csvColumns()) {
        if (!writes(column, modicon_)) continue;
        if (!line.empty()) line += ',';
        line += column.keyword;
    }
    return line;
}

std::string RegisterCsvWriter::dataLine(const RegisterDef& row) const {
    std::string line;
    for (const CsvColumn& column : csvColumns())
        if (writes(column, modicon_)) column.format(row, modicon_, line);
    return line;
}

CsvResult RegisterCsvWriter::write(std::ostream& out, const ObjectMap& map) const {
    if (!putLine(out, headerLine())) return CsvResult::WriteFailed;
    for (int i = 0; i < map.registerCount && i < kListCapacity; ++i) {
        const RegisterDef& row = map.registers[i];
        if (row.defined && !putLine(out, dataLine(row))) return CsvResult::WriteFailed;
    }
    out.flush();
    return out ? CsvResult::Ok : CsvResult::WriteFailed;
}

} // namespace korvex
