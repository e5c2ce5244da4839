// Modbus port settings and error counters through the engine and the reporting pass, against
// the simulated gateway's console: the steps of the read and the write for the model with
// Modbus TCP, the TCP map count rules, the in-sync marks and the Modbus Port box.
#include "DeviceTestSupport.h"
#include "formats/xml/ElementWriter.h"

namespace korvex::device {
namespace {

using test::Harness;

std::string usageReply(int mapCount) {
    return "Last Obj,NVI,NVO,Map: 0,0,0," + std::to_string(mapCount);
}

// A Korvex-C map with its IP settings and `entries` TCP device-map entries in use.
void tcpMap(ObjectMap& map, int entries) {
    map.deviceModel = kTcpDeviceModel;
    map.tcp.ipaddr = {10, 0, 0, 5};
    map.tcp.port = 502;
    for (int d = 0; d < entries; ++d)
        map.tcpMap[static_cast<std::size_t>(d)] = TcpDeviceMap{
            static_cast<uint8_t>(d + 1), static_cast<uint8_t>(d + 1), 1, {10, 0, 0, uint8_t(20 + d)}, 502};
}

int countStarting(const std::vector<std::string>& lines, std::string_view prefix) {
    int n = 0;
    for (const auto& line : lines)
        if (line.rfind(prefix, 0) == 0) ++n;
    return n;
}

TEST(PortSettingsTest, ReadForAModelWithoutTcpSendsOnlyMpx) {
    Harness h;
    h.gateway().portSettings.set("baud", "9600");
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startGetPortSettings());
    h.run();
    EXPECT_EQ(h.driver.lines(), std::vector<std::string>{"mpx"});
    EXPECT_EQ(h.map.modbus.baud, 9600);
    EXPECT_EQ(h.sink.box(Page::ModbusPort), "Done");
    EXPECT_TRUE(h.map.modbus.flags & PortFlag::ConfirmedInDevice);
    EXPECT_TRUE(h.map.tcpConfirmed);
    EXPECT_TRUE(h.sink.portInSync);
    EXPECT_EQ(h.sink.refreshCount(Refresh::PortPage), 1);
    EXPECT_EQ(h.sink.refreshCount(Refresh::TcpMap), 1);
}

TEST(PortSettingsTest, ReadForKorvexCTakesIpSettingsAndEveryMapEntryTheGatewayCounts) {
    Harness h;
    h.map.deviceModel = kTcpDeviceModel;
    h.gateway().ipSettings.set("ipaddr", "10.1.2.3");
    h.gateway().tcpMap[0] = "1,4,1,10.1.2.20:502";
    h.gateway().tcpMap[1] = "5,9,1,10.1.2.21:503";
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startGetPortSettings());
    h.run();
    EXPECT_EQ(h.driver.lines(), (std::vector<std::string>{"mpx", "usage", "sipcfg", "smap 1", "smap 2"}));
    EXPECT_EQ(h.map.tcp.ipaddr, (IpAddress{10, 1, 2, 3}));
    EXPECT_EQ(h.map.tcpMap[1], (TcpDeviceMap{5, 9, 1, {10, 1, 2, 21}, 503}));
    EXPECT_EQ(h.sink.box(Page::ModbusPort), "Done");
}

TEST(PortSettingsTest, WriteSendsEveryEntryTheGatewayOrTheMapNeeds) {
    struct Case {
        int gatewayCount;
        int mapElements;
    } cases[] = {{20, 20}, {2, 3}, {0, 3}, {45, 20}};
    for (const Case& c : cases) {
        Harness h;
        tcpMap(h.map, 3);
        h.driver.hook = [&](const std::string& line) -> std::optional<std::string> {
            if (line == "usage") return usageReply(c.gatewayCount);
            return std::nullopt;
        };
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(h.engine.startSendPortSettings());
        h.run();
        const std::vector<std::string> lines = h.driver.lines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines[0] + "\r\n", writePortElement(h.map));
        EXPECT_EQ(lines[1], "usage");
        EXPECT_EQ(lines[2] + "\r\n", writeTcpSettingsElement(h.map));
        EXPECT_EQ(countStarting(lines, "<mod dev="), c.mapElements) << c.gatewayCount;
        const auto empty = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.find("ipmap=\"0,0,0,0.0.0.0:0\"") != std::string::npos;
        });
        EXPECT_EQ(empty, c.mapElements - 3) << "entries past those in use go out empty";
        EXPECT_EQ(h.sink.box(Page::ModbusPort), "Done");
        EXPECT_EQ(h.gateway().tcpMapCount(), 3);
    }
}

TEST(PortSettingsTest, FailuresEndTheSequenceAndClearTheMark) {
    struct Case {
        const char* name;
        bool send;
        std::string failingLine;
        std::string reply;
        std::string box;
        std::size_t linesSent;
    } cases[] = {
        {"read time-out", false, "sipcfg", "", "Device timed out.\n", 3},
        {"read bad element", false, "smap 1", "<mod dev=\"99\"/>", "Parse error: 3.\n", 4},
        {"read not usage", false, "usage", "Busy", "Parse error: 1.\n", 2},
        {"write refused", true, "sipcfg-element", "Bad address", "Bad address\n", 3},
        {"write not usage", true, "usage", "Busy", "Parse error: 1.\n", 2},
        {"write time-out", true, "usage", "", "Device timed out.\n", 2},
    };
    for (const Case& c : cases) {
        Harness h;
        tcpMap(h.map, 1);
        h.map.modbus.flags |= PortFlag::ConfirmedInDevice;
        h.map.tcpConfirmed = true;
        h.sink.portInSync = true;
        h.driver.hook = [&](const std::string& line) -> std::optional<std::string> {
            const bool ip = line.rfind("<mod ipaddr=", 0) == 0;
            if (line == c.failingLine || (ip && c.failingLine == "sipcfg-element")) return c.reply;
            return std::nullopt;
        };
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(c.send ? h.engine.startSendPortSettings() : h.engine.startGetPortSettings());
        h.run();
        EXPECT_EQ(h.driver.lines().size(), c.linesSent) << c.name;
        EXPECT_EQ(h.sink.box(Page::ModbusPort), c.box) << c.name;
        EXPECT_FALSE(h.map.modbus.flags & PortFlag::ConfirmedInDevice) << c.name;
        EXPECT_FALSE(h.map.tcpConfirmed) << c.name;
        EXPECT_FALSE(h.sink.portInSync) << c.name;
    }
}

// The gateway's device map replaces the map's whole, and only once the read has completed; a
// read that fails on the way changes no TCP setting and confirms nothing.
TEST(PortSettingsTest, ReadTakesTheGatewaysDeviceMapWholeOnlyWhenItCompletes) {
    struct Case {
        const char* failingLine; // answered with silence; "" none
        int entriesAfter;
        std::string box;
    } cases[] = {{"", 2, "Done"}, {"smap 2", 5, "Device timed out.\n"}, {"sipcfg", 5, "Device timed out.\n"}};
    for (const Case& c : cases) {
        Harness h;
        tcpMap(h.map, 5);
        h.map.tcp = TcpSettings{};
        const auto local = h.map.tcpMap;
        h.gateway().ipSettings.set("ipaddr", "10.1.2.3");
        h.gateway().tcpMap[0] = "1,4,1,10.1.2.20:502";
        h.gateway().tcpMap[1] = "5,9,2,10.1.2.21:503";
        h.driver.hook = [&](const std::string& line) -> std::optional<std::string> {
            if (line == c.failingLine) return std::string();
            return std::nullopt;
        };
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(h.engine.startGetPortSettings());
        h.run();
        EXPECT_EQ(h.sink.box(Page::ModbusPort), c.box) << c.failingLine;
        EXPECT_EQ(tcpMapEntriesInUse(h.map.tcpMap), c.entriesAfter) << c.failingLine;
        if (c.entriesAfter == 2) {
            EXPECT_EQ(h.map.tcpMap[0], (TcpDeviceMap{1, 4, 1, {10, 1, 2, 20}, 502}));
            EXPECT_EQ(h.map.tcpMap[1], (TcpDeviceMap{5, 9, 2, {10, 1, 2, 21}, 503}));
            EXPECT_EQ(h.map.tcp.ipaddr, (IpAddress{10, 1, 2, 3}));
        } else {
            EXPECT_EQ(h.map.tcpMap, local) << c.failingLine;
            EXPECT_EQ(h.map.tcp, TcpSettings{}) << c.failingLine;
        }
        EXPECT_EQ(h.map.tcpConfirmed, c.entriesAfter == 2) << c.failingLine;
        EXPECT_EQ(h.sink.portInSync, c.entriesAfter == 2) << c.failingLine;
    }
}

// A map with an address of its own keeps its IP settings; any of the four unlike the gateway's
// is said in one line after "Done", and the TCP settings then do not count as confirmed.
TEST(PortSettingsTest, ReadKeepsTheMapsIpSettingsAndSaysWhenTheyDiffer) {
    struct Case {
        const char* attribute;
        const char* value;
    } cases[] = {{"", ""},
                 {"ipaddr", "10.0.0.6"},
                 {"subnet", "255.255.0.0"},
                 {"gateway", "10.0.0.1"},
                 {"port", "503"}};
    for (const Case& c : cases) {
        Harness h;
        tcpMap(h.map, 1);
        const TcpSettings local = h.map.tcp;
        sim::ElementLine& ip = h.gateway().ipSettings;
        ip.set("ipaddr", "10.0.0.5");
        ip.set("subnet", "255.255.255.0");
        if (*c.attribute) ip.set(c.attribute, c.value);
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(h.engine.startGetPortSettings());
        h.run();
        const bool differs = *c.attribute != '\0';
        EXPECT_EQ(h.sink.box(Page::ModbusPort),
                  differs ? "DoneThe gateway's TCP/IP settings differ from the map's; the map's were kept.\n"
                          : "Done")
            << c.attribute;
        EXPECT_EQ(h.map.tcp, local) << c.attribute;
        EXPECT_TRUE(h.map.modbus.flags & PortFlag::ConfirmedInDevice) << c.attribute;
        EXPECT_EQ(h.map.tcpConfirmed, !differs) << c.attribute;
        EXPECT_EQ(h.sink.portInSync, !differs) << c.attribute;
    }
}

TEST(ErrorInfoTest, RepliesAsTheBoxShowsThem) {
    struct Case {
        std::string reply;
        std::string box;
    } cases[] = {
        {"0 0", "No errors indicated.\n"},
        {"5 0", "Exception code: 5\n"},
        {"2 f0", "Exception code: 2 (Illegal data address)\nResponse timeouts detected.\n"},
        {"6 11",
         "Exception code: 6 (Slave device busy)\nResponse timeouts detected.\nCRC errors detected.\n"},
        {"0 3", "CRC errors detected.\n"},
        {"garbage", "Parse error: -2.\n"},
        {"", "Device timed out.\n"},
    };
    for (const Case& c : cases) {
        Harness h;
        h.driver.hook = [&](const std::string&) { return c.reply; };
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(h.engine.startGetErrorInfo(7));
        h.run();
        EXPECT_EQ(h.driver.lines(), std::vector<std::string>{"merr 7"});
        EXPECT_EQ(h.sink.box(Page::ModbusPort), c.box) << c.reply;
    }
}

TEST(ErrorInfoTest, AnUnreadableReplyKeepsTheLastNumbers) {
    Harness h;
    std::string reply = "4 1";
    h.driver.hook = [&](const std::string&) { return reply; };
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startGetErrorInfo(1));
    h.run();
    reply = "4";
    ASSERT_TRUE(h.engine.startGetErrorInfo(1));
    h.run();
    EXPECT_EQ(h.engine.exceptionCode, 4u);
    EXPECT_EQ(h.engine.errorBits, 1u);
}

} // namespace
} // namespace korvex::device
