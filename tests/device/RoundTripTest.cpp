// Acceptance round trip through the simulated gateway, as a new user would do it on the Master
// List and Modbus Port pages: a Korvex-C map with structured, user-type and plain NVs, 400 data
// objects and three TCP device-map entries is sent (NVs, objects, port settings), then fetched
// into an empty map. Saved as documents, the two are the same but for the NV names, which the
// link does not carry. About 900 commands at one 100 ms quiet poll each: the one long test.
#include "ThreadedSession.h"
#include "formats/xml/MapDocument.h"
#include "sim/DemoMap.h"
#include "support/LinkCheck.h"

#include <regex>

namespace korvex::device {
namespace {

using test::PtyGateway;
using test::Session;

constexpr int kStepSeconds = 90;

// The document with the name attributes of the NV elements left out.
std::string documentWithoutNVNames(Session& s) {
    std::lock_guard lock(s.mapMutex);
    const std::string text = renderObjectMap(s.map).text;
    static const std::regex nvName(R"((<nv [^>]*) name="[^"]*")");
    return std::regex_replace(text, nvName, "$1");
}

TEST(RoundTripTest, SendThenFetchIntoAnEmptyMapGivesTheSameDocument) {
    if (std::getenv("KORVEX_SKIP_LONG_TESTS")) GTEST_SKIP() << "KORVEX_SKIP_LONG_TESTS is set";
    PtyGateway pty;
    pty.start();

    Session sender(pty.link);
    {
        std::lock_guard lock(sender.mapMutex);
        ASSERT_EQ(sim::buildDemoMap(sender.map, sim::roundTripShape()), kObjectCount);
    }
    EXPECT_EQ(sender.actions().sendNetVars(), ActionOutcome::Started);
    EXPECT_EQ(sender.host.offeredNetVars.at(0), (NetVarRanges{1, 8, 1, 36}));
    ASSERT_TRUE(sender.waitForBox(Page::NVList, "NVO 36 written ok.\n", kStepSeconds));
    EXPECT_EQ(sender.actions().sendObjects(), ActionOutcome::Started);
    EXPECT_EQ(sender.host.offeredObjects.at(0), (ObjectRange{1, kObjectCount}));
    ASSERT_TRUE(sender.waitForBox(Page::MasterList, "Object #400 written ok.\n", kStepSeconds));
    EXPECT_EQ(sender.actions().writePortSettings(), ActionOutcome::Started);
    ASSERT_TRUE(sender.waitForBox(Page::ModbusPort, "Done", kStepSeconds));
    EXPECT_EQ(sender.host.questions.size(), 0u);
    sender.loop.stop();
    EXPECT_EQ(sender.reporter.failuresReported(), 0);
    EXPECT_EQ(pty.gateway.withConfig([](sim::GatewayConfig& c) { return c.tcpMapCount(); }), 3);

    Session fetcher(pty.link);
    {
        std::lock_guard lock(fetcher.mapMutex);
        fetcher.map.deviceModel = kTcpDeviceModel;
    }
    EXPECT_EQ(fetcher.actions().getNetVars(), ActionOutcome::Started);
    EXPECT_EQ(fetcher.host.offeredNetVars.at(0), (NetVarRanges{1, 8, 1, 36}));
    ASSERT_TRUE(fetcher.waitForBox(Page::NVList, "NVO 36 read ok.\n", kStepSeconds));
    EXPECT_EQ(fetcher.actions().getObjects(), ActionOutcome::Started);
    EXPECT_EQ(fetcher.host.offeredObjects.at(0), (ObjectRange{1, kObjectCount}));
    ASSERT_TRUE(fetcher.waitForBox(Page::MasterList, "Object #400 read ok.\n", kStepSeconds));
    EXPECT_EQ(fetcher.actions().readPortSettings(), ActionOutcome::Started);
    ASSERT_TRUE(fetcher.waitForBox(Page::ModbusPort, "Done", kStepSeconds));
    EXPECT_EQ(fetcher.reporter.failuresReported(), 0);
    fetcher.loop.stop();

    {
        std::lock_guard lock(fetcher.mapMutex);
        EXPECT_TRUE(testing::checkLinks(fetcher.map));
        EXPECT_TRUE(allObjectsInDevice(fetcher.map));
        EXPECT_FALSE(anyHeaderNVNotInDevice(fetcher.map));
        EXPECT_EQ(fetcher.map.registerCount, kObjectCount);
        EXPECT_TRUE(fetcher.map.modbus.flags & PortFlag::ConfirmedInDevice);
    }
    const std::string sent = documentWithoutNVNames(sender);
    const std::string fetched = documentWithoutNVNames(fetcher);
    EXPECT_EQ(fetched, sent);
    EXPECT_NE(sent.find("unvt_info="), std::string::npos);
    EXPECT_NE(sent.find("ipmap=\"21,26,1,192.168.1.102:502\""), std::string::npos);
}

} // namespace
} // namespace korvex::device
