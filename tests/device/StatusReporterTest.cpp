// The reporting pass on its own: the order of the areas within one pass, set and append modes,
// clearing after reporting, the refresh requests and the texts of unexpected result values.
#include "DeviceTestSupport.h"
#include "model/FixedText.h"

#include <functional>

namespace korvex::device {
namespace {

using test::Harness;
using test::RecordingSink;

TEST(StatusReporterTest, AreasInTheirOrderWithinOnePass) {
    Harness h;
    CommandEngine& e = h.engine;
    e.nodeInfoDone = true;
    e.portGetDone = true;
    e.area(Area::NetVars).lastRead = 4;
    e.area(Area::NetVars).lastReadInput = true;
    setText(e.consoleText, "hello");
    e.consoleUpdated = true;
    e.area(Area::Objects).lastWritten = 2;
    e.area(Area::Values).lastRead = 9;
    raiseRequest(e.requests.registerListRefresh);
    raiseRequest(e.requests.masterListRefresh);
    raiseRequest(e.requests.valuesRefresh);
    EXPECT_TRUE(h.reporter.pass()); // console text shown: no pause

    std::vector<Page> pages;
    for (const auto& event : h.sink.events()) pages.push_back(event.page);
    EXPECT_EQ(pages, (std::vector<Page>{Page::ViewData, Page::MasterList, Page::Connect, Page::NVList,
                                        Page::MasterList, Page::ModbusPort, Page::LonWorks}));
    EXPECT_EQ(h.sink.box(Page::MasterList), "Object #2 written ok.\nNVI 4 read ok.\n");
    EXPECT_EQ(h.sink.refreshes(),
              (std::vector<Refresh>{Refresh::MasterList, Refresh::RegisterList, Refresh::Values,
                                    Refresh::PortPage, Refresh::TcpMap}));
    // Everything reported was cleared; the node page refresh raised now is carried out next.
    EXPECT_TRUE(h.reporter.pending());
    h.sink.clear();
    EXPECT_FALSE(h.reporter.pass());
    EXPECT_TRUE(h.sink.events().empty());
    EXPECT_EQ(h.sink.refreshes(), std::vector<Refresh>{Refresh::NodePage});
    EXPECT_FALSE(h.reporter.pending());
}

// The failure also confirms nothing: neither the port and TCP settings nor the node settings.
TEST(StatusReporterTest, AFailureInTheSamePassReplacesTheCompletion) {
    Harness h;
    h.map.deviceModel = kTcpDeviceModel;
    h.map.modbus.flags |= PortFlag::ConfirmedInDevice;
    h.map.tcpConfirmed = true;
    h.sink.nodeInSync = false;
    h.engine.portSendDone = true;
    h.engine.area(Area::Port).parseCode = 1;
    h.engine.area(Area::Port).result = DeviceResult::BadReply;
    h.engine.nodeInfoDone = true;
    h.engine.area(Area::Node).result = DeviceResult::Timeout;
    h.reporter.pass();
    EXPECT_EQ(h.sink.box(Page::ModbusPort), "Parse error: 1.\n");
    EXPECT_FALSE(h.map.modbus.flags & PortFlag::ConfirmedInDevice);
    EXPECT_FALSE(h.map.tcpConfirmed);
    EXPECT_FALSE(h.sink.portInSync);
    EXPECT_EQ(h.sink.box(Page::LonWorks), "Device timeout\n");
    EXPECT_FALSE(h.sink.nodeInSync);
    EXPECT_EQ(h.reporter.failuresReported(), 2);
}

// The window thread may start the next command between a handler's end and the reporting pass
// of the status loop: the ending is still reported, once, and the new command's after it.
TEST(StatusReporterTest, AnEndingIsReportedOnceWhenTheNextCommandStartsBeforeItsPass) {
    struct Case {
        Page page;
        std::function<bool(CommandEngine&)> start;
        std::string firstReply; // to the first command; "" is silence
        std::string first;      // what the first command's ending shows
        std::string second;     // what the second one's shows
    } cases[] = {
        {Page::NVList, [](CommandEngine& e) { return e.startGetNetVars(0, 0, 1, 1); }, "Busy",
         "NVO 1 Error 1.\n", "NVO 1 read ok.\n"},
        {Page::MasterList, [](CommandEngine& e) { return e.startSendObjects(1, 1); }, "Flash busy",
         "Obj 1 Flash busy.\n", "Object #1 written ok.\n"},
        {Page::MasterList, [](CommandEngine& e) { return e.startClearConfig(); }, "Flash busy",
         "Flash busy.\n", "Device cleared.\n"},
        {Page::ViewData, [](CommandEngine& e) { return e.startReadValues(1, 1); }, "Undef",
         "Object 1 not defined in device.\n", "Object #1 read ok.\n"},
        {Page::ModbusPort, [](CommandEngine& e) { return e.startGetPortSettings(); }, "",
         "Device timed out.\n", "Done"},
        {Page::ModbusPort, [](CommandEngine& e) { return e.startGetErrorInfo(1); }, "2 0",
         "Exception code: 2 (Illegal data address)\n", "No errors indicated.\n"},
        {Page::LonWorks, [](CommandEngine& e) { return e.startGetDomains(); }, "Subnet: x",
         "Unable to parse reply\n", "Domain 0 read\n|Domain 1 read\n"},
        {Page::LonWorks, [](CommandEngine& e) { return e.startGetNodeIds(); }, "", "Device timeout\n",
         "Program ID read\n|Neuron ID read\n"},
        {Page::LonWorks, [](CommandEngine& e) { return e.startGetNodeInfo(); }, "<nd pid=\"300\"/>",
         "Unable to parse reply\n", "Node Location read"},
    };
    for (const Case& c : cases) {
        Harness h;
        h.gateway() = sim::sampleConfig();
        int commands = 0;
        h.driver.hook = [&](const std::string&) -> std::optional<std::string> {
            if (commands++ == 0) return c.firstReply;
            return std::nullopt;
        };
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(c.start(h.engine));
        while (h.engine.busy()) { // the status loop's tick, up to the handler's end
            h.link.pump();
            h.engine.tick();
        }
        ASSERT_TRUE(c.start(h.engine)); // the window thread, before the pass
        h.reporter.pass();
        h.run();
        std::string shown;
        for (const auto& event : h.sink.events())
            if (event.page == c.page) shown += event.text + "|";
        EXPECT_EQ(shown, c.first + "|" + c.second + "|") << c.first;
    }
}

TEST(StatusReporterTest, UnexpectedResultValues) {
    Harness h;
    CommandEngine& e = h.engine;
    for (int a = 0; a < kAreaCount; ++a) e.area(static_cast<Area>(a)).result = static_cast<DeviceResult>(7);
    h.reporter.pass();
    EXPECT_EQ(h.sink.box(Page::NVList), "Unspecified error.\n");
    EXPECT_EQ(h.sink.box(Page::MasterList),
              "Unspecified error.\nUnspecified error.\nUnspecified error.\nUnspecified error.\n");
    EXPECT_EQ(h.sink.box(Page::ViewData), "Unspecified error.\n");
    EXPECT_EQ(h.sink.box(Page::ModbusPort), "Unspecified error.\n");
    EXPECT_EQ(h.sink.box(Page::LonWorks), "Unknown error\n");
    EXPECT_EQ(h.reporter.failuresReported(), 9);
}

TEST(StatusReporterTest, TcpMapChangedClearsThePortSettingsMarks) {
    Harness h;
    h.sink.portInSync = true;
    h.map.saveIndicators.portSettings = true;
    raiseRequest(h.engine.requests.tcpMapChanged);
    h.reporter.pass();
    EXPECT_EQ(h.sink.refreshes(), std::vector<Refresh>{Refresh::TcpMap});
    EXPECT_FALSE(h.sink.portInSync);
    EXPECT_FALSE(h.map.saveIndicators.portSettings);
}

TEST(StatusReporterTest, ErrorTextsKeepTheirLengthLimit) {
    Harness h;
    const std::string longText(150, 'x');
    h.driver.hook = [&](const std::string&) { return longText + "\r\n:->"; };
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startSendObjects(1, 1)); // reply max 100, two bytes of it CR LF
    h.run();
    EXPECT_EQ(h.sink.box(Page::MasterList), "Obj 1 " + std::string(98, 'x') + ".\n");
    ASSERT_TRUE(h.engine.startSendPortSettings()); // reply max 200: the buffer's 99 characters
    h.run();
    EXPECT_EQ(h.sink.box(Page::ModbusPort), std::string(99, 'x') + "\n");
}

} // namespace
} // namespace korvex::device
