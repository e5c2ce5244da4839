#include "ui/widgets/PortChoices.h"

#include "ui/window/UiTexts.h"

#include <QSerialPortInfo>

namespace korvex::ui::widgets {

namespace text = window::text;

std::vector<PortChoice> comPortChoices() {
    std::vector<PortChoice> choices;
    for (int n = 1; n <= 20; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        choices.push_back({name, name, false});
    }
    return choices;
}

std::vector<PortChoice> portChoices(const std::vector<std::pair<QString, QString>>& systemPorts) {
    std::vector<PortChoice> choices = comPortChoices();
    for (const auto& [path, description] : systemPorts) {
        // Windows reports the COM ports themselves; they are listed already.
        bool listed = false;
        for (const PortChoice& c : choices) listed = listed || c.portName == path;
        if (listed) continue;
        const QString text = description.isEmpty() ? path : QStringLiteral("%1 - %2").arg(path, description);
        choices.push_back({text, path, false});
    }
    choices.push_back({QString::fromLatin1(text::kSimulatedGateway), QString(), true});
    return choices;
}

std::vector<std::pair<QString, QString>> systemSerialPorts() {
    std::vector<std::pair<QString, QString>> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
#ifdef Q_OS_WIN
        ports.emplace_back(info.portName(), info.description());
#else
        ports.emplace_back(info.systemLocation(), info.description());
#endif
    return ports;
}

} // namespace korvex::ui::widgets
