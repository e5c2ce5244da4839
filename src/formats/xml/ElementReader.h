#pragma once
// Reader of the configuration element dialect: whole object map documents from a stream, and
// single elements received from the gateway. It is not a general XML parser: it reads tag units
// ('<' up to the first '>'), ignores text between them, decodes no entities and applies each
// element to the map as soon as it has been read, so a failure part-way leaves the elements
// before it applied.
#include "formats/xml/XmlError.h"
#include "model/ObjectMap.h"

#include <array>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

inline constexpr std::size_t kTagUnitCapacity = 500;

class ElementReader {
public:
    explicit ElementReader(ObjectMap& map) : map_(map) {}

    // Reads one object map document; the unit count restarts at 0. Returns an XmlError code.
    XmlError readDocument(std::istream& in);

    // One line received from the gateway, which must begin with "<obj ", "<nv ", "<mod " or
    // "<nd " (else code 1). The unit count is left as it is.
    XmlError parseObjectElement(std::string_view line);
    XmlError parseNVElement(std::string_view line);
    XmlError parsePortElement(std::string_view line);
    XmlError parseNodeElement(std::string_view line);

    // Tag units read since the document started, comments and incomplete units included.
    int unitCount() const { return unitCount_; }
    // True after a document whose root was <modify_configuration>.
    bool modifyMode() const { return modify_; }
    // The text for a result of this reader: "<message> at line #<units>".
    std::string message(XmlError code) const;
    // One line for each element of the last document that went in only in part (the field rows
    // of an NV beyond the list's storage, an object whose field row found no room). The
    // one-line parsers refuse such an element with code 20 instead.
    const std::vector<std::string>& warnings() const { return warnings_; }

private:
    enum class Kind { Object, Port, NV, Node }; // in the order of the section table

    bool readUnit();
    bool nextSignificantUnit();
    bool endsComment() const;
    std::string_view unit() const { return std::string_view(unit_.data(), length_); }
    bool unitStartsWith(std::string_view prefix) const;
    XmlError readSection(Kind kind);
    XmlError readConfiguration();
    XmlError applyElement(Kind kind, std::size_t keywordLength);
    XmlError parseLine(std::string_view line, Kind kind);

    ObjectMap& map_;
    std::istream* in_ = nullptr;
    std::array<char, kTagUnitCapacity> unit_{};
    std::size_t length_ = 0;
    bool overlong_ = false;      // the unit ran past the buffer; only its end was kept track of
    std::array<char, 3> tail_{}; // the unit's last three characters, for "-->"
    int unitCount_ = 0;
    bool modify_ = false;
    bool inDocument_ = false;
    std::vector<std::string> warnings_;
};

} // namespace korvex
