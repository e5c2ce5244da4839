#include "formats/xml/XmlError.h"

#include "vocab/TextFormat.h"

#include <array>

namespace korvex {
namespace {

constexpr std::array<const char*, kXmlErrorCount> kMessages{
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

const char* xmlErrorMessage(XmlError code) {
    const int n = codeNumber(code);
    if (n < 0 || n >= kXmlErrorCount) return nullptr;
    return kMessages[static_cast<std::size_t>(n)];
}

std::string xmlErrorText(XmlError code, int unitCount) {
    if (code == XmlError::Ok) return kMessages[0];
    if (const char* message = xmlErrorMessage(code)) return formatText("{} at line #{}", message, unitCount);
    return formatText("Unrecognized error code at line {}", unitCount);
}

} // namespace korvex
