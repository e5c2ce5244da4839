// "Compare map with device" on the Master List against the simulated gateway, as a user runs it:
// a gateway that holds the map says so in the box, one that altered an item opens the
// differences window with exactly that line and saves it as the report korvex-cli prints, and a
// read that fails ends with its text and no window.
#include "ui/support/DevicePagesTestSupport.h"
#include "ui/support/ListPagesTestSupport.h"

#include "ui/dialogs/DifferencesWindow.h"
#include "ui/models/DifferencesModel.h"
#include "ui/pages/masterlist/MasterListPage.h"

#include <QProgressBar>
#include <QTemporaryDir>

namespace korvex::ui::test {
namespace {

constexpr int kWaitMs = 30000;

MasterListPage& masterPage(Tool& tool) {
    return tool.page<MasterListPage>(kMasterListPage);
}

// Two output NVs, each with its object and holding register, all in the gateway.
void sendTwoObjects(SimTool& tool) {
    addTwoOutputObjects(tool);
    sendWholeMap(tool, NetVarRanges{0, 0, 1, 2}, ObjectRange{1, 2});
}

// Runs the compare from the action list; true once the engine is idle and the bar gone. While
// it runs, progressShown (when given) is waited for on the bar.
bool compare(Tool& tool, const QString& progressShown = {}) {
    runAction(tool, kMasterListPage, kCompare);
    QProgressBar* bar = masterPage(tool).compareProgress();
    if (!progressShown.isEmpty()) {
        EXPECT_TRUE(waitFor([&] { return !bar->isHidden() && bar->text() == progressShown; }))
            << bar->text().toStdString();
    }
    const bool ended =
        waitFor([&] { return !tool.window->device().engine().busy() && bar->isHidden(); }, kWaitMs);
    waitFor([] { return false; }, 60); // the last reports of the pass reach the window
    return ended;
}

TEST(CompareWindow, MatchesThenShowsTheAlteredItemAndSavesTheReport) {
    SimTool tool;
    sendTwoObjects(tool);
    ASSERT_TRUE(tool.window->inSyncShown());
    ASSERT_TRUE(compare(tool));
    EXPECT_EQ(masterPage(tool).statusText(), QStringLiteral("Gateway matches the map.\n"));
    EXPECT_EQ(tool.window->differencesWindow(), nullptr);

    // What the gateway reports of object 2 from now on.
    ASSERT_TRUE(tool.gateway().addAlteration("obj:2:modreg=209"));
    ASSERT_TRUE(compare(tool));
    EXPECT_EQ(masterPage(tool).statusText(), QStringLiteral("1 difference.\n"));
    DifferencesWindow* window = tool.window->differencesWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->summaryShown(), QStringLiteral("1 difference."));
    EXPECT_EQ(headings(*window->model()), QStringList({"Place", "Field", "Map value", "Gateway value"}));
    ASSERT_EQ(window->model()->rowCount(), 1);
    EXPECT_EQ(window->model()->index(0, 0).data().toString(), QStringLiteral("object 2")); // no image column
    EXPECT_EQ(rowTexts(*window->model(), 0), QStringList({"register", "HOLD 2 slave 1", "HOLD 209 slave 1"}));
    EXPECT_TRUE(tool.window->inSyncShown()); // a compare changes no mark

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    tool.prompter.files = {path};
    QTest::mouseClick(window->saveButton(), Qt::LeftButton);
    EXPECT_EQ(fileBytes(path), QByteArray("object 2: register: HOLD 2 slave 1 | HOLD 209 slave 1\r\n"
                                          "1 difference.\r\n"));
    ASSERT_FALSE(tool.prompter.messages.empty());
    EXPECT_EQ(tool.prompter.messages.back().text, QStringLiteral("File saved."));
}

// A port that does not open, and one where nothing answers: the box says which, no window opens.
TEST(CompareWindow, AFailedReadEndsWithItsTextAndNoWindow) {
    SilentPort silent;
    const struct {
        QString port;
        QString progress; // on the bar while the gateway's counts are awaited
        const char* text;
    } cases[] = {{QStringLiteral("/dev/korvex-no-such-port"), {}, "Error opening COM port"},
                 {silent.path, QStringLiteral("Reading the gateway: 0 done, 1 left"), "Device timed out.\n"}};
    for (const auto& c : cases) {
        Tool tool(true);
        usePortNamed(tool, c.port);
        ASSERT_TRUE(compare(tool, c.progress));
        EXPECT_TRUE(waitFor([&] { return masterPage(tool).statusText() == QString::fromLatin1(c.text); }))
            << masterPage(tool).statusText().toStdString();
        EXPECT_EQ(tool.window->differencesWindow(), nullptr);
    }
}

} // namespace
} // namespace korvex::ui::test
