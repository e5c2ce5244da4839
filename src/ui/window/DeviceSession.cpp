#include "ui/window/DeviceSession.h"

#include "device/link/LinkMessages.h"
#include "device/qt/QtPortList.h"
#include "device/qt/QtSerialPortDriver.h"
#include "model/FixedText.h"
#include "ui/pages/ToolPage.h"
#include "ui/window/ConfigTool.h"

namespace korvex::ui::window {

DeviceSession::DeviceSession(ConfigTool& tool, SimulatorFactory simulators)
    : tool_(tool), sink_(tool), driver_(std::make_unique<device::QtSerialPortDriver>()), link_(*driver_),
      engine_(link_, tool.session().map(), tool.session().mutex(), values_), reporter_(engine_, sink_),
      loop_(engine_, [this] { return reportPass(); }), simulators_(std::move(simulators)) {
    link_.setPortName("COM1");
    link_.setPortLister(device::systemPortLister());
}

DeviceSession::~DeviceSession() {
    stop();
}

void DeviceSession::start() {
    if (running_ || stopped_) return;
    link_.startPumpThread();
    loop_.start();
    running_ = true;
}

void DeviceSession::stop() {
    if (stopped_) return;
    stopped_ = true;
    watch_.stop();
    if (running_) {
        loop_.stop();
        link_.stopPumpThread();
    } else {
        link_.close();
    }
    running_ = false;
    if (simulator_) simulator_->stop();
}

bool DeviceSession::usePort(const PortChoice& choice) {
    if (!choice.simulated) {
        link_.setPortName(choice.portName.toStdString());
        return true;
    }
    if (!simulator_) {
        if (!simulators_) return false;
        simulator_ = simulators_();
        if (!simulator_) return false;
    }
    link_.setPortName(simulator_->slavePath());
    return true;
}

bool DeviceSession::openPort() {
    return !stopped_ && link_.open();
}

// A port that stays open keeps its light: amber from Connect's check stays until the port is
// closed or checked again.
bool DeviceSession::openPortFor(device::Page page) {
    const bool wasOpen = portOpen();
    const bool opened = openPort();
    if (!(opened && wasOpen && tool_.connectedShown())) tool_.setConnected(opened);
    if (!opened)
        tool_.page(page)->appendStatus(
            QString::fromStdString(device::openFailedText(device::kMsgOpenFailed, link_.openError())));
    return opened;
}

void DeviceSession::closePort() {
    link_.close();
}

QString DeviceSession::portName() const {
    return QString::fromStdString(link_.portName());
}

bool DeviceSession::startConsole(const std::string& line) {
    return engine_.startConsole(line);
}

device::DeviceActions DeviceSession::actions(device::ActionHost& host) {
    const WorkingOptions& options = tool_.options();
    return device::DeviceActions(engine_, sink_, host, {options.commissioned, options.gatewaySlave});
}

bool DeviceSession::reportPass() {
    return reporter_.pass();
}

} // namespace korvex::ui::window
