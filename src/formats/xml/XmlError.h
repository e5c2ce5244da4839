#pragma once
// Result codes of the element reader and their messages. The same texts reach the GUI, the
// CLI and the device link, so they live in one table here.
#include <string>

namespace korvex {

namespace XmlError {
inline constexpr int Ok = 0;
inline constexpr int BadSyntax = 1;
inline constexpr int UnknownTag = 2;
inline constexpr int OutOfRange = 3;
inline constexpr int Duplicate = 4;
inline constexpr int UnexpectedEnd = 5;
inline constexpr int Junk = 6;
inline constexpr int Conflicting = 7;
inline constexpr int MissingParameter = 8;
inline constexpr int BadType = 9;
inline constexpr int BadOption = 10;
inline constexpr int BadFileName = 11;
inline constexpr int OptionNotAllowed = 12;
inline constexpr int FileNotFound = 13;
inline constexpr int FileError = 14;
inline constexpr int NotXml = 15;
inline constexpr int FlashNotReady = 16;
inline constexpr int InvalidObject = 17;
inline constexpr int UnknownObjectFormat = 18;
inline constexpr int InvalidReportCode = 19;
inline constexpr int CannotAddNV = 20;
inline constexpr int Count = 21;
} // namespace XmlError

// The bare message of a code; nullptr outside 0..20.
const char* xmlErrorMessage(int code);

// The text shown for a read result: the message alone for 0, "<message> at line #<units>"
// for 1..20, "Unrecognized error code at line <units>" for anything else.
std::string xmlErrorText(int code, int unitCount);

} // namespace korvex
