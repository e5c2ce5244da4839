// The Modbus TCP Device Editor: unit, port and address rules as tables, the domain warning, and
// Apply and Delete packing the map and raising tcpMapChanged.
#include "ui/support/EditorTestSupport.h"

#include "ui/dialogs/TcpMap.h"
#include "ui/dialogs/rules/TcpMapFields.h"

#include <QLabel>

namespace korvex::ui::test {
namespace {

TEST(TcpMapFields, UnitsAndPorts) {
    const struct {
        const char* text;
        int unit;
        int port;
    } cases[] = {{"", 1, 502},      {"0", 1, 502},         {"x", 1, 502},
                 {"-3", 1, 502},    {"12", 12, 12},        {"246", 246, 246},
                 {"300", 246, 300}, {"70000", 246, 65535}, {"8080", 246, 8080}};
    for (const auto& c : cases) {
        EXPECT_EQ(unitFrom(QString::fromLatin1(c.text)), c.unit) << c.text;
        EXPECT_EQ(tcpPortFrom(QString::fromLatin1(c.text)), c.port) << c.text;
    }
}

TEST(TcpMapFields, DottedAddressesOnly) {
    const struct {
        const char* text;
        std::optional<IpAddress> address;
    } cases[] = {
        {"192.168.1.10", IpAddress{192, 168, 1, 10}},
        {" 10.0.0.1 ", IpAddress{10, 0, 0, 1}},
        {"0.0.0.0", IpAddress{0, 0, 0, 0}},
        {"256.1.1.1", std::nullopt},
        {"1.2.3", std::nullopt},
        {"1.2.3.4.5", std::nullopt},
        {"1..2.3", std::nullopt},
        {"a.b.c.d", std::nullopt},
        {"1.2.3.4x", std::nullopt},
        {"0001.2.3.4", std::nullopt},
        {"-1.2.3.4", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseIpAddress(c.text), c.address) << c.text;
    EXPECT_EQ(ipAddressText({192, 168, 0, 7}), QStringLiteral("192.168.0.7"));
}

TEST(TcpMapFields, DifferentDomainWithoutGateway) {
    TcpSettings own;
    own.ipaddr = {192, 168, 1, 5};
    own.subnet = {255, 255, 255, 0};
    EXPECT_FALSE(unreachableWithoutGateway(own, {192, 168, 1, 200}));
    EXPECT_TRUE(unreachableWithoutGateway(own, {192, 168, 2, 200}));
    own.gateway = {192, 168, 1, 1};
    EXPECT_FALSE(unreachableWithoutGateway(own, {10, 0, 0, 1}));
}

struct TcpBench : EditorBench {
    TcpBench() {
        map->tcp.ipaddr = {192, 168, 1, 5};
        map->tcpConfirmed = true;
        map->tcpMap[0] = TcpDeviceMap{1, 10, 1, {192, 168, 1, 20}, 502};
    }
};

TEST(TcpMap, LimitsApplyWhenTheBoxesAreTaken) {
    TcpBench bench;
    TcpMap dialog(bench.context(), 2);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Modbus TCP Device Editor"));
    EXPECT_EQ(child<QLabel>(dialog, "heading")->text(), QStringLiteral("Modbus TCP Device Map Number 2"));
    typeInto(dialog, "firstUnit", QStringLiteral("20"));
    typeInto(dialog, "lastUnit", QStringLiteral("300"));
    typeInto(dialog, "mapTo", QStringLiteral("0"));
    typeInto(dialog, "ipAddress", QStringLiteral("192.168.1.30"));
    typeInto(dialog, "port", QString());
    EXPECT_EQ(textOfBox(dialog, "lastUnit"), QStringLiteral("246"));
    EXPECT_EQ(textOfBox(dialog, "mapTo"), QStringLiteral("1"));
    EXPECT_EQ(textOfBox(dialog, "port"), QStringLiteral("502"));
    click(dialog, "apply");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(bench.messages().isEmpty());
    EXPECT_EQ(bench.map->tcpMap[1], (TcpDeviceMap{20, 246, 1, {192, 168, 1, 30}, 502}));
    EXPECT_FALSE(bench.map->tcpConfirmed);
    EXPECT_EQ(bench.raised, (std::vector<std::pair<EditorRequest, int>>{{EditorRequest::TcpMapChanged, 2}}));
}

TEST(TcpMap, AddressesAreCheckedWhenLeft) {
    TcpBench bench;
    TcpMap dialog(bench.context(), 1);
    typeInto(dialog, "ipAddress", QStringLiteral("300.1.1.1"));
    EXPECT_EQ(bench.messages(), QStringList{"Invalid IP Address"});
    EXPECT_EQ(textOfBox(dialog, "ipAddress"), QStringLiteral("192.168.1.20"));
    typeInto(dialog, "ipAddress", QStringLiteral("10.1.1.1"));
    EXPECT_EQ(bench.messages().last(),
              QStringLiteral("IP address is on different domain,\nand you have no gateway "
                             "configured.\nYou will not be able to reach this device!"));
    EXPECT_EQ(dialog.copy().ipAddress, (IpAddress{10, 1, 1, 1})); // taken all the same
}

TEST(TcpMap, ApplyPacksAnEntryStoredBeyondTheUsedOnes) {
    TcpBench bench;
    TcpMap dialog(bench.context(), 5);
    typeInto(dialog, "firstUnit", QStringLiteral("11"));
    click(dialog, "apply");
    EXPECT_EQ(tcpMapEntriesInUse(bench.map->tcpMap), 2);
    // Normalised like every entry in use: units of 0 become 1, an empty address 192.168.0.1.
    EXPECT_EQ(bench.map->tcpMap[1], (TcpDeviceMap{11, 1, 1, {192, 168, 0, 1}, 1}));
    EXPECT_EQ(bench.map->tcpMap[4], TcpDeviceMap{});
}

TEST(TcpMap, DeleteEmptiesAndPacks) {
    {
        TcpBench bench;
        TcpMap dialog(bench.context(), 1);
        click(dialog, "delete");
        EXPECT_EQ(tcpMapEntriesInUse(bench.map->tcpMap), 0);
        EXPECT_EQ(bench.map->tcpMap[0], TcpDeviceMap{});
        EXPECT_EQ(bench.raised.size(), 1u);
    }
    {
        TcpBench bench;
        bench.map->tcpMap[1] = TcpDeviceMap{20, 30, 5, {192, 168, 1, 21}, 503};
        TcpMap dialog(bench.context(), 1);
        typeInto(dialog, "ipAddress", QStringLiteral("nonsense")); // Delete asks nothing of the boxes
        bench.prompter.messages.clear();
        click(dialog, "delete");
        EXPECT_TRUE(bench.messages().isEmpty());
        EXPECT_EQ(bench.map->tcpMap[0], (TcpDeviceMap{20, 30, 5, {192, 168, 1, 21}, 503}));
        EXPECT_EQ(bench.map->tcpMap[1], TcpDeviceMap{});
    }
}

TEST(TcpMap, CancelDiscards) {
    TcpBench bench;
    const auto before = bench.map->tcpMap;
    TcpMap dialog(bench.context(), 1);
    dialog.show();
    typeInto(dialog, "lastUnit", QStringLiteral("99"));
    dialog.close();
    EXPECT_EQ(bench.map->tcpMap, before);
    EXPECT_TRUE(bench.map->tcpConfirmed);
    EXPECT_TRUE(bench.raised.empty());
}

TEST(TcpMap, TheWindowsContextRedrawsTheMapAndDropsThePortSync) {
    Tool tool;
    tool.window->options().modicon = true;
    tool.window->session().setPortInSync(true);
    const EditorContext context = tool.window->editorContext();
    EXPECT_TRUE(context.modicon);
    EXPECT_EQ(context.mapMutex, &tool.window->session().mutex());
    EXPECT_EQ(context.modiconHint, &runModiconHint());
    TcpMap dialog(context, 1);
    typeInto(dialog, "firstUnit", QStringLiteral("3"));
    click(dialog, "apply");
    EXPECT_TRUE(waitFor([&] { return !tool.window->session().portInSync(); }));
    EXPECT_FALSE(tool.map->saveIndicators.portSettings);
    EXPECT_EQ(tool.map->tcpMap[0].firstUnit, 3);
}

} // namespace
} // namespace korvex::ui::test
