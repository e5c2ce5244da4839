// The wire trace: the recorder's ring (its bounds, the drop count, reading in batches, a reader
// on another thread) and the trace the link records over the scripted driver.
#include "FakeDriver.h"
#include "device/link/SerialLink.h"
#include "device/link/TraceRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace korvex::device {
namespace {

using test::FakeClock;
using test::FakeDriver;

std::vector<std::uint64_t> heldSequences(const TraceRecorder& recorder) {
    std::vector<std::uint64_t> held;
    for (const TraceEvent& event : recorder.since(0).events) held.push_back(event.sequence);
    return held;
}

// A ring of 4 events and 16 payload bytes: whichever bound is reached first drops the oldest.
TEST(TraceRecorderTest, RingKeepsItsBoundsAndCountsWhatItDrops) {
    TraceRecorder recorder(4, 16);
    recorder.record(TraceKind::Sent, 0, "off");
    EXPECT_EQ(recorder.lastSequence(), 0u); // nothing is recorded until it is enabled
    recorder.setEnabled(true);
    const struct {
        std::string bytes;
        std::vector<std::uint64_t> held;
        std::uint64_t dropped;
    } steps[] = {
        {"abcdefgh", {1}, 0},
        {"ijklmnop", {1, 2}, 0},
        {"qr", {2, 3}, 1}, // 18 bytes would not fit
        {"", {2, 3, 4}, 1},
        {"", {2, 3, 4, 5}, 1},
        {"", {3, 4, 5, 6}, 2},                     // a fifth event would not fit
        {"0123456789ABCDEFGHIJ", {4, 5, 6, 7}, 3}, // cut to the ring, and wrapping round it
    };
    for (const auto& step : steps) {
        recorder.record(TraceKind::Received, 0, step.bytes);
        EXPECT_EQ(heldSequences(recorder), step.held) << step.bytes;
        EXPECT_EQ(recorder.usage().dropped, step.dropped) << step.bytes;
    }
    const TraceBatch all = recorder.since(0);
    EXPECT_EQ(all.missed, 3u);
    EXPECT_EQ(all.events.back().bytes, "0123456789ABCDEF");
    EXPECT_EQ(recorder.usage().payloadBytes, 16u);
    std::string text; // a trace file says its gap where it is
    EXPECT_EQ(appendTraceText(recorder, 0, text), 7u);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1),
              "0.000000 ! dropped 3 events: the recording ran full before they were written\n");

    const TraceBatch two = recorder.since(4, 2);
    ASSERT_EQ(two.events.size(), 2u);
    EXPECT_EQ(two.events[0].sequence, 5u);
    EXPECT_EQ(two.missed, 0u);

    recorder.clear();
    EXPECT_TRUE(recorder.since(0).events.empty());
    recorder.record(TraceKind::Close, 0);
    EXPECT_EQ(heldSequences(recorder), std::vector<std::uint64_t>{8});
    EXPECT_EQ(recorder.usage().dropped, 0u);
}

// A reader on another thread while the ring wraps: every event it gets carries its own bytes.
TEST(TraceRecorderTest, ReaderOnAnotherThreadGetsWholeEvents) {
    TraceRecorder recorder(64, 256);
    recorder.setEnabled(true);
    constexpr int kEvents = 20000;
    std::thread writer([&] {
        for (int i = 1; i <= kEvents; ++i) recorder.record(TraceKind::Received, i, std::to_string(i));
    });
    std::uint64_t seen = 0;
    std::uint64_t got = 0;
    while (seen < kEvents) {
        const TraceBatch batch = recorder.since(seen);
        for (const TraceEvent& event : batch.events) {
            ASSERT_EQ(event.bytes, std::to_string(event.sequence));
            seen = event.sequence;
            ++got;
        }
        got += batch.missed;
    }
    writer.join();
    EXPECT_EQ(got, static_cast<std::uint64_t>(kEvents));
}

// The link over the scripted driver with a fake clock: each case runs one command and closes
// the port; the whole trace is compared.
TEST(LinkTraceTest, TheLinkRecordsEveryEvent) {
    const std::string open = "0.000000 ! open /dev/ttyFAKE\n0.000000 > usage\\r\\n\n";
    const struct {
        const char* name;
        std::vector<FakeDriver::Step> script;
        std::string trace;
    } cases[] = {
        {"split reply",
         {{"\r\nLast", false, 30}, {" Obj\r\n:->", false, 40}},
         open +
             "0.030000 < \\r\\nLast\n0.070000 <  Obj\\r\\n:->\n0.170000 = len=15 ms=170\n0.170000 ! close\n"},
        {"silent gateway", {}, open + "2.000000 ! timeout\n2.000000 ! close\n"},
        {"hung-up line", {{"", true, 0}}, open + "0.000000 ! lost\n0.000000 ! timeout\n"},
    };
    for (const auto& c : cases) {
        FakeClock clock;
        FakeDriver driver(&clock);
        SerialLink link(driver, [&clock] { return clock.now(); });
        link.trace().setEnabled(true);
        link.setPortName("/dev/ttyFAKE");
        ASSERT_TRUE(link.open());
        for (const FakeDriver::Step& step : c.script) {
            if (step.fail)
                driver.failRead();
            else
                driver.reply(step.bytes, step.costMs);
        }
        link.startTransfer("usage\r\n", 20);
        while (!link.replyReady()) link.pump();
        link.close();
        std::string trace;
        appendTraceText(link.trace(), 0, trace);
        EXPECT_EQ(trace, c.trace) << c.name;
    }
}

// Turned on with the port already open, the trace counts from that open, as the tool's traffic
// window turns it on; a reader that clears it goes on after what it cleared without a miss.
TEST(LinkTraceTest, TurnedOnLateCountsFromTheOpenAndClearIsNoMiss) {
    FakeClock clock;
    FakeDriver driver(&clock);
    SerialLink link(driver, [&clock] { return clock.now(); });
    EXPECT_EQ(link.microsSinceOpen(), -1);
    link.setPortName("/dev/ttyFAKE");
    ASSERT_TRUE(link.open());
    clock.advanceMs(1500);
    EXPECT_EQ(link.microsSinceOpen(), 1'500'000);
    link.enableTrace();
    driver.reply("Ok\r\n:->", 20);
    link.startTransfer("nid\r\n", 20);
    while (!link.replyReady()) link.pump();
    std::string trace;
    std::uint64_t seen = appendTraceText(link.trace(), 0, trace);
    EXPECT_EQ(trace, "1.500000 > nid\\r\\n\n1.520000 < Ok\\r\\n:->\n1.620000 = len=7 ms=120\n");

    link.startTransfer("nid\r\n", 20);
    while (!link.replyReady()) link.pump();
    EXPECT_EQ(seen = link.trace().clear(), 5u);
    link.close();
    const TraceBatch after = link.trace().since(seen);
    EXPECT_EQ(after.missed, 0u);
    ASSERT_EQ(after.events.size(), 1u);
    EXPECT_EQ(after.events[0].kind, TraceKind::Close);
}

} // namespace
} // namespace korvex::device
