#include "formats/csv/CsvColumn.h"

#include "model/FixedText.h"
#include "vocab/Modicon.h"
#include "vocab/RegisterCodes.h"
#include "vocab/RegisterNames.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace korvex {

void CsvCursor::skipField() {
    const std::size_t comma = pos < line.size() ? line.find(',', pos) : std::string_view::npos;
    pos = comma == std::string_view::npos ? line.size() : comma + 1;
}

namespace {

// Reads an unsigned decimal number as "%u" does: leading white space skipped, digits taken,
// the rest of the field ignored. A sign is not a number here (a negative register, slave or bit
// would wrap round to a huge value). Values above `limit` are refused rather than cut.
std::optional<uint32_t> readUnsigned(std::string_view field, uint32_t limit) {
    std::size_t i = 0;
    while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i]))) ++i;
    if (i == field.size() || !std::isdigit(static_cast<unsigned char>(field[i]))) return std::nullopt;
    uint64_t value = 0;
    for (; i < field.size() && std::isdigit(static_cast<unsigned char>(field[i])); ++i) {
        value = value * 10 + static_cast<uint64_t>(field[i] - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

std::optional<bool> readFlag(std::string_view field) {
    if (field.empty()) return std::nullopt;
    switch (field[0]) {
    case 'T':
    case 't':
        return true;
    case 'F':
    case 'f':
        return false;
    default:
        return std::nullopt;
    }
}

CsvResult parseRw(CsvCursor& c, RegisterDef& e) {
    const std::string_view f = c.field();
    const char first = f.empty() ? '\0' : f[0];
    if (first == 'R' || first == 'r') {
        e.readPeriodic = 1;
    } else if (first == 'W' || first == 'w') {
        if (f.size() > 1 && f[1] == '+')
            e.writeOnUpdate = 1;
        else
            e.writePeriodic = 1;
    } else {
        return CsvResult::InvalidFlag;
    }
    c.skipField();
    return CsvResult::Ok;
}

CsvResult parseReg(CsvCursor& c, RegisterDef& e) {
    const auto value = readUnsigned(c.field(), 0xFFFF);
    if (!value) return CsvResult::InvalidRegister;
    e.regNumber = static_cast<uint16_t>(*value);
    c.skipField();
    return CsvResult::Ok;
}

CsvResult parseType(CsvCursor& c, RegisterDef& e) {
    const auto type = registerTypeFromCsvField(c.field());
    if (!type) return CsvResult::UnrecognizedType;
    e.type = *type;
    c.skipField();
    return CsvResult::Ok;
}

// A Modicon number whose register part does not fit 16 bits names no register.
bool modiconFitsRegister(uint32_t modicon) {
    const uint32_t scale = modicon < 50000 ? 10000 : 100000;
    return modicon % scale <= 0xFFFF;
}

CsvResult parseModicon(CsvCursor& c, RegisterDef& e) {
    const auto value = readUnsigned(c.field(), INT32_MAX);
    if (!value || !modiconFitsRegister(*value)) return CsvResult::InvalidRegister;
    e.modicon = static_cast<int32_t>(*value);
    c.skipField();
    return CsvResult::Ok;
}

CsvResult parseFormat(CsvCursor& c, RegisterDef& e) {
    const auto format = registerFormatFromCsvField(c.field());
    if (!format) return CsvResult::UnrecognizedFormat;
    e.format = *format;
    c.skipField();
    return CsvResult::Ok;
}

CsvResult parseSlave(CsvCursor& c, RegisterDef& e) {
    const auto value = readUnsigned(c.field(), 0xFF);
    if (!value) return CsvResult::InvalidSlave;
    e.slave = static_cast<uint8_t>(*value);
    c.skipField();
    return CsvResult::Ok;
}

CsvResult parseBitNumber(CsvCursor& c, RegisterDef& e) {
    if (!c.field().empty()) {
        const auto bit = readUnsigned(c.field(), 31);
        if (!bit) return CsvResult::InvalidBitNumber;
        e.bitNumber = static_cast<uint16_t>(*bit + 1);
    }
    c.skipField();
    return CsvResult::Ok;
}

CsvResult parsePacked(CsvCursor& c, RegisterDef& e) {
    const auto flag = readFlag(c.field());
    if (!flag) return CsvResult::InvalidFlag;
    e.packed = *flag ? 1 : 0;
    c.skipField();
    return CsvResult::Ok;
}

CsvResult parseHighRegFirst(CsvCursor& c, RegisterDef& e) {
    const auto flag = readFlag(c.field());
    if (!flag) return CsvResult::InvalidFlag;
    e.highRegFirst = *flag ? 1 : 0;
    c.skipField();
    return CsvResult::Ok;
}

// The text of a quoted name: up to the closing quote, a doubled double quote standing for one
// (so that a name holding both kinds of quote can be written). Empty without a closing quote.
std::string quotedName(std::string_view rest) {
    const char quote = rest[0];
    std::string name;
    for (std::size_t i = 1; i < rest.size(); ++i) {
        if (rest[i] != quote) {
            name += rest[i];
        } else if (quote == '"' && i + 1 < rest.size() && rest[i + 1] == '"') {
            name += '"';
            ++i;
        } else {
            return name;
        }
    }
    return {};
}

// A quoted name runs to the closing quote (a comma inside it is part of the name); a missing
// closing quote gives an empty name. Either way the next column starts after the first comma
// that follows the field's start. A zero byte ends the name, as it ends the stored text.
CsvResult parseName(CsvCursor& c, RegisterDef& e) {
    const std::string_view rest = c.rest();
    std::string name;
    if (!rest.empty() && (rest[0] == '"' || rest[0] == '\''))
        name = quotedName(rest);
    else
        name = c.field();
    setText(e.name, std::string_view(name).substr(0, name.find('\0')), kCsvNameLength);
    c.skipField();
    return CsvResult::Ok;
}

void formatRw(const RegisterDef& e, bool, std::string& out) {
    out += e.writePeriodic ? "W," : e.writeOnUpdate ? "W+," : "R,";
}

void formatReg(const RegisterDef& e, bool, std::string& out) {
    out += std::to_string(e.regNumber);
    out += ',';
}

void formatType(const RegisterDef& e, bool, std::string& out) {
    out += register_type_keyword(e.type);
    out += ',';
}

void formatModicon(const RegisterDef& e, bool, std::string& out) {
    out += modiconText(sixDigitModicon(e));
    out += ',';
}

void formatFormat(const RegisterDef& e, bool, std::string& out) {
    out += register_format_keyword(e.format);
    out += ',';
}

void formatSlave(const RegisterDef& e, bool, std::string& out) {
    out += std::to_string(e.slave);
    out += ',';
}

void formatBitNumber(const RegisterDef& e, bool, std::string& out) {
    if (e.bitNumber != 0) out += std::to_string(e.bitNumber - 1);
    out += ',';
}

void formatPacked(const RegisterDef& e, bool, std::string& out) {
    out += e.packed ? "T," : "F,";
}
void formatHighRegFirst(const RegisterDef& e, bool, std::string& out) {
    out += e.highRegFirst ? "T," : "F,";
}

void formatName(const RegisterDef& e, bool, std::string& out) {
    appendCsvName(textOf(e.name), out);
}

constexpr std::array<CsvColumn, kCsvColumnCount> kColumns{{
    {CsvColumnId::RW, "RW", parseRw, formatRw, true, true},
    {CsvColumnId::REG, "REG", parseReg, formatReg, true, false},
    {CsvColumnId::TYPE, "TYPE", parseType, formatType, true, false},
    {CsvColumnId::MODICON, "MODICON", parseModicon, formatModicon, false, true},
    {CsvColumnId::FORMAT, "FORMAT", parseFormat, formatFormat, true, true},
    {CsvColumnId::SLAVE, "SLAVE", parseSlave, formatSlave, true, true},
    {CsvColumnId::BITNUMBER, "BITNUMBER", parseBitNumber, formatBitNumber, true, true},
    {CsvColumnId::PACKED, "PACKED", parsePacked, formatPacked, true, true},
    {CsvColumnId::HIGHREGFIRST, "HIGHREGFIRST", parseHighRegFirst, formatHighRegFirst, true, true},
    {CsvColumnId::NAME, "NAME", parseName, formatName, true, true},
}};

} // namespace

namespace {

// The six-digit form of a Modicon number; five-digit forms (below 50000) get their type digit
// moved up, so that the zero of a coil's digit cannot be lost.
int32_t sixDigitForm(int32_t modicon) {
    return modicon >= 0 && modicon < 50000 ? modicon / 10000 * 100000 + modicon % 10000 : modicon;
}

} // namespace

int32_t modiconTypeFold(int32_t type) {
    int32_t folded = RegisterType::None;
    register_from_modicon(registerTypeModiconDigit(type) * 100000 + 1, folded);
    return folded;
}

bool modiconReadsBackAs(int32_t modicon, const RegisterDef& e) {
    int32_t type = RegisterType::None; // a Modicon file has no TYPE column
    const uint16_t number = register_from_modicon(modicon, type);
    return number == e.regNumber && (type == e.type || type == modiconTypeFold(e.type));
}

int32_t sixDigitModicon(const RegisterDef& e) {
    const int32_t stored = sixDigitForm(e.modicon);
    if (e.modicon != 0 && modiconReadsBackAs(stored, e)) return stored;
    return registerTypeModiconDigit(e.type) * 100000 + e.regNumber;
}

std::span<const CsvColumn> csvColumns() {
    return kColumns;
}

const CsvColumn& csvColumn(CsvColumnId id) {
    return kColumns[static_cast<std::size_t>(id)];
}

const CsvColumn* csvColumnForHeader(std::string_view piece) {
    for (const CsvColumn& column : kColumns)
        if (piece.starts_with(column.keyword)) return &column;
    return nullptr;
}

// Names are written as stored. A name that the reader would cut at a comma or take for a quoted
// one is quoted so that it reads back whole: in the quote it does not hold, or, holding both, in
// double quotes with each of its own doubled. (A line feed cannot be carried at all; the export
// refuses such a name before writing.)
void appendCsvName(std::string_view name, std::string& out) {
    const bool needsQuotes =
        name.find(',') != std::string::npos || (!name.empty() && (name[0] == '"' || name[0] == '\''));
    if (!needsQuotes) {
        out += name;
        return;
    }
    const bool doubled = name.find('"') != std::string::npos && name.find('\'') != std::string::npos;
    const char quote = name.find('"') == std::string::npos || doubled ? '"' : '\'';
    out += quote;
    for (char ch : name) {
        out += ch;
        if (doubled && ch == '"') out += '"';
    }
    out += quote;
}

} // namespace korvex
