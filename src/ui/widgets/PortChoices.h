#pragma once
// The entries of the Connect page's "COM port" list: the serial ports the system reports, each
// by the name it is opened and remembered under (on Linux its /dev/serial/by-id link) with its
// description; on Windows COM1 to COM20 after them; then the simulated gateway. Each entry
// carries the port name handed to the device link and a tooltip that tells the port apart.
#include "device/link/PortRecord.h"

#include <QString>

#include <vector>

namespace korvex::ui::widgets {

struct PortChoice {
    QString text;     // as listed
    QString portName; // as handed to the link; empty for the simulated gateway
    bool simulated = false;
    QString toolTip; // empty for entries the system did not report
};

// windows: COM1 to COM20 are listed too (those the system did not report already).
std::vector<PortChoice> portChoices(const std::vector<device::PortRecord>& ports, bool windows);
// As on the platform the program runs on.
std::vector<PortChoice> portChoices(const std::vector<device::PortRecord>& ports);
// Description, manufacturer, "USB 0403:6001", serial number and system location, one a line,
// each only when known.
QString portToolTip(const device::PortRecord& port);

} // namespace korvex::ui::widgets
