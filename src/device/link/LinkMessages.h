#pragma once
// Texts the device link shows for the port and the console, byte for byte as the pages show them.
#include <string_view>

namespace korvex::device {

inline constexpr std::string_view kMsgOpenFailedConnect = "Error opening COM port."; // Connect page button
inline constexpr std::string_view kMsgOpenFailed = "Error opening COM port";         // every other page
inline constexpr std::string_view kMsgPortOpened = "USB COM port open.";
inline constexpr std::string_view kMsgPortClosed = "USB COM port closed.";
inline constexpr std::string_view kMsgBusy = "COM port already busy.";
inline constexpr std::string_view kMsgBusyValueWrite = "Comm port busy\n";
inline constexpr std::string_view kMsgConsoleTimeout = "Timeout waiting for reply\r\n";
inline constexpr std::string_view kMsgDeviceTimedOut = "Device timed out.\n";
inline constexpr std::string_view kMsgUnspecifiedError = "Unspecified error.\n";
// A usage reply that does not begin with "Last Obj" counts as parse error 1.
inline constexpr std::string_view kMsgUsageParseError = "Parse error: 1.\n";

} // namespace korvex::device
