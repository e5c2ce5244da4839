// korvex-cli device: talks to the gateway over its serial port, one command per run.
#include "cli/Verb.h"
#include "device/CommandEngine.h"
#include "device/LinkMessages.h"
#include "device/qt/QtSerialPortDriver.h"
#include "model/Settings.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace korvex::device;

struct DeviceArgs {
    std::string port;
    std::string model = "Korvex-C";
    std::string command;
    std::vector<std::string> rest;
};

int badArguments(const std::string& why) {
    std::fprintf(stderr, "korvex-cli device: %s (try korvex-cli --help)\n", why.c_str());
    return 2;
}

// Fills args; returns 0, or the exit status for bad arguments.
int parseArgs(const std::vector<std::string>& in, DeviceArgs& args) {
    std::size_t i = 0;
    for (; i < in.size() && in[i].starts_with("--"); ++i) {
        if (i + 1 >= in.size()) return badArguments(in[i] + " needs a value");
        if (in[i] == "--port")
            args.port = in[++i];
        else if (in[i] == "--model")
            args.model = in[++i];
        else
            return badArguments("unknown option " + in[i]);
    }
    if (args.port.empty()) return badArguments("--port is required");
    if (korvex::deviceModelFromName(args.model.c_str()) < 0)
        return badArguments("unknown model \"" + args.model + "\" (Korvex-A, Korvex-B or Korvex-C)");
    if (i >= in.size()) return badArguments("a command is required (usage, console LINE)");
    args.command = in[i];
    args.rest.assign(in.begin() + static_cast<std::ptrdiff_t>(i) + 1, in.end());
    return 0;
}

// Ticks the engine until the command sequence ends, reporting after each tick as the status loop does.
void runToIdle(CommandEngine& engine, const std::function<void()>& report) {
    SerialLink& link = engine.link();
    while (engine.busy()) {
        const std::uint32_t seen = link.replySequence();
        engine.tick();
        report();
        if (engine.busy()) link.waitForReply(seen, std::chrono::milliseconds(10));
    }
}

std::string withoutLineEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    return std::string(text);
}

int runUsage(CommandEngine& engine, const std::vector<std::string>& rest) {
    if (!rest.empty()) return badArguments("usage takes no arguments");
    if (!engine.startUsage()) return badArguments(std::string(kMsgBusy));
    runToIdle(engine, [] {});
    if (engine.usageResult != kResultOk) {
        const std::string_view text =
            engine.usageResult == kResultTimeout ? kMsgDeviceTimedOut : kMsgUsageParseError;
        std::fprintf(stderr, "%s\n", withoutLineEnd(text).c_str());
        return 1;
    }
    std::printf("Last object: %d\nInput NVs: %d\nOutput NVs: %d\nTCP map entries: %d\n",
                engine.deviceLastObject, engine.deviceInputCount, engine.deviceOutputCount,
                engine.deviceTcpMapCount);
    return 0;
}

int runConsole(CommandEngine& engine, const std::vector<std::string>& rest) {
    if (rest.empty()) return badArguments("console needs the line to send");
    std::string line;
    for (const auto& word : rest) line += (line.empty() ? "" : " ") + word;
    if (!engine.startConsole(line)) return badArguments(std::string(kMsgBusy));
    bool printed = false;
    runToIdle(engine, [&] {
        if (!engine.consoleUpdated.load(std::memory_order_acquire) || engine.consoleResult != kResultOk)
            return;
        const char* text = engine.consoleText.data();
        std::fwrite(text, 1, std::strlen(text), stdout);
        std::fflush(stdout);
        printed = printed || text[0] != '\0';
        engine.consoleText.fill('\0');
        engine.consoleUpdated.store(false, std::memory_order_release);
    });
    if (engine.consoleResult != kResultOk) {
        std::fprintf(stderr, "%s\n", withoutLineEnd(kMsgConsoleTimeout).c_str());
        return 1;
    }
    if (printed) std::fputc('\n', stdout);
    return 0;
}

int runDevice(const std::vector<std::string>& in) {
    DeviceArgs args;
    if (const int status = parseArgs(in, args)) return status;
    using Command = int (*)(CommandEngine&, const std::vector<std::string>&);
    static const std::pair<const char*, Command> kCommands[] = {{"usage", runUsage}, {"console", runConsole}};
    Command command = nullptr;
    for (const auto& [name, run] : kCommands) {
        if (args.command == name) command = run;
    }
    if (!command) return badArguments("unknown command \"" + args.command + "\" (usage, console LINE)");

    QtSerialPortDriver driver;
    SerialLink link(driver);
    link.startPumpThread();
    link.setPortName(args.port);
    if (!link.open()) {
        std::fprintf(stderr, "%s\n", std::string(kMsgOpenFailedConnect).c_str());
        return 2;
    }
    CommandEngine engine(link);
    const int status = command(engine, args.rest);
    link.stopPumpThread();
    return status;
}

const korvex::cli::VerbRegistrar
    registrar("device",
              "device --port PORT [--model NAME] COMMAND [ARGS]\n"
              "  Sends one command to the gateway on PORT (COM1..COM20, a device path such as /dev/ttyACM0,\n"
              "  or the path korvex-gateway-sim prints). Commands: usage (prints the highest object, the\n"
              "  input and output NV counts and the TCP map size), console LINE (sends the line, prints\n"
              "  the reply up to the prompt). NAME is Korvex-A, Korvex-B or Korvex-C (default).\n"
              "  Example: korvex-cli device --port /dev/ttyACM0 console ninfo",
              runDevice);

} // namespace
