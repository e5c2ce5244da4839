// The page actions with scripted answers: default ranges, the usage pre-queries, confirmations,
// the checks that refuse an action before the port is touched, the port and busy messages.
#include "DeviceTestSupport.h"
#include "device/actions/ActionTexts.h"
#include "model/lists/ListBuilding.h"
#include "support/MapBuilders.h"

namespace korvex::device {
namespace {

using test::Harness;
using test::ScriptedHost;
using namespace korvex::testing;

// A gateway holding objects 1..last with a register each.
void gatewayObjects(sim::GatewayConfig& config, int last) {
    for (int n = 1; n <= last; ++n) {
        sim::ElementLine& o = config.objects[n];
        o.kind = "obj";
        o.set("datatype", "U16");
        o.set("modreg", std::to_string(n));
        o.set("modtype", "4X");
        o.set("moddata", "U16");
    }
}

TEST(DeviceActionsTest, GetNetVarsAsksBeforeReplacingAndOffersTheDevicesCounts) {
    Harness h;
    h.driver.console.config() = sim::sampleConfig();
    addStandardNV(h.map, 105, false, 9, "mine");
    h.host.confirmAnswer = false;
    EXPECT_EQ(h.act(&DeviceActions::getNetVars), ActionOutcome::Cancelled);
    EXPECT_EQ(h.map.nvCount, 1);
    EXPECT_TRUE(h.driver.lines().empty());

    h.host.confirmAnswer = true;
    EXPECT_EQ(h.act(&DeviceActions::getNetVars), ActionOutcome::Started);
    EXPECT_EQ(h.host.questions.back(), action::kReplaceNVs);
    ASSERT_EQ(h.host.offeredNetVars.size(), 1u);
    EXPECT_EQ(h.host.offeredNetVars[0], (NetVarRanges{1, 1, 1, 3}));
    EXPECT_EQ(h.driver.lines(),
              (std::vector<std::string>{"usage", "nvitx 1", "nvotx 1", "nvotx 2", "nvotx 3"}));
    EXPECT_EQ(h.map.nvs[0].isInput, 1); // the old list went
}

TEST(DeviceActionsTest, NetVarRangeAnswers) {
    struct Case {
        ScriptedHost::RangeReply reply;
        std::size_t commands; // after the usage query
    } cases[] = {
        {{RangeAnswer::Cancel}, 0},
        {{RangeAnswer::Ok, std::nullopt, NetVarRanges{0, 5, 0, 5}}, 0}, // no direction wanted
        {{RangeAnswer::Ok, std::nullopt, NetVarRanges{4, 3, 7, 6}}, 0}, // ranges ending before they start
        {{RangeAnswer::Ok, std::nullopt, NetVarRanges{0, 0, 2, 3}}, 2},
        {{RangeAnswer::All}, 240 + 0}, // ALL: every number (the gateway's misses end it early)
    };
    for (const Case& c : cases) {
        Harness h;
        for (int n = 1; n <= 120; ++n) {
            for (bool input : {true, false}) {
                h.gateway().netVars[{input, n}].kind = "nv";
                h.gateway().netVars[{input, n}].set("snvt", "105");
            }
        }
        h.host.rangeReplies.push_back(c.reply);
        h.act(&DeviceActions::getNetVars);
        EXPECT_EQ(h.driver.lines().size(), 1 + c.commands);
    }
}

// A range that holds nothing sends nothing, and the page's box says so.
TEST(DeviceActionsTest, EmptyRangesSendNothingAndSaySo) {
    using Action = ActionOutcome (DeviceActions::*)();
    struct Case {
        const char* name;
        Action action;
        Page page;
        bool objectInUse;                   // object 5 has an NV (and that NV no function block)
        std::optional<ObjectRange> entered; // numbers typed into the range dialog
    } cases[] = {
        {"send objects, none in use", &DeviceActions::sendObjects, Page::MasterList, false, std::nullopt},
        {"send objects, blank boxes", &DeviceActions::sendObjects, Page::MasterList, true, ObjectRange{}},
        {"get objects, gateway empty", &DeviceActions::getObjects, Page::MasterList, false, std::nullopt},
        {"read values, none in use", &DeviceActions::readValues, Page::ViewData, false, std::nullopt},
        {"write values, blank boxes", &DeviceActions::writeValues, Page::ViewData, true, ObjectRange{}},
        {"get NVs, gateway empty", &DeviceActions::getNetVars, Page::NVList, false, std::nullopt},
        {"send NVs, none numbered", &DeviceActions::sendNetVars, Page::NVList, true, std::nullopt},
    };
    for (const Case& c : cases) {
        Harness h;
        if (c.objectInUse) {
            addStandardNV(h.map, 105, false, 0, "unnumbered");
            h.map.objects[4].flags = ObjectFlag::OutputNV;
        }
        if (c.entered) h.host.rangeReplies.push_back({RangeAnswer::Ok, c.entered});
        EXPECT_EQ(h.act(c.action), ActionOutcome::Started) << c.name;
        const std::vector<std::string> lines = h.driver.lines();
        EXPECT_TRUE(lines.empty() || lines == std::vector<std::string>{"usage"}) << c.name;
        EXPECT_EQ(h.sink.box(c.page), "Nothing to transfer in the chosen range.\n") << c.name;
        EXPECT_EQ(h.reporter.failuresReported(), 0) << c.name;
    }
}

TEST(DeviceActionsTest, GetObjectsAfterAUsageOf250) {
    Harness h;
    gatewayObjects(h.gateway(), 250);
    h.map.object(3)->flags = ObjectFlag::InUse;
    EXPECT_EQ(h.act(&DeviceActions::getObjects), ActionOutcome::Started);
    EXPECT_EQ(h.host.questions, std::vector<std::string>{std::string(action::kReplaceObjects)});
    EXPECT_EQ(h.host.offeredObjects, std::vector<ObjectRange>{(ObjectRange{1, 250})});
    EXPECT_EQ(h.driver.lines().size(), 251u);
    EXPECT_EQ(h.map.registerCount, 250);
    EXPECT_EQ(h.map.object(251)->syncFlags & 3u, 3u);
    EXPECT_EQ(h.map.object(400)->syncFlags & 3u, 3u);
    EXPECT_TRUE(h.sink.box(Page::MasterList).ends_with("Object #250 read ok.\n"));
}

TEST(DeviceActionsTest, GetObjectsWithoutAUsageReplyOffersEveryObject) {
    Harness h;
    h.driver.hook = [](const std::string& line) -> std::optional<std::string> {
        if (line == "usage") return std::string("Unknown command");
        return std::nullopt;
    };
    h.host.rangeReplies.push_back({RangeAnswer::Ok, ObjectRange{1, 2}});
    h.act(&DeviceActions::getObjects);
    EXPECT_EQ(h.host.offeredObjects, std::vector<ObjectRange>{(ObjectRange{1, 400})});
    EXPECT_FALSE(h.engine.deviceLastObjectKnown);
    EXPECT_EQ(h.map.object(3)->syncFlags, 0u);
}

TEST(DeviceActionsTest, SendObjectsNeedsTheirNetVarsInTheDevice) {
    Harness h;
    for (int fb = 1; fb <= 2; ++fb) addStandardNV(h.map, 105, false, fb, "o" + std::to_string(fb));
    addStandardNV(h.map, 83, false, 3, "s3"); // structured: its objects map field rows
    ASSERT_EQ(masterListFromNVs(h.map), kOk);
    const int objects = objectsInUseRange(h.map, false).high;
    ASSERT_GT(objects, 3);

    EXPECT_EQ(h.act(&DeviceActions::sendObjects), ActionOutcome::Refused);
    EXPECT_EQ(h.host.messages, std::vector<std::string>{std::string(action::kSendNVsFirst)});
    EXPECT_EQ(h.host.offeredObjects.back(), (ObjectRange{1, objects}));
    EXPECT_TRUE(h.driver.lines().empty());
    EXPECT_FALSE(h.sink.connected); // the port was not touched

    for (int r = 0; r < h.map.nvCount; ++r)
        if (!h.map.nvs[r].isField) h.map.nvs[r].inDevice = 1; // field rows follow their header
    EXPECT_EQ(h.act(&DeviceActions::sendObjects), ActionOutcome::Started);
    EXPECT_EQ(static_cast<int>(h.driver.lines().size()), objects);

    // An object in use without an NV in the range refuses; empty objects in it do not.
    h.map.object(objects + 2)->flags = ObjectFlag::InUse;
    h.host.rangeReplies.push_back({RangeAnswer::Ok, ObjectRange{1, objects + 1}});
    EXPECT_EQ(h.act(&DeviceActions::sendObjects), ActionOutcome::Started);
    h.host.rangeReplies.push_back({RangeAnswer::All});
    EXPECT_EQ(h.act(&DeviceActions::sendObjects), ActionOutcome::Refused);
}

TEST(DeviceActionsTest, EraseMarksEverythingOutOfTheDeviceBeforeTheReply) {
    Harness h;
    addStandardNV(h.map, 105, false, 1, "o1");
    ASSERT_EQ(masterListFromNVs(h.map), kOk);
    ASSERT_EQ(registerListFromMaster(h.map), kOk);
    h.map.nvs[0].inDevice = 1;
    h.map.registers[0].inDevice = 1;
    h.map.object(1)->syncFlags |= SyncFlag::InDevice;
    h.map.object(9)->datatype = ObjectDataType::FP; // not in use: reset
    h.sink.portInSync = true;
    h.sink.nodeInSync = true;

    h.host.confirmAnswer = false;
    EXPECT_EQ(h.actions().eraseDevice(), ActionOutcome::Cancelled);
    EXPECT_TRUE(h.driver.lines().empty());

    h.host.confirmAnswer = true;
    EXPECT_EQ(h.actions().eraseDevice(), ActionOutcome::Started);
    EXPECT_EQ(h.host.questions.back(), action::kEraseDevice);
    EXPECT_EQ(h.sink.box(Page::MasterList), action::kWaitingForErase);
    EXPECT_EQ(h.host.flushes, 1);
    EXPECT_FALSE(h.map.object(1)->inDevice());
    EXPECT_EQ(h.map.nvs[0].inDevice, 0);
    EXPECT_EQ(h.map.registers[0].inDevice, 0);
    EXPECT_EQ(*h.map.object(9), (DataObject{.syncFlags = SyncFlag::Configured | SyncFlag::InDevice}));
    EXPECT_FALSE(h.sink.portInSync);
    EXPECT_FALSE(h.sink.nodeInSync);
    h.run();
    EXPECT_EQ(h.sink.box(Page::MasterList), std::string(action::kWaitingForErase) + "Device cleared.\n");
}

TEST(DeviceActionsTest, WritePortSettingsChecksTcpSettingsAndAsksAboutAMasterWithoutSlaves) {
    struct Case {
        bool validIp;
        bool slaveOption;
        bool entry;
        bool answer;
        ActionOutcome outcome;
        std::size_t questions;
    } cases[] = {
        {false, false, true, true, ActionOutcome::Refused, 0},
        {true, false, false, false, ActionOutcome::Cancelled, 1},
        {true, false, false, true, ActionOutcome::Started, 1},
        {true, true, false, true, ActionOutcome::Started, 0},
        {true, false, true, true, ActionOutcome::Started, 0},
    };
    for (const Case& c : cases) {
        Harness h;
        h.map.deviceModel = kTcpDeviceModel;
        if (c.validIp) h.map.tcp.ipaddr = {10, 0, 0, 1};
        if (c.entry) h.map.tcpMap[0] = TcpDeviceMap{1, 2, 1, {10, 0, 0, 9}, 502};
        h.options.gatewaySlave = c.slaveOption;
        h.host.confirmAnswer = c.answer;
        EXPECT_EQ(h.act(&DeviceActions::writePortSettings), c.outcome);
        EXPECT_EQ(h.host.questions.size(), c.questions);
        if (!c.validIp) {
            EXPECT_EQ(h.host.messages, std::vector<std::string>{std::string(action::kInvalidTcp)});
        }
        if (c.outcome == ActionOutcome::Started) {
            EXPECT_EQ(h.sink.box(Page::ModbusPort), "Done");
        } else {
            EXPECT_TRUE(h.driver.lines().empty());
        }
    }
    Harness plain; // a model without TCP is not checked
    EXPECT_EQ(plain.act(&DeviceActions::writePortSettings), ActionOutcome::Started);
    EXPECT_EQ(plain.driver.lines().size(), 1u);
}

TEST(DeviceActionsTest, CommissionedNodeGuards) {
    Harness h;
    h.options.commissioned = true;
    EXPECT_EQ(h.act(&DeviceActions::getDomains), ActionOutcome::Started);
    EXPECT_EQ(h.actions().setDomain(0), ActionOutcome::Refused);
    EXPECT_EQ(h.act(&DeviceActions::alterProgramId), ActionOutcome::Refused);
    EXPECT_EQ(h.host.messages, (std::vector<std::string>{std::string(action::kCommissionedDomain),
                                                         std::string(action::kCommissionedProgramId)}));
    EXPECT_EQ(h.driver.lines(), (std::vector<std::string>{"ndomain 0", "ndomain 1"}));

    h.options.commissioned = false;
    EXPECT_EQ(h.act(&DeviceActions::alterProgramId), ActionOutcome::Started);
    EXPECT_EQ(h.host.messages.back(), action::kProgramIdRestarted);
    EXPECT_EQ(h.host.icons.back(), MessageIcon::Error);
}

TEST(DeviceActionsTest, PortFailureAndBusyEngine) {
    Harness h;
    h.driver.refuseOpen = true;
    EXPECT_EQ(h.act(&DeviceActions::readPortSettings), ActionOutcome::PortFailed);
    EXPECT_EQ(h.sink.box(Page::ModbusPort), "Error opening COM port");
    EXPECT_FALSE(h.sink.connected);

    h.driver.refuseOpen = false;
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startUsage());
    EXPECT_EQ(h.actions().getLocation(), ActionOutcome::Busy);
    EXPECT_EQ(h.sink.box(Page::LonWorks), "COM port already busy.");
    EXPECT_TRUE(h.sink.connected);
    h.run();
}

TEST(DeviceActionsTest, ValuesUseTheObjectsInUseAndFreshFlagsStartOver) {
    Harness h;
    h.map.object(4)->flags = ObjectFlag::InUse;
    h.map.object(6)->flags = ObjectFlag::OutputNV;
    h.values.slot(300).fresh = true;
    h.host.rangeReplies.push_back({RangeAnswer::Cancel});
    EXPECT_EQ(h.act(&DeviceActions::readValues), ActionOutcome::Cancelled);
    EXPECT_EQ(h.host.offeredObjects.back(), (ObjectRange{4, 6}));
    EXPECT_TRUE(h.values.slot(300).fresh);
    EXPECT_EQ(h.act(&DeviceActions::readValues), ActionOutcome::Started);
    EXPECT_FALSE(h.values.slot(300).fresh);
    EXPECT_EQ(h.driver.lines(), std::vector<std::string>{"pr 4"}); // the gateway has no object 4
}

TEST(DeviceActionsTest, ErrorInfoSlaveField) {
    for (const auto& [field, line] : std::vector<std::pair<std::string, std::string>>{
             {"17", "merr 17"}, {" 5x", "merr 5"}, {"abc", "merr 1"}, {"", "merr 1"}}) {
        Harness h;
        EXPECT_EQ(h.actions().getErrorInfo(field), ActionOutcome::Started);
        h.run();
        EXPECT_EQ(h.driver.lines(), std::vector<std::string>{line}) << field;
    }
}

} // namespace
} // namespace korvex::device
