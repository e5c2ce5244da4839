#pragma once
// The device link as the window owns it: the serial driver, SerialLink with its port pump
// thread, CommandEngine, the status loop thread with the GUI's reporting pass, and the simulated
// gateway when the user picks it (made by the factory the program hands in).
#include "device/actions/DeviceActions.h"
#include "device/actions/ValueWatch.h"
#include "device/engine/CommandEngine.h"
#include "device/engine/ValueTable.h"
#include "device/link/SerialLink.h"
#include "device/reporting/StatusLoop.h"
#include "device/reporting/StatusReporter.h"
#include "ui/widgets/PortChoices.h"
#include "ui/window/GuiStatusSink.h"
#include "ui/window/GuiWatchSink.h"
#include "ui/window/SimulatedLine.h"

#include <memory>
#include <string>

namespace korvex::ui::window {

using widgets::PortChoice;

class ConfigTool;

class DeviceSession {
public:
    DeviceSession(ConfigTool& tool, SimulatorFactory simulators);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Starts the port pump thread and the status loop thread.
    void start();
    // Stops a watch (after its read in flight), then the status loop, waiting until it has
    // ended, then the pump thread, which closes the port. Safe to call again.
    void stop();
    bool running() const { return running_; }
    bool stopped() const { return stopped_; }

    // Stores the port the next open uses; the simulated gateway is started on first use and its
    // pseudo-terminal taken. False when the simulator cannot start.
    bool usePort(const PortChoice& choice);
    bool openPort();
    // The port-open step of every device action: opens the chosen port if needed and sets the
    // "Connected:" indicator; on failure the page's status box gets "Error opening COM port".
    bool openPortFor(device::Page page);
    void closePort();
    bool portOpen() const { return link_.isOpen(); }
    QString portName() const;

    bool startConsole(const std::string& line);

    // The page actions, asking their questions through host, with the Connect page's options as
    // they are now.
    device::DeviceActions actions(device::ActionHost& host);

    device::SerialLink& link() { return link_; }
    device::CommandEngine& engine() { return engine_; }
    GuiStatusSink& sink() { return sink_; }
    // The View Data page's watch and where its readings come out.
    device::ValueWatch& watch() { return watch_; }
    GuiWatchSink& watchSink() { return watchSink_; }
    SimulatedLine* simulator() { return simulator_.get(); }

private:
    // One reporting pass on the status loop thread; true when console text was shown.
    bool reportPass();

    ConfigTool& tool_;
    GuiStatusSink sink_;
    std::unique_ptr<device::SerialPortDriver> driver_;
    device::SerialLink link_;
    device::ValueTable values_;
    device::CommandEngine engine_;
    device::StatusReporter reporter_;
    device::StatusLoop loop_;
    GuiWatchSink watchSink_;
    device::ValueWatch watch_{engine_, watchSink_};
    SimulatorFactory simulators_;
    std::unique_ptr<SimulatedLine> simulator_;
    bool running_ = false;
    bool stopped_ = false;
};

} // namespace korvex::ui::window
