// Stopping a transfer: the command in flight ends as usual, nothing further is sent, the box
// says how far it got, and what was done stays done (and only that). Against the simulated
// gateway's console with the stop asked as the gateway takes the Nth command, and once over the
// pseudo-terminal with every thread running.
#include "DeviceTestSupport.h"
#include "ThreadedSession.h"
#include "model/lists/ListBuilding.h"
#include "support/MapBuilders.h"

#include <thread>

namespace korvex::device {
namespace {

using test::Harness;
using namespace korvex::testing;

constexpr int kItems = 10;

// Ten output NVs, each with its object and holding register.
void buildTenObjects(ObjectMap& map) {
    for (int fb = 1; fb <= kItems; ++fb) addStandardNV(map, 105, false, fb, "out" + std::to_string(fb));
    ASSERT_EQ(masterListFromNVs(map), kOk);
    ASSERT_EQ(registerListFromMaster(map), kOk);
}

// A gateway that holds the ten NVs and objects, each object's value its number and a half.
sim::GatewayConfig gatewayWithTheMap() {
    Harness h;
    buildTenObjects(h.map);
    EXPECT_TRUE(h.link.open());
    EXPECT_TRUE(h.engine.startSendNetVars(0, 0, 1, kItems));
    h.run();
    EXPECT_TRUE(h.engine.startSendObjects(1, kItems));
    h.run();
    for (int n = 1; n <= kItems; ++n) h.gateway().values[static_cast<std::size_t>(n)] = n + 0.5;
    return h.gateway();
}

int linesStartingWith(const std::vector<std::string>& lines, std::string_view prefix) {
    int count = 0;
    for (const std::string& line : lines) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

int objectsInDevice(const ObjectMap& map) {
    int count = 0;
    for (int n = 1; n <= kItems; ++n) count += map.object(n)->inDevice() ? 1 : 0;
    return count;
}

TEST(StopTransferTest, EndsAfterTheCommandInFlightAndSaysHowFarItGot) {
    const sim::GatewayConfig gateway = gatewayWithTheMap();
    struct Case {
        const char* name;
        bool withMap;
        bool verify;
        std::function<bool(CommandEngine&)> start;
        std::string_view command; // the lines of the transfer (empty: every line)
        int stopAt;               // the stop is asked as the gateway takes this line of them
        Page page;
        std::string ending;
        TransferProgress progress;
        int inDevice; // objects marked as in the device afterwards
    } cases[] = {
        {"send objects",
         true,
         false,
         [](CommandEngine& e) { return e.startSendObjects(1, kItems); },
         "<obj ",
         4,
         Page::MasterList,
         "Object #4 written ok.\nStopped after 4 of 10 objects.\n",
         {TransferKind::SendObjects, 4, 10},
         4},
        {"send verified",
         true,
         true,
         [](CommandEngine& e) { return e.startSendObjects(1, kItems); },
         "<obj ",
         4,
         Page::MasterList,
         "Object #4 written ok.\nStopped after 4 of 10 objects; none was verified, so none is marked as in "
         "the "
         "device.\n",
         {TransferKind::SendObjects, 4, 10},
         0},
        // Asked during the last send: the send is whole, but its verify never starts.
        {"last send verified",
         true,
         true,
         [](CommandEngine& e) { return e.startSendObjects(1, kItems); },
         "<obj ",
         10,
         Page::MasterList,
         "Object #10 written ok.\nStopped after 10 of 10 objects; none was verified, so none is marked as in "
         "the "
         "device.\n",
         {TransferKind::SendObjects, 10, 10},
         0},
        {"get NVs",
         false,
         false,
         [](CommandEngine& e) { return e.startGetNetVars(0, 0, 1, kItems); },
         "nvotx",
         3,
         Page::NVList,
         "NVO 3 read ok.\nStopped after 3 of 10 NVs; the list holds the NVs read so far.\n",
         {TransferKind::GetNetVars, 3, 10},
         0},
        {"read values",
         true,
         false,
         [](CommandEngine& e) { return e.startReadValues(1, kItems); },
         "pr ",
         2,
         Page::ViewData,
         "Object #2 read ok.\nStopped after 2 of 10 values.\n",
         {TransferKind::ReadValues, 2, 10},
         0},
        {"compare",
         true,
         false,
         [](CommandEngine& e) { return e.startCompare(ComparePart::Objects); },
         "",
         3,
         Page::MasterList,
         "Compare stopped after 3 of 11 items; nothing was compared.\n",
         {TransferKind::Compare, 3, 11},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        if (c.withMap) buildTenObjects(h.map);
        h.gateway() = gateway;
        h.engine.verifyAfterSend = c.verify;
        int taken = 0;
        h.driver.hook = [&](const std::string& line) -> std::optional<std::string> {
            if (line.rfind(c.command, 0) == 0 && ++taken == c.stopAt) h.engine.requestStop();
            return std::nullopt;
        };
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(c.start(h.engine));
        h.run();
        const std::vector<std::string> lines = h.driver.lines();
        EXPECT_EQ(linesStartingWith(lines, c.command), c.stopAt);
        EXPECT_EQ(linesStartingWith(lines, "pcx"), c.name == std::string("compare") ? c.stopAt - 1 : 0);
        const std::string box = h.sink.box(c.page);
        EXPECT_EQ(box.substr(box.size() - std::min(box.size(), c.ending.size())), c.ending);
        const TransferProgress p = h.engine.progress();
        EXPECT_EQ(p.kind, c.progress.kind);
        EXPECT_EQ(p.done, c.progress.done);
        EXPECT_EQ(p.total, c.progress.total);
        EXPECT_EQ(objectsInDevice(h.map), c.inDevice);
        EXPECT_EQ(h.reporter.failuresReported(), 1);
        if (!c.withMap) {
            EXPECT_EQ(h.map.nvCount, c.stopAt); // NVs of one row each
        }
        // The next transfer starts with the request cleared.
        h.driver.hook = {};
        ASSERT_TRUE(h.engine.startReadValues(1, kItems));
        h.run();
        EXPECT_EQ(h.engine.progress().done, kItems);
    }
}

// With every thread running: a stop asked from the window's thread while the status loop sends.
TEST(StopTransferTest, StopFromAnotherThreadOverThePseudoTerminal) {
    test::PtyGateway pty;
    pty.gateway.setBaud(9600); // about 0.1 s an object: the stop comes long before the end
    pty.start();
    test::Session s(pty.link);
    buildTenObjects(s.map);
    for (int r = 0; r < s.map.nvCount; ++r) s.map.nvs[r].inDevice = 1; // sent before
    ASSERT_EQ(s.actions().sendObjects(), ActionOutcome::Started);
    while (s.engine.progress().done < 2) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    s.engine.requestStop();
    s.host.waitUntil([&] { return !s.engine.busy(); }, 10, 10000);
    const TransferProgress p = s.engine.progress();
    ASSERT_LT(p.done, kItems);
    const std::string ending = "Stopped after " + std::to_string(p.done) + " of 10 objects.\n";
    ASSERT_TRUE(s.waitForBox(Page::MasterList, ending, 10));
    EXPECT_EQ(linesStartingWith(pty.gateway.receivedLines(), "<obj "), p.done);
    std::lock_guard lock(s.mapMutex);
    EXPECT_EQ(objectsInDevice(s.map), p.done);
}

} // namespace
} // namespace korvex::device
