// The progress row and Stop of the long transfers: the words of the bar and of the time left,
// which pages show which transfer, and a send of the sample map's objects to the simulated
// gateway stopped from the Master List as a user does it.
#include "ui/support/DevicePagesTestSupport.h"
#include "ui/support/ListPagesTestSupport.h"

#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/pages/regimport/RegImportPage.h"
#include "ui/pages/reglist/RegListPage.h"
#include "ui/widgets/TransferProgress.h"
#include "ui/window/TransferBars.h"

#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>

namespace korvex::ui::test {
namespace {

using device::TransferKind;

TEST(TransferProgressWords, BarTimeLeftAndPages) {
    const struct {
        qint64 elapsedMs;
        int doneSince;
        int left;
        const char* text;
    } estimates[] = {
        {900, 1, 10, ""}, // one item says nothing yet
        {2000, 2, 10, "About 10 s left"},
        {1500, 2, 1, "About 1 s left"}, // rounded up, never "0 s"
        {10000, 2, 30, "About 2 min 30 s left"},
        {5000, 4, 0, ""}, // done
    };
    for (const auto& e : estimates)
        EXPECT_EQ(timeLeftText(e.elapsedMs, e.doneSince, e.left), QString::fromLatin1(e.text)) << e.elapsedMs;

    EXPECT_EQ(transferText({TransferKind::SendObjects, 3, 10}), QStringLiteral("Sending objects: 3 of 10"));
    EXPECT_EQ(transferText({TransferKind::GetNetVars, 7, 240}), QStringLiteral("Reading NVs: 7 of 240"));
    EXPECT_EQ(transferText({TransferKind::Compare, 0, 1}),
              QStringLiteral("Reading the gateway: 0 done, 1 left"));
    EXPECT_EQ(transferText({TransferKind::None, 0, 0}), QString());

    const struct {
        Page page;
        TransferKind kind;
        bool shown;
    } pages[] = {
        {kNVListPage, TransferKind::SendNetVars, true},
        {kMasterListPage, TransferKind::SendNetVars, true},
        {kMasterListPage, TransferKind::VerifyNetVars, true},
        {kNVListPage, TransferKind::SendObjects, false},
        {kViewDataPage, TransferKind::ReadValues, true},
        {kMasterListPage, TransferKind::ReadValues, false},
        {kModbusPortPage, TransferKind::VerifyPort, false},
        {kMasterListPage, TransferKind::None, false},
    };
    for (const auto& p : pages)
        EXPECT_EQ(pageShows(p.page, p.kind), p.shown) << p.page << " " << static_cast<int>(p.kind);
}

// The sample register list made into NVs and objects, the NVs sent to the gateway.
void sampleMapWithNVsSent(SimTool& tool) {
    tool.prompter.files = {examplePath("ahu-registers.csv")};
    RegImportPage& import = tool.page<RegImportPage>(kRegImportPage);
    import.importAction()->trigger();
    clickHeading(import.grid(), 0);
    import.addButton()->click();
    runAction(tool, kRegListPage, kCreateNVsFromRegisters);
    runAction(tool, kRegListPage, kAssignObjectsFromRegisters);
    ASSERT_EQ(tool.map->nvCount, 13);
    GuiActionHost host(*tool.window, tool.window.get());
    tool.prompter.netVarRangeAnswers = {{RangeAnswer::All, {}}};
    EXPECT_EQ(tool.window->device().actions(host).sendNetVars(), device::ActionOutcome::Started);
    ASSERT_TRUE(tool.waitUntilIdle());
}

TEST(TransferProgressWindow, StopEndsASendOfTheSampleMapAfterTheObjectInFlight) {
    SimTool tool;
    showPage(tool, kRegImportPage);
    sampleMapWithNVsSent(tool);
    tool.gateway().setBaud(9600); // about 0.1 s an object
    tool.window->selectPage(kMasterListPage);
    MasterListPage& page = tool.page<MasterListPage>(kMasterListPage);
    TransferProgress& row = *page.transferProgress();
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{1, 13}}};
    runAction(tool, kMasterListPage, kSendObjects);
    ASSERT_TRUE(waitFor([&] { return !row.isHidden() && row.bar()->value() >= 4; }));
    EXPECT_TRUE(row.bar()->text().startsWith(QStringLiteral("Sending objects: ")))
        << row.bar()->text().toStdString();
    EXPECT_TRUE(row.timeLeft()->text().startsWith(QStringLiteral("About ")))
        << row.timeLeft()->text().toStdString();
    // Esc is no way to stop: only the button is.
    QTest::keyClick(tool.window.get(), Qt::Key_Escape);
    EXPECT_FALSE(tool.window->device().engine().stopRequested());
    QTest::mouseClick(row.stopButton(), Qt::LeftButton);
    EXPECT_FALSE(row.stopButton()->isEnabled());
    EXPECT_EQ(row.stopButton()->text(), QStringLiteral("Stopping…"));

    ASSERT_TRUE(waitFor([&] { return !tool.window->device().engine().busy() && row.isHidden(); }, 8000));
    tool.waitUntilIdle();
    const QStringList lines = page.statusText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    const QRegularExpressionMatch stopped =
        QRegularExpression(QStringLiteral("^Stopped after (\\d+) of 13 objects\\.$")).match(lines.last());
    ASSERT_TRUE(stopped.hasMatch()) << lines.last().toStdString();
    const int sent = stopped.captured(1).toInt();
    EXPECT_GE(sent, 4);
    EXPECT_LT(sent, 13);
    EXPECT_FALSE(tool.window->inSyncShown());
    int inDevice = 0;
    {
        std::lock_guard lock(tool.window->session().mutex());
        for (int n = 1; n <= 13; ++n) inDevice += tool.map->object(n)->inDevice() ? 1 : 0;
    }
    EXPECT_EQ(inDevice, sent);                  // what was acknowledged before the stop stays in the device
    EXPECT_TRUE(row.stopButton()->isEnabled()); // ready for the next transfer
}

} // namespace
} // namespace korvex::ui::test
