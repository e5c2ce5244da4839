// The main window: start-up state, the title per page, the close guard, the consistency
// messages on tab changes, the in-sync indicator and help per page.
#include "ui/support/UiTestSupport.h"

#include "ui/window/DeviceSession.h"
#include "ui/window/UiTexts.h"

#include "model/FixedText.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

const QString kTitle = QString::fromLatin1(text::kTitle);

TEST(Frame, StartsOnConnectWithEmptyMapAndEverythingSaved) {
    Tool tool;
    ConfigTool& w = *tool.window;
    EXPECT_EQ(w.windowTitle(), kTitle);
    EXPECT_EQ(w.size(), QSize(720, 480));
    EXPECT_EQ(w.currentPage(), kConnectPage);
    EXPECT_EQ(w.deviceModel(), 0);
    EXPECT_EQ(w.deviceModelName(), QStringLiteral("Korvex-A"));
    EXPECT_TRUE(w.session().fileName().isEmpty());
    EXPECT_TRUE(tool.map->saveIndicators.all());
    EXPECT_EQ(tool.map->nvCount, 0);
    EXPECT_EQ(tool.map->registerCount, 0);
    EXPECT_FALSE(w.connectedShown());
    EXPECT_FALSE(w.inSyncShown());

    auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("tabs"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), kPageCount);
    for (int i = 0; i < kPageCount; ++i) EXPECT_EQ(tabs->tabText(i), QString::fromLatin1(text::kTabTexts[i]));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral(" Connect "));
    EXPECT_EQ(tabs->tabText(8), QStringLiteral(" LonWorks "));
}

TEST(Frame, DeviceModelNameFollowsTheIndex) {
    Tool tool;
    const struct {
        int index;
        const char* name;
    } cases[] = {
        {0, "Korvex-A"}, {1, "Korvex-B"}, {2, "Korvex-C"}, {3, "Unrecognized"}, {-1, "Unrecognized"}};
    for (const auto& c : cases) {
        tool.window->setDeviceModel(c.index);
        EXPECT_EQ(tool.window->deviceModelName(), QString::fromLatin1(c.name)) << c.index;
    }
}

TEST(Frame, TitleShowsTheFileOnlyOnMasterList) {
    Tool tool;
    ConfigTool& w = *tool.window;
    w.session().setFileName(QStringLiteral("/tmp/maps/plant.xml"));
    w.selectPage(kMasterListPage);
    EXPECT_EQ(w.windowTitle(), kTitle + QStringLiteral(" [plant.xml]"));
    w.selectPage(kModbusPortPage); // leaves the title as it was
    EXPECT_EQ(w.windowTitle(), kTitle + QStringLiteral(" [plant.xml]"));
    w.selectPage(kConnectPage);
    EXPECT_EQ(w.windowTitle(), kTitle);
    w.selectPage(kModbusPortPage);
    EXPECT_EQ(w.windowTitle(), kTitle);
    w.session().setFileName(QString());
    w.selectPage(kMasterListPage);
    EXPECT_EQ(w.windowTitle(), kTitle);
}

// Every grid's image column is its 15 pixels wide: the style's minimum section would widen it.
TEST(Frame, ImageColumnsAreFifteenPixelsWide) {
    Tool tool;
    tool.window->show();
    for (Page page :
         {kRegImportPage, kRegListPage, kNVImportPage, kNVListPage, kMasterListPage, kViewDataPage}) {
        tool.window->selectPage(page);
        auto* grid = tool.window->page(page)->findChild<QTableView*>();
        ASSERT_NE(grid, nullptr) << page;
        EXPECT_EQ(grid->columnWidth(0), 15) << page;
    }
}

struct CloseCase {
    const char* name;
    bool unsaved;
    bool answer;
    bool expectQuestion;
    bool expectClosed;
};

class CloseGuard : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseGuard, AsksOnlyWhenUnsaved) {
    const CloseCase& c = GetParam();
    Tool tool;
    if (c.unsaved) {
        DataObject& o = *tool.map->object(7);
        o.flags = ObjectFlag::InUse;
        o.syncFlags = SyncFlag::Configured;
        setText(o.name, "Pump");
    }
    tool.prompter.answers = {c.answer};
    QCloseEvent event;
    QCoreApplication::sendEvent(tool.window.get(), &event);
    EXPECT_EQ(event.isAccepted(), c.expectClosed);
    ASSERT_EQ(tool.prompter.messages.size(), c.expectQuestion ? 1u : 0u);
    if (c.expectQuestion) {
        EXPECT_EQ(tool.prompter.messages[0].text, QString::fromLatin1(text::kDiscardAndClose));
        EXPECT_EQ(tool.prompter.messages[0].buttons, MessageButtons::OkCancel);
        EXPECT_EQ(tool.prompter.messages[0].icon, MessageIcon::Error);
    }
    // Cancel keeps every page as it was, the device link included.
    EXPECT_EQ(tool.window->device().stopped(), c.expectClosed);
    if (c.unsaved) {
        EXPECT_EQ(textOf(tool.map->object(7)->name), "Pump");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CloseGuard,
                         ::testing::Values(CloseCase{"Saved", false, true, false, true},
                                           CloseCase{"UnsavedOk", true, true, true, true},
                                           CloseCase{"UnsavedCancel", true, false, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Frame, CloseGuardAsksEachTimeWhileUnsaved) {
    Tool tool;
    tool.map->object(3)->datatype = 1;
    tool.prompter.answers = {false, false};
    for (int i = 0; i < 2; ++i) {
        QCloseEvent event;
        QCoreApplication::sendEvent(tool.window.get(), &event);
        EXPECT_FALSE(event.isAccepted());
    }
    EXPECT_EQ(tool.prompter.messages.size(), 2u);
}

TEST(Frame, InconsistentListsAdviseEachTimeTheirTabIsSelected) {
    Tool tool;
    // A register row that claims object 5, which does not point back.
    tool.map->registerCount = 1;
    tool.map->registers[0].defined = 1;
    tool.map->registers[0].objectNumber = 5;
    // An NV row that claims object 6, which does not point back.
    tool.map->nvCount = 1;
    tool.map->nvs[0].defined = 1;
    tool.map->nvs[0].objectNumber = 6;
    ConfigTool& w = *tool.window;
    for (int round = 0; round < 2; ++round) {
        w.selectPage(kRegListPage);
        EXPECT_EQ(w.currentPage(), kRegListPage);
        w.selectPage(kNVListPage);
        EXPECT_EQ(w.currentPage(), kNVListPage);
        w.selectPage(kConnectPage);
    }
    const QStringList texts = tool.prompter.messageTexts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[0], QStringLiteral("Register list invalid due to changes in other tabs.\n"
                                       "Consider rebuild from Master List."));
    EXPECT_EQ(texts[1], QStringLiteral("NV list invalid due to changes in other tabs.\n"
                                       "Consider rebuild from Master List."));
    EXPECT_EQ(texts[2], texts[0]);
    EXPECT_EQ(texts[3], texts[1]);
}

TEST(Frame, ConsistentListsSayNothing) {
    Tool tool;
    tool.window->selectPage(kRegListPage);
    tool.window->selectPage(kNVListPage);
    EXPECT_TRUE(tool.prompter.messages.empty());
}

TEST(Frame, InSyncNeedsObjectsNVsPortAndNode) {
    Tool tool;
    ConfigTool& w = *tool.window;
    for (DataObject& o : tool.map->objects) o.syncFlags = SyncFlag::Configured | SyncFlag::InDevice;
    tool.map->nvCount = 1;
    tool.map->nvs[0].defined = 1;
    tool.map->nvs[0].inDevice = 1;
    w.session().setPortInSync(true);
    w.updateInSync();
    EXPECT_FALSE(w.inSyncShown()); // LonWorks node settings still out of sync
    w.session().setNodeInSync(true);
    w.updateInSync();
    EXPECT_TRUE(w.inSyncShown());

    tool.map->nvs[0].inDevice = 0;
    w.updateInSync();
    EXPECT_FALSE(w.inSyncShown());
    tool.map->nvs[0].inDevice = 1;
    tool.map->object(400)->syncFlags = SyncFlag::Configured;
    w.updateInSync();
    EXPECT_FALSE(w.inSyncShown());
    tool.map->object(400)->syncFlags |= SyncFlag::InDevice;
    w.session().setPortInSync(false);
    w.updateInSync();
    EXPECT_FALSE(w.inSyncShown());
}

TEST(Frame, InSyncUpdateRefreshesSavedFlags) {
    Tool tool;
    tool.map->object(9)->flags = ObjectFlag::InUse;
    tool.map->object(9)->syncFlags = SyncFlag::Configured;
    tool.window->updateInSync();
    EXPECT_FALSE(tool.map->saveIndicators.objects);
    tool.map->object(9)->syncFlags |= SyncFlag::Saved;
    tool.window->updateInSync();
    EXPECT_TRUE(tool.map->saveIndicators.objects);
}

TEST(Frame, HelpButtonOfEachPageOpensItsSection) {
    Tool tool;
    for (ToolPage* page : tool.window->pages()) page->helpAction()->trigger();
    ASSERT_EQ(tool.helpOpened.size(), static_cast<size_t>(kPageCount));
    for (int i = 0; i < kPageCount; ++i)
        EXPECT_TRUE(
            tool.helpOpened[i].toLocalFile().endsWith(QStringLiteral("/korvex-section-%1.html").arg(i + 4)))
            << tool.helpOpened[i].toString().toStdString();
    EXPECT_EQ(HelpLauncher::topicName(4), QStringLiteral("korvex-section-4.html"));
    EXPECT_EQ(HelpLauncher::topicName(12), QStringLiteral("korvex-section-12.html"));
}

TEST(Frame, EveryPageHasItsHelpTopic) {
    app();
    const HelpLauncher help(QStringLiteral(KORVEX_TEST_SOURCE_DIR));
    for (int section = 4; section <= 12; ++section) {
        const QString path = help.topicPath(section);
        EXPECT_FALSE(path.isEmpty()) << section;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << section;
        EXPECT_TRUE(file.readAll().contains("<h1>")) << section;
    }
}

TEST(Frame, OverwriteIsAskedOnlyForAFileThatExists) {
    Tool tool;
    const QString missing = QDir::temp().filePath(QStringLiteral("korvex-no-such-file.xml"));
    QFile::remove(missing);
    EXPECT_TRUE(tool.window->confirmOverwrite(missing));
    EXPECT_TRUE(tool.prompter.messages.empty());

    const QString existing = QDir::temp().filePath(QStringLiteral("korvex-existing.xml"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    tool.prompter.answers = {false, true};
    EXPECT_FALSE(tool.window->confirmOverwrite(existing));
    EXPECT_TRUE(tool.window->confirmOverwrite(existing));
    ASSERT_EQ(tool.prompter.messages.size(), 2u);
    EXPECT_EQ(tool.prompter.messages[0].text,
              QStringLiteral("File already exists.\nClick OK to erase it, or Cancel."));
    EXPECT_EQ(tool.prompter.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(tool.prompter.messages[0].buttons, MessageButtons::OkCancel);
    QFile::remove(existing);
}

} // namespace
} // namespace korvex::ui::test
