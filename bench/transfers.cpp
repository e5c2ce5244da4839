// Configuration transfer timing against the simulated gateway answering at once (run in a child
// process so its own work does not count): sending 240 NV definitions and then 400 data objects
// through the page actions, with the status loop thread running the engine and its reporting.
// Every command's floor is the one 100 ms quiet poll that ends its reply; the figure is the wall
// time against that floor.
//   bench_transfers
#include "device/actions/DeviceActions.h"
#include "device/qt/QtSerialPortDriver.h"
#include "device/reporting/StatusLoop.h"
#include "device/reporting/StatusReporter.h"
#include "sim/DemoMap.h"
#include "sim/SimulatedGateway.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace korvex;
using namespace korvex::device;
using Clock = std::chrono::steady_clock;

pid_t startGateway(std::string& path) {
    int out[2];
    if (::pipe(out) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        sim::SimulatedGateway gateway;
        if (!gateway.start()) ::_exit(1);
        const std::string slave = gateway.slavePath() + "\n";
        if (::write(out[1], slave.data(), slave.size()) < 0) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    ::close(out[1]);
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') path += c;
    ::close(out[0]);
    return child;
}

// Counts the progress texts; the actions are answered with the offered ranges.
class CountingSink : public StatusSink {
public:
    void appendText(Page page, std::string_view text) override {
        if (page == Page::MasterList && text.find("ok.") != std::string_view::npos) ++reports;
        if (text.find("rror") != std::string_view::npos || text.find("timed out") != std::string_view::npos)
            ++failures;
    }
    void setText(Page, std::string_view) override {}
    void refresh(Refresh) override {}
    void setConnected(bool) override {}
    void setPortSettingsInSync(bool) override {}
    void setNodeSettingsInSync(bool) override {}
    std::atomic<int> reports{0};
    std::atomic<int> failures{0};
};

class OfferedRanges : public ActionHost {
public:
    bool confirm(const std::string&) override { return true; }
    void showMessage(const std::string& text, MessageIcon) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    RangeAnswer chooseObjectRange(ObjectRange&) override { return RangeAnswer::Ok; }
    RangeAnswer chooseNetVarRanges(NetVarRanges&) override { return RangeAnswer::Ok; }
    bool waitUntil(const std::function<bool()>& done, int stepMs, int) override {
        while (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
        return true;
    }
};

// Runs one action and waits until its commands are done; returns the seconds and the commands.
double timed(CommandEngine& engine, CountingSink& sink, int expected,
             const std::function<ActionOutcome()>& action) {
    const int before = sink.reports.load();
    const Clock::time_point start = Clock::now();
    if (action() != ActionOutcome::Started) return -1;
    while (sink.reports.load() - before < expected && sink.failures.load() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    while (engine.busy()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return seconds;
}

void report(const char* what, double seconds, int commands) {
    const double floor = commands * 0.1;
    std::printf("%-28s %4d commands  %7.2f s  floor %6.1f s  +%.2f %%  (%.1f ms per command)\n", what,
                commands, seconds, floor, (seconds / floor - 1.0) * 100.0, seconds * 1000.0 / commands);
}

} // namespace

int main() {
    std::string path;
    const pid_t gatewayPid = startGateway(path);
    if (gatewayPid < 0 || path.empty()) {
        std::fprintf(stderr, "cannot start the simulated gateway\n");
        return 1;
    }
    auto map = std::make_unique<ObjectMap>();
    if (sim::buildDemoMap(*map, sim::fullNetVarShape()) != kObjectCount) {
        std::fprintf(stderr, "cannot build the map\n");
        return 1;
    }
    int nvs = 0;
    for (int r = 0; r < map->nvCount; ++r)
        if (!map->nvs[static_cast<std::size_t>(r)].isField) ++nvs;

    QtSerialPortDriver driver;
    SerialLink link(driver);
    std::mutex mapMutex;
    ValueTable values;
    CommandEngine engine(link, *map, mapMutex, values);
    CountingSink sink;
    StatusReporter reporter(engine, sink);
    StatusLoop loop(engine, [&] { return reporter.pass(); });
    OfferedRanges host;
    DeviceActions actions(engine, sink, host);
    link.startPumpThread();
    link.setPortName(path);
    loop.start();
    // The port is opened before the clock starts; the actions reuse it.
    const Clock::time_point openStart = Clock::now();
    if (!link.open()) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }
    std::printf("port open: %.1f ms\n",
                std::chrono::duration<double, std::milli>(Clock::now() - openStart).count());

    const double nvSeconds = timed(engine, sink, nvs, [&] { return actions.sendNetVars(); });
    const double objectSeconds = timed(engine, sink, kObjectCount, [&] { return actions.sendObjects(); });
    loop.stop();
    link.stopPumpThread();
    ::kill(gatewayPid, SIGTERM);
    ::waitpid(gatewayPid, nullptr, 0);
    if (nvSeconds < 0 || objectSeconds < 0 || sink.failures.load() != 0) {
        std::fprintf(stderr, "transfer failed\n");
        return 1;
    }
    report("send NV definitions", nvSeconds, nvs);
    report("send data objects", objectSeconds, kObjectCount);
    report("both", nvSeconds + objectSeconds, nvs + kObjectCount);
    return 0;
}
