#pragma once
// korvex-cli device: the pieces shared by its argument reading and its commands. The command
// line is the front end of the device actions here: the status texts are printed as the status
// loop reports them, questions are answered by the arguments and --yes, and the engine is driven
// on the program's only thread.
#include "device/actions/ActionHost.h"
#include "device/actions/DeviceActions.h"
#include "device/engine/CommandEngine.h"
#include "device/reporting/StatusReporter.h"
#include "device/reporting/StatusSink.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace korvex::cli {

// Prints what the pages' boxes would show: appended texts as they are, a text that replaces a
// box on a line of its own.
class PrintingSink : public device::StatusSink {
public:
    void appendText(device::Page page, std::string_view text) override;
    void setText(device::Page page, std::string_view text) override;
    void refresh(device::Refresh) override {}
    void setConnected(bool) override {}
    void setPortSettingsInSync(bool) override {}
    void setNodeSettingsInSync(bool) override {}

private:
    device::Page lastPage_ = device::Page::Connect;
    std::string lastText_;
};

// What the arguments of one command say to a range dialog: nothing (take the offered range),
// ALL, or explicit numbers.
struct RangeChoice {
    bool all = false;
    std::optional<device::ObjectRange> objects;
    std::optional<device::NetVarRanges> netVars;
};

class ArgumentHost : public device::ActionHost {
public:
    ArgumentHost(bool yes, std::function<void()> drive) : yes_(yes), drive_(std::move(drive)) {}

    void setRange(const RangeChoice& choice) { range_ = choice; }
    bool declined() const { return declined_; }

    bool confirm(const std::string& text) override;
    void showMessage(const std::string& text, device::MessageIcon icon) override;
    device::RangeAnswer chooseObjectRange(device::ObjectRange& range) override;
    device::RangeAnswer chooseNetVarRanges(device::NetVarRanges& ranges) override;
    bool waitUntil(const std::function<bool()>& done, int stepMs, int maxMs) override;

private:
    bool yes_;
    std::function<void()> drive_;
    RangeChoice range_;
    bool declined_ = false;
};

struct DeviceSetup {
    std::string port;
    std::string model; // --model; empty: the one the map names, else Korvex-A
    std::string mapIn;
    std::string mapOut;
    bool yes = false;
    bool silence = false; // every reply ends by line silence, even after the gateway's prompt
    std::string trace;    // --trace: file for the wire trace, "-" for stderr, empty for none
    bool verify = false;  // every send reads back what it wrote and compares it
    // --watch SECONDS [--count N] [--csv FILE]: read-values watches the range.
    bool watch = false;
    std::chrono::milliseconds watchInterval{0};
    int watchCount = 0; // 0: until Ctrl+C
    std::string csv;
    device::ActionOptions options;
};

struct DeviceCommand {
    std::string name;
    std::vector<std::string> args;
};

class TraceFile;

// The device link of one run: engine, reporter and the actions' front end.
struct DeviceRun {
    device::CommandEngine& engine;
    device::StatusReporter& reporter;
    ArgumentHost& host;
    PrintingSink& sink;
    const DeviceSetup& setup;
    TraceFile* trace = nullptr; // collects the wire trace as the run goes

    // One status loop pass after a tick; then waits up to 10 ms for the next reply.
    void step();
    // Runs the status loop until the command has ended and everything was reported. A stoppable
    // run turns Ctrl+C into the engine's stop request: the transfer ends after the command in
    // flight and says how far it got.
    void runToIdle(bool stoppable = false);
    device::DeviceActions actions() { return device::DeviceActions(engine, sink, host, setup.options); }
};

// Exit status convention of korvex-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitBadArguments = 2;

int badDeviceArguments(const std::string& why);

// The range arguments of a transfer: none (the offered range), "all", or explicit ranges (two
// for the NV commands, one for the object commands). False when they do not read.
bool readRangeChoice(const std::vector<std::string>& args, bool netVars, RangeChoice& choice);
// read-values with --watch (WatchCommand.cpp); 0 or the exit status.
int runWatch(DeviceRun& run, const DeviceCommand& command);

// Checks the arguments of a command before anything is sent; 0 or the exit status.
int checkCommand(const DeviceCommand& command);
// Runs one command to its end; 0 or the exit status.
int runCommand(DeviceRun& run, const DeviceCommand& command);
bool isCommandName(std::string_view word);
// The command names, for the help text and messages.
std::string commandNames();

} // namespace korvex::cli
