// Acceptance round trip through the simulated gateway, as a new user would do it on the Master
// List and Modbus Port pages: a Korvex-C map with structured, user-type and plain NVs, 400 data
// objects and three TCP device-map entries is sent (NVs, objects, port settings), then fetched
// into an empty map. Saved as documents, the two are the same but for the NV names, which the
// link does not carry. About 900 commands; the run where every reply ends by silence waits the
// 100 ms quiet poll after each, so it carries a smaller map of the same kinds of NVs and entries.
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

sim::DemoMapShape shapeOfRun() {
    if (!test::silenceRun()) return sim::roundTripShape();
    sim::DemoMapShape shape;
    shape.structuredInputs = {83};
    shape.userInputs = 1;
    shape.inputs = 3;
    shape.structuredOutputs = {83, 88, 158};
    shape.userOutputs = 1;
    shape.outputs = 5;
    return shape;
}

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

    const sim::DemoMapShape shape = shapeOfRun();
    const NetVarRanges allNVs{1, shape.inputs, 1, shape.outputs};
    const std::string lastNV = "NVO " + std::to_string(shape.outputs);
    Session sender(pty.link);
    int objects = 0;
    {
        std::lock_guard lock(sender.mapMutex);
        objects = sim::buildDemoMap(sender.map, shape);
    }
    if (!test::silenceRun()) ASSERT_EQ(objects, kObjectCount);
    ASSERT_GT(objects, 0);
    const std::string lastObject = "Object #" + std::to_string(objects);
    EXPECT_EQ(sender.actions().sendNetVars(), ActionOutcome::Started);
    EXPECT_EQ(sender.host.offeredNetVars.at(0), allNVs);
    ASSERT_TRUE(sender.waitForBox(Page::NVList, lastNV + " written ok.\n", kStepSeconds));
    EXPECT_EQ(sender.actions().sendObjects(), ActionOutcome::Started);
    EXPECT_EQ(sender.host.offeredObjects.at(0), (ObjectRange{1, objects}));
    ASSERT_TRUE(sender.waitForBox(Page::MasterList, lastObject + " written ok.\n", kStepSeconds));
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
    EXPECT_EQ(fetcher.host.offeredNetVars.at(0), allNVs);
    ASSERT_TRUE(fetcher.waitForBox(Page::NVList, lastNV + " read ok.\n", kStepSeconds));
    EXPECT_EQ(fetcher.actions().getObjects(), ActionOutcome::Started);
    EXPECT_EQ(fetcher.host.offeredObjects.at(0), (ObjectRange{1, objects}));
    ASSERT_TRUE(fetcher.waitForBox(Page::MasterList, lastObject + " read ok.\n", kStepSeconds));
    EXPECT_EQ(fetcher.actions().readPortSettings(), ActionOutcome::Started);
    ASSERT_TRUE(fetcher.waitForBox(Page::ModbusPort, "Done", kStepSeconds));
    EXPECT_EQ(fetcher.reporter.failuresReported(), 0);
    fetcher.loop.stop();

    {
        std::lock_guard lock(fetcher.mapMutex);
        EXPECT_TRUE(testing::checkLinks(fetcher.map));
        EXPECT_TRUE(allObjectsInDevice(fetcher.map));
        EXPECT_FALSE(anyHeaderNVNotInDevice(fetcher.map));
        EXPECT_EQ(fetcher.map.registerCount, objects);
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
