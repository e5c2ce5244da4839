// The Master List page: the grid's cells and columns, selection across refreshes, the
// double-click zones, and the file commands up to the map file itself.
#include "ui/support/DevicePagesTestSupport.h"

#include "model/FixedText.h"
#include "ui/models/MasterListModel.h"
#include "ui/pages/lonworks/LonWorksPage.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/window/UiTexts.h"
#include "vocab/SnvtCatalogue.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

QStringList headers(const MasterListModel& model) {
    QStringList titles;
    for (int c = 0; c < model.columnCount(); ++c)
        titles << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return titles;
}

QString cell(const ObjectMap& map, int n, MasterColumn column, bool slave = false) {
    return MasterListModel::cellText(map, n, column, slave);
}

TEST(MasterListModel, AlwaysFourHundredRowsWithTheNotationsColumns) {
    Tool tool;
    MasterListModel& model = *tool.page<MasterListPage>(kMasterListPage).model();
    EXPECT_EQ(model.rowCount(), 400);
    EXPECT_EQ(headers(model), (QStringList{"", "Obj #", "R/W", "Type", "Reg #", "Slave", "Dir", "FB #",
                                           "SNVT Type", "Object Name"}));
    tool.window->options().modicon = true;
    tool.window->notationChanged();
    EXPECT_EQ(headers(model), (QStringList{"", "Obj #", "R/W", "Modicon #", "Slave", "Dir", "FB #",
                                           "SNVT Type", "Object Name"}));
    EXPECT_EQ(model.columnWidth(3), 120);
}

TEST(MasterListModel, AccessColumnTestsReadThenWriteThenWriteOnChange) {
    auto map = std::make_unique<ObjectMap>();
    const struct {
        uint32_t flags;
        const char* text;
    } cases[] = {{0, "-"},
                 {ObjectFlag::ReadPeriodic | ObjectFlag::WritePeriodic, "R"},
                 {ObjectFlag::WritePeriodic | ObjectFlag::WriteOnUpdate, "W"},
                 {ObjectFlag::WriteOnUpdate, "W+"}};
    for (const auto& c : cases) {
        map->object(1)->flags = c.flags;
        EXPECT_EQ(cell(*map, 1, MasterColumn::Access), QString::fromLatin1(c.text));
    }
}

TEST(MasterListModel, RegisterAndNVColumns) {
    auto map = std::make_unique<ObjectMap>();
    DataObject& o = *map->object(12);
    o.flags = ObjectFlag::InUse | ObjectFlag::InputNV;
    o.modtype = 4; // holding register
    o.modreg = 17;
    o.slave = 9;
    o.lonNV = 3;
    setText(o.name, "Supply temp");
    EXPECT_EQ(cell(*map, 12, MasterColumn::Number), QStringLiteral("12"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Type), QStringLiteral("HOLD"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Register), QStringLiteral("17"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Modicon), QStringLiteral("40017"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Slave), QStringLiteral("9"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Slave, true), QStringLiteral("-"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Dir), QStringLiteral("NVI"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Fb), QStringLiteral("OLA 3"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Name), QStringLiteral("Supply temp"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Snvt), QStringLiteral("---")); // no NV row linked

    o.flags = ObjectFlag::InUse | ObjectFlag::OutputNV;
    EXPECT_EQ(cell(*map, 12, MasterColumn::Dir), QStringLiteral("NVO"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Fb), QStringLiteral("OLS 3"));
    o.flags = ObjectFlag::InUse;
    EXPECT_EQ(cell(*map, 12, MasterColumn::Dir), QStringLiteral("---"));
    EXPECT_EQ(cell(*map, 12, MasterColumn::Fb), QStringLiteral("---"));
}

TEST(MasterListModel, SnvtColumnNamesTheTypeOrTheStructureField) {
    int structured = 0;
    for (int t = 1; t <= SnvtCount && !structured; ++t)
        if (!snvt_fields(t).empty()) structured = t;
    ASSERT_NE(structured, 0);
    auto map = std::make_unique<ObjectMap>();
    map->nvCount = 3;
    map->nvs[0] = NetVar{};
    map->nvs[0].defined = 1;
    map->nvs[0].snvt = 105;
    map->nvs[1].defined = 1;
    map->nvs[1].snvt = static_cast<uint8_t>(structured);
    map->nvs[2].defined = 1;
    map->nvs[2].isField = 1;
    map->nvs[2].fieldName = 0;

    map->object(1)->nvRow = 1;
    EXPECT_EQ(cell(*map, 1, MasterColumn::Snvt), QString::fromLatin1(snvt_name(105)));
    map->object(2)->nvRow = 3;
    EXPECT_EQ(cell(*map, 2, MasterColumn::Snvt),
              QStringLiteral("%1.%2").arg(QString::fromLatin1(snvt_name(structured)),
                                          QString::fromLatin1(snvt_fields(structured)[0].name)));
    map->nvs[2].fieldName = -1; // a field row without a name
    EXPECT_EQ(cell(*map, 2, MasterColumn::Snvt), QStringLiteral("---"));
    map->object(3)->nvRow = 9; // beyond the list
    EXPECT_EQ(cell(*map, 3, MasterColumn::Snvt), QStringLiteral("---"));
}

TEST(MasterListModel, ImageShowsInSyncOnlyWhenConfiguredAndInDevice) {
    DataObject o;
    EXPECT_FALSE(MasterListModel::objectInSync(o));
    o.syncFlags = SyncFlag::InDevice;
    EXPECT_FALSE(MasterListModel::objectInSync(o));
    o.syncFlags = SyncFlag::InDevice | SyncFlag::Configured;
    EXPECT_TRUE(MasterListModel::objectInSync(o));
}

TEST(MasterListModel, DoubleClickZonesFollowTheColumns) {
    const struct {
        MasterColumn column;
        EditZone zone;
    } cases[] = {{MasterColumn::Image, EditZone::Object},    {MasterColumn::Number, EditZone::Object},
                 {MasterColumn::Access, EditZone::Register}, {MasterColumn::Modicon, EditZone::Register},
                 {MasterColumn::Type, EditZone::Register},   {MasterColumn::Register, EditZone::Register},
                 {MasterColumn::Slave, EditZone::Register},  {MasterColumn::Dir, EditZone::NetVar},
                 {MasterColumn::Fb, EditZone::NetVar},       {MasterColumn::Snvt, EditZone::NetVar},
                 {MasterColumn::Name, EditZone::Object}};
    for (const auto& c : cases) EXPECT_EQ(editZoneOf(c.column), c.zone) << static_cast<int>(c.column);
}

TEST(MasterListPage, SelectionSurvivesRefreshes) {
    Tool tool;
    MasterListPage& page = tool.page<MasterListPage>(kMasterListPage);
    EXPECT_EQ(page.selectedObject(), 0);
    page.grid()->selectRow(41);
    EXPECT_EQ(page.selectedObject(), 42);
    page.refresh();
    EXPECT_EQ(page.grid()->currentIndex().row(), 41);
    tool.window->options().modicon = true;
    tool.window->notationChanged();
    EXPECT_EQ(page.grid()->currentIndex().row(), 41);
    EXPECT_EQ(page.grid()->selectionModel()->selectedRows().size(), 1);
}

TEST(MasterListPage, ActionListStartsAtNoAction) {
    Tool tool;
    QComboBox* actions = tool.page<MasterListPage>(kMasterListPage).actionList();
    const QStringList expected{"No action",
                               "Get NV definitions from device",
                               "Send NV definitions to device",
                               "Get Object maps from device",
                               "Send Object maps to device",
                               "Completely unconfigure device",
                               "Compare map with device"};
    ASSERT_EQ(actions->count(), expected.size());
    for (int i = 0; i < actions->count(); ++i) EXPECT_EQ(actions->itemText(i), expected[i]);
    EXPECT_EQ(actions->currentIndex(), 0);
}

TEST(MasterListFiles, OpenRefusesAPathWithoutXml) {
    Tool tool;
    tool.map->object(5)->datatype = 1; // stays: nothing else changes
    tool.prompter.files = {QStringLiteral("/tmp/plant.txt")};
    tool.page<MasterListPage>(kMasterListPage).openMapAction()->trigger();
    ASSERT_EQ(tool.prompter.messages.size(), 1u);
    EXPECT_EQ(tool.prompter.messages[0].text, QStringLiteral("Need a .xml file."));
    EXPECT_EQ(tool.prompter.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(tool.prompter.lastFilters, QStringLiteral("XML object map (*.xml);;All files (*.*)"));
    EXPECT_EQ(tool.map->object(5)->datatype, 1);
}

TEST(MasterListFiles, CancelledOpenStillTakesThePortSettingsAsSaved) {
    Tool tool;
    tool.window->session().setFileName(QStringLiteral("/tmp/old.xml"));
    tool.map->modbus.baud = 9600;
    tool.map->saveIndicators.portSettings = false;
    tool.page<MasterListPage>(kMasterListPage).openMapAction()->trigger();
    EXPECT_TRUE(tool.prompter.messages.empty());
    EXPECT_TRUE(tool.window->session().fileName().isEmpty());
    EXPECT_TRUE(tool.map->saveIndicators.portSettings);
    EXPECT_EQ(tool.map->fileSnapshot.baud, 9600);
    EXPECT_EQ(tool.map->pageSnapshot.baud, 9600);
}

TEST(MasterListFiles, CancelledSaveAsLeavesTheCloseGuardAsking) {
    Tool tool;
    tool.map->modbus.baud = 4800;
    tool.map->saveIndicators.portSettings = false;
    tool.page<MasterListPage>(kMasterListPage).saveMapAsAction()->trigger();
    EXPECT_FALSE(tool.map->saveIndicators.portSettings);
    EXPECT_TRUE(tool.window->page(kMasterListPage)->statusText().isEmpty());
}

TEST(MasterListFiles, NewForgetsTheFileAndEmptiesTheMap) {
    Tool tool;
    tool.window->session().setFileName(QStringLiteral("/tmp/plant.xml"));
    tool.window->selectPage(kMasterListPage);
    tool.map->object(8)->flags = ObjectFlag::InUse;
    tool.map->registerCount = 2;
    tool.map->modbus.baud = 2400; // port settings are not part of a new map, and stay unsaved
    tool.window->page(kMasterListPage)->setStatus(QStringLiteral("old"));
    tool.page<MasterListPage>(kMasterListPage).newMapAction()->trigger();
    EXPECT_TRUE(tool.window->session().fileName().isEmpty());
    EXPECT_EQ(tool.window->windowTitle(), QString::fromLatin1(text::kTitle) + u'*');
    EXPECT_TRUE(tool.map->object(8)->isEmpty());
    EXPECT_EQ(tool.map->registerCount, 0);
    EXPECT_EQ(tool.map->modbus.baud, 2400);
    EXPECT_TRUE(tool.window->page(kMasterListPage)->statusText().isEmpty());
    // The unsaved port settings were given up only on the question's OK.
    EXPECT_EQ(tool.prompter.messageTexts(), QStringList{QString::fromLatin1(text::kDiscardForBlankMap)});
}

} // namespace
} // namespace korvex::ui::test

namespace korvex::ui::test {
namespace {

class MapFileFlow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("plant.xml"));
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(MapFileFlow, SaveAsThenOpenBringsTheMapBack) {
    Tool tool;
    tool.window->selectPage(kMasterListPage);
    DataObject& o = *tool.map->object(4);
    o.flags = ObjectFlag::InUse | ObjectFlag::ReadPeriodic;
    o.datatype = 1;
    o.modtype = 4;
    o.modreg = 12;
    o.slave = 1;
    o.syncFlags = SyncFlag::Configured;
    setText(o.name, "Flow");
    tool.map->modbus.baud = 9600;
    tool.map->saveIndicators = {false, false, true};

    tool.prompter.files = {dir.filePath(QStringLiteral("plant"))}; // ".xml" is added
    tool.page<MasterListPage>(kMasterListPage).saveMapAsAction()->trigger();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(tool.window->session().fileName(), path);
    EXPECT_EQ(tool.window->windowTitle(), QString::fromLatin1(text::kTitle) + QStringLiteral(" [plant.xml]"));
    EXPECT_EQ(tool.window->page(kMasterListPage)->statusText(), QStringLiteral("File saved."));
    EXPECT_TRUE(tool.map->saveIndicators.all());
    EXPECT_EQ(tool.map->fileSnapshot.baud, 9600);

    tool.page<MasterListPage>(kMasterListPage).newMapAction()->trigger();
    EXPECT_TRUE(tool.map->object(4)->isEmpty());
    tool.prompter.files = {path};
    tool.page<MasterListPage>(kMasterListPage).openMapAction()->trigger();
    EXPECT_TRUE(tool.prompter.messages.empty()) << tool.prompter.messageTexts().join("|").toStdString();
    EXPECT_EQ(tool.window->page(kMasterListPage)->statusText(), QStringLiteral("File loaded."));
    EXPECT_EQ(tool.window->windowTitle(), QString::fromLatin1(text::kTitle) + QStringLiteral(" [plant.xml]"));
    EXPECT_EQ(textOf(tool.map->object(4)->name), "Flow");
    EXPECT_EQ(tool.map->object(4)->modreg, 12);
    EXPECT_EQ(tool.page<MasterListPage>(kMasterListPage).model()->index(3, 9).data().toString(),
              QStringLiteral("Flow"));
}

TEST_F(MapFileFlow, SaveAsAsksBeforeReplacingAFile) {
    Tool tool;
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();
    tool.prompter.files = {path};
    tool.prompter.answers = {false};
    tool.page<MasterListPage>(kMasterListPage).saveMapAsAction()->trigger();
    ASSERT_EQ(tool.prompter.messages.size(), 1u);
    EXPECT_EQ(tool.prompter.messages[0].text, QString::fromLatin1(text::kOverwrite));
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("keep me"));
    EXPECT_TRUE(tool.window->session().fileName().isEmpty());
}

// The as-built report of the loaded map: identity as last read, nothing run, the digest of the
// file only while the file holds the map.
TEST_F(MapFileFlow, ExportAsBuiltReportOfTheLoadedMap) {
    Tool tool;
    setText(tool.map->node.loc, "Plant <room>");
    {
        std::lock_guard lock(tool.window->session().mutex());
        tool.window->device().engine().identity.neuronId = {0, 4, 0xA2, 0x3C, 0x51, 7};
    }
    tool.prompter.files = {dir.filePath(QStringLiteral("as-built"))}; // ".html" is added
    tool.page<MasterListPage>(kMasterListPage).exportAsBuiltAction()->trigger();
    const QString report = dir.filePath(QStringLiteral("as-built.html"));
    EXPECT_EQ(tool.window->page(kMasterListPage)->statusText(),
              QStringLiteral("As-built report written to %1.").arg(report));
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray html = file.readAll();
    for (const char* piece :
         {"As-built report: Plant &lt;room&gt;", "<th>Program ID</th><td>not read</td>",
          "<th>Neuron ID</th><td>00:04:A2:3C:51:07</td>", "<th>Map SHA-256</th><td>not saved</td>",
          "<td>probe</td><td>not run</td>", "Result: not run"})
        EXPECT_TRUE(html.contains(piece)) << piece;
}

// A file that fails to load leaves the window as it was: the map, its file name and its saved
// marks (so the close guard still asks about the unsaved work).
TEST_F(MapFileFlow, AMalformedFileIsReportedAndLeavesTheMapAsItWas) {
    Tool tool;
    QFile bad(path);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(
        "<?xml version=\"1.0\" ?>\r\n<configuration>\r\n<modbus><mod clear=\"1\" baud=\"9600\"/></modbus>"
        "\r\n<objects>\r\n");
    bad.close();
    const QString previous = dir.filePath(QStringLiteral("previous.xml"));
    tool.window->session().setFileName(previous);
    tool.map->object(2)->datatype = 3;
    tool.map->modbus.baud = 38400;
    tool.map->saveIndicators.portSettings = false;
    tool.prompter.files = {path};
    tool.page<MasterListPage>(kMasterListPage).openMapAction()->trigger();
    // First the unsaved work is given up (OK), then the file fails and it is kept all the same.
    ASSERT_EQ(tool.prompter.messages.size(), 2u);
    EXPECT_EQ(tool.prompter.messages[0].text, QString::fromLatin1(text::kDiscardAndOpen).arg(path));
    EXPECT_TRUE(tool.prompter.messages[1].text.startsWith(QStringLiteral("Unexpected end of file")))
        << tool.prompter.messages[1].text.toStdString();
    EXPECT_EQ(tool.prompter.messages[1].icon, MessageIcon::Information);
    EXPECT_EQ(tool.map->object(2)->datatype, 3);
    EXPECT_EQ(tool.map->modbus.baud, 38400);
    EXPECT_FALSE(tool.map->saveIndicators.portSettings);
    EXPECT_EQ(tool.window->session().fileName(), previous);
    EXPECT_TRUE(tool.window->page(kMasterListPage)->statusText().isEmpty());
}

// Every page shows the map that is loaded: after New or Open the LonWorks page holds the map's
// location and program-ID selector, never what it showed before.
TEST_F(MapFileFlow, NewAndOpenShowTheLoadedMapOnTheLonWorksPage) {
    Tool tool;
    LonWorksPage& lonWorks = tool.page<LonWorksPage>(kLonWorksPage);
    setText(tool.map->node.loc, "Plant room");
    tool.map->node.pid = 33;
    tool.prompter.files = {path};
    tool.page<MasterListPage>(kMasterListPage).saveMapAsAction()->trigger();
    MasterListPage& master = tool.page<MasterListPage>(kMasterListPage);
    const struct {
        QAction* command;
        const char* location;
        int pid;
    } cases[] = {{master.newMapAction(), "Unassigned", 0}, {master.openMapAction(), "Plant room", 33}};
    for (const auto& c : cases) {
        typeInto(lonWorks.locationBox(), QStringLiteral("Old place"));
        typeInto(lonWorks.selectorBox(), QStringLiteral("40"));
        tool.prompter.files = {path};
        c.command->trigger();
        EXPECT_EQ(textOf(tool.map->node.loc), c.location) << c.location;
        EXPECT_EQ(lonWorks.locationBox()->text(), QString::fromLatin1(c.location)) << c.location;
        EXPECT_EQ(tool.map->node.pid, c.pid) << c.location;
        EXPECT_EQ(lonWorks.selectorBox()->text(), QString::number(c.pid)) << c.location;
    }
}

// A cancelled "Save copy" changes nothing: the next Save writes the current file unasked.
TEST_F(MapFileFlow, CancelledSaveCopyKeepsTheFileName) {
    const QString other = dir.filePath(QStringLiteral("other.xml"));
    QFile existing(other);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    for (const QString& chosen : {QString(), other}) { // the dialog cancelled; the overwrite question
        QFile::remove(path);
        Tool tool;
        tool.window->selectPage(kMasterListPage);
        tool.prompter.files = {path};
        tool.page<MasterListPage>(kMasterListPage).saveMapAsAction()->trigger();
        ASSERT_TRUE(QFile::remove(path));
        tool.prompter.files = {chosen};
        tool.prompter.answers = {false};
        tool.page<MasterListPage>(kMasterListPage).saveMapAsAction()->trigger();
        EXPECT_EQ(tool.window->session().fileName(), path) << chosen.toStdString();
        EXPECT_EQ(tool.window->windowTitle(),
                  QString::fromLatin1(text::kTitle) + QStringLiteral(" [plant.xml]"));
        tool.page<MasterListPage>(kMasterListPage).saveMapAction()->trigger();
        EXPECT_TRUE(QFile::exists(path)) << chosen.toStdString();
        EXPECT_EQ(tool.prompter.messages.size(), chosen.isEmpty() ? 0u : 1u);
    }
}

TEST_F(MapFileFlow, FailedSaveForgetsThePathAndSaysWhy) {
    Tool tool;
    const QString unwritable = dir.filePath(QStringLiteral("missing-folder/plant.xml"));
    tool.window->session().setFileName(unwritable);
    tool.map->saveIndicators.portSettings = false;
    tool.page<MasterListPage>(kMasterListPage).saveMapAction()->trigger();
    ASSERT_EQ(tool.prompter.messages.size(), 1u);
    EXPECT_EQ(tool.prompter.messages[0].text,
              QStringLiteral("Error opening object map file %1\n").arg(unwritable));
    EXPECT_EQ(tool.prompter.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(tool.window->session().fileName().isEmpty());
    EXPECT_FALSE(tool.map->saveIndicators.portSettings);
}

} // namespace
} // namespace korvex::ui::test
