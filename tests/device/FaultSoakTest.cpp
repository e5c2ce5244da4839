// A long run of commands against the simulated gateway over a pseudo-terminal, every thread of
// the program running, with faults drawn from a seeded random mix: silence, replies later than
// the budget, noise, split and trickled replies, error texts, and the line hung up and plugged
// in again. Afterwards the engine must be idle, the map consistent, the link closed within a
// second, and no thread or descriptor left behind.
//
// The link runs ten times faster than the real one (its quiet poll waits 10 ms and its clock runs
// ten times as fast), so every budget takes a tenth of its length in wall time; the gateway's
// delays are set in wall time with that in mind. Run it alone with
//   test_device --gtest_filter='FaultSoak*'
// KORVEX_SOAK_COMMANDS (default 1000; 500 in the run where every reply ends by silence, which
// waits a quiet poll after each) and KORVEX_SOAK_SEED change the length and the mix.
#include "ScaledTime.h"
#include "ThreadedSession.h"
#include "model/FixedText.h"
#include "sim/DemoMap.h"
#include "support/LinkCheck.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <thread>

namespace korvex::device {
namespace {

using Clock = std::chrono::steady_clock;
using test::Session;

int entriesIn(const char* dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

// A joined thread can still be listed for a moment: the kernel lets the joiner go before it
// has taken the thread off the list. Waits up to a second for the count to come down to `want`.
int tasksSettlingTo(int want) {
    int n = entriesIn("/proc/self/task");
    for (int i = 0; i < 100 && n > want; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        n = entriesIn("/proc/self/task");
    }
    return n;
}

int envNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

// ---- the fault mix -----------------------------------------------------------------------------

enum FaultKind {
    kNone,
    kSilence,
    kLate,
    kGarbage,
    kSplit,
    kSplitCut,
    kErrorText,
    kTrickle,
    kSlowTrickle,
    kHangUp
};
constexpr const char* kFaultNames[] = {"none",      "silence", "late",    "garbage",      "split",
                                       "split-cut", "error",   "trickle", "slow-trickle", "hang-up"};
constexpr int kFaultKinds = 10;

// The fault for the commands of one operation after the first `after` of them. Times are wall
// time: 200 ms is the usual 20-poll budget at the fast clock.
sim::Fault makeFault(FaultKind kind, int after) {
    sim::Fault f;
    f.after = after;
    switch (kind) {
    case kNone:
        break;
    case kSilence:
        f.noReply = true;
        break;
    case kLate:
        f.delayMs = 260;
        break;
    case kGarbage:
        f.garbage = true;
        break;
    case kSplit:
        f.splitGapMs = 2;
        break;
    case kSplitCut:
        f.splitGapMs = 40;
        break;
    case kErrorText:
        f.errorText = "Parameter out of range";
        break;
    case kTrickle:
        f.trickleMs = 1;
        break;
    case kSlowTrickle:
        f.trickleMs = 12;
        break;
    case kHangUp:
        f.hangUpAfter = after;
        break;
    }
    return f;
}

// ---- the operations ----------------------------------------------------------------------------

using Start = std::function<bool(CommandEngine&, std::mt19937&)>;

int pick(std::mt19937& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}

struct Operation {
    const char* name;
    int weight;
    Start start;
};

// Cheap commands mostly; erasing (whose budget is 45 s) now and then.
std::vector<Operation> operations(int lastObject) {
    return {
        {"usage", 4, [](CommandEngine& e, std::mt19937&) { return e.startUsage(); }},
        {"console", 2,
         [](CommandEngine& e, std::mt19937& r) { return e.startConsole(pick(r, 0, 1) ? "help" : "ninfo"); }},
        {"get-objects", 5,
         [lastObject](CommandEngine& e, std::mt19937& r) {
             const int first = pick(r, 1, lastObject + 2);
             return e.startGetObjects(first, first + pick(r, 0, 3));
         }},
        {"send-objects", 4,
         [lastObject](CommandEngine& e, std::mt19937& r) {
             const int first = pick(r, 1, lastObject);
             return e.startSendObjects(first, first + pick(r, 0, 3));
         }},
        {"get-nvs", 4,
         [](CommandEngine& e, std::mt19937& r) {
             const int in = pick(r, 0, 4), out = pick(r, 0, 6);
             return e.startGetNetVars(in, in + pick(r, 0, 2), out, out + pick(r, 0, 2));
         }},
        {"send-nvs", 3,
         [](CommandEngine& e, std::mt19937& r) {
             const int in = pick(r, 0, 4), out = pick(r, 0, 6);
             return e.startSendNetVars(in, in + pick(r, 0, 2), out, out + pick(r, 0, 2));
         }},
        {"read-values", 4,
         [lastObject](CommandEngine& e, std::mt19937& r) {
             const int first = pick(r, 1, lastObject + 2);
             return e.startReadValues(first, first + pick(r, 0, 4));
         }},
        {"write-values", 3,
         [lastObject](CommandEngine& e, std::mt19937& r) {
             const int first = pick(r, 1, lastObject);
             return e.startWriteValues(first, first + pick(r, 0, 2));
         }},
        {"get-port", 2, [](CommandEngine& e, std::mt19937&) { return e.startGetPortSettings(); }},
        {"send-port", 1, [](CommandEngine& e, std::mt19937&) { return e.startSendPortSettings(); }},
        {"error-info", 2,
         [](CommandEngine& e, std::mt19937& r) { return e.startGetErrorInfo(pick(r, 0, 3)); }},
        {"get-domains", 2, [](CommandEngine& e, std::mt19937&) { return e.startGetDomains(); }},
        {"set-domain", 1, [](CommandEngine& e, std::mt19937& r) { return e.startSetDomain(pick(r, 0, 1)); }},
        {"get-ids", 2, [](CommandEngine& e, std::mt19937&) { return e.startGetNodeIds(); }},
        {"node-info", 2, [](CommandEngine& e, std::mt19937&) { return e.startGetNodeInfo(); }},
        {"set-location", 1, [](CommandEngine& e, std::mt19937&) { return e.startSetLocation(); }},
        {"alter-pid", 1, [](CommandEngine& e, std::mt19937&) { return e.startAlterProgramId(); }},
        {"erase", 1, [](CommandEngine& e, std::mt19937&) { return e.startClearConfig(); }},
    };
}

// ---- the rig -----------------------------------------------------------------------------------

// The gateway, the fast link with its pump thread, and the program's device session (engine,
// status loop thread, reporter) over it.
struct Rig {
    sim::SimulatedGateway gateway{sim::sampleConfig()};
    test::ScaledDriver driver{{10, 1}};
    SerialLink link{driver, driver.clock()};
    std::unique_ptr<Session> session;
    std::string path = ::testing::TempDir() + "korvex-soak-" + std::to_string(::getpid());
    int eraseMs = 30; // wall time; the link counts ten times as much

    void start() {
        std::string error;
        gateway.setEraseMs(eraseMs);
        ASSERT_TRUE(gateway.start(&error)) << error;
        ASSERT_TRUE(gateway.setLink(path, &error)) << error;
        test::useRunLinkMode(link);
        link.startPumpThread();
        link.setPortName(path);
        ASSERT_TRUE(link.open());
        session = std::make_unique<Session>(link);
    }

    // Waits for the engine to come back to idle; false after the time limit.
    bool waitIdle(std::chrono::seconds limit) {
        const auto deadline = Clock::now() + limit;
        while (session->engine.busy()) {
            if (Clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    // After a hang-up: the gateway back on a new line and the link open on it again.
    bool reconnect() {
        if (gateway.isHungUp() && !gateway.comeBack()) return false;
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (link.open()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // What closing the program does to the link: the status loop and the pump thread end and
    // the port closes. Returns how long it took.
    double close() {
        const auto start = Clock::now();
        session.reset();
        link.close();
        link.stopPumpThread();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        gateway.stop();
        ::unlink(path.c_str());
        return seconds;
    }
};

// A short session, so that what the libraries set up once per process is there before counting.
void warmUp() {
    Rig rig;
    rig.start();
    ASSERT_TRUE(rig.session->engine.startUsage());
    ASSERT_TRUE(rig.waitIdle(std::chrono::seconds(10)));
    rig.close();
}

// Sends the demo map to the gateway so that every fetch has something to bring back.
void loadGateway(Rig& rig, int& lastObject) {
    Session& s = *rig.session;
    sim::DemoMapShape shape;
    shape.structuredInputs = {83};
    shape.userInputs = 1;
    shape.inputs = 4;
    shape.structuredOutputs = {88};
    shape.userOutputs = 1;
    shape.outputs = 6;
    {
        std::lock_guard lock(s.mapMutex);
        lastObject = sim::buildDemoMap(s.map, shape);
        setText(s.map.node.loc, "Soak rig, cabinet 3");
    }
    ASSERT_GT(lastObject, 0);
    ASSERT_TRUE(s.engine.startSendNetVars(1, 4, 1, 6));
    ASSERT_TRUE(rig.waitIdle(std::chrono::seconds(20)));
    ASSERT_TRUE(s.engine.startSendObjects(1, lastObject));
    ASSERT_TRUE(rig.waitIdle(std::chrono::seconds(20)));
    ASSERT_TRUE(s.engine.startSendPortSettings());
    ASSERT_TRUE(rig.waitIdle(std::chrono::seconds(20)));
    std::lock_guard lock(s.mapMutex);
    ASSERT_TRUE(korvex::testing::checkLinks(s.map));
}

TEST(FaultSoak, ThousandCommandsWithFaultsLeaveTheEngineIdleTheMapConsistentAndNothingBehind) {
    warmUp();
    if (HasFatalFailure()) return;
    const int fdsBefore = entriesIn("/proc/self/fd");
    const int threadsBefore = entriesIn("/proc/self/task");

    const int commandGoal = envNumber("KORVEX_SOAK_COMMANDS", test::silenceRun() ? 500 : 1000);
    const unsigned seed = static_cast<unsigned>(envNumber("KORVEX_SOAK_SEED", 20240611));
    std::mt19937 rng(seed);
    const auto started = Clock::now();
    int faultCounts[kFaultKinds] = {};
    int operationsRun = 0, reconnects = 0, commands = 0;
    double closeSeconds = 0;
    {
        Rig rig;
        rig.start();
        ASSERT_FALSE(HasFatalFailure());
        int lastObject = 0;
        loadGateway(rig, lastObject);
        ASSERT_FALSE(HasFatalFailure());
        Session& s = *rig.session;
        const int fdsRunning = entriesIn("/proc/self/fd");
        const int commandsBefore = rig.gateway.commandCount();

        const std::vector<Operation> ops = operations(lastObject);
        std::vector<int> weights;
        for (const Operation& op : ops) weights.push_back(op.weight);
        std::discrete_distribution<int> chooseOp(weights.begin(), weights.end());
        // Half the operations run clean, the rest share the faults evenly.
        std::discrete_distribution<int> chooseFault({9, 1, 1, 1, 1, 1, 1, 1, 1, 1});

        while (commands < commandGoal) {
            const Operation& op = ops[static_cast<std::size_t>(chooseOp(rng))];
            auto fault = static_cast<FaultKind>(chooseFault(rng));
            // A silent erase would hold the soak for its whole 45 s budget.
            if (std::string_view(op.name) == "erase" && (fault == kSilence || fault == kLate)) fault = kNone;
            rig.gateway.clearFaults();
            if (fault != kNone) rig.gateway.setFault("*", makeFault(fault, pick(rng, 0, 2)));
            ++faultCounts[fault];
            const std::string what = std::string(op.name) + " with " + kFaultNames[fault] + " (operation " +
                                     std::to_string(operationsRun) + ")";

            ASSERT_TRUE(op.start(s.engine, rng)) << "engine busy before " << what;
            ASSERT_TRUE(rig.waitIdle(std::chrono::seconds(60))) << "engine still busy after " << what;
            ++operationsRun;
            {
                std::lock_guard lock(s.mapMutex);
                ASSERT_TRUE(korvex::testing::checkLinks(s.map)) << "after " << what;
            }
            if (rig.gateway.isHungUp() || !rig.link.isOpen()) {
                ASSERT_TRUE(rig.reconnect()) << "after " << what;
                ++reconnects;
                EXPECT_LE(entriesIn("/proc/self/fd"), fdsRunning) << "descriptors grow with reconnects";
            }
            commands = rig.gateway.commandCount() - commandsBefore;
        }
        // Once the gateway behaves again (and what it still had to say is out), so does the link.
        rig.gateway.clearFaults();
        EXPECT_FALSE(s.engine.busy());
        std::this_thread::sleep_for(std::chrono::seconds(1));
        ASSERT_TRUE(s.engine.startUsage());
        ASSERT_TRUE(rig.waitIdle(std::chrono::seconds(10)));
        EXPECT_EQ(s.engine.usageResult, DeviceResult::Ok);
        EXPECT_EQ(s.engine.deviceLastObject,
                  rig.gateway.withConfig([](sim::GatewayConfig& c) { return c.lastObject(); }));
        {
            std::lock_guard lock(s.mapMutex);
            EXPECT_TRUE(korvex::testing::checkLinks(s.map));
        }
        closeSeconds = rig.close();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    EXPECT_LT(closeSeconds, 1.0) << "closing the link took too long";
    EXPECT_EQ(entriesIn("/proc/self/fd"), fdsBefore) << "file descriptors left open";
    EXPECT_EQ(tasksSettlingTo(threadsBefore), threadsBefore) << "threads left running";

    std::string mix;
    for (int k = 0; k < kFaultKinds; ++k)
        mix += std::string(" ") + kFaultNames[k] + "=" + std::to_string(faultCounts[k]);
    std::printf("soak: seed %u, %d commands in %d operations, %d reconnects, %.1f s, closed in %.3f s;%s\n",
                seed, commands, operationsRun, reconnects, seconds, closeSeconds, mix.c_str());
}

} // namespace
} // namespace korvex::device
