#pragma once
// Result codes of the element reader and their messages. The same texts reach the GUI, the
// CLI and the device link, so they live in one table here. The numbers are part of what the
// gateway and the device link show ("Obj 5 Error 3."), so each code keeps its value.
#include <string>

namespace korvex {

enum class XmlError : int {
    Ok = 0,
    BadSyntax = 1,
    UnknownTag = 2,
    OutOfRange = 3,
    Duplicate = 4,
    UnexpectedEnd = 5,
    Junk = 6,
    Conflicting = 7,
    MissingParameter = 8,
    BadType = 9,
    BadOption = 10,
    BadFileName = 11,
    OptionNotAllowed = 12,
    FileNotFound = 13,
    FileError = 14,
    NotXml = 15,
    FlashNotReady = 16,
    InvalidObject = 17,
    UnknownObjectFormat = 18,
    InvalidReportCode = 19,
    CannotAddNV = 20,
};
inline constexpr int kXmlErrorCount = 21;

// The code's number, as messages that name a code show it ("Error 3").
constexpr int codeNumber(XmlError code) {
    return static_cast<int>(code);
}

// The bare message of a code; nullptr outside 0..20.
const char* xmlErrorMessage(XmlError code);

// The text shown for a read result: the message alone for 0, "<message> at line #<units>"
// for 1..20, "Unrecognized error code at line <units>" for anything else.
std::string xmlErrorText(XmlError code, int unitCount);

} // namespace korvex
