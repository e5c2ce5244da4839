// CommandEngine over the scripted driver (no threads: the test pumps the link and ticks the
// engine itself): the state table, the start lock, the usage query and the console command.
#include "device/engine/CommandEngine.h"
#include "FakeDriver.h"
#include "device/link/LinkMessages.h"

#include <gtest/gtest.h>

namespace korvex::device {
namespace {

using test::FakeClock;
using test::FakeDriver;

// Exposes the generic start so the states whose areas come later can be entered.
class TestEngine : public CommandEngine {
public:
    using CommandEngine::CommandEngine;
    using CommandEngine::startCommand;
};

class CommandEngineTest : public ::testing::Test {
protected:
    FakeClock clock;
    FakeDriver driver{&clock};
    SerialLink link{driver, [this] { return clock.now(); }};
    TestEngine engine{link};

    void SetUp() override {
        test::useRunLinkMode(link);
        link.setPortName("/dev/ttyFAKE");
        ASSERT_TRUE(link.open());
    }

    void runToIdle() {
        for (int i = 0; i < 5000 && engine.busy(); ++i) {
            link.pump();
            engine.tick();
        }
        ASSERT_FALSE(engine.busy());
    }

    std::string consoleText() const { return std::string(engine.consoleText.data()); }
};

TEST(EngineStateTableTest, BudgetsAndReplyMaxima) {
    struct Row {
        EngineState state;
        std::string_view name;
        int budget;
        int replyMax;
    } rows[] = {
        {EngineState::Console, "Console", 100, 1000},
        {EngineState::ReadValues, "ReadValues", 20, 100},
        {EngineState::GetNetVars, "GetNetVars", 20, 500},
        {EngineState::SendNetVars, "SendNetVars", 20, 100},
        {EngineState::GetObjects, "GetObjects", 20, 500},
        {EngineState::SendObjects, "SendObjects", 20, 100},
        {EngineState::ClearConfig, "ClearConfig", 450, 100},
        {EngineState::QueryUsage, "QueryUsage", 20, 100},
        {EngineState::GetPortSettings, "GetPortSettings", 20, 200},
        {EngineState::SendPortSettings, "SendPortSettings", 30, 200},
        {EngineState::GetErrorInfo, "GetErrorInfo", 20, 200},
        {EngineState::WriteValues, "WriteValues", 20, 100},
        {EngineState::SetDomain, "SetDomain", 20, 100},
        {EngineState::GetDomains, "GetDomains", 20, 100},
        {EngineState::GetNodeIds, "GetNodeIds", 20, 100},
        {EngineState::GetNodeInfo, "GetNodeInfo", 20, 200},
        {EngineState::SetLocation, "SetLocation", 30, 200},
        {EngineState::AlterProgramId, "AlterProgramId", 30, 200},
        {EngineState::WatchRead, "WatchRead", 20, 100},
    };
    for (const auto& row : rows) {
        const StateInfo& info = stateInfo(row.state);
        EXPECT_EQ(info.name, row.name);
        EXPECT_EQ(info.budget, row.budget) << row.name;
        EXPECT_EQ(info.replyMax, row.replyMax) << row.name;
    }
    EXPECT_EQ(stateInfo(-1).name, "Idle");
    EXPECT_EQ(stateInfo(kStateCount).name, "Idle");
}

// Until their areas are wired, the other states still run their budget and return to Idle.
TEST_F(CommandEngineTest, EveryStateEndsWithinItsBudget) {
    for (int s = 2; s < kStateCount; ++s) {
        if (s == static_cast<int>(EngineState::QueryUsage)) continue;
        const int readsBefore = driver.reads();
        ASSERT_TRUE(engine.startCommand(static_cast<EngineState>(s), "x\r\n"));
        EXPECT_EQ(engine.state(), static_cast<EngineState>(s));
        runToIdle();
        EXPECT_EQ(driver.reads() - readsBefore, stateInfo(s).budget) << stateInfo(s).name;
    }
}

TEST_F(CommandEngineTest, UsageStoresTheFourNumbers) {
    driver.reply("\r\nLast Obj,NVI,NVO,Map: 250,12,9,3\r\n:->");
    ASSERT_TRUE(engine.startUsage());
    EXPECT_EQ(engine.state(), EngineState::QueryUsage);
    runToIdle();
    EXPECT_EQ(driver.writes(), std::vector<std::string>{"usage\r\n"});
    EXPECT_TRUE(engine.usageDone);
    EXPECT_EQ(engine.usageResult, DeviceResult::Ok);
    EXPECT_EQ(engine.deviceLastObject, 250);
    EXPECT_EQ(engine.deviceInputCount, 12);
    EXPECT_EQ(engine.deviceOutputCount, 9);
    EXPECT_EQ(engine.deviceTcpMapCount, 3);
}

TEST_F(CommandEngineTest, UsageFailuresLeaveTheResetNumbers) {
    struct Case {
        const char* name;
        const char* reply; // nullptr: silence
        DeviceResult result;
    } cases[] = {
        {"silence", nullptr, DeviceResult::Timeout},
        {"other text", "\r\nUnknown command\r\n:->", DeviceResult::BadReply},
        {"control characters only", "\r\n\r\n", DeviceResult::BadReply},
        {"three numbers", "Last Obj,NVI,NVO,Map: 250,12,9", DeviceResult::Ok},
        // The fourth number lies beyond the 100 bytes the handler looks at.
        {"past the reply max",
         "Last Obj,NVI,NVO,Map: 250,12,9,                                             "
         "                                4",
         DeviceResult::Ok},
    };
    for (const auto& c : cases) {
        engine.deviceLastObject = engine.deviceInputCount = engine.deviceOutputCount = 5;
        engine.deviceTcpMapCount = 7;
        if (c.reply) driver.reply(c.reply);
        ASSERT_TRUE(engine.startUsage());
        runToIdle();
        EXPECT_TRUE(engine.usageDone) << c.name;
        EXPECT_EQ(engine.usageResult, c.result) << c.name;
        EXPECT_EQ(engine.deviceLastObject, 0) << c.name;
        EXPECT_EQ(engine.deviceInputCount, 0) << c.name;
        EXPECT_EQ(engine.deviceOutputCount, 0) << c.name;
        EXPECT_EQ(engine.deviceTcpMapCount, 7) << c.name;
    }
}

TEST_F(CommandEngineTest, StartWhileBusyIsRefusedAndLeavesTheRunningCommand) {
    driver.reply("Last Obj,NVI,NVO,Map: 4,3,2,1");
    ASSERT_TRUE(engine.startUsage());
    EXPECT_FALSE(engine.startUsage());
    EXPECT_FALSE(engine.startConsole("help"));
    EXPECT_FALSE(engine.startCommand(EngineState::GetObjects, "pcx 1\r\n"));
    EXPECT_EQ(std::string(engine.consoleLine.data()), "");
    runToIdle();
    EXPECT_EQ(driver.writes(), std::vector<std::string>{"usage\r\n"});
    EXPECT_EQ(engine.deviceLastObject, 4);
    EXPECT_TRUE(engine.startConsole("help")); // idle again
}

TEST_F(CommandEngineTest, ConsoleReplyWithPromptEndsTheCommand) {
    engine.consoleText[0] = 's'; // left over: the first reply replaces it
    driver.reply("\r\nKorvex\r\n:->");
    ASSERT_TRUE(engine.startConsole("ver"));
    runToIdle();
    EXPECT_EQ(driver.writes(), std::vector<std::string>{"ver\r\n"});
    EXPECT_EQ(consoleText(), "\r\nKorvex\r\n:->");
    EXPECT_TRUE(engine.consoleUpdated);
    EXPECT_EQ(engine.consoleResult, DeviceResult::Ok);
}

TEST_F(CommandEngineTest, ConsoleTimeOut) {
    ASSERT_TRUE(engine.startConsole("ver"));
    runToIdle();
    EXPECT_EQ(consoleText(), kMsgConsoleTimeout);
    EXPECT_EQ(engine.consoleResult, DeviceResult::Timeout);
    EXPECT_EQ(driver.reads(), kBudgetConsole);
}

TEST_F(CommandEngineTest, ConsoleCollectsPiecesUntilThePrompt) {
    struct Case {
        const char* name;
        std::vector<std::string> pieces; // each followed by a quiet poll
        std::string shown;
    } cases[] = {
        {"prompt in the second piece", {"line one\r\n", "line two\r\n:->"}, "line one\r\nline two\r\n:->"},
        {"prompt split over two pieces", {"done :-", ">"}, "done :->"},
        {"prompt split after one byte", {"done :", "->"}, "done :->"},
    };
    for (const auto& c : cases) {
        for (const auto& piece : c.pieces) {
            driver.reply(piece);
            driver.quiet();
        }
        const int readsBefore = driver.reads();
        ASSERT_TRUE(engine.startConsole("help"));
        runToIdle();
        EXPECT_EQ(consoleText(), c.shown) << c.name;
        EXPECT_EQ(driver.reads() - readsBefore, static_cast<int>(2 * c.pieces.size())) << c.name;
        engine.consoleText.fill('\0');
    }
    EXPECT_EQ(driver.writes().size(), 3u); // nothing re-sent
}

TEST_F(CommandEngineTest, ConsoleWithoutPromptEndsWhenTheBudgetIsSpent) {
    driver.reply("no prompt here");
    ASSERT_TRUE(engine.startConsole("help"));
    runToIdle();
    EXPECT_EQ(consoleText(), "no prompt here"); // shown once, no time-out text after it
    EXPECT_EQ(engine.consoleResult, DeviceResult::Ok);
    EXPECT_EQ(driver.reads(), kBudgetConsole + 1);
}

TEST_F(CommandEngineTest, ConsolePieceThatDoesNotFitIsDropped) {
    driver.reply(std::string(600, 'a'));
    driver.quiet();
    driver.reply(std::string(500, 'b') + ":->");
    ASSERT_TRUE(engine.startConsole("dump"));
    runToIdle();
    EXPECT_EQ(consoleText(), std::string(600, 'a'));
}

// The gateway ends a command at CR LF: a line end inside the typed text, whatever its form,
// becomes one blank, and those at its end go, so the text always goes out as one command.
TEST_F(CommandEngineTest, LineEndsInAConsoleTextBecomeBlanks) {
    struct Case {
        std::string typed;
        std::string sent;
    } cases[] = {
        {"pr 1", "pr 1\r\n"},       {"pr\r1", "pr 1\r\n"},    {"pr\n1", "pr 1\r\n"},
        {"pr\r\n1", "pr 1\r\n"},    {"pr\n\r1", "pr  1\r\n"}, {"ndomain 0\r\n", "ndomain 0\r\n"},
        {"a\r\rb\n\n", "a  b\r\n"},
    };
    for (const Case& c : cases) {
        driver.reply(":->");
        ASSERT_TRUE(engine.startConsole(c.typed));
        runToIdle();
        EXPECT_EQ(driver.writes().back(), c.sent);
    }
}

TEST_F(CommandEngineTest, LongConsoleLineIsCutToFitWithItsLineEnd) {
    driver.reply(":->");
    ASSERT_TRUE(engine.startConsole(std::string(2000, 'a')));
    runToIdle();
    ASSERT_EQ(driver.writes().size(), 1u);
    EXPECT_EQ(driver.writes()[0], std::string(997, 'a') + "\r\n");
    EXPECT_EQ(engine.consoleLine[999], '\0');
}

} // namespace
} // namespace korvex::device
