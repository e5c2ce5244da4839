// The NV Import page: XIF import of the sample partner file into the grid, marks by selection and
// by any heading, "Add to NV List" with directions reversed and structures expanded, and the
// import's refusals.
#include "ui/support/ListPagesTestSupport.h"

#include "model/FixedText.h"
#include "ui/models/ImportGrid.h"
#include "ui/models/MapTableModel.h"
#include "ui/pages/nvimport/NVImportPage.h"
#include "ui/pages/nvlist/NVListPage.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

NVImportPage& importPage(Tool& tool) {
    return tool.page<NVImportPage>(kNVImportPage);
}

void importSample(Tool& tool) {
    tool.prompter.files = {examplePath("vz200.xif")};
    importPage(tool).importAction()->trigger();
}

int markCount(NVImportPage& page) {
    int n = 0;
    for (int i = 0; i < page.importTable().count; ++i) n += page.importTable().entries[i].selected ? 1 : 0;
    return n;
}

TEST(NVImportPage, SampleFileFillsTheGrid) {
    Tool tool;
    importSample(tool);
    NVImportPage& page = importPage(tool);
    ASSERT_TRUE(tool.prompter.messages.empty()) << tool.prompter.messageTexts().join("|").toStdString();
    EXPECT_EQ(tool.prompter.lastFilters, QStringLiteral("XIF files (*.xif);;All files (*.*)"));
    EXPECT_EQ(page.statusText(), QStringLiteral("12 NV's parsed from vz200.xif."));
    const ImportGridModel& model = *page.model();
    ASSERT_EQ(model.rowCount(), 12);
    EXPECT_EQ(headings(model), (QStringList{"", "Dir", "Index", "SNVT Type", "Name"}));
    EXPECT_EQ(rowTexts(model, 0), (QStringList{"NVI", "0", "SNVT_obj_request", "nviRequest"}));
    EXPECT_EQ(rowTexts(model, 7), (QStringList{"NVO", "7", "SNVT_hvac_status", "nvoUnitStatus"}));
    EXPECT_EQ(rowTexts(model, 11), (QStringList{"NVO", "11", "SNVT_temp_p", "nvoZoneTemp_1"}));
}

TEST(NVImportPage, AnyHeadingMarksThenClearsAll) {
    Tool tool;
    importSample(tool);
    NVImportPage& page = importPage(tool);
    showPage(tool, kNVImportPage);
    const qint64 blank = imageKey(*page.model(), 3);
    clickHeading(page.grid(), 3);
    EXPECT_EQ(markCount(page), 12);
    EXPECT_NE(imageKey(*page.model(), 3), blank);
    clickHeading(page.grid(), 1);
    EXPECT_EQ(markCount(page), 0);
    EXPECT_EQ(imageKey(*page.model(), 3), blank);
    clickRow(page.grid(), 5);
    EXPECT_EQ(markCount(page), 1);
    doubleClickRow(page.grid(), 5);
    EXPECT_EQ(markCount(page), 0);
}

TEST(NVImportPage, AddReversesDirectionsAndExpandsStructures) {
    Tool tool;
    importSample(tool);
    NVImportPage& page = importPage(tool);
    page.addButton()->click();
    EXPECT_EQ(page.statusText(), QStringLiteral("0 entries added to list."));

    page.importTable().entries[8].selected = 1; // nviFanCmd, SNVT_switch
    page.importTable().entries[4].selected = 1; // nvoSpaceTemp
    page.addButton()->click();
    EXPECT_EQ(page.statusText(), QStringLiteral("4 entries added to list."));
    ASSERT_EQ(tool.map->nvCount, 4);
    EXPECT_TRUE(tool.map->nvs[0].isInput); // the partner's output
    EXPECT_EQ(textOf(tool.map->nvs[0].name), "nvoSpaceTemp");
    EXPECT_FALSE(tool.map->nvs[1].isInput);
    const MapTableModel& list = *tool.page<NVListPage>(kNVListPage).model();
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(rowTexts(list, 1), (QStringList{"NVO", "---", "---", "SNVT_switch", "---", "nviFanCmd"}));
    EXPECT_EQ(rowTexts(list, 2),
              (QStringList{"NVO", "---", "---", ":: value", "nvt_cat_unsigned_short", "nviFanCmd"}));
    EXPECT_EQ(rowTexts(list, 3).mid(3, 2), (QStringList{":: state", "nvt_cat_signed_short"}));
    // The marks stay for another add.
    EXPECT_EQ(markCount(page), 2);
}

TEST(NVImportPage, RefusedImportsSayWhy) {
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.xif"));
    QFile file(empty);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("File: empty.xif\r\n\r\n");
    file.close();
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {dir.filePath(QStringLiteral("partner.txt")), QStringLiteral("Need a .xif file.")},
        {dir.filePath(QStringLiteral("missing.xif")),
         QStringLiteral("Error opening XIF file %1\n").arg(dir.filePath(QStringLiteral("missing.xif")))},
        {empty, QStringLiteral("XIF import unsuccessful.")},
    };
    for (const auto& c : cases) {
        Tool tool;
        tool.prompter.files = {c.path};
        importPage(tool).importAction()->trigger();
        ASSERT_EQ(tool.prompter.messages.size(), 1u);
        EXPECT_EQ(tool.prompter.messages[0].text, c.message);
        EXPECT_EQ(tool.prompter.messages[0].icon, MessageIcon::Information);
        EXPECT_TRUE(importPage(tool).statusText().isEmpty());
    }
}

TEST(NVImportPage, ClearEmptiesTheTable) {
    Tool tool;
    importSample(tool);
    importPage(tool).clearAction()->trigger();
    EXPECT_EQ(importPage(tool).model()->rowCount(), 0);
    EXPECT_EQ(importPage(tool).importTable().count, 0);
    EXPECT_TRUE(importPage(tool).statusText().isEmpty());
}

} // namespace
} // namespace korvex::ui::test

namespace korvex::ui::test {
namespace {

// An NV of a standard type newer than the catalogue is named under the status line and, laid
// out by the file, goes in as a user-defined structure.
TEST(NVImportPage, ANewerStandardTypeIsNamedAndKept) {
    Tool tool;
    tool.prompter.files = {examplePath("../../tests/data/vav-newer-types.xif")};
    NVImportPage& page = importPage(tool);
    const auto* box = page.findChild<QPlainTextEdit*>(QStringLiteral("statusBox"));
    ASSERT_NE(box, nullptr);
    const int oneLine = box->height();
    page.importAction()->trigger();
    EXPECT_GE(box->height(), oneLine + box->fontMetrics().lineSpacing()) << "the named NV's line shows";
    EXPECT_EQ(page.statusText(),
              QStringLiteral("16 NV's parsed from vav-newer-types.xif.\nnvoVersion: standard type "
                             "220 is not in the catalogue; kept as a user-defined type of 3 bytes"));
    page.importTable().entries[15].selected = 1;
    page.addButton()->click();
    EXPECT_EQ(page.statusText(), QStringLiteral("4 entries added to list."));
    EXPECT_EQ(rowTexts(*tool.page<NVListPage>(kNVListPage).model(), 0),
              (QStringList{"NVI", "---", "---", "UNVT/Raw NV", "---", "nvoVersion"}));
}

} // namespace
} // namespace korvex::ui::test
