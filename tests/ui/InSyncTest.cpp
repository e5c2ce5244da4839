// The window's "In Sync:" indicator over a whole configuration: it turns on only once the NVs,
// the data objects, the Modbus port settings and the node location are all in the simulated
// gateway, and off again at the next local edit. With "Verify after sending" it follows what the
// gateway was found to hold.
#include "ui/support/DevicePagesTestSupport.h"

#include "model/lists/ListBuilding.h"
#include "support/MapBuilders.h"
#include "ui/pages/connect/ConnectPage.h"
#include "ui/pages/lonworks/LonWorksPage.h"
#include "ui/pages/modbusport/ModbusPortPage.h"
#include "ui/window/GuiActionHost.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

namespace korvex::ui::test {
namespace {

TEST(InSync, OnAfterAFullSendAndOffAtTheNextEdit) {
    SimTool tool;
    ObjectMap& map = *tool.map;
    for (int fb = 1; fb <= 2; ++fb)
        korvex::testing::addStandardNV(map, 105, false, fb, "out" + std::to_string(fb));
    ASSERT_EQ(masterListFromNVs(map), kOk);
    ASSERT_EQ(registerListFromMaster(map), kOk);

    GuiActionHost host(*tool.window, tool.window.get());
    const auto run = [&](device::ActionOutcome outcome) {
        EXPECT_EQ(outcome, device::ActionOutcome::Started);
        EXPECT_TRUE(tool.waitUntilIdle());
    };
    // A cleared gateway holds nothing in the free object slots either.
    run(tool.window->device().actions(host).eraseDevice());
    EXPECT_FALSE(tool.window->inSyncShown());
    tool.prompter.netVarRangeAnswers = {{RangeAnswer::Ok, NetVarRanges{0, 0, 1, 2}}};
    run(tool.window->device().actions(host).sendNetVars());
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{1, 2}}};
    run(tool.window->device().actions(host).sendObjects());
    EXPECT_FALSE(tool.window->inSyncShown());

    ModbusPortPage& port = tool.page<ModbusPortPage>(kModbusPortPage);
    QTest::mouseClick(port.writeButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.waitForStatus(kModbusPortPage, QStringLiteral("Done")));
    tool.waitUntilIdle();
    EXPECT_FALSE(tool.window->inSyncShown()); // the node settings are still to come

    LonWorksPage& node = tool.page<LonWorksPage>(kLonWorksPage);
    QTest::mouseClick(node.setLocationButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.waitForStatus(kLonWorksPage, QStringLiteral("Node Location written")));
    tool.waitUntilIdle();
    EXPECT_TRUE(tool.window->inSyncShown())
        << tool.page<ToolPage>(kMasterListPage).statusText().toStdString();

    typeInto(port.predelayBox(), QStringLiteral("75"));
    EXPECT_FALSE(tool.window->inSyncShown());
    QTest::mouseClick(port.writeButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.waitForStatus(kModbusPortPage, QStringLiteral("Done")));
    tool.waitUntilIdle();
    EXPECT_TRUE(tool.window->inSyncShown());
    typeInto(node.locationBox(), QStringLiteral("Elsewhere"));
    EXPECT_FALSE(tool.window->inSyncShown());
}

// A verified send marks in the device only what read back alike: a gateway that alters what it
// stores leaves "In Sync:" off and says what differs.
TEST(InSync, FollowsTheVerifyOfEachSend) {
    const struct {
        const char* alteration;
        bool inSync;
        const char* masterBoxEnd;
    } cases[] = {{nullptr, true, "Verified: 2 objects match.\n"},
                 {"obj:2:modreg=209", false,
                  "object 2: register: HOLD 2 slave 1 | HOLD 209 slave 1\n1 difference.\n"}};
    for (const auto& c : cases) {
        SimTool tool;
        if (c.alteration) {
            EXPECT_TRUE(tool.gateway().addAlteration(c.alteration));
        }
        tool.page<ConnectPage>(kConnectPage).verifyBox()->click();
        EXPECT_TRUE(tool.window->device().engine().verifyAfterSend.load());
        addTwoOutputObjects(tool);
        sendWholeMap(tool, NetVarRanges{0, 0, 1, 2}, ObjectRange{1, 2});
        const QString box = tool.page<ToolPage>(kMasterListPage).statusText();
        EXPECT_TRUE(box.endsWith(QString::fromLatin1(c.masterBoxEnd))) << box.toStdString();
        EXPECT_EQ(tool.window->inSyncShown(), c.inSync) << box.toStdString();
        // Remembered: the next test sends unverified.
        tool.page<ConnectPage>(kConnectPage).verifyBox()->click();
    }
}

} // namespace
} // namespace korvex::ui::test
