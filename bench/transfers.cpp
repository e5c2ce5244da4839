// Configuration transfer timing against the simulated gateway (run in a child process so its own
// work does not count): sending 240 NV definitions and then 400 data objects through the page
// actions, and reading the 400 values back, with the status loop thread running the engine and
// its reporting. Three runs, each on a fresh gateway and map:
//   - the silence rule (every reply ends with one quiet 100 ms poll): held against that floor;
//   - prompt pacing (replies end at the gateway's prompt): held against the silence run;
//   - prompt pacing with the gateway's line held to 115200 baud, ten bits a byte: held against
//     the time the bytes sent and received take on such a line.
//   bench_transfers [--no-silence]   (leaves out the silence run, which takes some 100 s)
#include "device/actions/DeviceActions.h"
#include "device/qt/QtSerialPortDriver.h"
#include "device/reporting/StatusLoop.h"
#include "device/reporting/StatusReporter.h"
#include "sim/DemoMap.h"
#include "sim/SimulatedGateway.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
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

constexpr int kLineBaud = 115200;

struct Gateway {
    pid_t pid = -1;
    std::string path;

    explicit Gateway(int baud) {
        int out[2];
        if (::pipe(out) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::close(out[0]);
            sim::SimulatedGateway gateway;
            gateway.setBaud(baud);
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
    }
    ~Gateway() {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
};

// The Qt driver, counting the bytes that cross the line.
class CountingDriver : public QtSerialPortDriver {
public:
    bool write(const char* data, std::size_t length) override {
        bytes += static_cast<long>(length);
        return QtSerialPortDriver::write(data, length);
    }
    int read(char* dest, std::size_t capacity, int waitMs) override {
        const int n = QtSerialPortDriver::read(dest, capacity, waitMs);
        if (n > 0) bytes += n;
        return n;
    }
    std::atomic<long> bytes{0};
};

// Counts the progress texts; the actions are answered with the offered ranges.
class CountingSink : public StatusSink {
public:
    void appendText(Page page, std::string_view text) override {
        if ((page == Page::MasterList || page == Page::ViewData) &&
            text.find("ok.") != std::string_view::npos)
            ++reports;
        if (text.find("rror") != std::string_view::npos || text.find("timed out") != std::string_view::npos ||
            text.find("Unable") != std::string_view::npos)
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

struct Step {
    double seconds = -1;
    int commands = 0;
    long bytes = 0;
};

struct Figures {
    Step send; // NV definitions and data objects
    Step read; // the values of all objects
};

// The tool's side of one run: the link in the mode asked for, engine, status loop, actions.
class Rig {
public:
    Rig(const std::string& path, bool silence) : engine_(link_, *map_, mapMutex_, values_) {
        link_.setSilenceOnly(silence);
        link_.startPumpThread();
        link_.setPortName(path);
        loop_.start();
    }
    ~Rig() {
        loop_.stop();
        link_.stopPumpThread();
    }

    // Opens the port and asks "usage" once, as the Connect page does; the gateway's prompt at
    // the end of that reply turns pacing on.
    bool connect() {
        if (!link_.open() || !engine_.startUsage()) return false;
        while (!engine_.usageDone.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return engine_.usageResult == DeviceResult::Ok;
    }
    ObjectMap& map() { return *map_; }
    ReplyEnd replyEnd() const { return link_.replyEnd(); }

    // Runs one action and waits until its commands are done.
    Step timed(int expected, ActionOutcome (DeviceActions::*action)()) {
        DeviceActions actions(engine_, sink_, host_);
        const int before = sink_.reports.load();
        const long bytesBefore = driver_.bytes.load();
        const Clock::time_point start = Clock::now();
        if ((actions.*action)() != ActionOutcome::Started) return {};
        while (sink_.reports.load() - before < expected && sink_.failures.load() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        while (engine_.busy()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (sink_.failures.load() != 0) return {};
        return {seconds, expected, driver_.bytes.load() - bytesBefore};
    }

private:
    CountingDriver driver_;
    SerialLink link_{driver_};
    std::unique_ptr<ObjectMap> map_ = std::make_unique<ObjectMap>();
    std::mutex mapMutex_;
    ValueTable values_;
    CommandEngine engine_;
    CountingSink sink_;
    StatusReporter reporter_{engine_, sink_};
    StatusLoop loop_{engine_, [this] { return reporter_.pass(); }};
    OfferedRanges host_;
};

Step add(const Step& a, const Step& b) {
    if (a.seconds < 0 || b.seconds < 0) return {};
    return {a.seconds + b.seconds, a.commands + b.commands, a.bytes + b.bytes};
}

// Sends the full map and reads its values back on a fresh gateway; nullopt-like (-1 s) on failure.
Figures run(int baud, bool silence) {
    Figures figures;
    const Gateway gateway(baud);
    if (gateway.pid < 0 || gateway.path.empty()) return figures;
    Rig rig(gateway.path, silence);
    if (sim::buildDemoMap(rig.map(), sim::fullNetVarShape()) != kObjectCount || !rig.connect())
        return figures;
    if (rig.replyEnd() != (silence ? ReplyEnd::Silence : ReplyEnd::Prompt)) return figures;
    int nvs = 0;
    for (int r = 0; r < rig.map().nvCount; ++r)
        if (!rig.map().nvs[static_cast<std::size_t>(r)].isField) ++nvs;
    const Step netVars = rig.timed(nvs, &DeviceActions::sendNetVars);
    figures.send = add(netVars, rig.timed(kObjectCount, &DeviceActions::sendObjects));
    figures.read = rig.timed(kObjectCount, &DeviceActions::readValues);
    return figures;
}

double lineSeconds(long bytes) {
    return static_cast<double>(bytes) * 10.0 / kLineBaud;
}

void print(const char* what, const Step& step, const std::string& against) {
    std::printf("%-44s %4d commands %7.2f s  %6.1f ms each  %s\n", what, step.commands, step.seconds,
                step.seconds * 1000.0 / step.commands, against.c_str());
}

std::string againstFloor(const Step& step) {
    const double floor = step.commands * 0.1;
    char text[96];
    std::snprintf(text, sizeof text, "quiet-poll floor %.1f s, +%.2f %%", floor,
                  (step.seconds / floor - 1) * 100);
    return text;
}

std::string againstSilence(const Step& step, const Step& silence) {
    if (silence.seconds <= 0) return "(silence run left out)";
    char text[96];
    std::snprintf(text, sizeof text, "%.2f %% of the silence time", 100.0 * step.seconds / silence.seconds);
    return text;
}

std::string againstLine(const Step& step) {
    char text[128];
    std::snprintf(text, sizeof text, "%ld bytes = %.2f s on the line, %.2f times that", step.bytes,
                  lineSeconds(step.bytes), step.seconds / lineSeconds(step.bytes));
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const bool withSilence = !(argc > 1 && std::strcmp(argv[1], "--no-silence") == 0);
    Figures silence;
    if (withSilence) silence = run(0, true);
    const Figures paced = run(0, false);
    const Figures line = run(kLineBaud, false);
    const bool failed = (withSilence && (silence.send.seconds < 0 || silence.read.seconds < 0)) ||
                        paced.send.seconds < 0 || paced.read.seconds < 0 || line.send.seconds < 0 ||
                        line.read.seconds < 0;
    if (failed) {
        std::fprintf(stderr, "a transfer failed\n");
        return 1;
    }
    if (withSilence) {
        print("send 240 NVs + 400 objects, silence rule", silence.send, againstFloor(silence.send));
        print("read 400 values, silence rule", silence.read, againstFloor(silence.read));
    }
    print("send 240 NVs + 400 objects, prompt paced", paced.send, againstSilence(paced.send, silence.send));
    print("read 400 values, prompt paced", paced.read, againstSilence(paced.read, silence.read));
    print("send, prompt paced, line at 115200 baud", line.send, againstLine(line.send));
    print("read 400 values, line at 115200 baud", line.read, againstLine(line.read));
    return 0;
}
