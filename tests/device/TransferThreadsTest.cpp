// The transfers with every thread of the program running: the status loop thread applies the
// replies to the map while the test thread (in the window's place) runs the actions and reads
// the map under its mutex, over the real link to the simulated gateway. Few, small transfers:
// each command costs a 100 ms quiet poll. The sanitizer build runs these for data races.
#include "ThreadedSession.h"
#include "model/lists/ListBuilding.h"
#include "support/MapBuilders.h"

#include <atomic>

namespace korvex::device {
namespace {

using namespace korvex::testing;
using test::PtyGateway;
using test::Session;

// Reads the map the way the grids do, until stopped.
class MapReader {
public:
    explicit MapReader(Session& s)
        : thread_([this, &s] {
              while (!stop_.load()) {
                  {
                      std::lock_guard lock(s.mapMutex);
                      for (int n = 1; n <= kObjectCount; ++n) sum_ += s.map.object(n)->syncFlags;
                      for (int r = 0; r < s.map.nvCount; ++r) sum_ += s.map.nvs[r].inDevice;
                      sum_ += s.values.slot(1).value + s.engine.identity.domains[0].subnet;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(2));
              }
          }) {}
    ~MapReader() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    unsigned long sum_ = 0;
    std::thread thread_;
};

TEST(TransferThreadsTest, SendAndFetchWhileTheMapIsRead) {
    PtyGateway pty;
    pty.start();
    Session sender(pty.link);
    addStandardNV(sender.map, 105, true, 1, "in1");
    addStandardNV(sender.map, 105, false, 1, "out1");
    ASSERT_EQ(masterListFromNVs(sender.map), kOk);
    ASSERT_EQ(registerListFromMaster(sender.map), kOk);
    {
        MapReader reader(sender);
        EXPECT_EQ(sender.actions().sendNetVars(), ActionOutcome::Started);
        ASSERT_TRUE(sender.waitForBox(Page::NVList, "NVO 1 written ok.\n", 10));
        EXPECT_EQ(sender.actions().sendObjects(), ActionOutcome::Started);
        ASSERT_TRUE(sender.waitForBox(Page::MasterList, "Object #2 written ok.\n", 10));
        // The data value dialog's write, started by the status loop thread.
        {
            std::lock_guard lock(sender.mapMutex);
            sender.values.slot(2).value = 17;
        }
        raiseRequest(sender.engine.requests.valueWriteRequest, 2);
        ASSERT_TRUE(sender.waitForBox(Page::ViewData, "Object #2 written ok.\n", 10));
    }
    {
        std::lock_guard lock(sender.mapMutex);
        EXPECT_TRUE(sender.map.object(1)->inDevice());
        EXPECT_TRUE(sender.map.object(2)->inDevice());
    }
    sender.loop.stop();

    Session fetcher(pty.link);
    MapReader reader(fetcher);
    EXPECT_EQ(fetcher.actions().getNetVars(), ActionOutcome::Started);
    EXPECT_EQ(fetcher.host.offeredNetVars.at(0), (NetVarRanges{1, 1, 1, 1}));
    ASSERT_TRUE(fetcher.waitForBox(Page::NVList, "NVO 1 read ok.\n", 10));
    EXPECT_EQ(fetcher.actions().getObjects(), ActionOutcome::Started);
    EXPECT_EQ(fetcher.host.offeredObjects.at(0), (ObjectRange{1, 2}));
    ASSERT_TRUE(fetcher.waitForBox(Page::MasterList, "Object #2 read ok.\n", 10));
    EXPECT_EQ(fetcher.actions().readValues(), ActionOutcome::Started);
    ASSERT_TRUE(fetcher.waitForBox(Page::ViewData, "Object #2 read ok.\n", 10));
    std::lock_guard lock(fetcher.mapMutex);
    EXPECT_EQ(fetcher.map.registerCount, 2);
    EXPECT_EQ(fetcher.map.object(3)->syncFlags & 3u, 3u); // above the gateway's last object
    EXPECT_EQ(fetcher.values.slot(2).value, 17u);
}

TEST(TransferThreadsTest, NodeAndPortCommandsWithAFaultySecondStep) {
    PtyGateway pty(sim::sampleConfig());
    pty.gateway.addFault("nid:noreply");
    pty.start();
    Session s(pty.link);
    MapReader reader(s);
    EXPECT_EQ(s.actions().getNodeIds(), ActionOutcome::Started);
    ASSERT_TRUE(s.waitForBox(Page::LonWorks, "Program ID read\nDevice timeout\n", 10));
    EXPECT_EQ(s.actions().getDomains(), ActionOutcome::Started);
    EXPECT_EQ(s.actions().getLocation(), ActionOutcome::Busy);
    ASSERT_TRUE(s.waitForBox(Page::LonWorks, "Domain 1 read\n", 10));
    EXPECT_EQ(s.actions().getErrorInfo("3"), ActionOutcome::Started);
    ASSERT_TRUE(s.waitForBox(Page::ModbusPort, "No errors indicated.\n", 10));
    std::lock_guard lock(s.mapMutex);
    EXPECT_EQ(s.engine.identity.domains[0].subnet, 1);
    EXPECT_EQ(s.engine.identity.neuronId, (std::array<int, 6>{}));
}

// As a new user meets it: a Korvex-C map with five TCP devices reads the port settings of a
// gateway that holds two, and is left with exactly those two.
TEST(TransferThreadsTest, ReadDeviceLeavesExactlyTheGatewaysTcpDevices) {
    sim::GatewayConfig gateway;
    gateway.ipSettings.set("ipaddr", "10.0.0.5");
    gateway.tcpMap[0] = "1,4,1,10.0.0.20:502";
    gateway.tcpMap[1] = "5,9,2,10.0.0.21:503";
    PtyGateway pty(gateway);
    pty.start();
    Session s(pty.link);
    {
        std::lock_guard lock(s.mapMutex);
        s.map.deviceModel = kTcpDeviceModel;
        for (uint8_t d = 0; d < 5; ++d)
            s.map.tcpMap[d] = TcpDeviceMap{uint8_t(10 + d), uint8_t(10 + d), 1, {10, 0, 1, d}, 502};
    }
    EXPECT_EQ(s.actions().readPortSettings(), ActionOutcome::Started);
    ASSERT_TRUE(s.waitForBox(Page::ModbusPort, "Done", 10));
    std::lock_guard lock(s.mapMutex);
    EXPECT_EQ(tcpMapEntriesInUse(s.map.tcpMap), 2);
    EXPECT_EQ(s.map.tcpMap[0], (TcpDeviceMap{1, 4, 1, {10, 0, 0, 20}, 502}));
    EXPECT_EQ(s.map.tcpMap[1], (TcpDeviceMap{5, 9, 2, {10, 0, 0, 21}, 503}));
    EXPECT_EQ(s.map.tcp.ipaddr, (IpAddress{10, 0, 0, 5}));
    EXPECT_TRUE(s.map.tcpConfirmed);
}

// A gateway with no input NVs and three outputs: "Get NV definitions" brings the three outputs.
TEST(TransferThreadsTest, GetNetVarsFromAGatewayWithOnlyOutputs) {
    sim::GatewayConfig gateway;
    for (int n = 1; n <= 3; ++n) gateway.netVars[{false, n}] = sim::ElementLine{"nv", {{"snvt", "105"}}};
    PtyGateway pty(gateway);
    pty.start();
    Session s(pty.link);
    EXPECT_EQ(s.actions().getNetVars(), ActionOutcome::Started);
    ASSERT_TRUE(s.waitForBox(Page::NVList, "NVO 1 read ok.\nNVO 2 read ok.\nNVO 3 read ok.\n", 10))
        << s.sink.box(Page::NVList);
    EXPECT_EQ(pty.gateway.receivedLines(),
              (std::vector<std::string>{"usage", "nvotx 1", "nvotx 2", "nvotx 3"}));
    std::lock_guard lock(s.mapMutex);
    ASSERT_EQ(s.map.nvCount, 3);
    for (int r = 0; r < 3; ++r) EXPECT_EQ(s.map.nvs[r].isInput, 0) << r;
}

} // namespace
} // namespace korvex::device
