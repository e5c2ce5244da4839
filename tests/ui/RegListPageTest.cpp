// The Reg List page: its columns (slave mode dashes, function-block texts, images), the row
// buttons and their refusals, every message of the action list, the clear question, the CSV
// export's ways out, the selection across refreshes, and the way from the sample CSV file to a
// built, exported and saved map.
#include "ui/support/ListPagesTestSupport.h"

#include "model/FixedText.h"
#include "support/LinkCheck.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "ui/dialogs/ModRegEdit.h"
#include "ui/models/ImportGrid.h"
#include "ui/models/MapTableModel.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/pages/nvlist/NVListPage.h"
#include "ui/pages/regimport/RegImportPage.h"
#include "ui/pages/reglist/RegListPage.h"
#include "ui/window/UiTexts.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

RegListPage& listPage(Tool& tool) {
    return tool.page<RegListPage>(kRegListPage);
}

RegisterDef& addRegister(ObjectMap& map, const char* name, bool write = false) {
    appendRegister(map);
    RegisterDef& r = map.registers[map.registerCount - 1];
    setText(r.name, name);
    if (write) {
        r.readPeriodic = 0;
        r.writePeriodic = 1;
    }
    return r;
}

void runAction(Tool& tool, int action) {
    listPage(tool).actionList()->setCurrentIndex(action);
    listPage(tool).executeButton()->click();
}

TEST(RegListPage, ColumnsAndTheSlaveModeDashes) {
    Tool tool;
    RegisterDef& pump = addRegister(*tool.map, "Pump1");
    pump.fbNumber = 3;
    pump.objectNumber = 5;
    pump.slave = 7;
    pump.packed = 1;
    pump.inDevice = 1;
    RegisterDef& valve = addRegister(*tool.map, "Valve");
    valve.readPeriodic = 0;
    valve.writeOnUpdate = 1;
    valve.fbNumber = 4;
    valve.bitNumber = 3;
    valve.format = 6;
    valve.highRegFirst = 1;
    addRegister(*tool.map, "Spare").readPeriodic = 0; // no access mode: no block shown
    tool.map->registers[2].fbNumber = 9;
    RegListPage& page = listPage(tool);
    page.refresh();
    const MapTableModel& model = *page.model();

    EXPECT_EQ(headings(model), (QStringList{"", "FB #", "Obj #", "R/W", "Type", "Reg #", "Bit #", "Format",
                                            "Slave", "Packed", "Hi reg 1st", "Reg. Name"}));
    EXPECT_EQ(rowTexts(model, 0),
              (QStringList{"OLS 3", "5", "R", "HOLD", "1", "-", "U16", "7", "Y", "N", "Pump1"}));
    EXPECT_EQ(rowTexts(model, 1),
              (QStringList{"OLA 4", "---", "W+", "HOLD", "2", "2", "BIT", "1", "N", "Y", "Valve"}));
    EXPECT_EQ(rowTexts(model, 2).first(), QStringLiteral("---"));
    EXPECT_NE(imageKey(model, 0), imageKey(model, 1)); // in device, not in device

    RegImportPage& import = tool.page<RegImportPage>(kRegImportPage);
    tool.prompter.files = {examplePath("ahu-registers.csv")};
    import.importAction()->trigger();
    tool.window->options().gatewaySlave = true;
    page.refresh();
    import.refresh();
    EXPECT_EQ(rowTexts(model, 0),
              (QStringList{"OLS 3", "5", "-", "HOLD", "1", "-", "U16", "-", "-", "N", "Pump1"}));
    EXPECT_EQ(rowTexts(model, 1),
              (QStringList{"OLA 4", "---", "-", "HOLD", "2", "-", "BIT", "-", "-", "Y", "Valve"}));
    EXPECT_EQ(rowTexts(*import.model(), 0),
              (QStringList{"R", "INPUT", "1", "-", "S16", "3", "N", "N", "Supply air temp"}));

    tool.window->options().modicon = true;
    tool.window->notationChanged();
    EXPECT_EQ(headings(model), (QStringList{"", "FB #", "Obj #", "R/W", "Modicon #", "Bit #", "Format",
                                            "Slave", "Packed", "Hi reg 1st", "Reg. Name"}));
    EXPECT_EQ(model.index(0, 4).data().toString(), QStringLiteral("40001"));
}

TEST(RegListPage, RowButtonsActOnTheSelectedRowAndSayWhenRefused) {
    Tool tool;
    RegListPage& page = listPage(tool);
    page.deleteButton()->click();
    EXPECT_EQ(tool.prompter.messageTexts(), QStringList{"Unable to delete this line."});

    page.appendButton()->click();
    page.appendButton()->click();
    page.selectRow(1);
    page.insertButton()->click();
    ASSERT_EQ(tool.map->registerCount, 3);
    EXPECT_EQ(page.model()->rowCount(), 3);
    EXPECT_EQ(tool.map->registers[1].regNumber, 3); // the next free number, placed at the selected row
    page.deleteButton()->click();
    EXPECT_EQ(tool.map->registers[1].regNumber, 2);
    EXPECT_EQ(page.grid()->currentIndex().row(), 1);

    tool.map->registerCount = kEditRowLimit;
    tool.prompter.messages.clear();
    page.insertButton()->click();
    page.appendButton()->click();
    EXPECT_EQ(tool.prompter.messageTexts(),
              (QStringList{"Could not insert register.", "Could not insert register."}));
    EXPECT_EQ(tool.map->registerCount, kEditRowLimit);
}

TEST(RegListPage, EveryActionReportsItsRefusal) {
    const struct {
        const char* name;
        std::function<void(ObjectMap&)> setUp;
        int action;
        const char* message; // nullptr: none
    } cases[] = {
        {"NV list exists",
         [](ObjectMap& m) {
             addRegister(m, "A");
             appendNV(m);
         },
         kCreateNVsFromRegisters, "NV list already assigned.\nClear NV list first."},
        {"121 writes",
         [](ObjectMap& m) {
             for (int i = 0; i < 121; ++i) addRegister(m, "W", true);
         },
         kCreateNVsFromRegisters,
         "Number of function blocks requested in list\nexceeds maximum number of NVI's."},
        {"121 reads",
         [](ObjectMap& m) {
             for (int i = 0; i < 121; ++i) addRegister(m, "R");
         },
         kCreateNVsFromRegisters,
         "Number of function blocks requested in list\nexceeds maximum number of NVO's."},
        {"object in use",
         [](ObjectMap& m) {
             addRegister(m, "A");
             m.object(1)->flags = ObjectFlag::InUse;
         },
         kAssignObjectsFromRegisters, "Master object list already configured.\nClear master list first."},
        {"401 registers",
         [](ObjectMap& m) {
             for (int i = 0; i < 401; ++i) addRegister(m, "R");
         },
         kAssignObjectsFromRegisters,
         "Number of objects requested in list\nexceeds maximum number of objects."},
        {"remove", [](ObjectMap& m) { addRegister(m, "A"); }, kRemoveRegisterObjects, nullptr},
        {"rebuild", [](ObjectMap& m) { addRegister(m, "A"); }, kRebuildRegisterList, nullptr},
        {"no action", [](ObjectMap& m) { addRegister(m, "A"); }, kRegListNoAction, nullptr},
    };
    for (const auto& c : cases) {
        Tool tool;
        c.setUp(*tool.map);
        runAction(tool, c.action);
        const QStringList expected = c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList{};
        EXPECT_EQ(tool.prompter.messageTexts(), expected) << c.name;
        EXPECT_EQ(listPage(tool).model()->rowCount(), tool.map->registerCount) << c.name;
        EXPECT_TRUE(korvex::testing::checkLinks(*tool.map)) << c.name;
    }
}

TEST(RegListPage, ClearAsksOnlyWhenTheListHasRows) {
    Tool tool;
    tool.map->object(2)->registerRow = 1; // a stale link: cleared all the same
    listPage(tool).clearAction()->trigger();
    EXPECT_TRUE(tool.prompter.messages.empty());
    EXPECT_EQ(tool.map->object(2)->registerRow, 0);

    addRegister(*tool.map, "A");
    tool.prompter.answers = {false, true};
    listPage(tool).clearAction()->trigger();
    EXPECT_EQ(tool.map->registerCount, 1);
    listPage(tool).clearAction()->trigger();
    EXPECT_EQ(tool.map->registerCount, 0);
    EXPECT_EQ(listPage(tool).model()->rowCount(), 0);
    ASSERT_EQ(tool.prompter.messages.size(), 2u);
    EXPECT_EQ(tool.prompter.messages[0].text,
              QStringLiteral("Are you sure you want to\ndiscard all register configuration?"));
    EXPECT_EQ(tool.prompter.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(tool.prompter.messages[0].icon, MessageIcon::Error);
}

// A cancel in either question says nothing; a written file says "File saved.".
TEST(RegListPage, ExportSaysFileSavedAndACancelSaysNothing) {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("old.csv"));
    QFile old(existing);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep");
    old.close();
    const QString failed = QStringLiteral("Failed to create file.");
    const QString unwritable = dir.filePath(QStringLiteral("no-such-folder/regs.csv"));
    const struct {
        QString file; // empty: the dialog is cancelled
        QStringList messages;
    } cases[] = {
        {QString(), {}},
        {dir.filePath(QStringLiteral("regs")), {QString::fromLatin1(text::kFileSaved)}},
        {existing, {QString::fromLatin1(text::kOverwrite)}},
        {unwritable, {QStringLiteral("Error opening CSV file %1\n").arg(unwritable), failed}},
    };
    for (const auto& c : cases) {
        Tool tool;
        addRegister(*tool.map, "Pump1");
        tool.prompter.files = {c.file};
        tool.prompter.answers = {false}; // the overwrite question is cancelled
        listPage(tool).exportCsvAction()->trigger();
        EXPECT_EQ(tool.prompter.messageTexts(), c.messages) << c.file.toStdString();
        EXPECT_EQ(tool.prompter.lastFilters, QStringLiteral("Modbus register list (*.csv);;All files (*.*)"));
    }
    EXPECT_EQ(
        fileBytes(dir.filePath(QStringLiteral("regs.csv"))),
        QByteArray(
            "RW,REG,TYPE,FORMAT,SLAVE,BITNUMBER,PACKED,HIGHREGFIRST,NAME\r\nR,1,HOLD,U16,1,,F,F,Pump1\r\n"));
    EXPECT_EQ(fileBytes(existing), QByteArray("keep"));
}

TEST(RegListPage, SelectionSurvivesRefreshesAndFollowsAShorterList) {
    Tool tool;
    for (int i = 0; i < 5; ++i) addRegister(*tool.map, "R");
    RegListPage& page = listPage(tool);
    showPage(tool, kRegListPage);
    clickRow(page.grid(), 4);
    EXPECT_EQ(page.selectedRow(), 4);
    page.refresh();
    tool.window->notationChanged();
    EXPECT_EQ(page.grid()->currentIndex().row(), 4);
    page.deleteButton()->click();
    EXPECT_EQ(page.selectedRow(), 3);
    EXPECT_EQ(page.grid()->selectionModel()->selectedRows().size(), 1);
}

TEST(RegListPage, DoubleClickOpensTheRegisterEditorInRegisterListMode) {
    Tool tool;
    for (const char* name : {"A", "B", "C"}) addRegister(*tool.map, name);
    RegListPage& page = listPage(tool);
    page.refresh();
    showPage(tool, kRegListPage);
    int row = -1;
    RegEditMode mode = RegEditMode::MasterList;
    onNextDialog([&](QDialog& dialog) {
        auto* editor = qobject_cast<ModRegEdit*>(&dialog);
        if (editor) {
            row = editor->row();
            mode = editor->mode();
        }
        dialog.reject();
    });
    doubleClickRow(page.grid(), 2);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(mode, RegEditMode::RegisterList);
    EXPECT_EQ(page.selectedRow(), 2);
}

void twoRegisters(ObjectMap& map) {
    addRegister(map, "A");
    addRegister(map, "B");
}

void registersAndNVs(ObjectMap& map) {
    twoRegisters(map);
    ASSERT_EQ(nvListFromRegisters(map), kOk);
}

void linkedLists(ObjectMap& map) {
    registersAndNVs(map);
    ASSERT_EQ(masterListFromRegisters(map), kOk);
}

void linkedWithASpareRegister(ObjectMap& map) {
    linkedLists(map);
    addRegister(map, "spare"); // no object of the master list has it
}

// Every edit of the register list makes the map unsaved: the title shows it and closing asks.
TEST(RegListPage, EveryListEditMakesTheMapUnsaved) {
    const struct {
        const char* edit;
        void (*setUp)(ObjectMap&);
        std::function<void(Tool&)> run;
    } cases[] = {
        {"insert", twoRegisters, [](Tool& t) { listPage(t).insertButton()->click(); }},
        {"append", twoRegisters, [](Tool& t) { listPage(t).appendButton()->click(); }},
        {"delete", twoRegisters, [](Tool& t) { listPage(t).deleteButton()->click(); }},
        {"clear", twoRegisters, [](Tool& t) { listPage(t).clearAction()->trigger(); }},
        {"create NVs", twoRegisters, [](Tool& t) { runAction(t, kCreateNVsFromRegisters); }},
        {"assign objects", registersAndNVs, [](Tool& t) { runAction(t, kAssignObjectsFromRegisters); }},
        {"remove assignments", linkedLists, [](Tool& t) { runAction(t, kRemoveRegisterObjects); }},
        {"rebuild", linkedWithASpareRegister, [](Tool& t) { runAction(t, kRebuildRegisterList); }},
    };
    const QString title = QString::fromLatin1(text::kTitle);
    QTemporaryDir dir;
    for (const auto& c : cases) {
        Tool tool;
        c.setUp(*tool.map);
        tool.prompter.files = {dir.filePath(QStringLiteral("saved.xml"))};
        tool.prompter.answers = {true}; // replace the file of the case before
        tool.page<MasterListPage>(kMasterListPage).saveMapAsAction()->trigger();
        tool.window->selectPage(kRegListPage);
        ASSERT_EQ(tool.window->windowTitle(), title) << c.edit;
        c.run(tool);
        EXPECT_EQ(tool.window->windowTitle(), title + u'*') << c.edit;
        tool.prompter.messages.clear();
        tool.prompter.answers = {false};
        QCloseEvent event;
        QCoreApplication::sendEvent(tool.window.get(), &event);
        EXPECT_FALSE(event.isAccepted()) << c.edit;
        EXPECT_EQ(tool.prompter.messageTexts(), QStringList{QString::fromLatin1(text::kDiscardAndClose)})
            << c.edit;
    }
}

// The sample register list becomes a whole map: marked in the import grid, added, NVs and
// objects built from it, both lists exported and the map saved and opened again.
TEST(RegListPage, SampleCsvToABuiltExportedAndSavedMap) {
    QTemporaryDir dir;
    Tool tool;
    showPage(tool, kRegImportPage);
    RegImportPage& import = tool.page<RegImportPage>(kRegImportPage);
    tool.prompter.files = {examplePath("ahu-registers.csv")};
    import.importAction()->trigger();
    clickHeading(import.grid(), 0);
    clickRow(import.grid(), 12); // leave the second slave's valve out
    import.addButton()->click();
    EXPECT_EQ(import.statusText(), QStringLiteral("12 entries added to list."));

    tool.window->selectPage(kRegListPage);
    runAction(tool, kCreateNVsFromRegisters);
    runAction(tool, kAssignObjectsFromRegisters);
    ASSERT_TRUE(tool.prompter.messages.empty()) << tool.prompter.messageTexts().join("|").toStdString();
    EXPECT_EQ(tool.map->nvCount, 12);
    EXPECT_EQ(rowTexts(*listPage(tool).model(), 8).mid(0, 3), (QStringList{"OLA 1", "9", "W"}));
    EXPECT_EQ(rowTexts(*listPage(tool).model(), 0).mid(0, 2), (QStringList{"OLS 1", "1"}));
    EXPECT_TRUE(korvex::testing::checkLinks(*tool.map));

    tool.prompter.files = {dir.filePath(QStringLiteral("ahu-out.csv")),
                           dir.filePath(QStringLiteral("gateway")),
                           dir.filePath(QStringLiteral("plant.xml"))};
    listPage(tool).exportCsvAction()->trigger();
    tool.page<NVListPage>(kNVListPage).exportXifAction()->trigger();
    tool.page<MasterListPage>(kMasterListPage).saveMapAsAction()->trigger();
    EXPECT_EQ(tool.prompter.messageTexts(), QStringList{QString::fromLatin1(text::kFileSaved)});
    tool.prompter.messages.clear();
    EXPECT_TRUE(fileBytes(dir.filePath(QStringLiteral("ahu-out.csv")))
                    .contains("W+,1,COIL1,BIT,3,,F,F,Fan start/stop\r\n"));
    EXPECT_TRUE(
        fileBytes(dir.filePath(QStringLiteral("gateway.xif"))).contains("VAR Supply_air_temp 3 0 0 0\r\n"));

    tool.page<MasterListPage>(kMasterListPage).newMapAction()->trigger();
    tool.prompter.files = {dir.filePath(QStringLiteral("plant.xml"))};
    tool.page<MasterListPage>(kMasterListPage).openMapAction()->trigger();
    EXPECT_TRUE(tool.prompter.messages.empty()) << tool.prompter.messageTexts().join("|").toStdString();
    EXPECT_EQ(tool.map->registerCount, 12);
    EXPECT_EQ(listPage(tool).model()->rowCount(), 12);
    EXPECT_EQ(textOf(tool.map->object(12)->name), "Fan start/stop");
    EXPECT_TRUE(korvex::testing::checkLinks(*tool.map));
}

} // namespace
} // namespace korvex::ui::test
