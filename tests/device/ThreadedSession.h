#pragma once
// The device link as the window runs it, for the pseudo-terminal tests: the Qt driver and the
// port pump thread, the status loop thread running the reporting pass, and an action host that
// waits the way the window does (sleeping between looks). The test thread plays the window
// thread: it runs the actions and reads the map only under the map mutex.
#include "DeviceTestSupport.h"
#include "device/qt/QtSerialPortDriver.h"
#include "device/reporting/StatusLoop.h"
#include "sim/SimulatedGateway.h"

#include <chrono>
#include <memory>
#include <thread>
#include <unistd.h>

namespace korvex::device::test {

class WaitingHost : public ScriptedHost {
public:
    bool waitUntil(const std::function<bool()>& done, int stepMs, int maxMs) override {
        ++waits;
        for (int waited = 0; !done(); waited += stepMs) {
            if (waited >= maxMs) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
        }
        return true;
    }
};

// One front end's device link over a shared serial link: map, engine, reporter, status loop.
struct Session {
    std::unique_ptr<ObjectMap> mapStore = std::make_unique<ObjectMap>();
    ObjectMap& map = *mapStore;
    std::mutex mapMutex;
    ValueTable values;
    CommandEngine engine;
    RecordingSink sink;
    StatusReporter reporter{engine, sink};
    StatusLoop loop{engine, [this] { return reporter.pass(); }};
    WaitingHost host;
    ActionOptions options;

    explicit Session(SerialLink& link) : engine(link, map, mapMutex, values) { loop.start(); }
    ~Session() { loop.stop(); }

    DeviceActions actions() { return DeviceActions(engine, sink, host, options); }

    // Waits until the box of the page shows the text at its end (the status loop reported the
    // last step); false after the time limit.
    bool waitForBox(Page page, const std::string& ending, int seconds) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            const std::string box = sink.box(page);
            if (box.size() >= ending.size() &&
                box.compare(box.size() - ending.size(), ending.size(), ending) == 0 && !engine.busy())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
};

// The simulated gateway on a pseudo-terminal and the serial link with its pump thread.
struct PtyGateway {
    sim::SimulatedGateway gateway;
    QtSerialPortDriver driver;
    SerialLink link{driver};
    std::string path = ::testing::TempDir() + "korvex-xfer-" + std::to_string(::getpid());

    explicit PtyGateway(sim::GatewayConfig config = {}) : gateway(std::move(config)) {}
    ~PtyGateway() {
        link.stopPumpThread();
        gateway.stop();
        ::unlink(path.c_str());
    }
    void start() {
        std::string error;
        ASSERT_TRUE(gateway.start(&error)) << error;
        ASSERT_TRUE(gateway.setLink(path, &error)) << error;
        useRunLinkMode(link);
        link.startPumpThread();
        link.setPortName(path);
    }
};

} // namespace korvex::device::test
