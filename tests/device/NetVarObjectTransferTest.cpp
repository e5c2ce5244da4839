// NV definitions, data objects and erase through the engine and the reporting pass, against the
// simulated gateway's console (no threads, fake clock): the command lines sent, the map after
// each transfer, the texts of the boxes and the refresh requests.
#include "DeviceTestSupport.h"
#include "formats/xml/ElementWriter.h"
#include "model/lists/ListBuilding.h"
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"

namespace korvex::device {
namespace {

using test::Harness;
using namespace korvex::testing;

std::vector<std::string> linesOf(std::initializer_list<const char*> lines) {
    return std::vector<std::string>(lines.begin(), lines.end());
}

// The gateway's NV store: outputs 1..3 and input 1 of the sample, plus what a test adds.
void gatewayNV(sim::GatewayConfig& config, bool input, int n, const char* snvt) {
    sim::ElementLine& nv = config.netVars[{input, n}];
    nv.kind = "nv";
    nv.set("snvt", snvt);
}

TEST(NetVarTransferTest, GetWalksTheInputsThenTheOutputs) {
    Harness h;
    h.driver.console.config() = sim::sampleConfig();
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startGetNetVars(1, 1, 1, 3));
    h.run();
    EXPECT_EQ(h.driver.lines(), linesOf({"nvitx 1", "nvotx 1", "nvotx 2", "nvotx 3"}));
    EXPECT_EQ(h.map.nvs[0].isInput, 1);
    EXPECT_EQ(h.map.nvs[0].snvt, 95);
    int headers = 0;
    for (int r = 0; r < h.map.nvCount; ++r) {
        if (h.map.nvs[r].isField) continue;
        ++headers;
        EXPECT_EQ(h.map.nvs[r].inDevice, 1) << r;
    }
    EXPECT_EQ(headers, 4);
    const std::string expected = "NVI 1 read ok.\nNVO 1 read ok.\nNVO 2 read ok.\nNVO 3 read ok.\n";
    EXPECT_EQ(h.sink.box(Page::NVList), expected);
    EXPECT_EQ(h.sink.box(Page::MasterList), expected);
    EXPECT_EQ(h.sink.refreshCount(Refresh::NVList), 1);
}

TEST(NetVarTransferTest, RangesDecideTheFirstCommand) {
    struct Case {
        int fi, li, fo, lo;
        std::vector<std::string> lines;
    } cases[] = {
        {0, 0, 2, 3, linesOf({"nvotx 2", "nvotx 3"})},            // no inputs: straight to the outputs
        {1, 1, 0, 0, linesOf({"nvitx 1"})},                       // no outputs: ends after the inputs
        {0, 0, 0, 0, {}},                                         // nothing wanted: nothing sent
        {1, 0, 1, 3, linesOf({"nvotx 1", "nvotx 2", "nvotx 3"})}, // a side ending before it starts
        {1, 0, 3, 1, {}},                                         // is left out (a gateway with none)
    };
    for (const Case& c : cases) {
        Harness h;
        h.driver.console.config() = sim::sampleConfig();
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(h.engine.startGetNetVars(c.fi, c.li, c.fo, c.lo));
        h.run();
        EXPECT_EQ(h.driver.lines(), c.lines) << c.fi << " " << c.fo;
        EXPECT_EQ(h.sink.box(Page::NVList).find("Error"), std::string::npos);
    }
}

TEST(NetVarTransferTest, GetStopsAtAGapWithTheReadersCode) {
    Harness h;
    gatewayNV(h.gateway(), false, 1, "105");
    gatewayNV(h.gateway(), false, 3, "105");
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startGetNetVars(0, 0, 1, 3));
    h.run();
    EXPECT_EQ(h.driver.lines(), linesOf({"nvotx 1", "nvotx 2"}));
    EXPECT_EQ(h.map.nvCount, 1); // what was read before the failure stays
    EXPECT_EQ(h.sink.box(Page::NVList), "NVO 1 read ok.\nNVO 2 Error 1.\n");
}

TEST(NetVarTransferTest, SendSkipsNumbersWithoutDefinitionsAndMarksTheRowsSent) {
    Harness h;
    addStandardNV(h.map, 95, true, 2, "in2");
    addStandardNV(h.map, 105, false, 1, "out1");
    const int structured = addStandardNV(h.map, 83, false, 4, "out4"); // SNVT with fields
    ASSERT_GT(h.map.nvCount, 3);
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startSendNetVars(1, 3, 1, 5));
    h.run();
    const std::vector<std::string> lines = h.driver.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("<nv nvi=\"2\" clear=\"1\"", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("<nv nvo=\"1\" clear=\"1\"", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2] + "\r\n", writeNVElement(h.map, structured, false));
    for (int r = 0; r < h.map.nvCount; ++r)
        EXPECT_EQ(h.map.nvs[r].inDevice, h.map.nvs[r].isField ? 0 : 1) << "row " << r;
    EXPECT_EQ(h.sink.box(Page::NVList), "NVI 2 written ok.\nNVO 1 written ok.\nNVO 4 written ok.\n");
    EXPECT_EQ(h.gateway().netVars.size(), 3u);
}

TEST(NetVarTransferTest, SendWithNothingInTheRangesSendsNothingAndSaysSo) {
    Harness h;
    addStandardNV(h.map, 105, false, 7, "out7");
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startSendNetVars(1, 5, 1, 5));
    EXPECT_FALSE(h.engine.busy());
    h.run();
    EXPECT_TRUE(h.driver.lines().empty());
    EXPECT_EQ(h.sink.box(Page::NVList), "Nothing to transfer in the chosen range.\n");
    EXPECT_EQ(h.reporter.failuresReported(), 0);
}

TEST(NetVarTransferTest, RowOfSizeZeroIsPassedOver) {
    Harness h;
    addUserNV(h.map, 4, false, 1, "user");
    h.map.nvs[0].size = 0; // no element can be written for it
    addStandardNV(h.map, 105, false, 2, "out2");
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startSendNetVars(0, 0, 1, 2));
    h.run();
    ASSERT_EQ(h.driver.lines().size(), 1u);
    EXPECT_EQ(h.sink.box(Page::NVList), "NVO 2 written ok.\n");
    EXPECT_EQ(h.map.nvs[0].inDevice, 0);
}

// A map with three objects tied to output NVs 1..3 and holding registers.
void buildThreeObjects(ObjectMap& map) {
    for (int fb = 1; fb <= 3; ++fb) addStandardNV(map, 105, false, fb, "out" + std::to_string(fb));
    ASSERT_EQ(masterListFromNVs(map), kOk);
    ASSERT_EQ(registerListFromMaster(map), kOk);
    ASSERT_EQ(map.registerCount, 3);
}

TEST(ObjectTransferTest, SendMarksObjectsAndTheirRegisterRows) {
    Harness h;
    buildThreeObjects(h.map);
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startSendObjects(1, 3));
    h.run();
    const std::vector<std::string> lines = h.driver.lines();
    ASSERT_EQ(lines.size(), 3u);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(lines[n - 1] + "\r\n", writeObjectElement(h.map, n));
        EXPECT_TRUE(h.map.object(n)->inDevice()) << n;
        EXPECT_EQ(h.map.registers[n - 1].inDevice, 1) << n;
    }
    EXPECT_FALSE(h.map.object(4)->inDevice());
    EXPECT_EQ(h.sink.box(Page::MasterList),
              "Object #1 written ok.\nObject #2 written ok.\nObject #3 written ok.\n");
    EXPECT_EQ(h.sink.refreshCount(Refresh::MasterList), 1);
    EXPECT_EQ(h.sink.refreshCount(Refresh::RegisterList), 1);
    EXPECT_EQ(h.gateway().objects.size(), 3u);
}

TEST(ObjectTransferTest, GetStoresObjectsWithRegisterRowsAndLinks) {
    Harness h;
    h.driver.console.config() = sim::sampleConfig();
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startGetNetVars(1, 1, 1, 3));
    h.run();
    ASSERT_TRUE(h.engine.startGetObjects(1, 4));
    h.run();
    EXPECT_EQ(h.sink.box(Page::MasterList).substr(h.sink.box(Page::MasterList).find("Object")),
              "Object #1 read ok.\nObject #2 read ok.\nObject #3 read ok.\nObject #4 read ok.\n");
    EXPECT_EQ(h.map.registerCount, 3);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(h.map.object(n)->hasRegister()) << n;
        EXPECT_NE(h.map.object(n)->nvRow, 0) << n;
        EXPECT_EQ(h.map.object(n)->syncFlags & 3u, 3u) << n;
    }
    EXPECT_TRUE(h.map.object(4)->isEmpty());
    EXPECT_TRUE(checkLinks(h.map));
}

TEST(ObjectTransferTest, ObjectsAboveTheDevicesLastCountAsInSyncOnlyAfterACompleteGet) {
    for (const bool fail : {false, true}) {
        Harness h;
        h.driver.console.config() = sim::sampleConfig();
        if (fail)
            h.driver.hook = [](const std::string& line) -> std::optional<std::string> {
                if (line == "pcx 3") return std::string();
                return std::nullopt;
            };
        ASSERT_TRUE(h.link.open());
        h.engine.deviceLastObject = 3;
        h.engine.deviceLastObjectKnown = true;
        ASSERT_TRUE(h.engine.startGetObjects(1, 3));
        h.run();
        EXPECT_EQ(h.map.object(4)->syncFlags & 3u, fail ? 0u : 3u) << fail;
        EXPECT_EQ(h.map.object(400)->syncFlags & 3u, fail ? 0u : 3u) << fail;
    }
}

TEST(ObjectTransferTest, EmptyOrInvalidRangesSendNothing) {
    Harness h;
    ASSERT_TRUE(h.link.open());
    EXPECT_TRUE(h.engine.startSendObjects(0, 0));
    EXPECT_TRUE(h.engine.startSendObjects(5, 4));
    EXPECT_TRUE(h.engine.startGetObjects(401, 402));
    EXPECT_FALSE(h.engine.busy());
    ASSERT_TRUE(h.engine.startGetObjects(399, 1000)); // the last is held to 400
    h.run();
    EXPECT_EQ(h.driver.lines(), linesOf({"pcx 399", "pcx 400"}));
}

TEST(EraseTest, OutcomesAndRefreshes) {
    struct Case {
        std::optional<std::string> reply;
        std::string box;
    } cases[] = {
        {std::nullopt, "Device cleared.\n"},
        {"Flash busy", "Flash busy.\n"},
        {std::string(), "Device timed out.\n"},
    };
    for (const Case& c : cases) {
        Harness h;
        h.driver.hook = [&](const std::string&) { return c.reply; };
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(h.engine.startClearConfig());
        h.run();
        EXPECT_EQ(h.driver.lines(), linesOf({"<clearallconfig>"}));
        EXPECT_EQ(h.sink.box(Page::MasterList), c.box);
        EXPECT_EQ(h.sink.refreshes(),
                  (std::vector<Refresh>{Refresh::MasterList, Refresh::NVList, Refresh::RegisterList}));
    }
}

// Every failure of the two transfer areas, as the boxes show it.
TEST(TransferFailureTest, TimeOutsRefusalsAndParseErrors) {
    struct Case {
        const char* name;
        std::function<bool(CommandEngine&)> start;
        std::string failingLine;
        std::string reply; // "" = silence
        Page page;
        std::string box;
    } cases[] = {
        {"nv get time-out", [](CommandEngine& e) { return e.startGetNetVars(1, 1, 1, 2); }, "nvotx 2", "",
         Page::NVList, "NVI 1 read ok.\nNVO 1 read ok.\nDevice timed out.\n"},
        {"nv get garbage", [](CommandEngine& e) { return e.startGetNetVars(1, 1, 0, 0); }, "nvitx 1",
         "\x01#%?garbled", Page::NVList, "NVI 1 Error 1.\n"},
        {"nv get bad value", [](CommandEngine& e) { return e.startGetNetVars(0, 0, 1, 1); }, "nvotx 1",
         "<nv nvo=\"1\" snvt=\"999\"/>", Page::MasterList, "NVO 1 Error 3.\n"},
        {"nv send refused", [](CommandEngine& e) { return e.startSendNetVars(1, 1, 1, 2); },
         "<nv nvo=\"2\" clear=\"1\" snvt=\"105\"/>", "Unable to add NV", Page::NVList,
         "NVI 1 written ok.\nNVO 1 written ok.\nNVO 2 Unable to add NV.\n"},
        {"nv send time-out", [](CommandEngine& e) { return e.startSendNetVars(1, 1, 0, 0); },
         "<nv nvi=\"1\" clear=\"1\" snvt=\"95\"/>", "", Page::NVList, "Device timed out.\n"},
        {"obj get parse", [](CommandEngine& e) { return e.startGetObjects(1, 2); }, "pcx 2", "Undef object",
         Page::MasterList, "Object #1 read ok.\nObj 2 Error 1.\n"},
        {"obj get time-out", [](CommandEngine& e) { return e.startGetObjects(1, 1); }, "pcx 1", "",
         Page::MasterList, "Device timed out.\n"},
        {"obj send refused", [](CommandEngine& e) { return e.startSendObjects(1, 2); },
         "<obj n=\"2\" clear=\"1\"/>", "Flash full\r\n:->", Page::MasterList,
         "Object #1 written ok.\nObj 2 Flash full.\n"},
        {"obj send time-out", [](CommandEngine& e) { return e.startSendObjects(1, 1); },
         "<obj n=\"1\" clear=\"1\"/>", "", Page::MasterList, "Device timed out.\n"},
    };
    for (const Case& c : cases) {
        Harness h;
        h.driver.console.config() = sim::sampleConfig();
        addStandardNV(h.map, 95, true, 1, "in1");
        addStandardNV(h.map, 105, false, 1, "out1");
        addStandardNV(h.map, 105, false, 2, "out2");
        h.driver.hook = [&](const std::string& line) -> std::optional<std::string> {
            if (line == c.failingLine) return c.reply;
            return std::nullopt;
        };
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(c.start(h.engine)) << c.name;
        h.run();
        EXPECT_EQ(h.sink.box(c.page), c.box) << c.name;
        EXPECT_EQ(h.reporter.failuresReported(), 1) << c.name;
    }
}

} // namespace
} // namespace korvex::device
