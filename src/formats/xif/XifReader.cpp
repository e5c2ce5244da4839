#include "formats/xif/XifReader.h"
#include "vocab/CharClass.h"

#include "formats/LineReader.h"
#include "model/FixedText.h"
#include "vocab/SnvtCatalogue.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <string_view>

namespace korvex {
namespace {

constexpr long kCountLimit = 1'000'000'000;

// Reads `count` decimal numbers separated by white space from the start of text.
template <std::size_t N> bool readNumbers(std::string_view text, std::array<long, N>& out) {
    std::string buffer(text); // strtol needs a terminated string
    const char* at = buffer.c_str();
    for (long& value : out) {
        char* end = nullptr;
        value = std::strtol(at, &end, 10);
        if (end == at) return false;
        at = end;
    }
    return true;
}

bool beginsWithNumber(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) ++i;
    return i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]));
}

// The stored name of array element j: "_0", "_1", ... appended. The base name is cut so that
// name and suffix fit the 40-byte field together, and ends at a zero byte as the stored text
// would (else the suffix would hide behind the terminator).
void setElementName(ImportEntry& entry, std::string_view base, int arrayCount, int j) {
    base = base.substr(0, base.find('\0'));
    if (arrayCount <= 1) {
        setText(entry.name, base);
        return;
    }
    const std::string suffix = "_" + std::to_string(j);
    const std::size_t room = kNameSize - 1 - suffix.size();
    setText(entry.name, std::string(base.substr(0, std::min(room, base.size()))) + suffix);
}

} // namespace

// "VAR name index x y arraycount". The name is the text after the first blank up to the next.
void XifReader::readVarLine(const std::string& line, ImportTable& table) {
    block_ = Block{};
    std::size_t at = line.find_first_of(" \t");
    if (at == std::string::npos) return;
    while (at < line.size() && isSpaceOrTab(line[at])) ++at;
    const std::size_t nameEnd = line.find_first_of(" \t", at);
    if (nameEnd == std::string::npos) return; // no blank after the name
    const std::string_view name = std::string_view(line).substr(at, nameEnd - at);
    std::array<long, 4> numbers{};
    if (!readNumbers(std::string_view(line).substr(nameEnd), numbers)) return;
    const long index = numbers[0];
    const long arrayCount = std::max(1L, numbers[3]);
    if (index < 0 || index >= kImportEntries) return; // beyond the table: the NV is left out
    const int elements = static_cast<int>(std::min<long>(arrayCount, kImportEntries - index));
    for (int j = 0; j < elements; ++j) setElementName(table.entries[index + j], name, arrayCount, j);
    expected_ += elements - 1;
    block_ = Block{static_cast<int>(index), elements};
}

// The fourth number of the attribute line is 0 for an input NV.
void XifReader::readAttributeLine(const std::string& line, ImportTable& table) const {
    std::array<long, 4> numbers{};
    if (!readNumbers(line, numbers)) return;
    for (int j = 0; j < block_.elements; ++j)
        table.entries[block_.index + j].isInput = numbers[3] == 0 ? 1 : 0;
}

// Type indices outside one byte are kept as 255, which the catalogue does not hold, rather than
// wrapped round onto a real type. A standard type the catalogue does not hold is described by
// the member lines that follow ("t * n").
bool XifReader::readTypeLine(const std::string& line, ImportTable& table) {
    char* end = nullptr;
    const long typeIndex = std::strtol(line.c_str(), &end, 10);
    const uint8_t t = typeIndex < 0 || typeIndex > 255 ? 255 : static_cast<uint8_t>(typeIndex);
    for (int j = 0; j < block_.elements; ++j) {
        ImportEntry& entry = table.entries[block_.index + j];
        entry.typeIndex = t;
        entry.size = t == 0 ? 1 : snvt_size(t);
        entry.layout = ImportLayout::Catalogue; // an earlier block may have laid this entry out
        entry.baseType = 0;
        entry.fieldCount = 0;
        entry.fields = {};
        ++parsed_;
    }
    if (typeIndex == 0 || snvt_find(t) != 0 || block_.elements == 0) return false;
    layoutType_ = typeIndex;
    layoutOpen_ = true;
    if (layout_.start(std::string_view(line).substr(static_cast<std::size_t>(end - line.c_str()))))
        return true;
    finishLayout(table);
    return false;
}

void XifReader::readMemberLine(const std::string& line) {
    std::array<long, 4> numbers{};
    if (readNumbers(line, numbers))
        layout_.addMember(numbers[0], numbers[1], numbers[2], numbers[3]);
    else
        layout_.addMember(-1, 0, 0, 0); // a member that says nothing usable
}

namespace {

std::string layoutNote(const ImportEntry& entry, long typeIndex, const XifTypeLayout& layout) {
    std::string note = std::string(textOf(entry.name)) + ": standard type " + std::to_string(typeIndex) +
                       " is not in the catalogue";
    if (entry.layout == ImportLayout::Missing)
        return note + " and the file gives no usable layout for it; it cannot be added";
    note += "; kept as a user-defined type of " + std::to_string(entry.size) +
            (entry.size == 1 ? " byte" : " bytes");
    if (layout.memberCount() > kMaxFields)
        note += ", without field rows for its " + std::to_string(layout.memberCount()) + " members";
    return note;
}

} // namespace

void XifReader::finishLayout(ImportTable& table) {
    if (!layoutOpen_) return;
    layoutOpen_ = false;
    const bool usable = layout_.usable();
    for (int j = 0; j < block_.elements; ++j) {
        ImportEntry& entry = table.entries[block_.index + j];
        entry.layout = usable ? ImportLayout::File : ImportLayout::Missing;
        entry.size = usable ? static_cast<uint8_t>(layout_.size()) : 0;
        entry.baseType = usable ? layout_.baseType() : 0;
        entry.fieldCount = usable ? static_cast<uint8_t>(layout_.fieldCount()) : 0;
        entry.fields = usable ? layout_.fields() : std::array<ImportField, kMaxFields>{};
        notes_.push_back(layoutNote(entry, layoutType_, layout_));
    }
}

int XifReader::read(std::istream& in, ImportTable& table) {
    clearImportTable(table);
    block_ = Block{};
    parsed_ = 0;
    expected_ = 0;
    layoutOpen_ = false;
    notes_.clear();
    LineReader lines(in, kMaxLine);
    std::string line;
    int lineNumber = 0;
    bool nvSection = false;
    State state = State::Idle;
    while (lines.next(line)) {
        if (!line.empty() && line[0] == '#') continue;
        ++lineNumber;
        if (lineNumber == 6) {
            std::array<long, 4> numbers{};
            // A count beyond anything a file can hold means "read to the end"; held there so
            // that array blocks adding to it cannot overflow.
            expected_ = readNumbers(line, numbers) ? std::min(numbers[3], kCountLimit) : 1;
        }
        if (lineNumber < 8) continue;
        if (!nvSection) {
            nvSection = line.empty() || line[0] == '\r';
            continue;
        }
        if (line.starts_with("VAR")) {
            finishLayout(table); // a type whose member lines stopped short
            readVarLine(line, table);
            state = State::AfterVar;
        } else if (state == State::AfterVar) {
            readAttributeLine(line, table);
            state = State::AfterAttribute;
        } else if (state == State::AfterAttribute && beginsWithNumber(line) && line[0] != '"') {
            if (readTypeLine(line, table)) {
                state = State::TypeMembers;
                continue;
            }
            if (parsed_ >= expected_) break;
            state = State::Idle;
        } else if (state == State::TypeMembers && beginsWithNumber(line)) {
            readMemberLine(line);
            if (layout_.wantsMore()) continue;
            finishLayout(table);
            if (parsed_ >= expected_) break;
            state = State::Idle;
        }
    }
    finishLayout(table);
    if (parsed_ != 0) table.count = std::min(parsed_, kImportEntries);
    return parsed_;
}

} // namespace korvex
