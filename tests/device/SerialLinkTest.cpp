// SerialLink over the scripted driver: opening and reuse, the quiet-poll end of a reply, the
// budget, the 1000-byte limits, takeReply, port failures, and the pump thread's hand-over.
#include "device/link/SerialLink.h"
#include "FakeDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace korvex::device {
namespace {

using test::FakeClock;
using test::FakeDriver;

class SerialLinkTest : public ::testing::Test {
protected:
    FakeClock clock;
    FakeDriver driver{&clock};
    SerialLink link{driver, [this] { return clock.now(); }};

    void SetUp() override {
        test::useRunLinkMode(link);
        link.setPortName("/dev/ttyFAKE");
        ASSERT_TRUE(link.open());
    }

    // Pumps until the reply is ready; returns the number of pump steps.
    int pumpToReply(int maxSteps = 2000) {
        int steps = 0;
        while (!link.replyReady() && steps < maxSteps) {
            link.pump();
            ++steps;
        }
        return steps;
    }

    std::string take(int max = kLinkBufferSize) {
        char buffer[kLinkBufferSize + 1] = {};
        const int n = link.takeReply(buffer, max);
        return n < 0 ? "<not ready>" : std::string(buffer, static_cast<std::size_t>(n));
    }
};

TEST_F(SerialLinkTest, OpenReusesAnOpenPortAndReopensAfterClose) {
    EXPECT_TRUE(link.open());
    EXPECT_EQ(driver.opens(), 1);
    EXPECT_TRUE(link.isOpen());
    EXPECT_EQ(link.openPortName(), "/dev/ttyFAKE");
    link.close();
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(driver.closes(), 1);
    link.close(); // nothing open: only the state is cleared
    EXPECT_EQ(driver.closes(), 1);
    EXPECT_TRUE(link.open());
    EXPECT_EQ(driver.opens(), 2);
}

TEST_F(SerialLinkTest, FailedOpenLeavesThePortClosed) {
    link.close();
    driver.refuseOpen(true);
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isOpen());
    link.setPortName("");
    driver.refuseOpen(false);
    EXPECT_FALSE(link.open()); // no port chosen
}

TEST_F(SerialLinkTest, ComNamesMapToSerialDevices) {
    link.close();
    link.setPortName("COM3");
    ASSERT_TRUE(link.open());
#ifndef _WIN32
    EXPECT_EQ(driver.lastPath(), "/dev/ttyS2");
#endif
    EXPECT_EQ(link.openPortName(), "COM3");
}

TEST_F(SerialLinkTest, ReplyInPiecesEndsAtTheFirstQuietPoll) {
    driver.reply("\r\nLast");
    driver.reply(" Obj");
    driver.quiet();
    driver.reply("late"); // after the quiet poll: belongs to no reply
    EXPECT_EQ(link.startTransfer("usage\r\n", 20), 7);
    EXPECT_EQ(take(), "<not ready>");
    pumpToReply();
    EXPECT_EQ(driver.flushes(), 1);
    ASSERT_EQ(driver.writes().size(), 1u);
    EXPECT_EQ(driver.writes()[0], "usage\r\n");
    EXPECT_EQ(take(), "\r\nLast Obj");
    EXPECT_EQ(driver.reads(), 3);
}

TEST_F(SerialLinkTest, SilentGatewayTimesOutAfterItsPollLimit) {
    link.startTransfer("usage\r\n", 20);
    pumpToReply();
    EXPECT_EQ(driver.reads(), 20);
    EXPECT_EQ(take(), "");
    EXPECT_EQ(link.replyPolls(), 20);
}

TEST_F(SerialLinkTest, ReplyStillStreamingAtTheLimitIsATimeOut) {
    for (int i = 0; i < 10; ++i) driver.reply("x", 100); // a piece every 100 ms, never quiet
    link.startTransfer("usage\r\n", 5);
    pumpToReply();
    EXPECT_EQ(driver.reads(), 5);
    EXPECT_EQ(take(), "");
}

TEST_F(SerialLinkTest, ManyQuickPiecesDoNotSpendTheBudget) {
    for (int i = 0; i < 40; ++i) driver.reply("y", 1);
    link.startTransfer("usage\r\n", 5);
    pumpToReply();
    EXPECT_EQ(take(), std::string(40, 'y'));
}

// ---- prompt pacing ----

struct PacingCase {
    const char* name;
    bool learned;     // the gateway ended an earlier reply with its prompt
    bool silenceOnly; // the option that keeps the silence rule
    std::vector<std::string> pieces;
    std::string reply;
    int reads;       // a reply that ends by silence takes one quiet poll more
    bool promptSeen; // what the link knows of the gateway afterwards
};

class SerialLinkPacingTest : public SerialLinkTest, public ::testing::WithParamInterface<PacingCase> {};

TEST_P(SerialLinkPacingTest, ReplyEndsAtThePromptOnceTheGatewayHasShownIt) {
    const PacingCase& c = GetParam();
    link.setSilenceOnly(false);
    if (c.learned) {
        driver.reply("\r\n:->");
        link.startTransfer("usage\r\n", 20);
        pumpToReply();
        ASSERT_EQ(link.replyEnd(), ReplyEnd::Prompt);
    }
    link.setSilenceOnly(c.silenceOnly);
    for (const std::string& piece : c.pieces) driver.reply(piece);
    const int before = driver.reads();
    link.startTransfer("x\r\n", 20);
    pumpToReply();
    EXPECT_EQ(take(), c.reply);
    EXPECT_EQ(driver.reads() - before, c.reads);
    EXPECT_EQ(link.promptSeen(), c.promptSeen);
    EXPECT_EQ(link.replyEnd(), c.promptSeen && !c.silenceOnly ? ReplyEnd::Prompt : ReplyEnd::Silence);
}

INSTANTIATE_TEST_SUITE_P(
    Pacing, SerialLinkPacingTest,
    ::testing::Values(
        PacingCase{"PromptEndsTheReplyAtOnce", true, false, {"Ok\r\n:->"}, "Ok\r\n:->", 1, true},
        PacingCase{"BlanksAfterThePrompt", true, false, {"Ok\r\n:-> \r\n"}, "Ok\r\n:-> \r\n", 1, true},
        PacingCase{"PromptSplitInTwoPieces", true, false, {"Ok\r\n:-", ">"}, "Ok\r\n:->", 2, true},
        PacingCase{"PromptInsideTheText", true, false, {"a:->b", "\r\n:->"}, "a:->b\r\n:->", 2, true},
        PacingCase{"NoPromptFallsBackToSilence", true, false, {"Ok\r\n"}, "Ok\r\n", 2, false},
        PacingCase{"FirstPromptTurnsPacingOn", false, false, {"Ok\r\n:->"}, "Ok\r\n:->", 2, true},
        PacingCase{"SilenceOnlyWaitsForTheQuietPoll", true, true, {"Ok\r\n:->"}, "Ok\r\n:->", 2, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A gateway that goes on writing after its prompt: the reply that ended at the prompt is whole,
// the extra output is dropped before the next command, and that command's reply waits for
// silence (whole as well) and then shows the prompt again. A port opened afresh learns anew.
TEST_F(SerialLinkTest, OutputAfterThePromptIsDroppedAndTheNextReplyWaitsForSilence) {
    link.setSilenceOnly(false);
    driver.reply("\r\n:->");
    link.startTransfer("usage\r\n", 20);
    pumpToReply();
    driver.reply("Ok\r\n:->");
    link.startTransfer("a\r\n", 20);
    pumpToReply();
    EXPECT_EQ(take(), "Ok\r\n:->");
    driver.waitBeforeFlush("\r\n:->");
    driver.reply("Ok\r\n:->");
    const int before = driver.reads();
    link.startTransfer("b\r\n", 20);
    pumpToReply();
    EXPECT_EQ(take(), "Ok\r\n:->");
    EXPECT_EQ(driver.reads() - before, 2);
    EXPECT_EQ(link.replyEnd(), ReplyEnd::Prompt);
    link.close();
    EXPECT_EQ(link.replyEnd(), ReplyEnd::Silence);
    ASSERT_TRUE(link.open());
    EXPECT_EQ(link.replyEnd(), ReplyEnd::Silence);
}

TEST_F(SerialLinkTest, TakeReplyShortensTheStoredLength) {
    driver.reply("0123456789");
    link.startTransfer("x\r\n", 20);
    pumpToReply();
    EXPECT_EQ(take(4), "0123");
    EXPECT_EQ(take(), "0123");
}

TEST_F(SerialLinkTest, BufferHoldsAtMost1000BytesAndAFullBufferEndsTheReply) {
    driver.reply(std::string(600, 'a'));
    driver.reply(std::string(600, 'b'));
    driver.reply("never read");
    link.startTransfer("x\r\n", 20);
    pumpToReply();
    const std::string reply = take();
    EXPECT_EQ(reply.size(), 1000u);
    EXPECT_EQ(reply, std::string(600, 'a') + std::string(400, 'b'));
    EXPECT_EQ(driver.reads(), 2);
}

TEST_F(SerialLinkTest, CommandTextIsCutToTheBufferAndEmptyTextArmsNothing) {
    EXPECT_EQ(link.startTransfer("", 20), 0);
    link.pump();
    EXPECT_TRUE(driver.writes().empty());
    EXPECT_EQ(link.startTransfer(std::string(1500, 'c'), 1), kLinkBufferSize - 1);
    pumpToReply();
    ASSERT_EQ(driver.writes().size(), 1u);
    EXPECT_EQ(driver.writes()[0].size(), static_cast<std::size_t>(kLinkBufferSize - 1));
}

TEST_F(SerialLinkTest, NewCommandClearsThePreviousReply) {
    driver.reply("first");
    link.startTransfer("a\r\n", 20);
    pumpToReply();
    ASSERT_TRUE(link.replyReady());
    link.startTransfer("b\r\n", 20);
    EXPECT_FALSE(link.replyReady());
}

TEST_F(SerialLinkTest, ListeningCollectsMoreOutputWithoutSending) {
    driver.reply("part one");
    link.startTransfer("help\r\n", 20);
    pumpToReply();
    driver.reply("part two");
    link.startListening(10);
    pumpToReply();
    EXPECT_EQ(take(), "part two");
    EXPECT_EQ(driver.writes().size(), 1u);
    EXPECT_EQ(driver.flushes(), 1);
}

TEST_F(SerialLinkTest, ClosingUnderACommandEndsItWithoutCountingALoss) {
    driver.reply("Ok");
    link.startTransfer("x\r\n", 20);
    link.pump();
    EXPECT_FALSE(link.replyReady());
    link.close();
    EXPECT_EQ(take(), "");
    EXPECT_EQ(link.takePortLost(), 0);
}

struct FailureCase {
    const char* name;
    bool failWrite;
};

class SerialLinkFailureTest : public SerialLinkTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SerialLinkFailureTest, PortFailureClosesThePortAndEndsTheCommandAsATimeOut) {
    if (GetParam().failWrite)
        driver.failWrites(true);
    else {
        driver.reply("Ok");
        driver.failRead();
    }
    link.startTransfer("usage\r\n", 20);
    const int steps = pumpToReply();
    EXPECT_LE(steps, 2);
    EXPECT_EQ(take(), "");
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.takePortLost(), 1);
    EXPECT_EQ(link.takePortLost(), 0);
    // A command armed while the port is closed ends at once.
    link.startTransfer("usage\r\n", 20);
    link.pump();
    EXPECT_TRUE(link.replyReady());
    EXPECT_EQ(take(), "");
    // The next action reopens the port.
    driver.failWrites(false);
    EXPECT_TRUE(link.open());
}

INSTANTIATE_TEST_SUITE_P(Failures, SerialLinkFailureTest,
                         ::testing::Values(FailureCase{"read", false}, FailureCase{"write", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// With the pump thread running: requests are answered by that thread, the thread sleeps while
// nothing is pending, and stopping it closes the port.
TEST(SerialLinkThreadTest, PumpThreadCarriesCommandsAndSleepsWhenIdle) {
    FakeDriver driver;
    SerialLink link(driver);
    test::useRunLinkMode(link);
    link.startPumpThread();
    link.setPortName("/dev/ttyFAKE");
    ASSERT_TRUE(link.open());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(driver.reads(), 0); // idle with the port open: no polling at all

    driver.reply("Ok\r\n:->");
    const std::uint32_t seen = link.replySequence();
    link.startTransfer("nalterpid 3\r\n", 20);
    while (!link.replyReady()) link.waitForReply(seen, std::chrono::milliseconds(100));
    char buffer[100] = {};
    EXPECT_EQ(link.takeReply(buffer, 100), 7);
    EXPECT_STREQ(buffer, "Ok\r\n:->");

    link.stopPumpThread();
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(driver.closes(), 1);
    EXPECT_TRUE(link.open()); // no thread: acts directly
}

// A driver whose close, once asked, holds the pump thread on its way out until the test lets
// it go, and which notes every thread that closes it.
class HoldingDriver : public FakeDriver {
public:
    void close() override {
        std::unique_lock lock(mutex_);
        closers_.insert(std::this_thread::get_id());
        closing_ = hold_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !hold_; });
        lock.unlock();
        FakeDriver::close();
    }
    void hold(bool on) {
        std::lock_guard lock(mutex_);
        hold_ = on;
        changed_.notify_all();
    }
    void waitUntilClosing() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return closing_; });
    }
    std::set<std::thread::id> closers() const {
        std::lock_guard lock(mutex_);
        return closers_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool hold_ = false;
    bool closing_ = false;
    std::set<std::thread::id> closers_;
};

// Open and close asked for while the pump thread stops never reach the driver from another
// thread: the open is refused, the close waits until the pump thread has closed the port.
TEST(SerialLinkThreadTest, RequestsWhileThePumpThreadStopsStayOffTheDriver) {
    HoldingDriver driver;
    SerialLink link(driver);
    test::useRunLinkMode(link);
    link.startPumpThread();
    link.setPortName("/dev/ttyFAKE");
    ASSERT_TRUE(link.open());
    driver.hold(true);
    std::thread stopper([&] { link.stopPumpThread(); });
    driver.waitUntilClosing();
    EXPECT_FALSE(link.open());
    std::atomic<bool> closed{false};
    std::thread closer([&] {
        link.close();
        closed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(closed);
    driver.hold(false);
    stopper.join();
    closer.join();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(driver.closers().size(), 1u); // the pump thread alone
    EXPECT_EQ(driver.opens(), 1);
}

} // namespace
} // namespace korvex::device
