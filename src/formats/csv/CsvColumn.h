#pragma once
// The column vocabulary of the register CSV file: for each keyword, the parser that reads its
// field into a RegisterDef and the formatter that writes it. Reader and writer share this one
// table; its order is the order in which the writer emits columns.
#include "formats/csv/CsvResult.h"
#include "model/RegisterDef.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace korvex {

enum class CsvColumnId : uint8_t {
    RW,
    REG,
    TYPE,
    MODICON,
    FORMAT,
    SLAVE,
    BITNUMBER,
    PACKED,
    HIGHREGFIRST,
    NAME
};
inline constexpr int kCsvColumnCount = 10;

// The reading position inside one data line. Every column parser starts at `pos` and, when
// done, moves to just after the next comma (or to the end of the line).
struct CsvCursor {
    std::string_view line;
    std::size_t pos = 0;

    std::string_view rest() const { return pos < line.size() ? line.substr(pos) : std::string_view{}; }
    // The field up to (not including) the next comma.
    std::string_view field() const { return rest().substr(0, rest().find(',')); }
    void skipField();
};

using CsvParser = CsvResult (*)(CsvCursor& cursor, RegisterDef& entry);
// Appends the column's text for one register (nothing when the mode does not write the column).
using CsvFormatter = void (*)(const RegisterDef& entry, bool modicon, std::string& out);

struct CsvColumn {
    CsvColumnId id;
    const char* keyword;
    CsvParser parse;
    CsvFormatter format;
    bool writtenPlain;   // written with the Modicon option off
    bool writtenModicon; // written with the Modicon option on
};

std::span<const CsvColumn> csvColumns();
const CsvColumn& csvColumn(CsvColumnId id);
// The column whose keyword the header piece begins with (first in table order), or nullptr.
const CsvColumn* csvColumnForHeader(std::string_view piece);

// Appends a name as the NAME column writes it: as it is, or quoted when a comma or a leading
// quote would make the reader take it otherwise.
void appendCsvName(std::string_view name, std::string& out);

// Longest name the NAME column stores (the 40-byte field keeps its terminating zero).
inline constexpr std::size_t kCsvNameLength = kNameSize - 1;

// The Modicon number the MODICON column writes for a register, in six-digit form (holding
// register 100 is 400100): the row's stored number when it reads back as this register (it may
// carry a digit that leaves the type alone), else the form of its type and number. Coils
// 10000..49999 have no form that reads back; the export refuses them.
int32_t sixDigitModicon(const RegisterDef& e);
// The type a Modicon number of this type's digit reads back as (COIL1 and NONE as COIL, HOLD1 as
// HOLD).
int32_t modiconTypeFold(int32_t type);
// True when a Modicon file holding this number reads it back as the register's number and its
// type, or the type the notation folds it into.
bool modiconReadsBackAs(int32_t modicon, const RegisterDef& e);

} // namespace korvex
