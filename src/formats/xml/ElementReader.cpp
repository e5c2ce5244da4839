#include "formats/xml/ElementReader.h"

#include "formats/xml/AttributeLoop.h"
#include "formats/xml/Elements.h"
#include "formats/xml/XmlError.h"

#include <istream>

namespace korvex {
namespace {

using xml::UnitCursor;

struct SectionSpec {
    std::string_view name;
    std::string_view close;
    std::string_view keyword; // element keyword without its trailing blank
};

constexpr std::array<SectionSpec, 4> kSections{{
    {"objects", "</objects>", "<obj"},
    {"modbus", "</modbus>", "<mod"},
    {"netvars", "</netvars>", "<nv"},
    {"node", "</node>", "<nd"},
}};

} // namespace

std::string ElementReader::message(XmlError code) const {
    return xmlErrorText(code, unitCount_);
}

bool ElementReader::unitStartsWith(std::string_view prefix) const {
    return unit().starts_with(prefix);
}

// Reads the next tag unit: text up to the next '<' is dropped, then '<' and everything up to
// and including the first '>' is the unit. A unit longer than the buffer keeps its start and
// its last three characters. Every attempt counts, even one that meets the end of the stream.
bool ElementReader::readUnit() {
    ++unitCount_;
    length_ = 0;
    overlong_ = false;
    tail_.fill('\0');
    std::streambuf* buffer = in_ ? in_->rdbuf() : nullptr;
    if (!buffer) return false;
    int c = 0;
    while ((c = buffer->sbumpc()) != std::char_traits<char>::eof() && c != '<') {
    }
    if (c != '<') return false;
    for (;;) {
        const char ch = static_cast<char>(c);
        if (length_ < unit_.size())
            unit_[length_++] = ch;
        else
            overlong_ = true;
        tail_ = {tail_[1], tail_[2], ch};
        if (ch == '>') return true;
        c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) return false;
    }
}

// The next unit that is not part of a comment. A comment runs from a unit that starts with
// "<!--" to the first unit that holds "-->"; since a unit ends at its first '>', that can only
// be its last three characters.
bool ElementReader::nextSignificantUnit() {
    for (;;) {
        if (!readUnit()) return false;
        if (!unitStartsWith("<!--")) return true;
        while (!endsComment()) {
            if (!readUnit()) return false;
        }
    }
}

bool ElementReader::endsComment() const {
    return tail_[0] == '-' && tail_[1] == '-' && tail_[2] == '>';
}

XmlError ElementReader::readDocument(std::istream& in) {
    in_ = &in;
    unitCount_ = 0;
    modify_ = false;
    warnings_.clear();
    inDocument_ = true;
    const XmlError code = readConfiguration();
    inDocument_ = false;
    in_ = nullptr;
    return code;
}

XmlError ElementReader::readConfiguration() {
    if (!nextSignificantUnit() || !unitStartsWith("<?xml ")) return XmlError::NotXml;
    for (;;) {
        if (!nextSignificantUnit()) return XmlError::BadSyntax;
        if (unitStartsWith("<configuration>")) break;
        if (unitStartsWith("<modify_configuration>")) {
            modify_ = true;
            break;
        }
    }
    for (;;) {
        if (!nextSignificantUnit()) return XmlError::UnexpectedEnd;
        if (unitStartsWith("</configuration>") || unitStartsWith("</modify_configuration>"))
            return XmlError::Ok;
        if (overlong_) return XmlError::BadSyntax;
        if (!unitStartsWith("<")) return XmlError::Junk;
        UnitCursor cursor(unit(), 1);
        const std::string_view name = cursor.readName();
        std::size_t section = 0;
        while (section < kSections.size() && name != kSections[section].name) ++section;
        if (name.empty() || section == kSections.size()) return XmlError::UnknownTag;
        cursor.skipBlanks();
        if (!cursor.atEnd()) return XmlError::BadSyntax; // anything but the closing '>'
        if (const XmlError code = readSection(static_cast<Kind>(section)); code != XmlError::Ok) return code;
    }
}

XmlError ElementReader::readSection(Kind kind) {
    const SectionSpec& spec = kSections[static_cast<std::size_t>(kind)];
    if (kind == Kind::Port) {
        // The port settings and the device map come only from this section's elements.
        map_.modbus = ModbusSettings{0, 0, 0, 0, 0};
        map_.tcpMap.fill(TcpDeviceMap{});
    }
    for (;;) {
        if (!nextSignificantUnit()) return XmlError::UnexpectedEnd;
        if (unit() == spec.close) return XmlError::Ok;
        if (const XmlError code = applyElement(kind, spec.keyword.size()); code != XmlError::Ok) return code;
    }
}

// The unit must be the section's keyword followed by a blank; the element's attributes follow.
XmlError ElementReader::applyElement(Kind kind, std::size_t keywordLength) {
    const SectionSpec& spec = kSections[static_cast<std::size_t>(kind)];
    if (overlong_ || !unitStartsWith(spec.keyword) || length_ <= keywordLength ||
        !xml::isXmlBlank(unit_[keywordLength]))
        return XmlError::BadSyntax;
    UnitCursor cursor(unit(), keywordLength);
    cursor.skipBlanks();
    xml::Warnings* warnings = inDocument_ ? &warnings_ : nullptr;
    switch (kind) {
    case Kind::Object:
        return xml::applyObjectElement(map_, cursor, warnings);
    case Kind::Port:
        return xml::applyPortElement(map_, cursor);
    case Kind::NV:
        return xml::applyNVElement(map_, cursor, warnings);
    case Kind::Node:
        return xml::applyNodeElement(map_, cursor);
    }
    return XmlError::BadSyntax;
}

XmlError ElementReader::parseLine(std::string_view line, Kind kind) {
    // The element ends at its first '>', as a unit read from a file would.
    const std::size_t close = line.find('>');
    if (close != std::string_view::npos) line = line.substr(0, close + 1);
    if (line.size() > unit_.size()) return XmlError::BadSyntax;
    length_ = line.size();
    overlong_ = false;
    std::copy(line.begin(), line.end(), unit_.begin());
    return applyElement(kind, kSections[static_cast<std::size_t>(kind)].keyword.size());
}

XmlError ElementReader::parseObjectElement(std::string_view line) {
    return parseLine(line, Kind::Object);
}
XmlError ElementReader::parseNVElement(std::string_view line) {
    return parseLine(line, Kind::NV);
}
XmlError ElementReader::parsePortElement(std::string_view line) {
    return parseLine(line, Kind::Port);
}
XmlError ElementReader::parseNodeElement(std::string_view line) {
    return parseLine(line, Kind::Node);
}

} // namespace korvex
