// The NV List page: its columns for header and field rows, the four row buttons and their
// refusals, the clear question, every message of the action list, the XIF export, the refresh
// rules (title update, status loop requests) and the way from the sample XIF file to a built,
// exported and saved map.
#include "ui/support/DevicePagesTestSupport.h"
#include "ui/support/ListPagesTestSupport.h"

#include "model/FixedText.h"
#include "support/LinkCheck.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "ui/dialogs/NVEdit.h"
#include "ui/models/MapTableModel.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/pages/nvimport/NVImportPage.h"
#include "ui/pages/nvlist/NVListPage.h"
#include "ui/pages/reglist/RegListPage.h"
#include "ui/window/DeviceSession.h"
#include "ui/window/UiTexts.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

NVListPage& listPage(Tool& tool) {
    return tool.page<NVListPage>(kNVListPage);
}

void addSwitch(ObjectMap& map, int at) {
    NVAddRequest request;
    request.snvt = 95;
    request.name = "Fan";
    ASSERT_EQ(addNV(map, at, request), kOk);
}

void runAction(Tool& tool, int action) {
    listPage(tool).actionList()->setCurrentIndex(action);
    listPage(tool).executeButton()->click();
}

TEST(NVListPage, AppendOnAnEmptyListAndTheColumnsOfHeaderAndFieldRows) {
    Tool tool;
    NVListPage& page = listPage(tool);
    page.appendButton()->click();
    EXPECT_TRUE(tool.prompter.messages.empty());
    ASSERT_EQ(tool.map->nvCount, 1);
    EXPECT_EQ(textOf(tool.map->nvs[0].name), "New_NV_1");
    EXPECT_EQ(tool.map->nvs[0].snvt, 8);
    EXPECT_FALSE(tool.map->nvs[0].isInput);

    const MapTableModel& model = *page.model();
    EXPECT_EQ(headings(model),
              (QStringList{"", "Dir", "FB #", "Obj #", "SNVT Type", "SNVT Category", "NV Name"}));
    EXPECT_EQ(rowTexts(model, 0), (QStringList{"NVO", "---", "---", "SNVT_count", "---", "New_NV_1"}));

    addSwitch(*tool.map, 1);
    tool.map->nvs[1].isInput = 1;
    tool.map->nvs[1].fbNumber = 7;
    tool.map->nvs[1].inDevice = 1;
    tool.map->nvs[2].objectNumber = 12;
    tool.map->nvs[3].defined = 0;
    page.refresh();
    EXPECT_EQ(rowTexts(model, 1), (QStringList{"NVI", "OLA 7", "---", "SNVT_switch", "---", "Fan"}));
    EXPECT_EQ(rowTexts(model, 2),
              (QStringList{"NVO", "---", "12", ":: value", "nvt_cat_unsigned_short", "Fan"}));
    tool.map->nvs[0].fbNumber = 2;
    page.refresh();
    EXPECT_EQ(rowTexts(model, 0)[1], QStringLiteral("OLS 2"));
    // Images: out of sync, in sync (headers); marked, blank (fields).
    const QSet<qint64> images{imageKey(model, 0), imageKey(model, 1), imageKey(model, 2), imageKey(model, 3)};
    EXPECT_EQ(images.size(), 4);
}

TEST(NVListPage, RowButtonsSayWhenRefused) {
    Tool tool;
    NVListPage& page = listPage(tool);
    page.deleteButton()->click();
    addSwitch(*tool.map, 0);
    page.appendButton()->click(); // a plain NV at row 3
    page.selectRow(1);
    page.insertButton()->click(); // on a field row
    page.selectRow(3);
    page.addFieldButton()->click(); // on a plain NV
    EXPECT_EQ(tool.prompter.messageTexts(),
              (QStringList{"Unable to delete this line.", "Could not insert NV at this point.",
                           "Could not add field at this point."}));
    EXPECT_EQ(tool.map->nvCount, 4);

    page.selectRow(0);
    page.addFieldButton()->click();
    EXPECT_EQ(tool.map->nvCount, 5);
    EXPECT_TRUE(tool.map->nvs[1].isField);
    page.deleteButton()->click(); // the switch and its three fields
    EXPECT_EQ(tool.map->nvCount, 1);
    EXPECT_EQ(page.model()->rowCount(), 1);
    EXPECT_EQ(tool.prompter.messages.size(), 3u);
}

TEST(NVListPage, ClearAsksOnlyWhenTheListHasRows) {
    Tool tool;
    listPage(tool).clearAction()->trigger();
    EXPECT_TRUE(tool.prompter.messages.empty());

    appendNV(*tool.map);
    appendRegister(*tool.map);
    tool.map->registers[0].nvRow = 1;
    tool.map->nvs[0].registerRow = 1;
    tool.prompter.answers = {false, true};
    listPage(tool).clearAction()->trigger();
    EXPECT_EQ(tool.map->nvCount, 1);
    listPage(tool).clearAction()->trigger();
    EXPECT_EQ(tool.map->nvCount, 0);
    EXPECT_EQ(tool.map->registers[0].nvRow, 0);
    EXPECT_EQ(tool.prompter.messageTexts(),
              QStringList(2, QStringLiteral("Are you sure you want to\ndiscard all network variables?")));
    EXPECT_EQ(tool.prompter.messages[0].buttons, MessageButtons::OkCancel);
}

void appendNVs(ObjectMap& m, int n) {
    for (int i = 0; i < n; ++i) appendNV(m);
}

TEST(NVListPage, EveryActionReportsItsRefusal) {
    const struct {
        const char* name;
        std::function<void(ObjectMap&)> setUp;
        int action;
        const char* message; // nullptr: none
    } cases[] = {
        {"blocks assigned",
         [](ObjectMap& m) {
             appendNVs(m, 2);
             m.nvs[1].fbNumber = 4;
         },
         kAssignFbNumbers, "Function Blocks have already been assigned."},
        {"121 outputs", [](ObjectMap& m) { appendNVs(m, 121); }, kAssignFbNumbers,
         "Number of function blocks requested in list\nexceeds maximum number of NV's."},
        {"objects assigned",
         [](ObjectMap& m) {
             appendNVs(m, 1);
             m.nvs[0].objectNumber = 3;
         },
         kAssignObjectsFromNVs, "Data objects have already been assigned."},
        {"object taken",
         [](ObjectMap& m) {
             appendNVs(m, 1);
             m.object(1)->lonNV = 9;
         },
         kAssignObjectsFromNVs, "Conflicting assignments.\nClear master object list first."},
        {"401 NVs", [](ObjectMap& m) { appendNVs(m, 401); }, kAssignObjectsFromNVs,
         "Number of objects requested in list\nexceeds maximum number of objects."},
        {"registers exist",
         [](ObjectMap& m) {
             appendNVs(m, 1);
             appendRegister(m);
         },
         kCreateRegistersFromMaster, "Modbus register list has already been created."},
        {"objects linked",
         [](ObjectMap& m) {
             appendNVs(m, 1);
             assignFbNumbers(m);
             masterListFromNVs(m);
         },
         kRemoveFbNumbers, "Must remove data objects first."},
        {"remove objects",
         [](ObjectMap& m) {
             appendNVs(m, 1);
             assignFbNumbers(m);
             masterListFromNVs(m);
         },
         kRemoveNVObjects, nullptr},
        {"no action", [](ObjectMap& m) { appendNVs(m, 1); }, kNVListNoAction, nullptr},
    };
    for (const auto& c : cases) {
        Tool tool;
        c.setUp(*tool.map);
        const int registers = tool.map->registerCount;
        runAction(tool, c.action);
        const QStringList expected = c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList{};
        EXPECT_EQ(tool.prompter.messageTexts(), expected) << c.name;
        EXPECT_EQ(tool.map->registerCount, registers) << c.name;
        EXPECT_EQ(listPage(tool).model()->rowCount(), tool.map->nvCount) << c.name;
    }
}

TEST(NVListPage, ExportWritesTheGatewaysXifWithSafeNames) {
    QTemporaryDir dir;
    Tool tool;
    appendNV(*tool.map);
    setText(tool.map->nvs[0].name, "Flow Rate #2");
    tool.map->nvs[0].fbNumber = 5;
    tool.prompter.files = {QString(), dir.filePath(QStringLiteral("gateway"))};
    listPage(tool).exportXifAction()->trigger(); // cancelled
    EXPECT_TRUE(listPage(tool).statusText().isEmpty());
    listPage(tool).exportXifAction()->trigger();
    EXPECT_TRUE(tool.prompter.messages.empty());
    EXPECT_EQ(tool.prompter.lastFilters, QStringLiteral("XIF file (*.xif);;All files (*.*)"));
    EXPECT_EQ(listPage(tool).statusText(), QStringLiteral("File saved."));
    const QByteArray xif = fileBytes(dir.filePath(QStringLiteral("gateway.xif")));
    EXPECT_TRUE(xif.startsWith("File: gateway.xif generated by Korvex-A Tool v2.14, XIF Version 4.402\r\n"));
    EXPECT_TRUE(xif.contains("VAR Flow_Rate__2 7 0 0 0\r\n"));
    EXPECT_EQ(listPage(tool).model()->index(0, 6).data().toString(), QStringLiteral("Flow_Rate__2"));

    tool.prompter.files = {dir.filePath(QStringLiteral("gateway.xif"))};
    tool.prompter.answers = {false};
    listPage(tool).clearStatus();
    listPage(tool).exportXifAction()->trigger();
    EXPECT_EQ(tool.prompter.messageTexts(), QStringList{QString::fromLatin1(text::kOverwrite)});
    EXPECT_TRUE(listPage(tool).statusText().isEmpty());
}

TEST(NVListPage, TitleUpdatesAndStatusLoopRequestsRedrawTheGrid) {
    Tool tool;
    tool.window->selectPage(kNVListPage);
    appendNV(*tool.map);
    EXPECT_EQ(listPage(tool).model()->rowCount(), 0);
    tool.window->updateTitle();
    EXPECT_EQ(listPage(tool).model()->rowCount(), 1);
    appendNV(*tool.map);
    tool.window->device().sink().refresh(device::Refresh::NVList);
    EXPECT_TRUE(waitFor([&] { return listPage(tool).model()->rowCount() == 2; }));
    // The selection stays where it was.
    listPage(tool).selectRow(1);
    listPage(tool).refresh();
    EXPECT_EQ(listPage(tool).grid()->currentIndex().row(), 1);
}

TEST(NVListPage, DoubleClickOpensTheNVEditorOnTheRow) {
    Tool tool;
    appendNVs(*tool.map, 3);
    NVListPage& page = listPage(tool);
    page.refresh();
    showPage(tool, kNVListPage);
    int row = -1;
    onNextDialog([&row](QDialog& dialog) {
        if (auto* editor = qobject_cast<NVEdit*>(&dialog)) row = editor->row();
        dialog.reject();
    });
    doubleClickRow(page.grid(), 1);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(page.selectedRow(), 1);
}

TEST(NVListPage, DeviceTransfersAskFirstAndOfferTheirRanges) {
    Tool tool;
    appendNVs(*tool.map, 3);
    tool.map->nvs[0].fbNumber = 4;
    tool.map->nvs[1].isInput = 1;
    tool.map->nvs[1].fbNumber = 2;
    tool.map->nvs[2].isInput = 1;
    tool.map->nvs[2].fbNumber = 6;
    runAction(tool, kSendNVDefinitions); // the range dialog is cancelled
    ASSERT_EQ(tool.prompter.offeredNetVarRanges.size(), 1u);
    EXPECT_EQ(tool.prompter.offeredNetVarRanges[0], (NetVarRanges{2, 6, 4, 4}));

    tool.prompter.answers = {false};
    runAction(tool, kGetNVDefinitions);
    EXPECT_EQ(
        tool.prompter.messageTexts(),
        QStringList{QStringLiteral("This action will replace current NV list.\nDo you wish to continue?")});
    EXPECT_EQ(tool.map->nvCount, 3);
    // OK, then Cancel in the range dialog: nothing was fetched, so the list stays; no port, so
    // every number is offered.
    runAction(tool, kGetNVDefinitions);
    EXPECT_EQ(tool.map->nvCount, 3);
    EXPECT_EQ(listPage(tool).model()->rowCount(), 3);
    ASSERT_EQ(tool.prompter.offeredNetVarRanges.size(), 2u);
    EXPECT_EQ(tool.prompter.offeredNetVarRanges[1], (NetVarRanges{1, 120, 1, 120}));
}

// Both transfers against the simulated gateway: two NVs sent, then read back into an empty list.
TEST(NVListPage, SendAndGetThroughTheSimulatedGateway) {
    SimTool tool;
    appendNVs(*tool.map, 2);
    tool.map->nvs[1].isInput = 1;
    assignFbNumbers(*tool.map);
    tool.window->selectPage(kNVListPage);
    tool.prompter.netVarRangeAnswers = {{RangeAnswer::Ok, NetVarRanges{1, 1, 1, 1}},
                                        {RangeAnswer::Ok, NetVarRanges{1, 1, 1, 1}}};
    runAction(tool, kSendNVDefinitions);
    const auto bothInDevice = [&] {
        std::lock_guard lock(tool.window->session().mutex());
        return tool.map->nvs[0].inDevice && tool.map->nvs[1].inDevice;
    };
    ASSERT_TRUE(waitFor(bothInDevice)) << listPage(tool).statusText().toStdString();
    EXPECT_TRUE(tool.waitUntilIdle());

    runAction(tool, kGetNVDefinitions);
    ASSERT_TRUE(waitFor([&] {
        std::lock_guard lock(tool.window->session().mutex());
        return tool.map->nvCount == 2;
    })) << listPage(tool).statusText().toStdString();
    EXPECT_TRUE(waitFor([&] { return listPage(tool).model()->rowCount() == 2; }));
    EXPECT_TRUE(tool.prompter.messages.size() == 1u); // the replace question
}

// The sample XIF file becomes a whole map: every NV added, blocks, objects and registers built
// from the NV list, both lists exported and the map saved and opened again.
TEST(NVListPage, SampleXifToABuiltExportedAndSavedMap) {
    QTemporaryDir dir;
    Tool tool;
    showPage(tool, kNVImportPage);
    NVImportPage& import = tool.page<NVImportPage>(kNVImportPage);
    tool.prompter.files = {examplePath("vz200.xif")};
    import.importAction()->trigger();
    clickHeading(import.grid(), 2);
    import.addButton()->click();
    EXPECT_EQ(import.statusText(), QStringLiteral("21 entries added to list."));

    tool.window->selectPage(kNVListPage);
    runAction(tool, kAssignFbNumbers);
    runAction(tool, kAssignObjectsFromNVs);
    runAction(tool, kCreateRegistersFromMaster);
    ASSERT_TRUE(tool.prompter.messages.empty()) << tool.prompter.messageTexts().join("|").toStdString();
    EXPECT_EQ(tool.map->registerCount, 17);
    EXPECT_EQ(tool.page<RegListPage>(kRegListPage).model()->rowCount(), 17);
    EXPECT_EQ(rowTexts(*listPage(tool).model(), 2).mid(0, 3), (QStringList{"NVO", "OLS 2", "1"}));
    EXPECT_TRUE(korvex::testing::checkLinks(*tool.map));

    tool.prompter.files = {dir.filePath(QStringLiteral("gateway.xif")),
                           dir.filePath(QStringLiteral("regs.csv")),
                           dir.filePath(QStringLiteral("zone.xml"))};
    listPage(tool).exportXifAction()->trigger();
    tool.page<RegListPage>(kRegListPage).exportCsvAction()->trigger();
    tool.page<MasterListPage>(kMasterListPage).saveMapAsAction()->trigger();
    EXPECT_EQ(tool.prompter.messageTexts(), QStringList{QStringLiteral("File saved.")}); // the CSV's
    tool.prompter.messages.clear();
    EXPECT_TRUE(
        fileBytes(dir.filePath(QStringLiteral("gateway.xif"))).contains("VAR nviSpaceTemp 4 0 0 0\r\n"));
    EXPECT_TRUE(fileBytes(dir.filePath(QStringLiteral("regs.csv"))).startsWith("RW,REG,TYPE,FORMAT"));

    const int rows = tool.map->nvCount;
    tool.page<MasterListPage>(kMasterListPage).newMapAction()->trigger();
    tool.prompter.files = {dir.filePath(QStringLiteral("zone.xml"))};
    tool.page<MasterListPage>(kMasterListPage).openMapAction()->trigger();
    EXPECT_TRUE(tool.prompter.messages.empty()) << tool.prompter.messageTexts().join("|").toStdString();
    EXPECT_EQ(tool.map->nvCount, rows);
    EXPECT_EQ(listPage(tool).model()->rowCount(), rows);
    EXPECT_TRUE(korvex::testing::checkLinks(*tool.map));
}

} // namespace
} // namespace korvex::ui::test
