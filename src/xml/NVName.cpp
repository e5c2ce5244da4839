#include "xml/NVName.h"

#include "model/FixedText.h"

#include <cstdio>

namespace korvex::xml {

std::string cleanNVName(std::string_view name) {
    std::string clean(name.substr(0, kNVNameLength));
    for (char& c : clean) {
        const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit) c = '_';
    }
    return clean;
}

std::string defaultNVName(bool isInput, int fbNumber) {
    char text[32];
    std::snprintf(text, sizeof text, isInput ? "nviActValue_%d" : "nvoSenValue_%d", fbNumber);
    return text;
}

bool nvNameTaken(const ObjectMap& map, std::string_view name, int rows) {
    for (int i = 0; i < rows && i < map.nvCount; ++i)
        if (textOf(map.nvs[static_cast<std::size_t>(i)].name) == name) return true;
    return false;
}

} // namespace korvex::xml
