// The window's "In Sync:" indicator over a whole configuration: it turns on only once the NVs,
// the data objects, the Modbus port settings and the node location are all in the simulated
// gateway, and off again at the next local edit.
#include "ui/support/DevicePagesTestSupport.h"

#include "model/lists/ListBuilding.h"
#include "support/MapBuilders.h"
#include "ui/pages/lonworks/LonWorksPage.h"
#include "ui/pages/modbusport/ModbusPortPage.h"
#include "ui/window/GuiActionHost.h"

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

} // namespace
} // namespace korvex::ui::test
