#include "formats/xml/XmlError.h"

#include <array>
#include <cstdio>

namespace korvex {
namespace {

constexpr std::array<const char*, XmlError::Count> kMessages{
    "No errors found",
    "Syntax is bad",
    "Unrecognized tag name",
    "Parameter out of range",
    "Duplicate field",
    "Unexpected end of file",
    "Junk found in file",
    "Conflicting parameters",
    "Missing parameter",
    "Bad type",
    "Bad option",
    "Bad file name",
    "Option not allowed",
    "File not found",
    "File error",
    "File is not XML",
    "Flash file system not ready",
    "Invalid object",
    "Object format unknown",
    "Invalid report code",
    "Unable to add NV",
};

} // namespace

const char* xmlErrorMessage(int code) {
    if (code < 0 || code >= XmlError::Count) return nullptr;
    return kMessages[static_cast<std::size_t>(code)];
}

std::string xmlErrorText(int code, int unitCount) {
    char text[96];
    if (code == XmlError::Ok) return kMessages[0];
    if (const char* message = xmlErrorMessage(code))
        std::snprintf(text, sizeof text, "%s at line #%d", message, unitCount);
    else
        std::snprintf(text, sizeof text, "Unrecognized error code at line %d", unitCount);
    return text;
}

} // namespace korvex
