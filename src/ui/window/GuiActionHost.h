#pragma once
// The GUI's answers to a device action's questions: message boxes and the range dialogs through
// the window's Prompter, and a wait that keeps handling the window's events (except user input)
// so that the status loop's queued updates are carried out meanwhile. A close request is not user
// input and may come through during the wait; once the close guard has stopped the device
// session, every further question is answered with Cancel, nothing is shown and nothing waits.
#include "device/actions/ActionHost.h"

class QWidget;

namespace korvex::ui::window {

class ConfigTool;

class GuiActionHost : public device::ActionHost {
public:
    GuiActionHost(ConfigTool& tool, QWidget* owner);

    bool confirm(const std::string& text) override;
    void showMessage(const std::string& text, device::MessageIcon icon) override;
    device::RangeAnswer chooseObjectRange(device::ObjectRange& range) override;
    device::RangeAnswer chooseNetVarRanges(device::NetVarRanges& ranges) override;
    bool waitUntil(const std::function<bool()>& done, int stepMs, int maxMs) override;
    void flush() override;

private:
    bool closing() const;

    ConfigTool& tool_;
    QWidget* owner_;
};

} // namespace korvex::ui::window
