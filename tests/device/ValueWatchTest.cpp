// Watching values against the simulated gateway with every thread running: cycles, a failed read
// that leaves a gap while the watch goes on, Stop within one command and between cycles; and the
// exact bytes of the CSV log.
#include "ThreadedSession.h"
#include "device/actions/WatchLog.h"
#include "model/FixedText.h"
#include "support/FileText.h"

#include <cmath>

namespace korvex::device {
namespace {

using namespace std::chrono_literals;
using test::PtyGateway;
using test::Session;

class RecordingWatch : public WatchSink {
public:
    void reading(const WatchReading& r) override {
        std::lock_guard lock(mutex_);
        readings_.push_back(r);
        if (onReading) onReading(r);
    }
    void cycleEnded(const WatchCycle& c) override {
        std::lock_guard lock(mutex_);
        cycles_.push_back(c);
    }
    void ended(WatchEnd why, int succeeded) override {
        std::lock_guard lock(mutex_);
        end_ = why;
        succeeded_ = succeeded;
    }
    std::vector<WatchReading> readings() const {
        std::lock_guard lock(mutex_);
        return readings_;
    }
    std::vector<WatchCycle> cycles() const {
        std::lock_guard lock(mutex_);
        return cycles_;
    }
    std::optional<WatchEnd> end() const {
        std::lock_guard lock(mutex_);
        return end_;
    }
    int succeeded() const {
        std::lock_guard lock(mutex_);
        return succeeded_;
    }
    // "1=10.500000 2=Undef ..." for the readings of each cycle, in order.
    std::string texts() const {
        std::string all;
        for (const WatchReading& r : readings()) all += std::to_string(r.object) + "=" + r.text + " ";
        return all;
    }
    std::function<void(const WatchReading&)> onReading; // on the watch's thread

private:
    mutable std::mutex mutex_;
    std::vector<WatchReading> readings_;
    std::vector<WatchCycle> cycles_;
    std::optional<WatchEnd> end_;
    int succeeded_ = 0;
};

// Objects 1 and 2 in the gateway (10.5 and 21.0, named in the map); 3 is not.
sim::GatewayConfig twoObjects() {
    sim::GatewayConfig config;
    for (int n : {1, 2}) {
        config.objects[n].kind = "obj";
        config.objects[n].set("datatype", "FP");
        config.values[static_cast<std::size_t>(n)] = 10.5 * n;
    }
    return config;
}

struct WatchRig {
    PtyGateway pty{twoObjects()};
    std::unique_ptr<Session> session;
    RecordingWatch sink;
    std::unique_ptr<ValueWatch> watch;

    WatchRig() {
        pty.start();
        session = std::make_unique<Session>(pty.link);
        setText(session->map.object(1)->name, "Supply, temp");
        watch = std::make_unique<ValueWatch>(session->engine, sink);
        EXPECT_TRUE(pty.link.open());
    }
    ~WatchRig() { watch->stop(); }
};

TEST(ValueWatchTest, ReadsEveryObjectEachCycleAndAFailedReadLeavesAGap) {
    WatchRig rig;
    // The third read of the first cycle gets no answer; the fault is lifted once it failed.
    rig.pty.gateway.addFault("pr:noreply");
    rig.pty.gateway.addFault("pr:after=2");
    rig.sink.onReading = [&](const WatchReading& r) {
        if (r.result != DeviceResult::Ok) rig.pty.gateway.clearFaults();
    };
    ASSERT_TRUE(rig.watch->start(WatchPlan{{1, 2, 1, 3}, 0ms, 2}));
    ASSERT_TRUE(rig.watch->waitEnded(20s));
    EXPECT_EQ(rig.sink.texts(), "1=10.500000 2=21.000000 1=timeout 3=Undef "
                                "1=10.500000 2=21.000000 1=10.500000 3=Undef ");
    EXPECT_EQ(rig.sink.end(), WatchEnd::Counted);
    EXPECT_EQ(rig.sink.succeeded(), 5);
    const auto readings = rig.sink.readings();
    EXPECT_EQ(readings[0].name, "Supply, temp");
    EXPECT_TRUE(std::isnan(readings[2].number));
    EXPECT_EQ(readings[2].result, DeviceResult::Timeout);
    EXPECT_EQ(readings[3].result, DeviceResult::NotDefined);
    const auto cycles = rig.sink.cycles();
    ASSERT_EQ(cycles.size(), 2u);
    EXPECT_EQ(cycles[0].reads, 4);
    EXPECT_EQ(cycles[0].failed, 2);
    EXPECT_EQ(cycles[1].failed, 1);
    std::lock_guard lock(rig.session->mapMutex);
    EXPECT_TRUE(rig.session->values.slot(1).fresh);
    EXPECT_FALSE(rig.session->values.slot(3).fresh);
    EXPECT_EQ(rig.session->sink.box(Page::ViewData), ""); // the box is not flooded
}

TEST(ValueWatchTest, CyclesStartAnIntervalApart) {
    WatchRig rig;
    ASSERT_TRUE(rig.watch->start(WatchPlan{{1}, 300ms, 3}));
    ASSERT_TRUE(rig.watch->waitEnded(20s));
    const auto cycles = rig.sink.cycles();
    ASSERT_EQ(cycles.size(), 3u);
    EXPECT_EQ(cycles[0].period, 0ms);
    EXPECT_GE(cycles[1].period, 300ms);
    EXPECT_GE(cycles[2].period, 300ms);
    EXPECT_LE(cycles[1].took, cycles[1].period);
}

TEST(ValueWatchTest, StopEndsTheWatchAfterTheCommandInFlight) {
    WatchRig rig;
    sim::Fault slow;
    slow.delayMs = 150;
    rig.pty.gateway.setFault("pr", slow);
    std::atomic<int> seenAtStop{-1};
    rig.sink.onReading = [&](const WatchReading&) {
        if (seenAtStop.load() < 0) {
            seenAtStop = rig.pty.gateway.commandCount();
            rig.watch->requestStop();
        }
    };
    ASSERT_TRUE(rig.watch->start(WatchPlan{{1, 2}, 0ms, 0}));
    ASSERT_TRUE(rig.watch->waitEnded(20s));
    EXPECT_EQ(rig.sink.end(), WatchEnd::Stopped);
    EXPECT_EQ(rig.sink.readings().size(), 1u);
    EXPECT_EQ(rig.pty.gateway.commandCount(), seenAtStop.load()); // nothing sent after Stop
    EXPECT_FALSE(rig.session->engine.busy());

    // Between cycles the wait ends as soon as Stop comes, long before the interval.
    RecordingWatch idle;
    ValueWatch watch(rig.session->engine, idle);
    ASSERT_TRUE(watch.start(WatchPlan{{1}, 3600s, 0}));
    while (idle.cycles().empty()) std::this_thread::sleep_for(10ms);
    watch.requestStop();
    EXPECT_TRUE(watch.waitEnded(10s));
    EXPECT_EQ(idle.end(), WatchEnd::Stopped);
}

TEST(ValueWatchTest, EndsWhenThePortIsClosed) {
    WatchRig rig;
    rig.pty.link.close();
    ASSERT_TRUE(rig.watch->start(WatchPlan{{1}, 0ms, 0}));
    ASSERT_TRUE(rig.watch->waitEnded(10s));
    EXPECT_EQ(rig.sink.end(), WatchEnd::PortClosed);
    EXPECT_EQ(rig.sink.succeeded(), 0);
}

TEST(WatchLogTest, RowsAreExactCsvLines) {
    using namespace std::chrono;
    const WallClock::time_point at = sys_days{2026y / December / 8} + 22h + 45min + 1s + 123ms;
    struct Case {
        int object;
        std::string name;
        DeviceResult result;
        std::string text;
        std::string row;
    } cases[] = {
        {5, "Supply temp", DeviceResult::Ok, "21.500000",
         "2026-12-08T22:45:01.123Z,5,Supply temp,21.500000\r\n"},
        {6, "Fan, speed", DeviceResult::Ok, "-3", "2026-12-08T22:45:01.123Z,6,\"Fan, speed\",-3\r\n"},
        {7, "\"Quoted", DeviceResult::NotDefined, "Undef", "2026-12-08T22:45:01.123Z,7,'\"Quoted',Undef\r\n"},
        {8, "two\r\nlines", DeviceResult::Timeout, "timeout",
         "2026-12-08T22:45:01.123Z,8,two  lines,timeout\r\n"},
        {400, "", DeviceResult::BadReply, "unreadable", "2026-12-08T22:45:01.123Z,400,,unreadable\r\n"},
    };
    const std::string path = ::testing::TempDir() + "korvex-watch-log-" + std::to_string(::getpid()) + ".csv";
    std::string expected(kWatchLogHeader);
    {
        WatchLog log;
        ASSERT_TRUE(log.open(path));
        for (const Case& c : cases) {
            const WatchReading r{at, c.object, c.name, c.result, c.text, 0};
            EXPECT_EQ(watchLogRow(r), c.row);
            if (c.result != DeviceResult::Ok) {
                EXPECT_EQ(failureWord(c.result), c.text);
            }
            ASSERT_TRUE(log.write(r));
            expected += c.row;
            EXPECT_EQ(korvex::test::slurp(path), expected); // on the disk row by row
        }
    }
    EXPECT_EQ(isoUtcTime(WallClock::time_point{}), "1970-01-01T00:00:00.000Z");
    ::unlink(path.c_str());
    WatchLog bad;
    std::string error;
    EXPECT_FALSE(bad.open("/nonexistent-dir/log.csv", &error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace korvex::device
