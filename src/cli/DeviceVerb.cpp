// korvex-cli device: talks to the gateway over its serial port, running the device actions of
// the configuration tool's pages one after another on an object map.
#include "cli/BuildVerb.h"
#include "cli/DeviceCli.h"
#include "cli/InterruptCatcher.h"
#include "cli/TraceFile.h"
#include "cli/Verb.h"
#include "device/link/LinkMessages.h"
#include "device/qt/QtPortList.h"
#include "device/qt/QtSerialPortDriver.h"
#include "formats/xml/MapFile.h"
#include "model/Settings.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>

namespace korvex::cli {

using namespace korvex::device;

int badDeviceArguments(const std::string& why) {
    std::fprintf(stderr, "korvex-cli device: %s (try korvex-cli --help)\n", why.c_str());
    return kExitBadArguments;
}

// ---- front end of the actions ----------------------------------------------------------------

// The NV transfer texts go to the NV List and the Master List boxes alike: printed once.
void PrintingSink::appendText(Page page, std::string_view text) {
    const bool repeated = page == Page::MasterList && lastPage_ == Page::NVList && text == lastText_;
    lastPage_ = page;
    lastText_ = text;
    if (repeated) return;
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void PrintingSink::setText(Page, std::string_view text) {
    if (text.empty()) return;
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (text.back() != '\n') std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Without --yes a question is printed and answered Cancel, which fails the run.
bool ArgumentHost::confirm(const std::string& text) {
    if (yes_) return true;
    std::fprintf(stderr, "%s\n(answer with --yes)\n", text.c_str());
    declined_ = true;
    return false;
}

void ArgumentHost::showMessage(const std::string& text, MessageIcon icon) {
    std::FILE* out = icon == MessageIcon::Error ? stderr : stdout;
    std::fprintf(out, "%s\n", text.c_str());
    std::fflush(out);
}

RangeAnswer ArgumentHost::chooseObjectRange(ObjectRange& range) {
    if (range_.all) return RangeAnswer::All;
    if (range_.objects) range = *range_.objects;
    return RangeAnswer::Ok;
}

RangeAnswer ArgumentHost::chooseNetVarRanges(NetVarRanges& ranges) {
    if (range_.all) return RangeAnswer::All;
    if (range_.netVars) ranges = *range_.netVars;
    return RangeAnswer::Ok;
}

// There is no status loop thread: the wait drives the engine itself.
bool ArgumentHost::waitUntil(const std::function<bool()>& done, int, int maxMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(maxMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        drive_();
    }
    return true;
}

void DeviceRun::step() {
    SerialLink& link = engine.link();
    const std::uint32_t seen = link.replySequence();
    engine.tick();
    reporter.pass();
    if (trace) trace->collect();
    if (engine.busy()) link.waitForReply(seen, std::chrono::milliseconds(10));
}

void DeviceRun::runToIdle(bool stoppable) {
    std::optional<InterruptCatcher> interrupt;
    if (stoppable) interrupt.emplace();
    while (engine.busy() || reporter.pending()) {
        if (interrupt && interrupt->caught()) engine.requestStop();
        step();
    }
}

// ---- arguments -------------------------------------------------------------------------------

namespace {

// Seconds between watch cycles: a decimal number from 0 to a day, kept to the millisecond.
bool readSeconds(const std::string& text, std::chrono::milliseconds& interval) {
    double seconds = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !(seconds >= 0) ||
        seconds > 86400)
        return false;
    interval = std::chrono::milliseconds(static_cast<long long>(seconds * 1000 + 0.5));
    return true;
}

// --watch SECONDS, --count N, --csv FILE with the value at in[i + 1]; 0 or the exit status.
int readWatchOption(const std::string& option, const std::string& value, DeviceSetup& setup) {
    if (option == "--csv") {
        setup.csv = value;
        return kExitOk;
    }
    if (option == "--watch") {
        setup.watch = true;
        if (readSeconds(value, setup.watchInterval)) return kExitOk;
        return badDeviceArguments("--watch takes the seconds between cycles (0 to 86400)");
    }
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), setup.watchCount);
    if (ec == std::errc() && end == value.data() + value.size() && setup.watchCount >= 1) return kExitOk;
    return badDeviceArguments("--count takes a number of cycles (1 or more)");
}

// Reads one option at in[i] (advancing past its value); 0 or the exit status.
int readOption(const std::vector<std::string>& in, std::size_t& i, DeviceSetup& setup) {
    const std::string& option = in[i];
    const bool watchOption = option == "--watch" || option == "--count" || option == "--csv";
    if (watchOption && i + 1 < in.size()) {
        return readWatchOption(option, in[++i], setup);
    } else if (option == "--yes") {
        setup.yes = true;
    } else if (option == "--commissioned") {
        setup.options.commissioned = true;
    } else if (option == "--slave") {
        setup.options.gatewaySlave = true;
    } else if (option == "--silence") {
        setup.silence = true;
    } else if (option == "--verify") {
        setup.verify = true;
    } else if (option != "--port" && option != "--model" && option != "--map" && option != "--out" &&
               option != "--trace" && !watchOption) {
        return badDeviceArguments("unknown option " + option);
    } else if (i + 1 >= in.size()) {
        return badDeviceArguments(option + " needs a value");
    } else {
        std::string& value = option == "--port"    ? setup.port
                             : option == "--model" ? setup.model
                             : option == "--map"   ? setup.mapIn
                             : option == "--trace" ? setup.trace
                                                   : setup.mapOut;
        value = in[++i];
    }
    return kExitOk;
}

// A watch is one read-values, the last command (it runs until Ctrl+C or its count).
int checkWatch(const DeviceSetup& setup, const std::vector<DeviceCommand>& commands) {
    if (!setup.watch) {
        if (setup.watchCount > 0 || !setup.csv.empty())
            return badDeviceArguments("--count and --csv need --watch");
        return kExitOk;
    }
    const auto reads = std::count_if(commands.begin(), commands.end(),
                                     [](const DeviceCommand& c) { return c.name == "read-values"; });
    if (reads != 1 || commands.back().name != "read-values")
        return badDeviceArguments("--watch needs one read-values, as the last command");
    return kExitOk;
}

// Options (anywhere but in a console line), and the commands, each followed by its arguments.
int parseArgs(const std::vector<std::string>& in, DeviceSetup& setup, std::vector<DeviceCommand>& commands) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        const bool consoleLine = !commands.empty() && commands.back().name == "console";
        if (!consoleLine && in[i].starts_with("--")) {
            if (const int status = readOption(in, i, setup)) return status;
        } else if (commands.empty() || (!consoleLine && isCommandName(in[i]))) {
            commands.push_back(DeviceCommand{in[i], {}});
        } else {
            commands.back().args.push_back(in[i]);
        }
    }
    if (setup.port.empty()) return badDeviceArguments("--port is required");
    if (!setup.model.empty() && deviceModelFromName(setup.model.c_str()) < 0)
        return badDeviceArguments("unknown model \"" + setup.model + "\" (Korvex-A, Korvex-B or Korvex-C)");
    if (commands.empty()) return badDeviceArguments("a command is required (" + commandNames() + ")");
    for (const DeviceCommand& command : commands) {
        if (const int status = checkCommand(command)) return status;
    }
    return checkWatch(setup, commands);
}

// The model as the file verbs take it: --model, else the one the map names, else Korvex-A.
int loadMap(ObjectMap& map, const DeviceSetup& setup) {
    std::optional<int> model;
    if (!setup.model.empty()) model = deviceModelFromName(setup.model.c_str());
    return loadMapFile(map, setup.mapIn, model) ? kExitOk : kExitFailed;
}

int runDevice(const std::vector<std::string>& in) {
    DeviceSetup setup;
    std::vector<DeviceCommand> commands;
    if (const int status = parseArgs(in, setup, commands)) return status;
    if (!setup.trace.empty()) {
        if (const int status = checkTracePath(setup.trace)) return status;
    }
    auto map = std::make_unique<ObjectMap>();
    if (const int status = loadMap(*map, setup)) return status;

    QtSerialPortDriver driver;
    SerialLink link(driver);
    TraceFile trace(link, setup.trace);
    link.setSilenceOnly(setup.silence);
    link.startPumpThread();
    link.setPortName(setup.port);
    link.setPortLister(systemPortLister());
    if (!link.open()) {
        std::fprintf(stderr, "%s\n", openFailedText(kMsgOpenFailedConnect, link.openError()).c_str());
        trace.write();
        return setup.watch ? kExitFailed : kExitBadArguments;
    }
    std::mutex mapMutex;
    ValueTable values;
    CommandEngine engine(link, *map, mapMutex, values);
    engine.verifyAfterSend.store(setup.verify);
    PrintingSink sink;
    StatusReporter reporter(engine, sink);
    DeviceRun* current = nullptr;
    ArgumentHost host(setup.yes, [&current] { current->step(); });
    DeviceRun run{engine, reporter, host, sink, setup, trace.wanted() ? &trace : nullptr};
    current = &run;

    int status = kExitOk;
    for (const DeviceCommand& command : commands) {
        status = runCommand(run, command);
        if (status != kExitOk) break;
    }
    link.stopPumpThread();
    if (!trace.write() && status == kExitOk) status = kExitFailed;
    if (status == kExitOk && !setup.mapOut.empty()) {
        const MapFileResult written = writeObjectMap(*map, setup.mapOut);
        if (!written.ok) {
            std::fprintf(stderr, "%s", written.text.c_str());
            return kExitFailed;
        }
    }
    return status;
}

const VerbRegistrar registrar(
    "device",
    "device --port PORT [--model NAME] [--map IN] [--out OUT] [--yes] [--commissioned] [--slave]\n"
    "       [--silence] [--verify] [--trace FILE] [--watch SECONDS [--count N] [--csv FILE]]\n"
    "       COMMAND [ARGS] [COMMAND [ARGS]] ...\n"
    "  Runs device actions on the gateway on PORT (COM1..COM20, a device path such as /dev/ttyACM0,\n"
    "  or the path korvex-gateway-sim prints), in order, stopping at the first that fails, and\n"
    "  prints the status texts as the tool's pages show them. IN is the object map to start from\n"
    "  (default empty); OUT is where the map is saved when every command succeeded. NAME is\n"
    "  Korvex-A, Korvex-B or Korvex-C (default: the one IN names, else Korvex-A). Questions are\n"
    "  answered OK by --yes; without it a question is printed and the run fails. --commissioned\n"
    "  and --slave are the Connect page's options. A reply ends as soon as it ends with the gateway's\n"
    "  prompt once the gateway has shown that it prints one, else after 100 ms of line silence;\n"
    "  --silence waits for the silence after every reply. --verify reads back what each send wrote\n"
    "  and compares it (\"Verified: ...\" or the differences; what differs is not marked as sent).\n"
    "  --trace writes what went over the line to FILE when the run ends, also when a command failed\n"
    "  (- for stderr), one line per event: seconds since the port opened, then '>' sent, '<'\n"
    "  received, '=' reply complete (len=N ms=M) or '!' event (timeout, open PORT, close, lost),\n"
    "  then the bytes with \\r, \\n, \\t, \\\\ and \\xNN escaped; a FILE that cannot be written is\n"
    "  refused before anything is sent. compare reads the gateway's NV definitions, objects, port\n"
    "  settings (with TCP on Korvex-C) and location, or the parts named, and prints each difference\n"
    "  as PLACE: FIELD: MAP | GATEWAY, then \"Gateway matches the map.\" (exit 0) or the count\n"
    "  (exit 1); the map is not changed. --watch makes the last command, read-values, read its\n"
    "  range again and again, a cycle starting every SECONDS (at once after a longer cycle), and\n"
    "  print one line per cycle: the time (UTC, ISO 8601) and OBJECT=VALUE for each object, a\n"
    "  failed read as Undef, timeout or unreadable. It runs --count N cycles, or until Ctrl+C,\n"
    "  which ends it after the read in flight. --csv logs every read to FILE as it comes, with\n"
    "  the header time,object,name,value and CR LF line ends. A watch exits 0 when it ran, 1 when\n"
    "  the port failed or no read brought a value. Commands:\n"
    "    usage | console LINE...\n"
    "    get-nvs | send-nvs [all | INPUTS OUTPUTS]  (each A-B, A or none; default as offered)\n"
    "    get-objects | send-objects | read-values | write-values [all | A-B]\n"
    "    erase | get-port | send-port | error-info SLAVE | write-value N VALUE\n"
    "    get-ids | get-domains | set-domain I SUBNET NODE ID(hex, - for none)\n"
    "    get-location | set-location TEXT | alter-pid PID\n"
    "    compare [nvs] [objects] [port] [node]  (default all)\n"
    "  Example: korvex-cli device --port /dev/ttyACM0 --map plant.xml send-nvs send-objects all send-port\n"
    "           korvex-cli device --port /dev/ttyACM0 --trace wire.log get-ids\n"
    "           korvex-cli device --port /dev/ttyACM0 --map plant.xml --verify send-nvs send-objects\n"
    "           korvex-cli device --port /dev/ttyACM0 --map plant.xml compare nvs objects\n"
    "           korvex-cli device --port /dev/ttyACM0 --map plant.xml read-values 1-4 --watch 2 --csv "
    "log.csv\n"
    "             2026-12-08T22:45:01.123Z 1=21.500000 2=3 3=Undef 4=0",
    runDevice);

} // namespace

} // namespace korvex::cli
