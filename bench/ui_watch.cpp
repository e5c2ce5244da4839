// CPU of the window while the View Data page watches 10 objects of the simulated gateway (its
// values swinging, so every read changes a cell and the plot), against the same window idle.
// Measured on the window thread itself (its own CPU clock), so the port pump, the status loop,
// the watch's thread and the in-process simulator are left out: they are the link's own cost,
// shown apart as the process's CPU. Offscreen: the plot and the grid really paint, into memory.
// Usage: bench_ui_watch [SECONDS per phase, default 20]
//        bench_ui_watch --shot FILE [SECONDS]: on the display it is given, watches for SECONDS
//        (default 30, a cycle every 0.5 s) with three rows selected, object 2 gone from the
//        gateway for 6 s midway, and saves the window to FILE.
#include "app/GatewaySimulator.h"
#include "model/FixedText.h"
#include "ui/pages/viewdata/ViewDataPage.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"
#include "vocab/RegisterCodes.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QEventLoop>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

namespace {

using namespace korvex;
using ui::window::MessageButtons;
using ui::window::MessageIcon;

constexpr int kObjects = 10;

class BenchPrompter : public ui::window::Prompter {
public:
    bool message(QWidget*, const QString&, MessageButtons, MessageIcon) override { return true; }
    QString openFileName(QWidget*, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&) override { return {}; }
    device::RangeAnswer objectRange(QWidget*, device::ObjectRange& range) override {
        range = device::ObjectRange{1, kObjects};
        return device::RangeAnswer::Ok;
    }
    device::RangeAnswer netVarRanges(QWidget*, device::NetVarRanges&) override {
        return device::RangeAnswer::Cancel;
    }
};

double cpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Usage {
    double window; // % of a core, window thread
    double process;
};

// Runs the window's event loop for the time and says what it cost.
Usage measure(int ms) {
    const double thread0 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double process0 = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    const double wall = ms / 1000.0;
    return {100 * (cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - thread0) / wall,
            100 * (cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process0) / wall};
}

void defineObjects(ObjectMap& map, sim::SimulatedGateway& gateway) {
    for (int n = 1; n <= kObjects; ++n) {
        DataObject& o = *map.object(n);
        o.flags = ObjectFlag::InUse | ObjectFlag::ReadPeriodic;
        o.datatype = ObjectDataType::FP;
        setText(o.name, "Point " + std::to_string(n));
    }
    gateway.withConfig([](sim::GatewayConfig& c) {
        for (int n = 1; n <= kObjects; ++n) {
            c.objects[n].kind = "obj";
            c.values[static_cast<std::size_t>(n)] = 20.0 + n;
        }
        return 0;
    });
    gateway.setValueMotion(sim::ValueMotion::Sine);
}

} // namespace

// The window watching for a while with three rows selected, saved as a picture.
int takeShot(ui::window::ConfigTool& window, ui::pages::ViewDataPage& page, sim::SimulatedGateway& gateway,
             const char* file, int seconds) {
    page.intervalBox()->setValue(0.5);
    page.watchButton()->click();
    page.grid()->selectionModel()->select(
        QItemSelection(page.grid()->model()->index(0, 0), page.grid()->model()->index(2, 0)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // Object 2 is gone from the gateway for six seconds midway: its line shows the gap.
    measure(seconds * 300);
    sim::ElementLine held;
    gateway.withConfig([&](sim::GatewayConfig& c) {
        held = c.objects[2];
        return c.objects.erase(2);
    });
    measure(6000);
    gateway.withConfig([&](sim::GatewayConfig& c) {
        c.objects[2] = held;
        return 0;
    });
    measure(seconds * 700 - 6000);
    const bool saved = window.grab().save(QString::fromLocal8Bit(file));
    page.watchButton()->click();
    measure(500);
    window.stopDevice();
    return saved ? 0 : 1;
}

int main(int argc, char** argv) {
    const bool shot = argc > 2 && std::string(argv[1]) == "--shot";
    if (!shot) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = shot       ? (argc > 3 ? std::atoi(argv[3]) : 30)
                        : argc > 1 ? std::max(1, std::atoi(argv[1]))
                                   : 20;
    auto map = std::make_unique<ObjectMap>();
    BenchPrompter prompter;
    sim::SimulatedGateway* gateway = nullptr;
    ui::window::ConfigTool window(*map, prompter,
                                  app::gatewaySimulators([&](sim::SimulatedGateway& g) { gateway = &g; }));
    window.resize(1000, 700);
    window.show();
    ui::widgets::PortChoice choice;
    choice.simulated = true;
    if (!window.device().usePort(choice) || !gateway) {
        std::fprintf(stderr, "the simulated gateway did not start\n");
        return 1;
    }
    defineObjects(*map, *gateway);
    window.selectPage(device::Page::ViewData);
    auto& page = *static_cast<ui::pages::ViewDataPage*>(window.page(device::Page::ViewData));
    if (shot) return takeShot(window, page, *gateway, argv[2], seconds);

    std::printf("%d s per phase; %% of one core\n", seconds);
    const Usage idle = measure(seconds * 1000);
    std::printf("idle window:             window thread %6.3f %%, process %6.3f %%\n", idle.window,
                idle.process);
    for (const double interval : {2.0, 0.2}) {
        page.intervalBox()->setValue(interval);
        page.watchButton()->click();
        const Usage watching = measure(seconds * 1000);
        page.watchButton()->click();
        measure(500);
        std::printf("watching 10, every %.1f s: window thread %6.3f %%, process %6.3f %% (window beyond idle "
                    "%+.3f %%)\n",
                    interval, watching.window, watching.process, watching.window - idle.window);
    }
    window.stopDevice();
    return 0;
}
