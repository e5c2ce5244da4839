#pragma once
// The entries of the Connect page's "COM port" list: COM1 to COM20, then the serial ports the
// system reports (with their descriptions), then the simulated gateway. Each entry carries the
// port name handed to the device link.
#include <QString>
#include <QStringList>
#include <vector>

namespace korvex::ui::widgets {

struct PortChoice {
    QString text;     // as listed
    QString portName; // as handed to the link; empty for the simulated gateway
    bool simulated = false;
};

std::vector<PortChoice> comPortChoices();
// systemPorts: pairs of (device path, description) as the system reports them.
std::vector<PortChoice> portChoices(const std::vector<std::pair<QString, QString>>& systemPorts);
// The serial ports the system reports now.
std::vector<std::pair<QString, QString>> systemSerialPorts();

} // namespace korvex::ui::widgets
