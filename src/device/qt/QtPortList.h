#pragma once
// The serial ports this computer has now, from Qt SerialPort's list, each named by its link in
// the by-id folder where it has one. Any thread (the enumeration is taken under the serial-port
// set-up lock).
#include "device/link/PortRecord.h"

#include <string>
#include <vector>

namespace korvex::device {

std::vector<PortRecord> systemPortRecords(const std::string& byIdFolder);
// KORVEX_SERIAL_BY_ID when it is set (a folder of links standing in for /dev/serial/by-id),
// else /dev/serial/by-id.
std::string serialByIdFolder();
// systemPortRecords of serialByIdFolder(), as the window and the command line list them.
PortLister systemPortLister();

} // namespace korvex::device
