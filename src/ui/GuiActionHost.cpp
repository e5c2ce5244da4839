#include "ui/GuiActionHost.h"

#include "ui/ConfigTool.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

namespace korvex::ui {

GuiActionHost::GuiActionHost(ConfigTool& tool, QWidget* owner) : tool_(tool), owner_(owner) {}

bool GuiActionHost::confirm(const std::string& text) {
    return tool_.prompter().message(owner_, QString::fromStdString(text), MessageButtons::OkCancel,
                                    MessageIcon::Error);
}

void GuiActionHost::showMessage(const std::string& text, device::MessageIcon icon) {
    tool_.prompter().message(owner_, QString::fromStdString(text), MessageButtons::Ok, icon);
}

device::RangeAnswer GuiActionHost::chooseObjectRange(device::ObjectRange& range) {
    return tool_.prompter().objectRange(owner_, range);
}

device::RangeAnswer GuiActionHost::chooseNetVarRanges(device::NetVarRanges& ranges) {
    return tool_.prompter().netVarRanges(owner_, ranges);
}

bool GuiActionHost::waitUntil(const std::function<bool()>& done, int stepMs, int maxMs) {
    QElapsedTimer clock;
    clock.start();
    // User input waits: the window takes no other command while an action is waiting.
    constexpr auto kFlags = QEventLoop::ExcludeUserInputEvents;
    while (!done()) {
        if (clock.elapsed() >= maxMs) return false;
        QCoreApplication::processEvents(kFlags);
        QThread::msleep(static_cast<unsigned long>(stepMs));
        QCoreApplication::processEvents(kFlags);
    }
    return true;
}

void GuiActionHost::flush() {
    tool_.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace korvex::ui
