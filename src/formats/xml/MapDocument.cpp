#include "formats/xml/MapDocument.h"

#include "formats/xml/ElementWriter.h"
#include "formats/xml/NVName.h"
#include "model/FixedText.h"
#include "model/lists/NVEditRules.h"

#include <algorithm>

namespace korvex {
namespace {

constexpr const char* kIndent = "   ";

void appendHeader(std::string& out, const char* model) {
    out += "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n";
    out += std::string("<!-- Orvanta ") + model + " Configuration File -->\r\n";
    out += std::string("<!-- Created by ") + model + " Tool " + kMapFileVersion + " -->\r\n";
    out += "<!-- DO NOT EDIT -->\r\n";
    out += "<!-- Technical support will not assist with a manually edited XML file -->\r\n";
    out += "\r\n<configuration>\r\n\r\n";
}

void appendNetvars(std::string& out, const ObjectMap& map, std::vector<int>& written) {
    out += "<netvars>\r\n";
    const std::vector<std::string> names = fileNVNames(map);
    for (int r = 0; r < map.nvCount; ++r) {
        const std::string element = writeNVElement(map, r, true, names[static_cast<std::size_t>(r)]);
        if (element.empty()) continue;
        out += kIndent + element;
        written.push_back(r);
    }
    out += "</netvars>\r\n\r\n";
}

void appendModbus(std::string& out, ObjectMap& map) {
    out += "<modbus>\r\n";
    out += kIndent + writePortElement(map);
    if (map.hasTcp()) {
        out += kIndent + writeTcpSettingsElement(map);
        for (int d = 1; d <= kTcpMapEntries; ++d)
            if (map.tcpMap[static_cast<std::size_t>(d - 1)].inUse())
                out += kIndent + writeTcpDeviceElement(map, d);
    }
    out += "</modbus>\r\n\r\n";
}

} // namespace

std::vector<std::string> fileNVNames(const ObjectMap& map) {
    std::vector<std::string> names(static_cast<std::size_t>(map.nvCount));
    std::vector<std::string> taken; // names of the rows the reader will have added so far
    for (int r = 0; r < map.nvCount; ++r) {
        const NetVar& row = map.nvs[static_cast<std::size_t>(r)];
        if (writeNVElement(map, r, false).empty()) continue;
        std::string name = cleanNVName(textOf(row.name));
        if (name.empty() || std::find(taken.begin(), taken.end(), name) != taken.end())
            name = xml::defaultNVName(row.isInput != 0, row.fbNumber);
        taken.push_back(name);
        names[static_cast<std::size_t>(r)] = name;
    }
    return names;
}

RenderedMap renderObjectMap(ObjectMap& map) {
    RenderedMap rendered;
    std::string& out = rendered.text;
    const char* model = deviceModelName(map.deviceModel);
    appendHeader(out, model ? model : deviceModelName(0));
    appendNetvars(out, map, rendered.nvRowsWritten);
    out += "<node>\r\n";
    out += kIndent + writeNodeElement(map);
    out += "</node>\r\n\r\n";
    out += "<objects>\r\n";
    for (int n = 1; n <= kObjectCount; ++n) out += kIndent + writeObjectElement(map, n);
    out += "</objects>\r\n\r\n";
    normaliseTcpMap(map.tcpMap);
    appendModbus(out, map);
    out += "</configuration>\r\n";
    return rendered;
}

void markRenderedSaved(ObjectMap& map, const RenderedMap& rendered) {
    for (int r : rendered.nvRowsWritten)
        if (r >= 0 && r < map.nvCount) map.nvs[static_cast<std::size_t>(r)].saved = 1;
    markAllObjectsSaved(map);
}

} // namespace korvex
