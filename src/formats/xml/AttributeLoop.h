#pragma once
// The attribute loop shared by the four element kinds: name="value" pairs read from one tag
// unit and handed to the element's attribute table. Used inside src/xml only.
#include "formats/xml/XmlError.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace korvex::xml {

inline constexpr std::size_t kMaxValueLength = 300;

// Tab, line feed and carriage return count as spaces wherever blanks are skipped.
inline bool isXmlBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
inline bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A cursor over one tag unit. The unit's closing '>' is its end: nothing at or after it
// belongs to an element's attributes.
class UnitCursor {
public:
    explicit UnitCursor(std::string_view unit, std::size_t pos = 0) : unit_(unit), pos_(pos) {
        end_ = unit_.empty() || unit_.back() != '>' ? unit_.size() : unit_.size() - 1;
    }
    bool atEnd() const { return pos_ >= end_; }
    // At the unit's closing '>': the unit goes on, but with nothing an attribute could use.
    bool atClose() const { return pos_ == end_ && end_ < unit_.size(); }
    bool atEmptyTagClose() const { return unit_.substr(pos_).starts_with("/>"); }
    char peek() const { return atEnd() ? '\0' : unit_[pos_]; }
    void skipBlanks() {
        while (!atEnd() && isXmlBlank(unit_[pos_])) ++pos_;
    }
    // The longest run of letters, digits and underscores (possibly empty).
    std::string_view readName() {
        const std::size_t start = pos_;
        while (!atEnd() && isNameChar(unit_[pos_])) ++pos_;
        return unit_.substr(start, pos_ - start);
    }
    // ="value" right at the cursor, no blanks allowed; false for anything malformed. A zero
    // byte cannot stand in a value: a text field would keep only what comes before it and
    // hide the rest behind its terminator.
    bool readQuotedValue(std::string_view& value) {
        if (peek() != '=') return false;
        ++pos_;
        if (peek() != '"') return false;
        const std::size_t start = ++pos_;
        while (!atEnd() && unit_[pos_] != '"' && unit_[pos_] != '\0') ++pos_;
        if (atEnd() || unit_[pos_] != '"' || pos_ - start > kMaxValueLength) return false;
        value = unit_.substr(start, pos_ - start);
        ++pos_;
        return true;
    }
    std::size_t position() const { return pos_; }

private:
    std::string_view unit_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

template <class Work> struct Attribute {
    const char* name;
    XmlError (*apply)(Work& work, std::string_view value);
};

// Runs the attribute loop up to "/>". `last` receives the table index of the last attribute
// applied (-1 for none). Returns the first error code, or 0. A unit that closes with a bare '>'
// still holds a character where the next name should start: an empty name, code 2, as for any
// element kind; only a unit cut off without its '>' is bad syntax.
template <class Work>
XmlError runAttributeLoop(UnitCursor& cursor, std::span<const Attribute<Work>> table, Work& work,
                          int* last = nullptr) {
    uint64_t seen = 0;
    if (last) *last = -1;
    while (!cursor.atEmptyTagClose()) {
        cursor.skipBlanks();
        if (cursor.atEnd() && !cursor.atClose()) return XmlError::BadSyntax;
        const std::string_view name = cursor.readName();
        std::size_t index = 0;
        while (index < table.size() && name != table[index].name) ++index;
        if (name.empty() || index == table.size()) return XmlError::UnknownTag;
        std::string_view value;
        if (!cursor.readQuotedValue(value)) return XmlError::BadSyntax;
        if (const XmlError code = table[index].apply(work, value); code != XmlError::Ok) return code;
        if (last) *last = static_cast<int>(index);
        cursor.skipBlanks();
        if (cursor.atEnd() && !cursor.atClose()) return XmlError::BadSyntax;
        const uint64_t bit = index < 64 ? uint64_t{1} << index : 0; // tables hold at most 30 names
        if (seen & bit) return XmlError::Duplicate;
        seen |= bit;
    }
    return XmlError::Ok;
}

} // namespace korvex::xml
