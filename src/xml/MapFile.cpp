#include "xml/MapFile.h"

#include "model/ListBuilding.h"
#include "model/ListEditing.h"
#include "xml/ElementReader.h"
#include "xml/MapDocument.h"
#include "xml/XmlError.h"

#include <fstream>

namespace korvex {

MapFileResult readObjectMap(ObjectMap& map, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {false, "Error opening object map XML file " + path + "\n", 0};
    return readObjectMap(map, in);
}

MapFileResult readObjectMap(ObjectMap& map, std::istream& in) {
    clearAll(map);
    ElementReader reader(map);
    const int code = reader.readDocument(in);
    if (code != 0) {
        const std::string text = reader.message(code);
        clearAll(map);
        return {false, text, code};
    }
    clearObjectsInDevice(map);
    clearNVsInDevice(map);
    markAllObjectsSaved(map);
    markDefinedNVsSaved(map);
    rebuildRegisterList(map);
    return {true, {}, 0};
}

MapFileResult writeObjectMap(ObjectMap& map, const std::string& path, FileOps& ops) {
    const RenderedMap rendered = renderObjectMap(map);
    if (!replaceFileAtomically(path, rendered.text, ops))
        return {false, "Error opening object map file " + path + "\n", 0};
    markRenderedSaved(map, rendered);
    return {true, {}, 0};
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
