#pragma once
// The texts the status loop shows for each command area, byte for byte as the pages show them.
// Formats take their numbers in the order given beside them.
#include <string_view>

namespace korvex::device::report {

// NV definitions (NV List and Master List boxes, appended).
inline constexpr char kNVIRead[] = "NVI %d read ok.\n";
inline constexpr char kNVORead[] = "NVO %d read ok.\n";
inline constexpr char kNVIWritten[] = "NVI %d written ok.\n";
inline constexpr char kNVOWritten[] = "NVO %d written ok.\n";
inline constexpr char kNVIParseError[] = "NVI %d Error %d.\n"; // number, parse code
inline constexpr char kNVOParseError[] = "NVO %d Error %d.\n";
inline constexpr char kNVIErrorText[] = "NVI %d %s.\n"; // number, gateway's text
inline constexpr char kNVOErrorText[] = "NVO %d %s.\n";

// Data objects and erase (Master List box, appended); values (View Data box, appended).
inline constexpr char kObjectRead[] = "Object #%d read ok.\n";
inline constexpr char kObjectWritten[] = "Object #%d written ok.\n";
inline constexpr char kObjParseError[] = "Obj %d Error %d.\n"; // number, parse code
inline constexpr char kObjErrorText[] = "Obj %d %s.\n";        // number, gateway's text
inline constexpr std::string_view kDeviceCleared = "Device cleared.\n";
inline constexpr char kClearErrorText[] = "%s.\n";
inline constexpr char kObjectNotDefined[] = "Object %d not defined in device.\n";
inline constexpr std::string_view kUnableToParseResult = "Unable to parse result.\n";
inline constexpr std::string_view kErrorWritingObject = "Error writing object.\n";

// Shared by the transfer areas.
inline constexpr std::string_view kDeviceTimedOut = "Device timed out.\n";
inline constexpr std::string_view kUnspecifiedError = "Unspecified error.\n";
// A range action whose range held nothing: nothing was sent.
inline constexpr std::string_view kNothingToTransfer = "Nothing to transfer in the chosen range.\n";

// Modbus port (Modbus Port box).
inline constexpr std::string_view kDone = "Done";
inline constexpr char kExceptionCode[] = "Exception code: %d";
inline constexpr std::string_view kResponseTimeouts = "Response timeouts detected.\n";
inline constexpr std::string_view kCrcErrors = "CRC errors detected.\n";
inline constexpr std::string_view kNoErrors = "No errors indicated.\n";
inline constexpr char kPortParseError[] = "Parse error: %d.\n";
inline constexpr char kPortErrorText[] = "%s\n";
// After "Done" of a read that kept the map's own IP settings.
inline constexpr std::string_view kIpSettingsDiffer =
    "The gateway's TCP/IP settings differ from the map's; the map's were kept.\n";

// Name of a Modbus exception code after "Exception code: %d"; empty for codes without one.
std::string_view exceptionName(unsigned code);

// Node management (LonWorks box).
inline constexpr std::string_view kNodeTimeout = "Device timeout\n";
inline constexpr std::string_view kSetDomainRefused = "Error trying to set domain\n";
inline constexpr std::string_view kUnableToParseReply = "Unable to parse reply\n";
inline constexpr std::string_view kUnknownError = "Unknown error\n";
inline constexpr char kDomainRead[] = "Domain %d read\n";
inline constexpr char kDomainWritten[] = "Domain %d written\n";
inline constexpr std::string_view kProgramIdRead = "Program ID read\n";
inline constexpr std::string_view kNeuronIdRead = "Neuron ID read\n";
inline constexpr std::string_view kLocationRead = "Node Location read";
inline constexpr std::string_view kLocationWritten = "Node Location written";
inline constexpr std::string_view kProgramIdAltered = "Program ID alteration written";
inline constexpr char kNodeErrorText[] = "%s\n";

} // namespace korvex::device::report
