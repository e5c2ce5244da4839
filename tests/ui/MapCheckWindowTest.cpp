// The map checker in the window: the count in the top strip follows every change of the map, the
// problems window lists the findings and goes to their place, and a send asks first while the
// map has errors.
#include "ui/support/DevicePagesTestSupport.h"
#include "ui/support/ListPagesTestSupport.h"

#include "model/lists/ListBuilding.h"
#include "support/MapBuilders.h"
#include "ui/dialogs/ModRegEdit.h"
#include "ui/dialogs/ProblemsWindow.h"
#include "ui/models/ProblemsModel.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/pages/modbusport/ModbusPortPage.h"
#include "ui/pages/nvlist/NVListPage.h"
#include "ui/window/MapProblems.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

using testing::addRegisterRow;

const QString kOneError = QStringLiteral("1 error, 0 warnings");
const QString kClean = QStringLiteral("0 errors, 0 warnings");

// Pairs of objects writing one holding register each (fc 16 and fc 6): holding register 100 of
// slave 1, then 200, ...; each object with its NV, as the Reg List's two actions make them.
void buildSharedWrites(Tool& tool, int pairs) {
    tool.window->session().edit(kWholeMap, [pairs](ObjectMap& map) {
        for (int p = 1; p <= pairs; ++p) {
            const auto number = static_cast<uint16_t>(100 * p);
            addRegisterRow(map, RegisterFormat::U16, number, true, "Pump");
            addRegisterRow(map, RegisterFormat::U16, number, true, "Fan").type = RegisterType::Holding1;
        }
        EXPECT_EQ(nvListFromRegisters(map), kOk);
        EXPECT_EQ(masterListFromRegisters(map), kOk);
    });
}

bool countShows(Tool& tool, const QString& text) {
    return waitFor([&] { return tool.window->problemCountShown() == text; });
}

MasterListPage& masterPage(Tool& tool) {
    return tool.page<MasterListPage>(kMasterListPage);
}

ProblemsWindow& openProblems(Tool& tool) {
    masterPage(tool).checkMapAction()->trigger();
    EXPECT_NE(tool.window->problemsWindow(), nullptr);
    EXPECT_TRUE(tool.window->problemsWindow()->isVisible());
    QCoreApplication::processEvents();
    return *tool.window->problemsWindow();
}

int rowOfPlace(const ProblemsModel& model, const QString& place) {
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.index(r, ProblemsModel::PlaceColumn).data().toString() == place) return r;
    return -1;
}

// The class name of a modal dialog without its namespace.
QString className(const QDialog& dialog) {
    return QString::fromLatin1(dialog.metaObject()->className()).section(QStringLiteral("::"), -1);
}

TEST(MapCheckWindow, SharedWriteCountedListedAndMendedInTheRegisterEditor) {
    Tool tool;
    showPage(tool, kConnectPage);
    ASSERT_TRUE(countShows(tool, kClean));
    buildSharedWrites(tool, 1);
    ASSERT_TRUE(countShows(tool, kOneError));

    ProblemsWindow& problems = openProblems(tool);
    EXPECT_EQ(problems.countShown(), kOneError);
    ASSERT_EQ(problems.model()->rowCount(), 1);
    EXPECT_EQ(QStringList(problems.model()->index(0, 0).data().toString()) + rowTexts(*problems.model(), 0),
              (QStringList{"register-shared-write", "error", "object 1",
                           "writes holding register 100 of slave 1, as does object 2"}));

    // The double-click goes to object 1 on the Master List and opens its register editor there.
    QString opened;
    onNextDialog([&](QDialog& dialog) {
        opened = className(dialog);
        if (auto* editor = qobject_cast<ModRegEdit*>(&dialog))
            opened += QStringLiteral(" row %1 mode %2").arg(editor->row()).arg(int(editor->mode()));
        typeInto(dialog, "registerNumber", QStringLiteral("101"));
        click(dialog, "apply");
    });
    doubleClickRow(problems.grid(), 0);
    EXPECT_EQ(opened, QStringLiteral("ModRegEdit row 0 mode 2"));
    EXPECT_EQ(tool.window->currentPage(), kMasterListPage);
    EXPECT_EQ(masterPage(tool).selectedObject(), 1);

    // Mended: the strip and the open list follow.
    EXPECT_TRUE(countShows(tool, kClean));
    EXPECT_EQ(problems.model()->rowCount(), 0);
    EXPECT_EQ(problems.countShown(), kClean);
}

// Each place kind leads to its page, its row selected and the row's editor open.
TEST(MapCheckWindow, DoubleClickGoesToThePlaceAndOpensItsEditor) {
    const struct {
        const char* place;
        std::function<void(ObjectMap&)> setUp;
        Page page;
        const char* editor;
        std::function<int(Tool&)> selected;
    } cases[] = {
        {"nv 2",
         [](ObjectMap& m) {
             appendNV(m);
             appendNV(m);
         },
         kNVListPage, "NVEdit", [](Tool& t) { return t.page<NVListPage>(kNVListPage).selectedRow() + 1; }},
        {"register 1", [](ObjectMap& m) { appendRegister(m); }, kRegListPage, "ModRegEdit",
         [](Tool& t) { return t.page<ListPage>(kRegListPage).selectedRow() + 1; }},
        {"tcp 1",
         [](ObjectMap& m) {
             m.deviceModel = kTcpDeviceModel;
             m.tcpMap[0] = TcpDeviceMap{9, 3, 1, {10, 0, 0, 9}, 502};
         },
         kModbusPortPage, "TcpMap",
         [](Tool& t) { return t.page<ModbusPortPage>(kModbusPortPage).selectedTcpEntry(); }},
    };
    for (const auto& c : cases) {
        Tool tool;
        showPage(tool, kConnectPage);
        tool.window->session().edit(kWholeMap, c.setUp);
        ProblemsWindow& problems = openProblems(tool);
        const int row = rowOfPlace(*problems.model(), QString::fromLatin1(c.place));
        ASSERT_GE(row, 0) << c.place;
        QString opened;
        onNextDialog([&](QDialog& dialog) {
            opened = className(dialog);
            dialog.reject();
        });
        doubleClickRow(problems.grid(), row);
        EXPECT_EQ(opened, QString::fromLatin1(c.editor)) << c.place;
        EXPECT_EQ(tool.window->currentPage(), c.page) << c.place;
        EXPECT_EQ(c.selected(tool), QString::fromLatin1(c.place).section(u' ', 1).toInt()) << c.place;
    }
}

// Cancel sends nothing and says so; OK goes on as before. The question counts the errors.
TEST(MapCheckWindow, SendAsksOnceWhileTheMapHasErrors) {
    {
        SimTool tool;
        buildSharedWrites(tool, 2);
        tool.window->selectPage(kNVListPage);
        auto& page = tool.page<NVListPage>(kNVListPage);
        tool.prompter.answers = {false};
        page.actionList()->setCurrentIndex(kSendNVDefinitions);
        page.executeButton()->click();
        EXPECT_EQ(tool.prompter.messageTexts(), QStringList{"The map has 2 errors. Send anyway?"});
        EXPECT_EQ(page.statusText(), QStringLiteral("Send cancelled: the map has errors."));
        EXPECT_TRUE(tool.prompter.offeredNetVarRanges.empty());
        EXPECT_EQ(tool.gateway().commandCount(), 0);
    }
    SimTool tool;
    buildSharedWrites(tool, 1);
    tool.window->selectPage(kMasterListPage);
    MasterListPage& page = masterPage(tool);
    tool.prompter.answers = {false, true};
    page.actionList()->setCurrentIndex(kSendObjects);
    page.executeButton()->click();
    ASSERT_EQ(tool.prompter.messages.size(), 1u);
    EXPECT_EQ(tool.prompter.messages[0].text, QStringLiteral("The map has 1 error. Send anyway?"));
    EXPECT_EQ(tool.prompter.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(page.statusText(), QStringLiteral("Send cancelled: the map has errors."));
    EXPECT_TRUE(tool.prompter.offeredObjectRanges.empty());
    EXPECT_EQ(tool.gateway().commandCount(), 0);

    tool.prompter.netVarRangeAnswers = {{RangeAnswer::Ok, NetVarRanges{1, 2, 0, 0}}};
    page.actionList()->setCurrentIndex(kSendNVs);
    page.executeButton()->click();
    EXPECT_EQ(tool.prompter.messages.size(), 2u);
    EXPECT_TRUE(tool.waitForStatus(kNVListPage, QStringLiteral("NVI 1 written ok.\nNVI 2 written ok.\n")))
        << tool.window->page(kNVListPage)->statusText().toStdString();
    EXPECT_GT(tool.gateway().commandCount(), 0);
}

// Saved, made blank, opened again: the count follows; a burst of announcements runs one check.
TEST(MapCheckWindow, CountFollowsNewAndOpenedMaps) {
    Tool tool;
    showPage(tool, kMasterListPage);
    buildSharedWrites(tool, 1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shared.xml"));
    tool.prompter.files = {path};
    masterPage(tool).saveMapAsAction()->trigger();
    ASSERT_TRUE(QFile::exists(path));
    masterPage(tool).newMapAction()->trigger();
    EXPECT_TRUE(countShows(tool, kClean));
    tool.prompter.files = {path};
    masterPage(tool).openMapAction()->trigger();
    EXPECT_TRUE(countShows(tool, kOneError));

    const int runs = tool.window->problems().runs();
    for (int n = 1; n <= kObjectCount; ++n) tool.window->session().announceObjects(n, n);
    waitFor([] { return false; }, 50);
    EXPECT_EQ(tool.window->problems().runs(), runs + 1);
}

// The Master List help topic explains every rule.
TEST(MapCheckWindow, HelpTopicNamesEveryRule) {
    const QByteArray help = fileBytes(QStringLiteral(KORVEX_TEST_SOURCE_DIR "/help/korvex-section-9.html"));
    ASSERT_FALSE(help.isEmpty());
    for (const RuleInfo& rule : mapRules()) {
        EXPECT_TRUE(help.contains(QByteArray("<code>") + rule.id + "</code>")) << rule.id;
        EXPECT_TRUE(help.contains(rule.summary)) << rule.id;
    }
}

} // namespace
} // namespace korvex::ui::test
