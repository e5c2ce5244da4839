#include "support/FuzzChecks.h"

#include "formats/xml/ElementReader.h"
#include "formats/xml/XmlError.h"

namespace korvex::fuzz {

void runElementLines(const uint8_t* data, std::size_t size, ElementParser parse, bool nvLinesToo) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    ObjectMap& map = freshMap(0);
    map.deviceModel = kTcpDeviceModel;
    ElementReader reader(map);
    bool taken = false;
    std::size_t start = 0;
    while (start < input.size()) {
        std::size_t end = input.find('\n', start);
        end = end == std::string_view::npos ? input.size() : end + 1;
        const std::string_view line = input.substr(start, end - start);
        start = end;
        const ElementParser chosen =
            nvLinesToo && line.starts_with("<nv ") ? &ElementReader::parseNVElement : parse;
        const XmlError code = (reader.*chosen)(line);
        checkElementCode(code);
        checkMapStep(map);
        taken = taken || code == XmlError::Ok;
    }
    checkMap(map);
    if (taken) checkSavesAndReloadsIdentically(map);
}

} // namespace korvex::fuzz
