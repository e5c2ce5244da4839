// Comparing the map with the simulated gateway, and verifying each send, as a user would on the
// Master List, Modbus Port and LonWorks pages: a gateway that keeps what it is sent matches the
// map, and one that alters what it stores shows each change as exactly one line.
#include "ThreadedSession.h"
#include "model/FixedText.h"
#include "sim/DemoMap.h"

#include <cstring>

namespace korvex::device {
namespace {

using test::PtyGateway;
using test::Session;

constexpr int kShortStepSeconds = 30;

// Three inputs and three outputs (structured, user-type and plain) on Korvex-C with two TCP
// entries and a location.
void buildMap(Session& s) {
    sim::DemoMapShape shape;
    shape.structuredInputs = {83};
    shape.userInputs = 1;
    shape.inputs = 3;
    shape.userOutputs = 1;
    shape.outputs = 3;
    shape.tcpEntries = 2;
    std::lock_guard lock(s.mapMutex);
    ASSERT_GT(sim::buildDemoMap(s.map, shape), 0);
    setText(s.map.node.loc, "Plant room");
    fillFreeObjects(s.map); // the few named objects that are not in use are not sent
}

void sendEverything(Session& s) {
    EXPECT_EQ(s.actions().sendNetVars(), ActionOutcome::Started);
    ASSERT_TRUE(s.waitForBox(Page::NVList, "NVO 3 written ok.\n", kShortStepSeconds))
        << s.sink.box(Page::NVList);
    EXPECT_EQ(s.actions().sendObjects(), ActionOutcome::Started);
    ASSERT_TRUE(s.waitForBox(Page::MasterList, " written ok.\n", kShortStepSeconds))
        << s.sink.box(Page::MasterList);
    EXPECT_EQ(s.actions().writePortSettings(), ActionOutcome::Started);
    ASSERT_TRUE(s.waitForBox(Page::ModbusPort, "Done", kShortStepSeconds)) << s.sink.box(Page::ModbusPort);
    EXPECT_EQ(s.actions().setLocation(), ActionOutcome::Started);
    ASSERT_TRUE(s.waitForBox(Page::LonWorks, "Node Location written", kShortStepSeconds));
}

std::vector<unsigned char> mapBytes(Session& s) {
    std::lock_guard lock(s.mapMutex);
    std::vector<unsigned char> bytes(sizeof(ObjectMap));
    std::memcpy(bytes.data(), &s.map, sizeof(ObjectMap));
    return bytes;
}

std::string compareAll(Session& s) {
    EXPECT_EQ(s.actions().compareWithDevice(), ActionOutcome::Started);
    EXPECT_TRUE(s.waitForBox(Page::MasterList, ".\n", kShortStepSeconds));
    return s.sink.box(Page::MasterList);
}

TEST(CompareVerifyTest, FullSendThenCompareMatchesAndLeavesTheMapAsItWas) {
    PtyGateway pty;
    pty.start();
    Session s(pty.link);
    buildMap(s);
    sendEverything(s);
    const std::vector<unsigned char> before = mapBytes(s);
    EXPECT_EQ(compareAll(s), "Gateway matches the map.\n");
    EXPECT_TRUE(mapBytes(s) == before);
    EXPECT_EQ(s.reporter.failuresReported(), 0);
    const TransferProgress progress = s.engine.progress();
    EXPECT_EQ(progress.kind, TransferKind::Compare);
    EXPECT_GT(progress.total, 10);
    EXPECT_EQ(progress.done, progress.total);
}

TEST(CompareVerifyTest, EachStoredChangeGivesExactlyItsLine) {
    PtyGateway pty;
    for (const char* spec : {"nvo:3:snvt=95", "obj:3:modreg=209", "obj:4:moddata=FP", "obj:5:slave=7",
                             "mod:0:baud=38400", "mod:2:ipmap=1,9,1,10.0.0.9:502", "nd:0:loc=Other"})
        ASSERT_TRUE(pty.gateway.addAlteration(spec)) << spec;
    pty.start();
    Session s(pty.link);
    buildMap(s);
    sendEverything(s);
    EXPECT_EQ(compareAll(s), "NVO 3: type: SNVT_temp_p | SNVT_switch\n"
                             "object 3: register: HOLD 3 slave 1 | HOLD 209 slave 1\n"
                             "object 4: format: U16 | FP\n"
                             "object 5: register: HOLD 5 slave 1 | HOLD 5 slave 7\n"
                             "port: baud: 9600 | 38400\n"
                             "TCP device 2: entry: units 11-16 as 1, 192.168.1.101:502 | units 1-9 as 1, "
                             "10.0.0.9:502\n"
                             "node: location: Plant room | Other\n"
                             "7 differences.\n");
}

// A verified send marks in the device only what read back alike; the port settings that did not
// are not confirmed, and each failed verify counts as a failure.
TEST(CompareVerifyTest, VerifyAgainstAnAlteringGatewayFailsAndLeavesInSyncOff) {
    PtyGateway pty;
    ASSERT_TRUE(pty.gateway.addAlteration("obj:3:modreg=209"));
    ASSERT_TRUE(pty.gateway.addAlteration("mod:0:baud=38400"));
    pty.start();
    Session s(pty.link);
    buildMap(s);
    s.engine.verifyAfterSend = true;
    EXPECT_EQ(s.actions().sendNetVars(), ActionOutcome::Started);
    ASSERT_TRUE(s.waitForBox(Page::NVList, "Verified: 6 NVs match.\n", kShortStepSeconds))
        << s.sink.box(Page::NVList);
    // Where the NV transfer reports, its verify does: in the Master List box too.
    EXPECT_TRUE(s.waitForBox(Page::MasterList, "Verified: 6 NVs match.\n", kShortStepSeconds))
        << s.sink.box(Page::MasterList);
    EXPECT_EQ(s.actions().sendObjects(), ActionOutcome::Started);
    ASSERT_TRUE(s.waitForBox(Page::MasterList, "1 difference.\n", kShortStepSeconds))
        << s.sink.box(Page::MasterList);
    EXPECT_NE(s.sink.box(Page::MasterList).find("object 3: register: HOLD 3 slave 1 | HOLD 209 slave 1\n"),
              std::string::npos);
    EXPECT_EQ(s.actions().writePortSettings(), ActionOutcome::Started);
    ASSERT_TRUE(
        s.waitForBox(Page::ModbusPort, "port: baud: 9600 | 38400\n1 difference.\n", kShortStepSeconds))
        << s.sink.box(Page::ModbusPort);
    EXPECT_EQ(s.reporter.failuresReported(), 2);
    EXPECT_FALSE(s.sink.portInSync);
    std::lock_guard lock(s.mapMutex);
    EXPECT_FALSE(anyHeaderNVNotInDevice(s.map));
    EXPECT_FALSE(s.map.object(3)->inDevice());
    EXPECT_TRUE(s.map.object(2)->inDevice());
    EXPECT_FALSE(s.map.modbus.flags & PortFlag::ConfirmedInDevice);
}

} // namespace
} // namespace korvex::device
