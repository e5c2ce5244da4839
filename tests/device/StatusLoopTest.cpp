// The status loop thread over the pump thread and the scripted driver: it drives a command to
// its end, runs the reporting pass after each tick, and reports that it ended when stopped.
#include "device/reporting/StatusLoop.h"
#include "FakeDriver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace korvex::device {
namespace {

TEST(StatusLoopTest, DrivesTheEngineAndEndsOnRequest) {
    test::FakeDriver driver;
    SerialLink link(driver);
    test::useRunLinkMode(link);
    CommandEngine engine(link);
    std::atomic<int> passes{0};
    StatusLoop loop(engine, [&] {
        ++passes;
        return false;
    });
    link.startPumpThread();
    link.setPortName("/dev/ttyFAKE");
    ASSERT_TRUE(link.open());
    loop.start();

    driver.reply("Last Obj,NVI,NVO,Map: 7,1,2,0");
    ASSERT_TRUE(engine.startUsage());
    // The window thread's wait for the usage numbers.
    for (int i = 0; i < 300 && !engine.usageDone.load(std::memory_order_acquire); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(engine.usageDone.load(std::memory_order_acquire));
    EXPECT_EQ(engine.deviceLastObject, 7);
    EXPECT_GT(passes.load(), 0);

    EXPECT_FALSE(loop.hasEnded());
    loop.requestStop();
    for (int i = 0; i < 100 && !loop.hasEnded(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(loop.hasEnded());
    loop.stop();
    link.stopPumpThread();
}

} // namespace
} // namespace korvex::device
