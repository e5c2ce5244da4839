// Undo and Redo across the pages, with the saved mark of the title following; a device fetch as
// one step and sends as none; the recovery file kept through a killed process and offered at
// the next start.
#include "ui/support/DevicePagesTestSupport.h"
#include "ui/support/ListPagesTestSupport.h"

#include "model/FixedText.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/pages/nvlist/NVListPage.h"
#include "ui/window/MapRecovery.h"
#include "ui/window/MapUndo.h"

#include <QAction>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

constexpr int kWaitMs = 30000;
const char kChildFolder[] = "KORVEX_TEST_RECOVERY_CHILD";

// The small map, taken as the map of an opened file.
void openSmallMap(Tool& tool) {
    buildSmallMap(tool);
    MapSession& session = tool.window->session();
    {
        std::lock_guard lock(session.mutex());
        markAllObjectsSaved(*tool.map);
        markDefinedNVsSaved(*tool.map);
    }
    session.markSaved();
    session.announceReplaced();
    EXPECT_TRUE(session.isSaved());
}

bool titleSaysUnsaved(Tool& tool) {
    return tool.window->windowTitle().endsWith(u'*');
}

QString objectName(Tool& tool, int n) {
    return tool.window->session().read(
        [n](const ObjectMap& map) { return QString::fromLatin1(map.object(n)->name.data()); });
}

int nvCount(Tool& tool) {
    return tool.window->session().read([](const ObjectMap& map) { return map.nvCount; });
}

void renameObjectInItsEditor(Tool& tool, int n, const QString& name) {
    tool.window->selectPage(kMasterListPage);
    auto& page = tool.page<MasterListPage>(kMasterListPage);
    page.selectObject(n);
    onNextDialog([&name](QDialog& dialog) {
        typeInto(dialog, "name", name);
        click(dialog, "apply");
    });
    page.openEditorFor(static_cast<int>(headings(*page.model()).indexOf(QStringLiteral("Object Name"))));
    QCoreApplication::processEvents(); // the editor's request is announced on the next turn
}

// The step of the last change closes once the event loop turns.
void settle(Tool& tool) {
    EXPECT_TRUE(waitFor([&] { return !tool.window->undo().history().stepOpen(); }));
}

void pressKeys(Tool& tool, QKeySequence keys) {
    const QKeyCombination key = keys[0];
    // As a user's key reaches the window that has the focus: the editor closed has given it back.
    tool.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(tool.window.get()));
    QTest::keyClick(tool.window.get(), key.key(), key.keyboardModifiers());
    QCoreApplication::processEvents();
}

TEST(Undo, EditsOnTwoPagesGoBackWithTheKeysAndTheTitleFollowsToSaved) {
    Tool tool;
    showPage(tool, kNVListPage);
    openSmallMap(tool);
    EXPECT_FALSE(tool.window->undo().undoAction()->isEnabled()) << "an opened map has no history";

    tool.page<NVListPage>(kNVListPage).appendButton()->click();
    settle(tool);
    renameObjectInItsEditor(tool, 1, QStringLiteral("Pump"));
    settle(tool);
    ASSERT_EQ(nvCount(tool), 4);
    ASSERT_EQ(objectName(tool, 1), QStringLiteral("Pump"));
    EXPECT_TRUE(titleSaysUnsaved(tool));

    pressKeys(tool, QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_NE(objectName(tool, 1), QStringLiteral("Pump"));
    EXPECT_EQ(nvCount(tool), 4);
    tool.window->selectPage(kConnectPage);
    pressKeys(tool, QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(nvCount(tool), 3);
    EXPECT_EQ(tool.page<NVListPage>(kNVListPage).model()->rowCount(), 3) << "the page redrew";
    EXPECT_FALSE(titleSaysUnsaved(tool)) << "back to the map as opened";
    EXPECT_TRUE(tool.window->session().isSaved());

    pressKeys(tool, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(nvCount(tool), 4);
    EXPECT_NE(objectName(tool, 1), QStringLiteral("Pump"));
    EXPECT_TRUE(titleSaysUnsaved(tool));
    EXPECT_TRUE(tool.window->undo().redoAction()->isEnabled());
}

TEST(Undo, SixtyEditsAreSixtyStepsAndAllOfThemGoBack) {
    Tool tool;
    openSmallMap(tool);
    auto& page = tool.page<NVListPage>(kNVListPage);
    for (int i = 0; i < 60; ++i) {
        page.appendButton()->click();
        settle(tool);
    }
    ASSERT_EQ(nvCount(tool), 63);
    EXPECT_EQ(tool.window->undo().history().undoSteps(), 60);
    int undone = 0;
    while (tool.window->undo().undo()) ++undone;
    EXPECT_EQ(undone, 60);
    EXPECT_EQ(nvCount(tool), 3);
    EXPECT_TRUE(tool.window->session().isSaved());
}

// Sends only mark rows as in the device: no step. A fetch that replaces the objects is one step,
// however many announcements it makes.
TEST(Undo, SendsAreNoStepAndAFetchOfTheObjectsIsOne) {
    SimTool tool;
    openSmallMap(tool);
    tool.prompter.netVarRangeAnswers = {{RangeAnswer::Ok, NetVarRanges{1, 1, 1, 2}}};
    runAction(tool, kMasterListPage, kSendNVs);
    ASSERT_TRUE(tool.waitUntilIdle(kWaitMs));
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{1, 3}}};
    runAction(tool, kMasterListPage, kSendObjects);
    ASSERT_TRUE(tool.waitUntilIdle(kWaitMs));
    ASSERT_TRUE(waitFor(
        [&] {
            return tool.window->session().read(
                [](const ObjectMap& map) { return map.object(3)->inDevice(); });
        },
        kWaitMs));
    MapUndo& undo = tool.window->undo();
    EXPECT_EQ(undo.history().undoSteps(), 0);

    renameObjectInItsEditor(tool, 2, QStringLiteral("Local"));
    settle(tool);
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{1, 3}}};
    runAction(tool, kMasterListPage, kGetObjects);
    ASSERT_TRUE(tool.waitUntilIdle(kWaitMs));
    ASSERT_TRUE(waitFor([&] { return !undo.history().stepOpen(); }, kWaitMs));
    EXPECT_NE(objectName(tool, 2), QStringLiteral("Local"));
    EXPECT_EQ(undo.history().undoSteps(), 2);
    ASSERT_TRUE(undo.undo());
    EXPECT_EQ(objectName(tool, 2), QStringLiteral("Local"));
}

// A transfer waiting on a gateway that does not answer: Undo is disabled and refused until the
// link gives up.
TEST(Undo, IsRefusedWhileTheDeviceLinkIsBusy) {
    SilentPort port;
    Tool tool(true);
    usePortNamed(tool, port.path);
    openSmallMap(tool);
    tool.page<NVListPage>(kNVListPage).appendButton()->click();
    settle(tool);
    MapUndo& undo = tool.window->undo();
    ASSERT_TRUE(undo.undoAction()->isEnabled());
    tool.prompter.netVarRangeAnswers = {{RangeAnswer::Ok, NetVarRanges{1, 1, 1, 2}}};
    runAction(tool, kMasterListPage, kSendNVs);
    ASSERT_TRUE(tool.window->device().engine().busy());
    EXPECT_TRUE(waitFor([&] { return !undo.undoAction()->isEnabled(); }));
    EXPECT_FALSE(undo.undo());
    EXPECT_EQ(nvCount(tool), 4);
    EXPECT_TRUE(waitFor([&] { return undo.undoAction()->isEnabled(); }, kWaitMs));
    EXPECT_TRUE(undo.undo());
    EXPECT_EQ(nvCount(tool), 3);
}

// Run as a child process by the test below: a window with unsaved work that waits for its
// recovery file to be written and then for the kill.
TEST(RecoveryChild, KeepsUnsavedWorkUntilKilled) {
    const QString folder = qEnvironmentVariable(kChildFolder);
    if (folder.isEmpty()) GTEST_SKIP() << "only run by RecoveryTest";
    Tool tool;
    tool.window->session().setFileName(QStringLiteral("/plant/boiler-house.xml"));
    tool.window->startRecovery(folder, 50);
    tool.window->session().setDeviceModel(kTcpDeviceModel); // not kept by the map file itself
    tool.window->session().edit(MapPart::Node, [](ObjectMap& map) { setText(map.node.loc, "Boiler house"); });
    ASSERT_TRUE(waitFor([&] { return QFile::exists(MapRecovery::mapPathIn(folder)); }));
    QFile ready(folder + QStringLiteral("/ready"));
    ASSERT_TRUE(ready.open(QIODevice::WriteOnly));
    ready.close();
    waitFor([] { return false; }, 60000);
}

TEST(Recovery, WorkOfAKilledProcessIsOfferedAndRestoredAsUnsaved) {
    app(); // the child is this program
    QTemporaryDir folder;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildFolder), folder.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=RecoveryChild.KeepsUnsavedWorkUntilKilled")});
    ASSERT_TRUE(waitFor([&] { return QFile::exists(folder.filePath(QStringLiteral("ready"))); }, kWaitMs))
        << child.readAll().toStdString();
    child.kill(); // SIGKILL: nothing of the window's own closing runs
    ASSERT_TRUE(child.waitForFinished(kWaitMs));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    ASSERT_TRUE(QFile::exists(MapRecovery::mapPathIn(folder.path())));

    struct Case {
        bool restore;
        QString fileName;
        bool filesLeft;
    };
    const QStringList paths{MapRecovery::mapPathIn(folder.path()), MapRecovery::namePathIn(folder.path())};
    const QByteArrayList kept{fileBytes(paths[0]), fileBytes(paths[1])};
    EXPECT_EQ(kept[1], "/plant/boiler-house.xml\n2");
    for (const Case& c :
         {Case{false, QString(), false}, Case{true, QStringLiteral("/plant/boiler-house.xml"), true}}) {
        for (int i = 0; i < 2; ++i) {
            QFile file(paths[i]);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(kept[i]);
        }
        Tool tool;
        tool.prompter.answers = {c.restore};
        tool.window->startRecovery(folder.path(), 60000);
        ASSERT_EQ(tool.prompter.messages.size(), 1u);
        EXPECT_EQ(tool.prompter.messages[0].text,
                  QStringLiteral("The program did not end normally last time; unsaved changes to "
                                 "boiler-house.xml were kept.\nClick OK to restore them, or Cancel to "
                                 "discard them."));
        const QString location = tool.window->session().read(
            [](const ObjectMap& map) { return QString::fromLatin1(map.node.loc.data()); });
        EXPECT_EQ(location == QStringLiteral("Boiler house"), c.restore) << location.toStdString();
        EXPECT_EQ(tool.window->session().fileName(), c.fileName);
        EXPECT_EQ(tool.window->session().deviceModel() == kTcpDeviceModel, c.restore);
        EXPECT_EQ(tool.window->session().isSaved(), !c.restore);
        EXPECT_EQ(QFile::exists(MapRecovery::mapPathIn(folder.path())), c.filesLeft);
        if (!c.restore) continue;
        // A save takes the recovery files away, as does closing with the changes discarded.
        for (bool save : {true, false}) {
            tool.window->session().edit(MapPart::Node, [](ObjectMap& map) { ++map.node.pid; });
            ASSERT_TRUE(tool.window->recovery().writeNow());
            ASSERT_TRUE(QFile::exists(paths[0]) && QFile::exists(paths[1]));
            if (save)
                tool.window->session().markSaved();
            else
                tool.window->close();
            EXPECT_FALSE(QFile::exists(paths[0]) || QFile::exists(paths[1])) << save;
        }
    }
}

} // namespace
} // namespace korvex::ui::test
