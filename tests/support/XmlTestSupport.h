#pragma once
// Helpers shared by the element codec and map file tests: documents from strings, single
// elements, and maps built by the list operations.
#include "formats/xml/ElementReader.h"
#include "model/ObjectMap.h"

#include <sstream>
#include <string>
#include <string_view>

namespace korvex::test {

inline constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n";

// A document with the declaration and the configuration root around `body`.
inline std::string document(std::string_view body) {
    return std::string(kDeclaration) + "<configuration>\r\n" + std::string(body) + "</configuration>\r\n";
}

struct ReadResult {
    XmlError code;
    int units;
    std::string message;
};

inline ReadResult readDocumentText(ObjectMap& map, std::string_view text) {
    std::istringstream in{std::string(text)};
    ElementReader reader(map);
    const XmlError code = reader.readDocument(in);
    return {code, reader.unitCount(), reader.message(code)};
}

inline XmlError readObject(ObjectMap& map, std::string_view attributes) {
    ElementReader reader(map);
    return reader.parseObjectElement("<obj " + std::string(attributes) + "/>");
}

inline XmlError readNV(ObjectMap& map, std::string_view attributes) {
    ElementReader reader(map);
    return reader.parseNVElement("<nv " + std::string(attributes) + "/>");
}

// An element line as the gateway sends it (the writer's form, line end included).
inline XmlError readNVLine(ObjectMap& map, std::string_view line) {
    ElementReader reader(map);
    return reader.parseNVElement(line);
}

inline XmlError readPort(ObjectMap& map, std::string_view attributes) {
    ElementReader reader(map);
    return reader.parsePortElement("<mod " + std::string(attributes) + "/>");
}

// A map with every element kind, built by the list operations: registers (one of each format
// that matters), NVs from them, objects from the registers, a structured standard NV, a user
// type with an object on one of its fields, an NV imported with a user-defined type, port
// settings, node identity and, for Korvex-C, TCP settings and devices.
void buildRichMap(ObjectMap& map, int deviceModel);

} // namespace korvex::test
