#include "formats/xml/MapFile.h"

#include "formats/xml/ElementReader.h"
#include "formats/xml/MapDocument.h"
#include "formats/xml/XmlError.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"

#include <fstream>
#include <memory>

namespace korvex {

MapFileResult readObjectMap(ObjectMap& map, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {false, "Error opening object map XML file " + path + "\n", XmlError::Ok};
    return readObjectMap(map, in);
}

// The document goes into a scratch copy: elements take effect as they are read, so a document
// that fails part-way must not reach the user's map (settings of an early section, a zeroed TCP
// map, half the objects).
MapFileResult readObjectMap(ObjectMap& map, std::istream& in) {
    auto scratch = std::make_unique<ObjectMap>(map);
    clearAll(*scratch);
    ElementReader reader(*scratch);
    const XmlError code = reader.readDocument(in);
    if (code != XmlError::Ok) return {false, reader.message(code), code, {}};
    clearObjectsInDevice(*scratch);
    clearNVsInDevice(*scratch);
    markAllObjectsSaved(*scratch);
    markDefinedNVsSaved(*scratch);
    rebuildRegisterList(*scratch);
    map = *scratch;
    return {true, {}, XmlError::Ok, reader.warnings()};
}

MapFileResult writeObjectMap(ObjectMap& map, const std::string& path, FileOps& ops) {
    const RenderedMap rendered = renderObjectMap(map);
    if (!replaceFileAtomically(path, rendered.text, ops))
        return {false, "Error opening object map file " + path + "\n", XmlError::Ok};
    markRenderedSaved(map, rendered);
    return {true, {}, XmlError::Ok};
}

void newObjectMap(ObjectMap& map) {
    clearAll(map);
    clearRegisterList(map);
}

void notePortSettingsSaved(ObjectMap& map) {
    map.fileSnapshot = map.modbus;
    map.saveIndicators.portSettings = true;
    recomputeSaveIndicators(map);
}

bool hasXmlExtension(std::string_view path) {
    return path.find(".xml") != std::string_view::npos;
}

std::string withXmlExtension(std::string_view path) {
    std::string out(path);
    if (!hasXmlExtension(out)) out += ".xml";
    return out;
}

std::string fileNamePart(std::string_view path) {
    const std::size_t sep = path.find_last_of("\\/");
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

} // namespace korvex
