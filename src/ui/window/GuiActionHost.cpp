#include "ui/window/GuiActionHost.h"

#include "ui/window/ConfigTool.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

namespace korvex::ui::window {

GuiActionHost::GuiActionHost(ConfigTool& tool, QWidget* owner) : tool_(tool), owner_(owner) {}

bool GuiActionHost::closing() const {
    return tool_.stopRequested();
}

bool GuiActionHost::confirm(const std::string& text) {
    if (closing()) return false;
    return tool_.prompter().message(owner_, QString::fromStdString(text), MessageButtons::OkCancel,
                                    MessageIcon::Error);
}

void GuiActionHost::showMessage(const std::string& text, device::MessageIcon icon) {
    if (closing()) return;
    tool_.prompter().message(owner_, QString::fromStdString(text), MessageButtons::Ok, icon);
}

device::RangeAnswer GuiActionHost::chooseObjectRange(device::ObjectRange& range) {
    if (closing()) return device::RangeAnswer::Cancel;
    return tool_.prompter().objectRange(owner_, range);
}

device::RangeAnswer GuiActionHost::chooseNetVarRanges(device::NetVarRanges& ranges) {
    if (closing()) return device::RangeAnswer::Cancel;
    return tool_.prompter().netVarRanges(owner_, ranges);
}

bool GuiActionHost::waitUntil(const std::function<bool()>& done, int stepMs, int maxMs) {
    QElapsedTimer clock;
    clock.start();
    // User input waits: the window takes no other command while an action is waiting.
    constexpr auto kFlags = QEventLoop::ExcludeUserInputEvents;
    // The status loop that would finish the wait has stopped once the window is closing.
    while (!closing()) {
        if (done()) return true;
        if (clock.elapsed() >= maxMs) return false;
        QCoreApplication::processEvents(kFlags);
        QThread::msleep(static_cast<unsigned long>(stepMs));
        QCoreApplication::processEvents(kFlags);
    }
    return false;
}

void GuiActionHost::flush() {
    if (closing()) return;
    tool_.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace korvex::ui::window
