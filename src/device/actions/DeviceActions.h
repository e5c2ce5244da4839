#pragma once
// The device actions of the Master List, View Data, Modbus Port and LonWorks pages, free of any
// window code: each takes its defaults from the map, asks its questions through the ActionHost,
// opens the port, starts the engine's command and returns at once; the status loop reports the
// rest. Runs on the thread that owns the front end (the GUI's window thread). The map mutex is
// taken for every look at the map and never held while a question is asked or a command starts.
#include "device/actions/ActionHost.h"
#include "device/actions/ValueWatch.h"
#include "device/engine/CommandEngine.h"
#include "device/reporting/StatusSink.h"

#include <functional>
#include <string_view>

namespace korvex::device {

// The Connect page's working options that the actions consult.
struct ActionOptions {
    bool commissioned = false; // "I am updating a node already commissioned."
    bool gatewaySlave = false; // "Configure gateway as Modbus slave."
};

// "Invalid TCP/IP settings.": no IP address or subnet mask (first byte 0), or no TCP port.
bool tcpSettingsMissing(const TcpSettings& tcp);

enum class ActionOutcome {
    Started,    // the command runs (or there was nothing to send); the status loop reports it
    Cancelled,  // the user declined, or chose nothing
    Refused,    // a check refused the action and said why in a message box
    PortFailed, // "Error opening COM port" shown
    Busy,       // "COM port already busy." shown
};

class DeviceActions {
public:
    DeviceActions(CommandEngine& engine, StatusSink& sink, ActionHost& host, ActionOptions options = {})
        : engine_(engine), sink_(sink), host_(host), options_(options) {}

    // Master List page. The NV transfers are the NV List page's too; `from` is the page whose
    // box reports a port that does not open or a busy link (the transfer's progress goes to
    // both boxes).
    ActionOutcome getNetVars() { return getNetVars(Page::NVList); }
    ActionOutcome getNetVars(Page from);
    ActionOutcome sendNetVars() { return sendNetVars(Page::NVList); }
    ActionOutcome sendNetVars(Page from);
    ActionOutcome getObjects();
    ActionOutcome sendObjects();
    ActionOutcome eraseDevice();
    // Reads the parts (ComparePart) of the gateway's configuration and compares them with the
    // map, which stays as it is; the status loop shows the differences (Master List box).
    ActionOutcome compareWithDevice(unsigned parts = ComparePart::All);

    // View Data page ("Get Object data values", "Send Object data values").
    ActionOutcome readValues();
    ActionOutcome writeValues();
    // "Watch": the range as "Get" asks for it, then the watch reads every object of it cycle
    // after cycle (the plan's objects become the range's, for the caller to see). Busy while a
    // watch runs.
    ActionOutcome watchValues(ValueWatch& watch, WatchPlan& plan);

    // Modbus Port page. The page's fields are taken into the settings before writeSettings.
    ActionOutcome readPortSettings();
    ActionOutcome writePortSettings();
    // The "Unit/Slave Address" field as typed (1 when it is not a number).
    ActionOutcome getErrorInfo(std::string_view slaveField);

    // LonWorks page. setDomain sends the entry as the domain table holds it.
    ActionOutcome getNodeIds();
    ActionOutcome setDomain(int index);
    ActionOutcome getDomains();
    ActionOutcome getLocation();
    ActionOutcome setLocation();
    ActionOutcome alterProgramId();

    // Longest wait for the usage query before a range dialog (its own budget ends it sooner).
    static constexpr int kUsageWaitMs = 10000;
    static constexpr int kUsageWaitStepMs = 100;

private:
    // Opens the port for the page; then runs start, showing "COM port already busy." in the
    // page's box when the engine is busy.
    ActionOutcome openAndStart(Page page, const std::function<bool()>& start);
    // The usage pre-query: true with the numbers when the gateway answered.
    bool queryUsage(Page page);
    bool objectsNeedNVs(int first, int last);
    ActionOutcome transferValues(bool write);
    bool chooseValueRange(ObjectRange& range);
    void clearFreshValues();
    void markConfigurationNotInDevice();

    CommandEngine& engine_;
    StatusSink& sink_;
    ActionHost& host_;
    ActionOptions options_;
};

} // namespace korvex::device
