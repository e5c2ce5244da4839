// The Reg Import page: CSV import of the sample file into the grid, mark toggling by click,
// double-click, Space and the image heading, "Add to Reg List" up to the list's capacity, the columns in
// both notations, and the import's refusals.
#include "ui/support/ListPagesTestSupport.h"

#include "model/FixedText.h"
#include "ui/models/ImportGrid.h"
#include "ui/pages/regimport/RegImportPage.h"

#include <QAction>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

RegImportPage& importPage(Tool& tool) {
    return tool.page<RegImportPage>(kRegImportPage);
}

void importSample(Tool& tool) {
    tool.prompter.files = {examplePath("ahu-registers.csv")};
    importPage(tool).importAction()->trigger();
}

QVector<bool> marks(RegImportPage& page) {
    QVector<bool> out;
    for (int i = 0; i < page.importList().count; ++i) out << (page.importList().entries[i].defined != 0);
    return out;
}

TEST(RegImportPage, SampleFileFillsTheGridInBothNotations) {
    Tool tool;
    importSample(tool);
    RegImportPage& page = importPage(tool);
    ASSERT_TRUE(tool.prompter.messages.empty()) << tool.prompter.messageTexts().join("|").toStdString();
    EXPECT_EQ(tool.prompter.lastFilters, QStringLiteral("CSV files (*.csv);;All files (*.*)"));
    EXPECT_EQ(page.statusText(), QStringLiteral("13 registers parsed from ahu-registers.csv."));
    EXPECT_EQ(page.importedFileName(), QStringLiteral("ahu-registers.csv"));
    const ImportGridModel& model = *page.model();
    ASSERT_EQ(model.rowCount(), 13);
    EXPECT_EQ(headings(model), (QStringList{"", "R/W", "Type", "Reg #", "Bit #", "Format", "Slave", "Packed",
                                            "High Reg First", "Name"}));
    EXPECT_EQ(rowTexts(model, 0),
              (QStringList{"R", "INPUT", "1", "-", "S16", "3", "N", "N", "Supply air temp"}));
    EXPECT_EQ(rowTexts(model, 7),
              (QStringList{"R", "HOLD", "20", "1", "BIT", "3", "N", "N", "Filter alarm"}));
    EXPECT_EQ(rowTexts(model, 10).mid(0, 3), (QStringList{"W+", "HOLD", "102"}));
    EXPECT_EQ(rowTexts(model, 8).first(), QStringLiteral("W"));
    EXPECT_EQ(rowTexts(model, 12),
              (QStringList{"R", "HOLD", "30", "-", "FP", "4", "N", "Y", "Chilled water valve, %"}));

    tool.window->options().modicon = true;
    tool.window->notationChanged();
    EXPECT_EQ(headings(model), (QStringList{"", "R/W", "Modicon #", "Bit #", "Format", "Slave", "Packed",
                                            "High Reg First", "Name"}));
    EXPECT_EQ(model.columnWidth(2), 120);
    EXPECT_EQ(model.index(0, 2).data().toString(), QStringLiteral("30001"));
    EXPECT_EQ(model.index(8, 2).data().toString(), QStringLiteral("40100"));
}

// What a windowing system delivers for a double-click: press, release, press, double-click,
// release.
void systemDoubleClickRow(QTableView* grid, int row) {
    const QPoint at = rowPoint(grid, row);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
}

// A click or Space toggles the row once, a double-click is one click, arrows only move.
TEST(RegImportPage, ClickOrSpaceTogglesOnceArrowsOnlyMove) {
    Tool tool;
    importSample(tool);
    RegImportPage& page = importPage(tool);
    showPage(tool, kRegImportPage);
    const qint64 blank = imageKey(*page.model(), 0);
    enum class Gesture { Click, DoubleClick, Down, Up, Space };
    const struct {
        Gesture gesture;
        int row; // clicked row, or the current row the keys should leave
        QVector<int> marked;
    } steps[] = {
        {Gesture::Click, 2, {2}},          {Gesture::Click, 4, {2, 4}},
        {Gesture::Click, 4, {2}}, // the selected row toggles too
        {Gesture::DoubleClick, 6, {2, 6}}, {Gesture::DoubleClick, 6, {2}},
        {Gesture::Down, 7, {2}},           {Gesture::Up, 6, {2}},
        {Gesture::Space, 6, {2, 6}},       {Gesture::Space, 6, {2}},
    };
    int n = 0;
    for (const auto& step : steps) {
        switch (step.gesture) {
        case Gesture::Click:
            clickRow(page.grid(), step.row);
            break;
        case Gesture::DoubleClick:
            systemDoubleClickRow(page.grid(), step.row);
            break;
        case Gesture::Down:
        case Gesture::Up:
            QTest::keyClick(page.grid(), step.gesture == Gesture::Down ? Qt::Key_Down : Qt::Key_Up);
            break;
        case Gesture::Space:
            QTest::keyClick(page.grid(), Qt::Key_Space);
            break;
        }
        QVector<int> marked;
        for (int i = 0; i < page.importList().count; ++i)
            if (page.importList().entries[i].defined) marked << i;
        EXPECT_EQ(marked, step.marked) << "step " << n;
        EXPECT_EQ(page.grid()->currentIndex().row(), step.row) << "step " << n;
        ++n;
    }
    EXPECT_NE(imageKey(*page.model(), 2), blank);

    // Redraws keep the selection without toggling the selected row.
    page.refresh();
    tool.window->notationChanged();
    EXPECT_EQ(page.grid()->currentIndex().row(), 6);
    EXPECT_EQ(marks(page).count(true), 1);
}

TEST(RegImportPage, OnlyTheImageHeadingMarksOrClearsAll) {
    Tool tool;
    RegImportPage& page = importPage(tool);
    showPage(tool, kRegImportPage);
    clickHeading(page.grid(), 0); // empty list: nothing to mark, but the next click clears
    EXPECT_FALSE(page.marks()->marksAllNext());
    importSample(tool);
    clickHeading(page.grid(), 0);
    EXPECT_EQ(marks(page).count(true), 0);
    clickHeading(page.grid(), 0);
    EXPECT_EQ(marks(page).count(true), 13);
    clickHeading(page.grid(), 1); // "R/W"
    clickHeading(page.grid(), 9); // "Name"
    EXPECT_EQ(marks(page).count(true), 13);
    clickHeading(page.grid(), 0);
    EXPECT_EQ(marks(page).count(true), 0);
}

TEST(RegImportPage, AddCopiesMarkedEntriesInOrderUpToTheListCapacity) {
    Tool tool;
    importSample(tool);
    RegImportPage& page = importPage(tool);
    page.addButton()->click();
    EXPECT_EQ(page.statusText(), QStringLiteral("0 entries added to list."));
    EXPECT_EQ(tool.map->registerCount, 0);

    page.importList().entries[9].defined = 1;
    page.importList().entries[3].defined = 1;
    page.addButton()->click();
    EXPECT_EQ(page.statusText(), QStringLiteral("2 entries added to list."));
    ASSERT_EQ(tool.map->registerCount, 2);
    EXPECT_EQ(textOf(tool.map->registers[0].name), "Duct static pressure");
    EXPECT_EQ(textOf(tool.map->registers[1].name), "Fan speed command");
    EXPECT_TRUE(tool.map->registers[1].defined);

    tool.map->registerCount = kListCapacity - 1;
    for (int i : {0, 1, 2}) page.importList().entries[i].defined = 1;
    page.addButton()->click();
    EXPECT_EQ(page.statusText(), QStringLiteral("1 entries added to list."));
    EXPECT_EQ(tool.map->registerCount, kListCapacity);
    EXPECT_EQ(textOf(tool.map->registers[kListCapacity - 1].name), "Supply air temp");
}

TEST(RegImportPage, RefusedImportsSayWhyAndLeaveTheListEmpty) {
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.csv"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("RW,REG,TYPE,FORMAT,NAME\r\nX,1,HOLD,U16,Pump\r\n");
    file.close();
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {dir.filePath(QStringLiteral("plant.txt")), QStringLiteral("Need a .csv file.")},
        {dir.filePath(QStringLiteral("missing.csv")),
         QStringLiteral("Error opening CSV file %1\n").arg(dir.filePath(QStringLiteral("missing.csv")))},
        {bad, QStringLiteral("Invalid flag at line 2\n\nCSV import unsuccessful.")},
    };
    for (const auto& c : cases) {
        Tool tool;
        importSample(tool);
        tool.prompter.files = {c.path};
        importPage(tool).importAction()->trigger();
        ASSERT_EQ(tool.prompter.messages.size(), 1u);
        EXPECT_EQ(tool.prompter.messages[0].text, c.message);
        EXPECT_EQ(tool.prompter.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(importPage(tool).model()->rowCount(), 0);
        EXPECT_TRUE(importPage(tool).statusText().isEmpty());
    }
}

TEST(RegImportPage, SetSlaveAddrGivesEveryEntryTheTypedAddress) {
    Tool tool;
    importSample(tool);
    QString title;
    onNextDialog([&title](QDialog& dialog) {
        title = dialog.windowTitle();
        typeInto(dialog, "slave", QStringLiteral("12"));
        click(dialog, "apply");
    });
    importPage(tool).slaveButton()->click();
    EXPECT_EQ(title, QStringLiteral("Slave ID Change"));
    const ImportGridModel& model = *importPage(tool).model();
    for (int row = 0; row < model.rowCount(); ++row)
        EXPECT_EQ(model.index(row, 6).data().toString(), "12") << row;
}

TEST(RegImportPage, CancelKeepsTheListAndClearEmptiesIt) {
    Tool tool;
    importSample(tool);
    RegImportPage& page = importPage(tool);
    page.importAction()->trigger(); // the dialog is cancelled
    EXPECT_EQ(page.model()->rowCount(), 13);
    page.clearAction()->trigger();
    EXPECT_EQ(page.model()->rowCount(), 0);
    EXPECT_EQ(page.importList().count, 0);
    EXPECT_TRUE(page.statusText().isEmpty());
    EXPECT_TRUE(page.importedFileName().isEmpty());
}

} // namespace
} // namespace korvex::ui::test
