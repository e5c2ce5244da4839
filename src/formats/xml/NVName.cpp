#include "formats/xml/NVName.h"

#include <cstdio>

namespace korvex::xml {

std::string defaultNVName(bool isInput, int fbNumber) {
    char text[32];
    std::snprintf(text, sizeof text, isInput ? "nviActValue_%d" : "nvoSenValue_%d", fbNumber);
    return text;
}

} // namespace korvex::xml
