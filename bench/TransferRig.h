#pragma once
// The setup shared by the transfer benchmarks: the simulated gateway in a child process (so its
// own work does not count), the tool's side with the status loop thread running the engine and
// its reporting, and one timed run that sends 240 NV definitions and 400 data objects through the
// page actions and reads the 400 values back, on a fresh gateway and map.
#include "device/actions/DeviceActions.h"
#include "device/qt/QtSerialPortDriver.h"
#include "device/reporting/StatusLoop.h"
#include "device/reporting/StatusReporter.h"
#include "sim/DemoMap.h"
#include "sim/SimulatedGateway.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace bench {

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

// Counts the progress texts and wakes the waiting thread at once, so the time measured ends
// with the last report, not with a polling step after it. The actions are answered with the
// offered ranges.
class CountingSink : public StatusSink {
public:
    void appendText(Page page, std::string_view text) override {
        const bool report = (page == Page::MasterList || page == Page::ViewData) &&
                            text.find("ok.") != std::string_view::npos;
        const bool failure = text.find("rror") != std::string_view::npos ||
                             text.find("timed out") != std::string_view::npos ||
                             text.find("Unable") != std::string_view::npos;
        if (!report && !failure) return;
        {
            std::lock_guard lock(mutex_);
            reports_ += report ? 1 : 0;
            failures_ += failure ? 1 : 0;
        }
        changed_.notify_all();
    }
    void setText(Page, std::string_view) override {}
    void refresh(Refresh) override {}
    void setConnected(bool) override {}
    void setPortSettingsInSync(bool) override {}
    void setNodeSettingsInSync(bool) override {}

    int reports() const {
        std::lock_guard lock(mutex_);
        return reports_;
    }
    int failures() const {
        std::lock_guard lock(mutex_);
        return failures_;
    }
    // Waits until reports reach target or a failure is reported; false on a failure.
    bool waitFor(int target) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return reports_ >= target || failures_ > 0; });
        return failures_ == 0;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int reports_ = 0;
    int failures_ = 0;
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
    double cpuSeconds = 0; // the tool's side only: the gateway runs in its own process
};

inline double processCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

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
    SerialLink& link() { return link_; }
    ReplyEnd replyEnd() const { return link_.replyEnd(); }

    // Runs one action and waits until its commands are done.
    Step timed(int expected, ActionOutcome (DeviceActions::*action)()) {
        DeviceActions actions(engine_, sink_, host_);
        const int before = sink_.reports();
        const long bytesBefore = driver_.bytes.load();
        const double cpuBefore = processCpuSeconds();
        const Clock::time_point start = Clock::now();
        if ((actions.*action)() != ActionOutcome::Started) return {};
        const bool ok = sink_.waitFor(before + expected);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = processCpuSeconds() - cpuBefore;
        while (engine_.busy()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!ok) return {};
        return {seconds, expected, driver_.bytes.load() - bytesBefore, cpu};
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

inline Step add(const Step& a, const Step& b) {
    if (a.seconds < 0 || b.seconds < 0) return {};
    return {a.seconds + b.seconds, a.commands + b.commands, a.bytes + b.bytes, a.cpuSeconds + b.cpuSeconds};
}

// Sends the full map and reads its values back on a fresh gateway; -1 s on failure. With trace
// set, the link records its wire trace all along and trace receives the ring's usage at the end.
inline Figures run(int baud, bool silence, TraceUsage* trace = nullptr) {
    Figures figures;
    const Gateway gateway(baud);
    if (gateway.pid < 0 || gateway.path.empty()) return figures;
    Rig rig(gateway.path, silence);
    if (trace) rig.link().trace().setEnabled(true);
    if (sim::buildDemoMap(rig.map(), sim::fullNetVarShape()) != kObjectCount || !rig.connect())
        return figures;
    if (rig.replyEnd() != (silence ? ReplyEnd::Silence : ReplyEnd::Prompt)) return figures;
    int nvs = 0;
    for (int r = 0; r < rig.map().nvCount; ++r)
        if (!rig.map().nvs[static_cast<std::size_t>(r)].isField) ++nvs;
    const Step netVars = rig.timed(nvs, &DeviceActions::sendNetVars);
    figures.send = add(netVars, rig.timed(kObjectCount, &DeviceActions::sendObjects));
    figures.read = rig.timed(kObjectCount, &DeviceActions::readValues);
    if (trace) *trace = rig.link().trace().usage();
    return figures;
}

} // namespace bench
