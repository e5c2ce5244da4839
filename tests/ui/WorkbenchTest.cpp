// What the window keeps between runs (Connect choices, geometry, folders, console history,
// recent maps), the files it is handed without a dialog (command line, drops) and the terminal
// line's keys.
#include "ui/support/UiTestSupport.h"

#include "ui/pages/ImportPage.h"
#include "ui/pages/connect/ConnectPage.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/widgets/CommandHistory.h"
#include "ui/widgets/PortComboBox.h"
#include "ui/window/FileOpening.h"
#include "ui/window/StoredOptions.h"
#include "ui/window/UiTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

namespace stored = window::stored;

QStringList menuTexts(QMenu& menu) {
    QStringList texts;
    for (QAction* a : menu.actions()) texts << a->text();
    return texts;
}

TEST(StoredSettings, ConnectChoicesAndGeometryComeBackInTheNextWindow) {
    QByteArray geometry;
    {
        Tool first;
        ConnectPage& page = first.page<ConnectPage>(kConnectPage);
        page.modelList()->setCurrentIndex(2);
        page.portList()->setEditText(QStringLiteral("/dev/ttyUSB7"));
        emit page.portList()->choiceMade();
        page.commissionedBox()->click();
        page.modiconBox()->setChecked(true);
        first.window->setGeometry(20, 30, 700, 450);
        first.window->close();
        geometry = first.window->saveGeometry();
    }
    Tool next(false, true);
    ConnectPage& page = next.page<ConnectPage>(kConnectPage);
    EXPECT_EQ(page.modelList()->currentIndex(), 2);
    EXPECT_EQ(next.window->deviceModel(), 2);
    EXPECT_EQ(page.portList()->currentText(), QStringLiteral("/dev/ttyUSB7"));
    EXPECT_EQ(next.window->device().portName(), QStringLiteral("/dev/ttyUSB7")); // not COM1 until Connect
    EXPECT_TRUE(page.commissionedBox()->isChecked());
    EXPECT_FALSE(page.newNodeBox()->isChecked());
    EXPECT_TRUE(next.window->options().commissioned);
    EXPECT_TRUE(page.modiconBox()->isChecked());
    EXPECT_TRUE(next.window->options().modicon);
    EXPECT_FALSE(page.slaveBox()->isChecked());
    EXPECT_EQ(stored::windowGeometry(), geometry);
    EXPECT_EQ(next.window->size(), QSize(700, 450));
    // The remembered choices are the start of the map: nothing unsaved.
    EXPECT_TRUE(next.window->session().isSaved());
}

TEST(StoredSettings, FoldersAreKeptPerKindOfFile) {
    Tool tool;
    stored::setLastFolder(QString::fromLatin1(text::kMapFilters), QStringLiteral("/srv/maps/plant.xml"));
    stored::setLastFolder(QStringLiteral("CSV files (*.csv);;All files (*.*)"),
                          QStringLiteral("/srv/csv/a.csv"));
    stored::setLastFolder(QStringLiteral("Modbus register list (*.csv)"), QString()); // cancelled: kept
    EXPECT_EQ(stored::lastFolder(QStringLiteral("XML object map (*.xml)")), QStringLiteral("/srv/maps"));
    EXPECT_EQ(stored::lastFolder(QStringLiteral("Modbus register list (*.csv)")), QStringLiteral("/srv/csv"));
    EXPECT_TRUE(stored::lastFolder(QStringLiteral("XIF files (*.xif)")).isEmpty());
}

TEST(RecentMaps, NewestFirstOncePerFileAtMostEight) {
    Tool tool;
    for (int n = 1; n <= 10; ++n) stored::addRecentMap(QStringLiteral("/maps/m%1.xml").arg(n));
    stored::addRecentMap(QStringLiteral("/maps/m5.xml"));
    const QStringList maps = stored::recentMaps();
    ASSERT_EQ(maps.size(), 8);
    EXPECT_EQ(maps.first(), QStringLiteral("/maps/m5.xml"));
    EXPECT_EQ(maps.at(1), QStringLiteral("/maps/m10.xml"));
    EXPECT_EQ(maps.last(), QStringLiteral("/maps/m3.xml"));
    EXPECT_EQ(maps.count(QStringLiteral("/maps/m5.xml")), 1);
}

TEST(RecentMaps, SavedMapIsOfferedAndAGoneOneIsSaidAndDropped) {
    QTemporaryDir dir;
    Tool tool;
    MasterListPage& list = tool.page<MasterListPage>(kMasterListPage);
    const QString kept = dir.filePath(QStringLiteral("kept.xml"));
    const QString gone = dir.filePath(QStringLiteral("gone.xml"));
    for (const QString& path : {gone, kept}) {
        tool.prompter.files = {path};
        list.saveMapAsAction()->trigger();
    }
    ASSERT_TRUE(QFile::remove(gone));
    list.fillRecentMenu();
    EXPECT_EQ(menuTexts(*list.recentMenu()), QStringList({kept, gone}));

    tool.map->object(3)->datatype = 2;
    tool.map->saveIndicators = {false, false, false};
    tool.prompter.answers = {false}; // keeps the unsaved work
    list.recentMenu()->actions().at(0)->trigger();
    list.recentMenu()->actions().at(1)->trigger();
    EXPECT_EQ(tool.prompter.messageTexts(),
              QStringList({QString::fromLatin1(text::kDiscardAndOpen).arg(kept),
                           QString::fromLatin1(text::kRecentMapGone).arg(gone)}));
    EXPECT_EQ(tool.map->object(3)->datatype, 2);
    list.fillRecentMenu();
    EXPECT_EQ(menuTexts(*list.recentMenu()), QStringList({kept}));

    list.recentMenu()->actions().at(0)->trigger(); // OK this time
    EXPECT_EQ(tool.map->object(3)->datatype, 0);
    EXPECT_EQ(tool.window->session().fileName(), kept);
    EXPECT_TRUE(tool.window->session().isSaved());
}

// New and Open clear the undo history, so unsaved work goes only on an OK; a Cancel keeps the
// map and its file name.
TEST(RecentMaps, NewAndOpenAskBeforeGivingUpUnsavedWork) {
    QTemporaryDir dir;
    Tool tool;
    MasterListPage& list = tool.page<MasterListPage>(kMasterListPage);
    const QString saved = dir.filePath(QStringLiteral("saved.xml"));
    tool.prompter.files = {saved};
    list.saveMapAsAction()->trigger();
    const QString blankQuestion = QString::fromLatin1(text::kDiscardForBlankMap);
    const QString openQuestion = QString::fromLatin1(text::kDiscardAndOpen).arg(saved);
    struct Case {
        QAction* action;
        bool ok;
        QString question;
        int datatypeAfter;
    };
    for (const Case& c : {Case{list.newMapAction(), false, blankQuestion, 2},
                          Case{list.openMapAction(), false, openQuestion, 2},
                          Case{list.newMapAction(), true, blankQuestion, 0},
                          Case{list.openMapAction(), true, openQuestion, 0}}) {
        tool.map->object(3)->datatype = 2;
        tool.map->saveIndicators = {false, false, false};
        tool.prompter.messages.clear();
        tool.prompter.answers = {c.ok};
        tool.prompter.files = {saved};
        c.action->trigger();
        EXPECT_EQ(tool.prompter.messageTexts(), QStringList{c.question});
        EXPECT_EQ(tool.map->object(3)->datatype, c.datatypeAfter) << c.question.toStdString();
        const bool opened = c.ok && c.action == list.openMapAction();
        EXPECT_EQ(tool.window->session().fileName(), c.ok && !opened ? QString() : saved);
    }
}

// The command line's file and dropped files take the same way: by extension.
TEST(NamedFiles, MapsOpenImportsGoToTheirPageAndABadFileIsSaidAsOpenSaysIt) {
    QTemporaryDir dir;
    Tool tool;
    const QString map = dir.filePath(QStringLiteral("start.xml"));
    tool.map->object(7)->datatype = 1;
    tool.prompter.files = {map};
    tool.page<MasterListPage>(kMasterListPage).saveMapAsAction()->trigger();
    tool.map->object(7)->datatype = 0; // unsaved: asked first, OK lets it go
    tool.window->selectPage(kConnectPage);

    openNamedFile(*tool.window, map);
    EXPECT_EQ(tool.map->object(7)->datatype, 1);
    EXPECT_EQ(tool.window->currentPage(), kMasterListPage);

    openNamedFile(*tool.window, dir.filePath(QStringLiteral("notes.txt")));
    openNamedFile(*tool.window, dir.filePath(QStringLiteral("missing.xml")));
    const QString csv = dir.filePath(QStringLiteral("missing.csv"));
    openNamedFile(*tool.window, csv);
    EXPECT_EQ(tool.window->currentPage(), kRegImportPage);
    ASSERT_EQ(tool.prompter.messages.size(), 4u) << tool.prompter.messageTexts().join(u'|').toStdString();
    EXPECT_EQ(tool.prompter.messages[0].text, QString::fromLatin1(text::kDiscardAndOpen).arg(map));
    EXPECT_EQ(tool.prompter.messages[1].text, QString::fromLatin1(text::kNeedXml));
    EXPECT_TRUE(
        tool.prompter.messages[2].text.startsWith(QStringLiteral("Error opening object map XML file")));
    EXPECT_TRUE(tool.prompter.messages[3].text.startsWith(QStringLiteral("Error opening CSV file")));
    EXPECT_EQ(tool.window->session().fileName(), map);

    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QStringLiteral("/a/b.pdf")),
                     QUrl::fromLocalFile(QStringLiteral("/a/c.XIF")),
                     QUrl(QStringLiteral("http://host/d.xml"))});
    EXPECT_EQ(droppableFiles(dropped), QStringList({QStringLiteral("/a/c.XIF")}));
}

TEST(CommandHistory, WalksBackAndForthKeepingTheTypedLine) {
    CommandHistory history({QStringLiteral("a"), QStringLiteral("b")}, 3);
    history.add(QStringLiteral("b")); // twice in a row: once
    history.add(QStringLiteral("c"));
    history.add(QStringLiteral("d")); // "a" falls off
    EXPECT_EQ(history.lines(), QStringList({QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    EXPECT_EQ(history.newer(), std::nullopt);
    EXPECT_EQ(history.older(QStringLiteral("typ")), QStringLiteral("d"));
    EXPECT_EQ(history.older(QStringLiteral("d")), QStringLiteral("c"));
    EXPECT_EQ(history.older(QStringLiteral("c")), QStringLiteral("b"));
    EXPECT_EQ(history.older(QStringLiteral("b")), std::nullopt);
    EXPECT_EQ(history.newer(), QStringLiteral("c"));
    EXPECT_EQ(history.newer(), QStringLiteral("d"));
    EXPECT_EQ(history.newer(), QStringLiteral("typ"));
    EXPECT_EQ(history.newer(), std::nullopt);
}

TEST(ConsoleKeys, EnterSendsShiftEnterBreaksUpAndDownWalkTheKeptHistory) {
    {
        Tool tool;
        ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
        QPlainTextEdit* box = page.commandBox();
        QTest::keyClicks(box, QStringLiteral("show"));
        QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(box, QStringLiteral("all"));
        EXPECT_EQ(box->toPlainText(), QStringLiteral("show\nall"));
        QTest::keyClick(box, Qt::Key_Return); // no port opens (COM1): the line is still kept
        box->clear();
        QTest::keyClicks(box, QStringLiteral("usage"));
        QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
    }
    EXPECT_EQ(stored::consoleHistory(), QStringList({QStringLiteral("show\nall"), QStringLiteral("usage")}));
    Tool next(false, true);
    QPlainTextEdit* box = next.page<ConnectPage>(kConnectPage).commandBox();
    QTest::keyClicks(box, QStringLiteral("draft"));
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(box->toPlainText(), QStringLiteral("usage"));
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(box->toPlainText(), QStringLiteral("show\nall"));
    QTest::keyClick(box, Qt::Key_Up); // from the last line the cursor goes up a line, no walk
    EXPECT_EQ(box->toPlainText(), QStringLiteral("show\nall"));
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->toPlainText(), QStringLiteral("usage"));
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(box->toPlainText(), QStringLiteral("draft"));
}

} // namespace
} // namespace korvex::ui::test
