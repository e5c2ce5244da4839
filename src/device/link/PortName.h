#pragma once
// Turns the port name the user picks into the path the driver opens.
#include <string>
#include <string_view>

namespace korvex::device {

// On Windows "COMn" is used as it is. Elsewhere "COMn" (n from 1) names /dev/ttyS(n-1); any
// other text is already a device path (/dev/ttyACM0, /dev/serial/by-id/..., a pseudo-terminal).
std::string resolvePortName(std::string_view name, bool windows);
std::string resolvePortName(std::string_view name);

} // namespace korvex::device
