#include "ui/widgets/PortChoices.h"

#include "ui/window/UiTexts.h"

#include <QStringList>

namespace korvex::ui::widgets {

namespace text = window::text;

namespace {

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

QString hex4(std::uint16_t id) {
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

bool listed(const std::vector<PortChoice>& choices, const QString& portName) {
    for (const PortChoice& c : choices)
        if (c.portName == portName) return true;
    return false;
}

} // namespace

QString portToolTip(const device::PortRecord& port) {
    QStringList lines;
    if (!port.description.empty()) lines << fromStd(port.description);
    if (!port.manufacturer.empty())
        lines << QStringLiteral("Manufacturer: %1").arg(fromStd(port.manufacturer));
    if (port.vendorId && port.productId)
        lines << QStringLiteral("USB %1:%2").arg(hex4(*port.vendorId), hex4(*port.productId));
    if (!port.serialNumber.empty())
        lines << QStringLiteral("Serial number: %1").arg(fromStd(port.serialNumber));
    if (!port.location.empty()) lines << fromStd(port.location);
    return lines.join(u'\n');
}

std::vector<PortChoice> portChoices(const std::vector<device::PortRecord>& ports, bool windows) {
    std::vector<PortChoice> choices;
    for (const device::PortRecord& port : ports) {
        const QString name = fromStd(port.name.empty() ? port.location : port.name);
        if (name.isEmpty() || listed(choices, name)) continue;
        const QString shown =
            port.description.empty() ? name : QStringLiteral("%1 - %2").arg(name, fromStd(port.description));
        choices.push_back({shown, name, false, portToolTip(port)});
    }
    // On Windows COM1 to COM20 are real names whether or not the system reports a device there.
    for (int n = 1; windows && n <= 20; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        if (!listed(choices, name)) choices.push_back({name, name, false, {}});
    }
    choices.push_back({QString::fromLatin1(text::kSimulatedGateway), QString(), true, {}});
    return choices;
}

std::vector<PortChoice> portChoices(const std::vector<device::PortRecord>& ports) {
#ifdef Q_OS_WIN
    return portChoices(ports, true);
#else
    return portChoices(ports, false);
#endif
}

} // namespace korvex::ui::widgets
