// How well the window keeps its event loop turning while the device link works: the real
// window (offscreen) with the simulated gateway, and a 10 ms timer on the GUI thread whose tick
// gaps are recorded; the largest gap and the 99th percentile are printed (target: largest under
// 50 ms). Measured:
//   - a full send (240 NV definitions, then 400 data objects) from the Master List page, with the
//     Traffic window closed and again with it open (the wire trace on, its grid following);
//   - the Traffic window open while 1000 (and then 10 000) events a second are recorded into the
//     link's trace by a thread of the bench, the rate a busy line gives.
// And the floor: the same timer with the window idle. Printed only; nothing here asserts a time.
//   bench_ui_responsiveness
#include "app/GatewaySimulator.h"
#include "sim/DemoMap.h"
#include "ui/dialogs/TrafficWindow.h"
#include "ui/models/TrafficModel.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/widgets/PortChoices.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

using namespace korvex;
using namespace korvex::ui;

QApplication& application() {
    static int argc = 1;
    static char name[] = "bench_ui_responsiveness";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *instance;
}

constexpr int kLineBaud = 115200; // the gateway's line, as the device's port runs

// Every question answered with OK and the range offered.
class OkPrompter : public window::Prompter {
public:
    bool message(QWidget*, const QString&, window::MessageButtons, window::MessageIcon) override {
        return true;
    }
    QString openFileName(QWidget*, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&) override { return {}; }
    window::RangeAnswer objectRange(QWidget*, window::ObjectRange&) override {
        return window::RangeAnswer::Ok;
    }
    window::RangeAnswer netVarRanges(QWidget*, window::NetVarRanges&) override {
        return window::RangeAnswer::Ok;
    }
};

// Processor time of the calling thread, in milliseconds.
double threadCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double largest(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

double percentile99(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * 99 / 100)];
}

// The gaps between the ticks of a 10 ms timer while it runs, and the GUI thread's processor time
// within each gap (the window's own work; on a loaded machine a gap also holds the time the
// thread waited for a core, which the idle window's floor shows).
class TickGaps {
public:
    TickGaps() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            const double cpu = threadCpuMs();
            gapsMs_.push_back(static_cast<double>(now - last_) / 1e6);
            busyMs_.push_back(cpu - lastCpu_);
            last_ = now;
            lastCpu_ = cpu;
        });
    }
    void start() {
        gapsMs_.clear();
        busyMs_.clear();
        clock_.start();
        last_ = 0;
        lastCpu_ = threadCpuMs();
        timer_.start();
    }
    void stop() { timer_.stop(); }
    void print(const char* what) const {
        if (gapsMs_.empty()) return;
        std::printf(
            "%s\n  ticks %zu   largest / 99th percentile:  gap %.1f / %.1f ms,  GUI thread busy within a "
            "gap %.1f / %.1f ms\n",
            what, gapsMs_.size(), largest(gapsMs_), percentile99(gapsMs_), largest(busyMs_),
            percentile99(busyMs_));
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    double lastCpu_ = 0;
    std::vector<double> gapsMs_;
    std::vector<double> busyMs_;
};

// Turns the event loop until done() holds, looking every 5 ms.
void runUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    check.start(5);
    if (!done()) loop.exec();
}

void runFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    runUntil([&] { return clock.elapsed() >= ms; });
}

struct Window {
    std::unique_ptr<ObjectMap> map = std::make_unique<ObjectMap>();
    OkPrompter prompter;
    std::unique_ptr<window::ConfigTool> tool;

    Window() {
        tool = std::make_unique<window::ConfigTool>(
            *map, prompter, app::gatewaySimulators([](sim::SimulatedGateway& g) { g.setBaud(kLineBaud); }));
        tool->show();
        widgets::PortChoice simulated;
        simulated.simulated = true;
        if (!tool->device().usePort(simulated) || !tool->device().openPort())
            std::fprintf(stderr, "the simulated gateway did not start\n");
    }
    ~Window() { tool->stopDevice(); }

    int objectsInDevice() {
        std::lock_guard lock(tool->session().mutex());
        int n = 0;
        for (int o = 1; o <= kObjectCount; ++o) n += map->object(o)->inDevice() ? 1 : 0;
        return n;
    }

    // Runs a Master List action and turns the event loop until the link is idle again.
    void run(pages::MasterAction action) {
        pages::ToolPage* page = tool->page(device::Page::MasterList);
        page->actionList()->setCurrentIndex(action);
        page->executeButton()->click();
        runUntil([&] { return !tool->device().engine().busy(); });
    }

    // The full send; false when not every object reached the gateway.
    bool send() {
        {
            std::lock_guard lock(tool->session().mutex());
            if (sim::buildDemoMap(*map, sim::fullNetVarShape()) != kObjectCount) return false;
        }
        tool->session().announceReplaced();
        tool->selectPage(device::Page::MasterList);
        run(pages::kSendNVs);
        run(pages::kSendObjects);
        return objectsInDevice() == kObjectCount;
    }
};

// The floor: the shown window with its port open and nothing to do.
void measureIdle(int ms) {
    Window window;
    runFor(200);
    TickGaps gaps;
    gaps.start();
    runFor(ms);
    gaps.stop();
    char what[120];
    std::snprintf(what, sizeof what, "idle window, port open (the floor), %.0f s", ms / 1000.0);
    gaps.print(what);
}

void measureSend(bool traffic) {
    Window window;
    if (traffic) window.tool->showTrafficWindow();
    runFor(200);
    TickGaps gaps;
    QElapsedTimer clock;
    clock.start();
    gaps.start();
    const bool ok = window.send();
    gaps.stop();
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    char what[120];
    std::snprintf(what, sizeof what, "full send, Traffic window %s (%.1f s%s)", traffic ? "open  " : "closed",
                  seconds, ok ? "" : ", NOT COMPLETE");
    gaps.print(what);
    if (traffic) {
        dialogs::TrafficWindow* shown = window.tool->trafficWindow();
        shown->poll();
        std::printf("  the Traffic window holds %zu lines after the send (%.0f events a second)\n",
                    shown->model()->heldLines(), static_cast<double>(shown->model()->heldLines()) / seconds);
    }
}

// A thread records `rate` events a second into the link's trace for `ms`, as a busy line would.
void measureRate(int rate, int ms) {
    Window window;
    window.tool->showTrafficWindow();
    device::TraceRecorder& trace = window.tool->device().link().trace();
    runFor(200);
    std::atomic<bool> stop{false};
    TickGaps gaps;
    gaps.start();
    std::thread feeder([&] {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        const auto step = std::chrono::nanoseconds(1'000'000'000 / rate);
        // Whole milliseconds of events at a time, so a high rate does not rest on the sleep's grain.
        const int perWake = std::max(1, rate / 1000);
        auto next = start;
        for (long i = 0; !stop.load(); i += perWake) {
            for (int k = 0; k < perWake; ++k) {
                const auto micros =
                    std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
                trace.record(i % 2 ? TraceKind::Received : TraceKind::Sent, micros.count(),
                             i % 2 ? "\r\n<obj n=\"400\" clear=\"1\" datatype=\"S32\"/>\r\n:->"
                                   : "<obj n=\"12\"/>\r\n");
            }
            next += step * perWake;
            std::this_thread::sleep_until(next);
        }
    });
    runFor(ms);
    stop = true;
    feeder.join();
    gaps.stop();
    char what[120];
    std::snprintf(what, sizeof what, "Traffic window open, %d events a second for %.0f s", rate, ms / 1000.0);
    gaps.print(what);
    const dialogs::TrafficWindow* shown = window.tool->trafficWindow();
    std::printf("  %zu lines held (the newest %zu are kept), ring %llu dropped, %.1f MB set aside\n",
                shown->model()->heldLines(), models::TrafficModel::kMaxLines,
                static_cast<unsigned long long>(trace.usage().dropped),
                static_cast<double>(trace.usage().reservedBytes) / (1024.0 * 1024.0));
}

} // namespace

int main() {
    application();
    measureIdle(5000);
    measureSend(false);
    measureSend(true);
    measureRate(1000, 5000);
    measureRate(10000, 5000);
    return 0;
}
