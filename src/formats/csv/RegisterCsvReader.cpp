#include "formats/csv/RegisterCsvReader.h"

#include "formats/LineReader.h"
#include "vocab/Modicon.h"
#include "vocab/RegisterCodes.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace korvex {
namespace {

std::string upperCase(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

// A signed decimal number at the start of the line, leading white space allowed.
bool leadingNumber(const std::string& line, long& value) {
    const char* begin = line.c_str();
    char* end = nullptr;
    value = std::strtol(begin, &end, 10);
    return end != begin;
}

void applyDefaults(RegisterDef& e) {
    if (e.slave == 0) e.slave = 1;
    if (e.format == RegisterFormat::None) e.format = RegisterFormat::U16;
    if (e.poll == 0) e.poll = 1;
    if (e.bitNumber != 0) e.mask = mask_from_bit(e.bitNumber);
}

} // namespace

bool RegisterCsvReader::readHeader(const std::string& firstLine, Layout& layout) const {
    const std::string upper = upperCase(firstLine);
    const bool hasModicon = upper.find("MODICON") != std::string::npos;
    if (!hasModicon && upper.find("REG") == std::string::npos) return false;
    layout.modicon = hasModicon || modiconOption_;
    std::size_t start = 0;
    while (start <= upper.size()) {
        std::size_t comma = upper.find(',', start);
        if (comma == std::string::npos) comma = upper.size();
        const CsvColumn* column = csvColumnForHeader(std::string_view(upper).substr(start, comma - start));
        if (column && layout.count < kCsvMaxColumns) {
            layout.columns[layout.count++] = column->id;
            if (column->id == CsvColumnId::TYPE) layout.hasType = true;
        }
        start = comma + 1;
    }
    return true;
}

CsvResult RegisterCsvReader::readDataLine(const std::string& line, const Layout& layout,
                                          RegisterDef& e) const {
    e = RegisterDef{};
    CsvCursor cursor{line, 0};
    for (int i = 0; i < layout.count; ++i) {
        const CsvResult result = csvColumn(layout.columns[i]).parse(cursor, e);
        if (result != CsvResult::Ok) return result;
    }
    applyDefaults(e);
    if (layout.modicon) {
        if (e.modicon == 0) return CsvResult::InvalidRegisterNumber;
    } else {
        if (!layout.hasType) e.type = RegisterType::Holding;
        if (e.regNumber == 0) return CsvResult::InvalidRegisterNumber;
    }
    if (e.modicon != 0)
        e.regNumber = register_from_modicon(e.modicon, e.type);
    else
        e.modicon = modicon_from_register(e.regNumber, e.type);
    // Modicon numbers count from 1 (40001): one whose register part is 0 (40000, 300000) names
    // no register, just as a register number 0 does, which the file could not be read back with.
    if (e.regNumber == 0) return CsvResult::InvalidRegisterNumber;
    if (!e.writePeriodic && !e.writeOnUpdate) e.readPeriodic = 1;
    return CsvResult::Ok;
}

CsvReadResult RegisterCsvReader::read(std::istream& in, RegisterImportList& list) {
    list.count = 0;
    LineReader lines(in, kMaxLine);
    std::string line;
    if (!lines.next(line)) return {CsvResult::EmptyFile, 0};

    Layout layout;
    const bool header = readHeader(line, layout);
    if (!header) {
        long first = 0;
        if (!leadingNumber(line, first)) return {CsvResult::UnrecognizedContents, 1};
        layout.modicon = modiconOption_ || (first >= 40001 && first <= 49999);
        layout.columns[0] = layout.modicon ? CsvColumnId::MODICON : CsvColumnId::REG;
        layout.count = 1;
    }

    int count = 0;
    for (bool data = !header; data || lines.next(line); data = false) {
        if (count >= kListCapacity) return {CsvResult::ListSizeExceeded, lines.lineNumber()};
        const CsvResult result = readDataLine(line, layout, list.entries[count]);
        if (result != CsvResult::Ok) return {result, lines.lineNumber()};
        ++count;
    }
    if (count == 0) return {CsvResult::NoRegisters, 0};
    list.count = count;
    return {};
}

} // namespace korvex
