#include "formats/csv/RegisterCsvWriter.h"

#include "formats/csv/CsvColumn.h"
#include "model/FixedText.h"
#include "vocab/Modicon.h"
#include "vocab/RegisterCodes.h"
#include "vocab/RegisterNames.h"

namespace korvex {
namespace {

bool writes(const CsvColumn& column, bool modicon) {
    return modicon ? column.writtenModicon : column.writtenPlain;
}

bool putLine(std::ostream& out, const std::string& line) {
    out << line << "\r\n";
    return static_cast<bool>(out);
}

std::string registerText(int32_t type, uint32_t number) {
    return std::string(register_type_keyword(type)) + " " + std::to_string(number);
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

std::string RegisterCsvWriter::refusal(const RegisterDef& e, int row) const {
    const std::string which =
        "Register row " + std::to_string(row) + " (" + registerText(e.type, e.regNumber) + ")";
    const char* const nothing = "; nothing was written.";
    if (e.regNumber == 0) return which + " has no register number" + nothing;
    if (textOf(e.name).find('\n') != std::string_view::npos)
        return which + " has a line break in its name, which a CSV line cannot carry" + nothing;
    const int32_t modicon = sixDigitModicon(e);
    if (!modicon_ || modiconReadsBackAs(modicon, e)) return {};
    int32_t type = RegisterType::None;
    const uint16_t number = register_from_modicon(modicon, type);
    return which + " cannot be written in Modicon notation: it would read back as " +
           registerText(type, number) + nothing;
}

std::string RegisterCsvWriter::refusal(const ObjectMap& map) const {
    for (int i = 0; i < map.registerCount && i < kListCapacity; ++i) {
        if (!map.registers[i].defined) continue;
        std::string text = refusal(map.registers[i], i + 1);
        if (!text.empty()) return text;
    }
    return {};
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
