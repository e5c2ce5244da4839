// The LonWorks page: the program-ID selector, location and domain field rules, the commissioned
// refusals, the page's indicator, and every button against the simulated gateway.
#include "ui/support/DevicePagesTestSupport.h"

#include "model/FixedText.h"
#include "ui/pages/lonworks/LonWorksFields.h"
#include "ui/pages/lonworks/LonWorksPage.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

TEST(LonWorksFields, ProgramIdSelector) {
    const struct {
        const char* text;
        int pid;
        bool reserved;
    } cases[] = {{"20", 1, true},     {"1", 1, true},   {"21", 21, false}, {"255", 255, false},
                 {"300", 255, false}, {"abc", 1, true}, {"", 1, true},     {" 42x", 42, false}};
    for (const auto& c : cases) {
        const SelectorValue v = programIdSelector(QString::fromLatin1(c.text));
        EXPECT_EQ(v.pid, c.pid) << c.text;
        EXPECT_EQ(v.reserved, c.reserved) << c.text;
    }
}

TEST(LonWorksFields, SubnetAndNodeAreHeldToTheirRanges) {
    const struct {
        const char* text;
        int subnet;
        int node;
    } cases[] = {{"0", 1, 1},       {"x", 1, 1},       {"-4", 1, 1},
                 {"100", 100, 100}, {"200", 200, 127}, {"999", 255, 127}};
    for (const auto& c : cases) {
        EXPECT_EQ(subnetFromText(QString::fromLatin1(c.text)), c.subnet) << c.text;
        EXPECT_EQ(nodeFromText(QString::fromLatin1(c.text)), c.node) << c.text;
    }
}

TEST(LonWorksFields, DomainIdGivesItsLength) {
    const struct {
        const char* text;
        int length;
        const char* shown;
    } cases[] = {
        {"a5", 1, "A5"},
        {"12:34", 0, ""}, // two bytes are no domain ID
        {"1:2:3", 3, "01:02:03"},
        {"de:ad:be:ef:00:1", 6, "DE:AD:BE:EF:00:01"},
        {"1ff:0x20:3", 3, "FF:20:03"}, // each byte held to 255
        {"1:2:3:4:5:6:7", 6, "01:02:03:04:05:06"},
        {"", 0, ""},
        {"zz", 0, ""},
    };
    for (const auto& c : cases) {
        device::DomainEntry entry;
        entry.id = {9, 9, 9, 9, 9, 9};
        entry.idLength = 6;
        takeDomainId(QString::fromLatin1(c.text), entry);
        EXPECT_EQ(entry.idLength, c.length) << c.text;
        EXPECT_EQ(domainIdText(entry), QString::fromLatin1(c.shown)) << c.text;
    }
}

TEST(LonWorksPage, StartsWithZeroIdsAndAnUnassignedLocation) {
    Tool tool;
    LonWorksPage& page = tool.page<LonWorksPage>(kLonWorksPage);
    EXPECT_EQ(page.programIdBox()->text(), QStringLiteral("00:00:00:00:00:00:00:00"));
    EXPECT_EQ(page.neuronIdBox()->text(), QStringLiteral("00:00:00:00:00:00"));
    EXPECT_EQ(page.locationBox()->text(), QStringLiteral("Unassigned"));
    EXPECT_EQ(page.locationBox()->maxLength(), 31);
    EXPECT_FALSE(page.indicatorOn());
}

TEST(LonWorksPage, SelectorBoxStoresTheLimitedValue) {
    Tool tool;
    LonWorksPage& page = tool.page<LonWorksPage>(kLonWorksPage);
    typeInto(page.selectorBox(), QStringLiteral("20"));
    EXPECT_EQ(tool.map->node.pid, 1);
    EXPECT_EQ(page.selectorBox()->text(), QStringLiteral("1"));
    EXPECT_EQ(tool.prompter.messageTexts(),
              QStringList{QStringLiteral("Program ID's 1-20 are reserved.\nKorvex LonMark ID is 1.")});
    tool.prompter.messages.clear();
    typeInto(page.selectorBox(), QStringLiteral("300"));
    EXPECT_EQ(tool.map->node.pid, 255);
    EXPECT_EQ(page.selectorBox()->text(), QStringLiteral("255"));
    EXPECT_TRUE(tool.prompter.messages.empty());
}

TEST(LonWorksPage, LocationChangeTakesTheNodeOutOfSync) {
    Tool tool;
    LonWorksPage& page = tool.page<LonWorksPage>(kLonWorksPage);
    page.showInSync(true);
    typeInto(page.locationBox(), QStringLiteral("Unassigned")); // the same text changes nothing
    EXPECT_TRUE(page.indicatorOn());
    typeInto(page.locationBox(), QStringLiteral("Plant room 2"));
    EXPECT_EQ(std::string(textOf(tool.map->node.loc)), "Plant room 2");
    EXPECT_FALSE(page.indicatorOn());
    EXPECT_FALSE(tool.window->session().nodeInSync());
}

TEST(LonWorksPage, DomainEditsRedrawTheRowAndClearTheUnusedMark) {
    Tool tool;
    LonWorksPage& page = tool.page<LonWorksPage>(kLonWorksPage);
    device::NodeIdentity& identity = tool.window->device().engine().identity;
    identity.domains[1] = device::DomainEntry{};
    identity.domains[1].vacant = true;
    page.refresh();
    EXPECT_EQ(page.subnetBox(1)->text(), QString());
    EXPECT_EQ(page.nodeBox(1)->text(), QString());

    typeInto(page.subnetBox(1), QStringLiteral("0"));
    EXPECT_FALSE(identity.domains[1].vacant);
    EXPECT_EQ(page.subnetBox(1)->text(), QStringLiteral("1"));
    EXPECT_EQ(page.nodeBox(1)->text(), QStringLiteral("0"));
    typeInto(page.nodeBox(1), QStringLiteral("500"));
    EXPECT_EQ(identity.domains[1].node, 127);
    typeInto(page.domainIdBox(1), QStringLiteral("c:d:e"));
    EXPECT_EQ(identity.domains[1].idLength, 3);
    EXPECT_EQ(page.lengthList(1)->currentText(), QStringLiteral("3"));
    EXPECT_EQ(page.domainIdBox(1)->text(), QStringLiteral("0C:0D:0E"));
    page.lengthList(1)->setCurrentIndex(1);
    emit page.lengthList(1)->activated(1);
    EXPECT_EQ(identity.domains[1].idLength, 1);
    EXPECT_EQ(page.domainIdBox(1)->text(), QStringLiteral("0C"));
}

TEST(LonWorksPage, CommissionedNodeRefusesDomainAndProgramIdChanges) {
    SimTool tool;
    LonWorksPage& page = tool.page<LonWorksPage>(kLonWorksPage);
    tool.window->options().commissioned = true;
    QTest::mouseClick(page.setDomainButton(0), Qt::LeftButton);
    QTest::mouseClick(page.alterButton(), Qt::LeftButton);
    EXPECT_EQ(
        tool.prompter.messageTexts(),
        (QStringList{QStringLiteral("Once node is commissioned,\nyou must make domain changes via your LNS "
                                    "tool.\nFailure to do so will result in a broken network."),
                     QStringLiteral("Once node is commissioned,\nyou cannot change program ID.")}));
    EXPECT_FALSE(tool.window->device().portOpen()); // the guards act before the port is touched

    // Reading the domains is still allowed.
    QTest::mouseClick(page.getDomainsButton(), Qt::LeftButton);
    EXPECT_TRUE(tool.waitForStatus(kLonWorksPage, QStringLiteral("Domain 0 read\nDomain 1 read\n")))
        << page.statusText().toStdString();
    tool.waitUntilIdle();
}

TEST(LonWorksPage, EveryButtonAgainstTheGateway) {
    SimTool tool;
    LonWorksPage& page = tool.page<LonWorksPage>(kLonWorksPage);
    const auto press = [&](QPushButton* button, const char* text) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(tool.waitForStatus(kLonWorksPage, QString::fromLatin1(text)))
            << text << " / " << page.statusText().toStdString();
        tool.waitUntilIdle();
    };

    typeInto(page.locationBox(), QStringLiteral("Boiler house"));
    press(page.setLocationButton(), "Node Location written");
    EXPECT_TRUE(page.indicatorOn());
    EXPECT_TRUE(tool.window->session().nodeInSync());
    EXPECT_EQ(tool.gateway().withConfig([](sim::GatewayConfig& c) { return c.location; }), "Boiler house");

    press(page.getIdsButton(), "Program ID read\nNeuron ID read\n");
    EXPECT_EQ(page.programIdBox()->text(), QStringLiteral("9F:FF:FF:05:00:0A:04:02"));
    EXPECT_EQ(page.neuronIdBox()->text(), QStringLiteral("00:04:A2:3C:51:07"));

    typeInto(page.subnetBox(1), QStringLiteral("12"));
    typeInto(page.nodeBox(1), QStringLiteral("34"));
    typeInto(page.domainIdBox(1), QStringLiteral("a5"));
    press(page.setDomainButton(1), "Domain 1 written\n");
    const std::vector<std::string> lines = tool.gateway().receivedLines();
    EXPECT_EQ(lines.back(), "ndomain 1 12 34 1 a5");

    press(page.getDomainsButton(), "Domain 0 read\nDomain 1 read\n");
    EXPECT_EQ(page.subnetBox(1)->text(), QStringLiteral("12"));
    EXPECT_EQ(page.domainIdBox(1)->text(), QStringLiteral("A5"));

    tool.gateway().withConfig([](sim::GatewayConfig& c) {
        c.location = "Roof";
        return 0;
    });
    press(page.getLocationButton(), "Node Location read");
    EXPECT_EQ(page.locationBox()->text(), QStringLiteral("Roof"));

    typeInto(page.selectorBox(), QStringLiteral("33"));
    tool.prompter.messages.clear();
    press(page.alterButton(), "Program ID alteration written");
    EXPECT_EQ(tool.prompter.messageTexts(),
              QStringList{QStringLiteral("LonWorks has been restarted with new Program ID.")});
    EXPECT_EQ(tool.gateway().withConfig([](sim::GatewayConfig& c) { return c.pid; }), 33);
}

} // namespace
} // namespace korvex::ui::test
