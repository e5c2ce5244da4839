#pragma once
// The texts the status loop shows for each command area, byte for byte as the pages show them,
// and the one table (ReportTexts.cpp) that turns an area's ending into its words. Formats take
// their numbers in the order given beside them (vocab/TextFormat.h).
#include "device/engine/AreaFields.h"

#include <string>
#include <string_view>

namespace korvex::device::report {

// Marks of the transfer areas: NV definitions (NV List and Master List boxes), data objects
// (Master List box) and values (View Data box), appended.
inline constexpr char kNVIRead[] = "NVI {} read ok.\n"; // number
inline constexpr char kNVORead[] = "NVO {} read ok.\n";
inline constexpr char kNVIWritten[] = "NVI {} written ok.\n";
inline constexpr char kNVOWritten[] = "NVO {} written ok.\n";
inline constexpr char kObjectRead[] = "Object #{} read ok.\n";
inline constexpr char kObjectWritten[] = "Object #{} written ok.\n";
inline constexpr std::string_view kDeviceCleared = "Device cleared.\n";

// Shared by the transfer areas.
inline constexpr std::string_view kDeviceTimedOut = "Device timed out.\n";
inline constexpr std::string_view kUnspecifiedError = "Unspecified error.\n";
// A range action whose range held nothing: nothing was sent.
inline constexpr std::string_view kNothingToTransfer = "Nothing to transfer in the chosen range.\n";

// Modbus port (Modbus Port box).
inline constexpr std::string_view kDone = "Done";
inline constexpr char kExceptionCode[] = "Exception code: {}"; // code
inline constexpr std::string_view kResponseTimeouts = "Response timeouts detected.\n";
inline constexpr std::string_view kCrcErrors = "CRC errors detected.\n";
inline constexpr std::string_view kNoErrors = "No errors indicated.\n";
// After "Done" of a read that kept the map's own IP settings.
inline constexpr std::string_view kIpSettingsDiffer =
    "The gateway's TCP/IP settings differ from the map's; the map's were kept.\n";

// Name of a Modbus exception code after "Exception code: {}"; empty for codes without one.
std::string_view exceptionName(unsigned code);

// Node management (LonWorks box).
inline constexpr std::string_view kNodeTimeout = "Device timeout\n";
inline constexpr std::string_view kUnableToParseReply = "Unable to parse reply\n";
inline constexpr std::string_view kUnknownError = "Unknown error\n";
inline constexpr char kDomainRead[] = "Domain {} read\n"; // index
inline constexpr char kDomainWritten[] = "Domain {} written\n";
inline constexpr std::string_view kProgramIdRead = "Program ID read\n";
inline constexpr std::string_view kNeuronIdRead = "Neuron ID read\n";
inline constexpr std::string_view kLocationRead = "Node Location read";
inline constexpr std::string_view kLocationWritten = "Node Location written";
inline constexpr std::string_view kProgramIdAltered = "Program ID alteration written";

// Reading back after a send (the send's box), appended.
inline constexpr char kVerifiedNVs[] = "Verified: {} NVs match.\n"; // count
inline constexpr char kVerifiedObjects[] = "Verified: {} objects match.\n";
inline constexpr std::string_view kVerifiedPort = "Verified: port settings match.\n";

// A transfer the user stopped: how far it got (done, total), then what that leaves.
inline constexpr char kStoppedNVs[] = "Stopped after {} of {} NVs";
inline constexpr char kStoppedObjects[] = "Stopped after {} of {} objects";
inline constexpr char kStoppedValues[] = "Stopped after {} of {} values";
inline constexpr char kStoppedCompare[] = "Compare stopped after {} of {} items";
inline constexpr char kStoppedVerifyNVs[] = "Verify stopped after {} of {} NVs";
inline constexpr char kStoppedVerifyObjects[] = "Verify stopped after {} of {} objects";
inline constexpr char kStoppedVerifyPort[] = "Verify stopped after {} of {} items";
inline constexpr std::string_view kStoppedEnd = ".\n";
inline constexpr std::string_view kStoppedNVsKept = "; the list holds the NVs read so far.\n";
inline constexpr std::string_view kStoppedObjectsKept = "; the list holds the objects read so far.\n";
inline constexpr std::string_view kStoppedUnverified =
    "; none was verified, so none is marked as in the device.\n";
inline constexpr std::string_view kStoppedNothingCompared = "; nothing was compared.\n";
inline constexpr std::string_view kStoppedNVsUnmarked = "; the NVs sent are not marked as in the device.\n";
inline constexpr std::string_view kStoppedObjectsUnmarked =
    "; the objects sent are not marked as in the device.\n";
inline constexpr std::string_view kStoppedPortUnconfirmed = "; the port settings are not confirmed.\n";

// The words for an ending other than Ok of the area, with the number, parse code, gateway text
// and NV direction the area's record holds. A result the area never gives gets its catch-all.
std::string resultText(Area area, DeviceResult result, const AreaResult& details);

} // namespace korvex::device::report
