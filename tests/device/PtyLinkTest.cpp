// The real link end to end: Qt SerialPort on the pump thread, the engine on the test thread,
// and the simulated gateway on a pseudo-terminal with its fault switches. Each command costs at
// least one 100 ms quiet poll, so the cases are few.
#include "LinkMode.h"
#include "ScaledTime.h"
#include "device/engine/CommandEngine.h"
#include "device/qt/QtSerialPortDriver.h"
#include "sim/GatewayConsole.h"
#include "sim/SimulatedGateway.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace korvex::device {
namespace {

using Clock = std::chrono::steady_clock;

class PtyLinkTest : public ::testing::Test {
protected:
    sim::SimulatedGateway gateway{sim::sampleConfig()};
    QtSerialPortDriver driver;
    SerialLink link{driver};
    CommandEngine engine{link};
    std::string portPath;

    void SetUp() override {
        std::string error;
        ASSERT_TRUE(gateway.start(&error)) << error;
        portPath = ::testing::TempDir() + "korvex-pty-" + std::to_string(::getpid());
        ASSERT_TRUE(gateway.setLink(portPath, &error)) << error;
        test::useRunLinkMode(link);
        link.startPumpThread();
        link.setPortName(portPath);
        ASSERT_TRUE(link.open());
    }

    void TearDown() override {
        link.stopPumpThread();
        gateway.stop();
        ::unlink(portPath.c_str());
    }

    // What the status loop does: tick, then sleep until the next reply or 10 ms.
    void runToIdle() {
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (engine.busy() && Clock::now() < deadline) {
            const std::uint32_t seen = link.replySequence();
            engine.tick();
            link.waitForReply(seen, std::chrono::milliseconds(10));
        }
        ASSERT_FALSE(engine.busy());
    }

    std::string transfer(const std::string& line, int pollLimit) { return transfer(link, line, pollLimit); }
    static std::string transfer(SerialLink& on, const std::string& line, int pollLimit) {
        const std::uint32_t seen = on.replySequence();
        on.startTransfer(line, pollLimit);
        while (!on.replyReady()) on.waitForReply(seen, std::chrono::milliseconds(50));
        char buffer[kLinkBufferSize + 1] = {};
        const int n = on.takeReply(buffer, kLinkBufferSize);
        return std::string(buffer, static_cast<std::size_t>(n));
    }

    // The gateway's port on a link whose clock runs at a tenth (a quiet poll waits a second), in
    // place of the fixture's link, which is closed.
    struct SlowMotion {
        explicit SlowMotion(PtyLinkTest& fixture) {
            fixture.link.close();
            test::useRunLinkMode(link);
            link.startPumpThread();
            link.setPortName(fixture.portPath);
        }
        ~SlowMotion() { link.stopPumpThread(); }
        test::ScaledDriver driver{{1, 10}};
        SerialLink link{driver, driver.clock()};
    };

    static double secondsSince(Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    }
};

TEST_F(PtyLinkTest, UsageAndConsoleCommands) {
    ASSERT_TRUE(engine.startUsage());
    runToIdle();
    EXPECT_EQ(engine.usageResult, DeviceResult::Ok);
    EXPECT_EQ(engine.deviceLastObject, 3);
    EXPECT_EQ(engine.deviceInputCount, 1);
    EXPECT_EQ(engine.deviceOutputCount, 3);
    EXPECT_EQ(engine.deviceTcpMapCount, 0);

    ASSERT_TRUE(engine.startConsole("ninfo"));
    runToIdle();
    EXPECT_EQ(std::string(engine.consoleText.data()), "\r\n<nd loc=\"Plant room\" pid=\"0\"/>\r\n:->");
    EXPECT_EQ(gateway.receivedLines(), (std::vector<std::string>{"usage", "ninfo"}));
}

TEST_F(PtyLinkTest, SilentGatewayTimesOutAfterItsBudget) {
    gateway.addFault("usage:noreply");
    const auto start = Clock::now();
    ASSERT_TRUE(engine.startUsage());
    runToIdle();
    const double elapsed = secondsSince(start);
    EXPECT_EQ(engine.usageResult, DeviceResult::Timeout);
    EXPECT_GE(elapsed, 1.9);
    EXPECT_LT(elapsed, 6.0);
    EXPECT_TRUE(link.isOpen());
}

// In slow motion as the next test, so that a gateway thread held up on a loaded machine never
// stretches the short gap to a whole quiet poll: 50 ms against a poll of a second, then 1.5 s.
TEST_F(PtyLinkTest, ReplySplitByAShortGapArrivesWholeAndByALongGapArrivesCut) {
    SlowMotion motion(*this);
    SerialLink& slow = motion.link;
    ASSERT_TRUE(slow.open());
    const std::string whole = sim::framedReply("Last Obj,NVI,NVO,Map: 3,1,3,0");
    gateway.addFault("usage:split=50");
    EXPECT_EQ(transfer(slow, "usage\r\n", 20), whole);

    gateway.clearFaults();
    gateway.addFault("usage:split=1500");
    const std::string cut = transfer(slow, "usage\r\n", 20);
    EXPECT_EQ(cut, whole.substr(0, whole.size() / 2));
    // The rest arrives after the reply ended and is flushed before the next command.
    std::this_thread::sleep_for(std::chrono::milliseconds(1700));
    gateway.clearFaults();
    EXPECT_EQ(transfer(slow, "ninfo\r\n", 20), sim::framedReply("<nd loc=\"Plant room\" pid=\"0\"/>"));
}

// In slow motion (a quiet poll waits a second, the link's clock runs at a tenth), so that a
// gateway thread held up on a loaded machine never leaves the line quiet for a whole poll.
TEST_F(PtyLinkTest, TricklingReplyUsesTimeNotPollsOfTheBudget) {
    SlowMotion motion(*this);
    SerialLink& slow = motion.link;
    ASSERT_TRUE(slow.open());
    // About 40 bytes, one every 2 ms: some 40 polls, but well inside 20 polls' worth of time.
    gateway.addFault("usage:trickle=2");
    EXPECT_EQ(transfer(slow, "usage\r\n", 20), sim::framedReply("Last Obj,NVI,NVO,Map: 3,1,3,0"));
    // One byte every 60 ms (over two seconds in all) is still streaming when one poll's time is up.
    gateway.clearFaults();
    gateway.addFault("usage:trickle=60");
    EXPECT_EQ(transfer(slow, "usage\r\n", 1), "");
}

// Pacing on the real line follows the gateway: its prompt turns pacing on, a gateway that stops
// printing prompts gets the silence rule from its first reply without one (nothing lost or cut),
// and a prompt printed once more after a reply is dropped before the next command.
TEST_F(PtyLinkTest, PacingFollowsTheGatewaysPrompt) {
    link.setSilenceOnly(false);
    const std::string usage = "Last Obj,NVI,NVO,Map: 3,1,3,0";
    EXPECT_EQ(link.replyEnd(), ReplyEnd::Silence);
    for (const bool prompt : {true, true, false, false, true}) {
        gateway.setPrompt(prompt);
        EXPECT_EQ(transfer("usage\r\n", 20), sim::framedReply(usage, prompt));
        EXPECT_EQ(link.replyEnd(), prompt ? ReplyEnd::Prompt : ReplyEnd::Silence);
    }
    gateway.addFault("usage:tail=20");
    EXPECT_EQ(transfer("usage\r\n", 20), sim::framedReply(usage));
    // The extra prompt is written, and the pseudo-terminal hands it over a moment later.
    while (gateway.answeredCount() < gateway.commandCount())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(transfer("ninfo\r\n", 20), sim::framedReply("<nd loc=\"Plant room\" pid=\"0\"/>"));
    EXPECT_GE(link.replyPolls(), 2); // ended by a quiet poll, so the flush found the extra prompt
    EXPECT_EQ(link.replyEnd(), ReplyEnd::Prompt);
}

TEST_F(PtyLinkTest, SecondStartWhileBusyIsRefused) {
    gateway.addFault("usage:delay=300");
    ASSERT_TRUE(engine.startUsage());
    EXPECT_FALSE(engine.startConsole("help"));
    EXPECT_FALSE(engine.startUsage());
    runToIdle();
    EXPECT_EQ(engine.usageResult, DeviceResult::Ok);
    EXPECT_EQ(engine.deviceLastObject, 3);
    EXPECT_EQ(gateway.receivedLines(), std::vector<std::string>{"usage"});
}

TEST_F(PtyLinkTest, UnplugMidCommandEndsItAndTheNextActionReopens) {
    gateway.addFault("usage:hangup=0");
    link.trace().setEnabled(true);
    const auto start = Clock::now();
    ASSERT_TRUE(engine.startUsage());
    runToIdle();
    EXPECT_LT(secondsSince(start), 2.5);
    EXPECT_EQ(engine.usageResult, DeviceResult::Timeout);
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.takePortLost(), 1);
    std::string trace;
    appendTraceText(link.trace(), 0, trace);
    EXPECT_NE(trace.find(" > usage\\r\\n\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" ! lost\n"), std::string::npos) << trace;

    EXPECT_FALSE(link.open()); // still unplugged
    gateway.clearFaults();
    ASSERT_TRUE(gateway.comeBack());
    ASSERT_TRUE(link.open());
    ASSERT_TRUE(engine.startUsage());
    runToIdle();
    EXPECT_EQ(engine.usageResult, DeviceResult::Ok);
}

TEST_F(PtyLinkTest, UnplugWhileIdleIsNoticedByTheNextOpen) {
    gateway.hangUp();
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isOpen());
    ASSERT_TRUE(gateway.comeBack());
    EXPECT_TRUE(link.open());
}

// Why a port did not open, as the Qt driver tells it: a missing device file, a port another link
// holds, and one the user may not open (only without root, whom no file refuses).
TEST_F(PtyLinkTest, AFailedOpenSaysWhy) {
    const struct {
        std::string path;
        OpenError why;
    } cases[] = {{"/dev/korvex-no-such-port", OpenError::NotFound}, {portPath, OpenError::Busy}};
    for (const auto& c : cases) {
        QtSerialPortDriver otherDriver;
        SerialLink other(otherDriver);
        other.startPumpThread();
        other.setPortName(c.path);
        EXPECT_FALSE(other.open()) << c.path;
        EXPECT_EQ(other.openError(), c.why) << c.path;
    }
    EXPECT_EQ(link.openError(), OpenError::None);
    if (::geteuid() == 0) GTEST_SKIP() << "root opens every device file";
    link.close();
    ASSERT_EQ(::chmod(gateway.slavePath().c_str(), 0), 0);
    EXPECT_FALSE(link.open());
    EXPECT_EQ(link.openError(), OpenError::Permission);
}

TEST_F(PtyLinkTest, PortThatCannotBeOpened) {
    link.close();
    link.setPortName("/nonexistent/ttyKorvex");
    EXPECT_FALSE(link.open());
    EXPECT_FALSE(link.isOpen());
}

} // namespace
} // namespace korvex::device
