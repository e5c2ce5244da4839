#pragma once
// Texts the device link shows for the port and the console, byte for byte as the pages show them.
#include "device/link/SerialPortDriver.h"

#include <string>
#include <string_view>

namespace korvex::device {

inline constexpr std::string_view kMsgOpenFailedConnect = "Error opening COM port."; // Connect page button
inline constexpr std::string_view kMsgOpenFailed = "Error opening COM port";         // every other page
// Said on a line of its own after the open failure text when the system refused the port for
// lack of rights.
inline constexpr std::string_view kMsgPermissionHint =
    "Permission denied: add your user to the dialout group (sudo usermod -aG dialout $USER), then log "
    "out and in again.";
inline constexpr std::string_view kMsgPortOpened = "USB COM port open.";
inline constexpr std::string_view kMsgPortClosed = "USB COM port closed.";
inline constexpr std::string_view kMsgBusy = "COM port already busy.";
inline constexpr std::string_view kMsgBusyValueWrite = "Comm port busy\n";
inline constexpr std::string_view kMsgConsoleTimeout = "Timeout waiting for reply\r\n";
inline constexpr std::string_view kMsgDeviceTimedOut = "Device timed out.\n";
inline constexpr std::string_view kMsgUnspecifiedError = "Unspecified error.\n";
// A usage reply that does not begin with "Last Obj" counts as parse error 1.
inline constexpr std::string_view kMsgUsageParseError = "Parse error: 1.\n";

// The failure text of an open (kMsgOpenFailedConnect or kMsgOpenFailed), followed on Linux by the
// hint when the port was refused for lack of rights; every other failure says the text alone.
inline std::string openFailedText(std::string_view failed, OpenError why) {
    std::string text(failed);
#ifdef __linux__
    if (why == OpenError::Permission) text.append(1, '\n').append(kMsgPermissionHint);
#else
    (void)why;
#endif
    return text;
}

} // namespace korvex::device
