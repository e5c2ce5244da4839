// How reports from the status loop thread reach the window: posted, carried out on the window
// thread, refresh requests merged, and a device action's wait handling them meanwhile.
#include "ui/support/UiTestSupport.h"

#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/window/DeviceSession.h"
#include "ui/window/GuiActionHost.h"
#include "ui/window/GuiStatusSink.h"

#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <thread>

namespace korvex::ui::test {
namespace {

TEST(GuiStatusSink, TextsFromAnotherThreadLandOnTheWindowThread) {
    Tool tool;
    GuiStatusSink& sink = tool.window->device().sink();
    std::thread worker([&] {
        sink.setText(kMasterListPage, "Object #1 written ok.\n");
        sink.appendText(kMasterListPage, "Object #2 written ok.\n");
        sink.appendText(kConnectPage, "Last Obj");
        sink.appendText(static_cast<device::Page>(99), "ignored");
    });
    worker.join();
    EXPECT_TRUE(tool.window->page(kMasterListPage)->statusText().isEmpty()); // nothing until the loop runs
    QCoreApplication::processEvents();
    EXPECT_EQ(tool.window->page(kMasterListPage)->statusText(),
              QStringLiteral("Object #1 written ok.\nObject #2 written ok.\n"));
    EXPECT_EQ(tool.window->page(kConnectPage)->statusText(), QStringLiteral("Last Obj"));
}

TEST(GuiStatusSink, WaitingRefreshRequestsOfOneKindAreMerged) {
    Tool tool;
    MasterListModel& model = *tool.page<MasterListPage>(kMasterListPage).model();
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    GuiStatusSink& sink = tool.window->device().sink();
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i) sink.refresh(device::Refresh::MasterList);
    });
    worker.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(resets.count(), 1);
    sink.refresh(device::Refresh::MasterList); // a later request is carried out again
    QCoreApplication::processEvents();
    EXPECT_EQ(resets.count(), 2);
}

TEST(GuiStatusSink, TcpMapChangeTakesThePortSettingsOutOfSyncAndUnsaved) {
    Tool tool;
    tool.window->session().setPortInSync(true);
    tool.window->editorContext().request(EditorRequest::TcpMapChanged, 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(tool.window->session().portInSync());
    EXPECT_FALSE(tool.map->saveIndicators.portSettings);
}

TEST(GuiStatusSink, ErasingTakesPortAndNodeSettingsOutOfSync) {
    Tool tool;
    tool.window->session().setPortInSync(true);
    tool.window->session().setNodeInSync(true);
    tool.window->device().sink().clearSettingsSync();
    QCoreApplication::processEvents();
    EXPECT_FALSE(tool.window->session().portInSync());
    EXPECT_FALSE(tool.window->session().nodeInSync());
}

TEST(GuiActionHost, WaitHandlesQueuedReportsUntilDone) {
    Tool tool;
    GuiActionHost host(*tool.window, tool.window.get());
    GuiStatusSink& sink = tool.window->device().sink();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        sink.appendText(kMasterListPage, "usage done\n");
        done = true;
    });
    // The report is posted before done is set, so it is shown by the time the wait returns.
    EXPECT_TRUE(host.waitUntil([&] { return done.load(); }, 10, 5000));
    QCoreApplication::processEvents();
    worker.join();
    EXPECT_EQ(tool.window->page(kMasterListPage)->statusText(), QStringLiteral("usage done\n"));
    EXPECT_FALSE(host.waitUntil([] { return false; }, 10, 50));
}

TEST(GuiActionHost, QuestionsGoThroughThePrompter) {
    Tool tool;
    GuiActionHost host(*tool.window, tool.window.get());
    tool.prompter.answers = {false};
    EXPECT_FALSE(host.confirm("Are you sure you want to erase all configuration in device?"));
    host.showMessage("Object's network variables need to be sent first.", MessageIcon::Error);
    ASSERT_EQ(tool.prompter.messages.size(), 2u);
    EXPECT_EQ(tool.prompter.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(tool.prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(tool.prompter.messages[1].buttons, MessageButtons::Ok);

    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{2, 9}}, {RangeAnswer::All, ObjectRange{}}};
    ObjectRange range{1, 400};
    EXPECT_EQ(host.chooseObjectRange(range), RangeAnswer::Ok);
    EXPECT_EQ(range, (ObjectRange{2, 9}));
    EXPECT_EQ(host.chooseObjectRange(range), RangeAnswer::All);
    EXPECT_EQ(range, (ObjectRange{2, 9}));
    EXPECT_EQ(tool.prompter.offeredObjectRanges.front(), (ObjectRange{1, 400}));
}

// The user closes the window while an action waits for the usage query: the close guard stops
// the status loop, so the wait ends at once and nothing is asked or shown for the closed window.
TEST(GuiActionHost, ClosingTheWindowEndsTheWaitAndCancelsEveryQuestion) {
    Tool tool;
    tool.window->show();
    GuiActionHost host(*tool.window, tool.window.get());
    QTimer::singleShot(0, tool.window.get(), [&] { tool.window->close(); });
    int askedAfterClose = 0;
    const bool done = host.waitUntil(
        [&] {
            if (tool.window->stopRequested()) ++askedAfterClose;
            return false;
        },
        10, 3000);
    EXPECT_FALSE(done);
    ASSERT_TRUE(tool.window->stopRequested()); // the close guard ran during the wait
    EXPECT_EQ(askedAfterClose, 0);
    EXPECT_FALSE(tool.window->isVisible());

    const std::size_t messagesBefore = tool.prompter.messages.size();
    tool.prompter.answers = {true};
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{1, 3}}};
    tool.prompter.netVarRangeAnswers = {{RangeAnswer::All, NetVarRanges{}}};
    EXPECT_FALSE(host.confirm("This action will replace current object list.\nDo you wish to continue?"));
    host.showMessage("Object's network variables need to be sent first.", MessageIcon::Error);
    ObjectRange objects{1, 400};
    EXPECT_EQ(host.chooseObjectRange(objects), RangeAnswer::Cancel);
    NetVarRanges netVars{1, 120, 1, 120};
    EXPECT_EQ(host.chooseNetVarRanges(netVars), RangeAnswer::Cancel);
    EXPECT_EQ(tool.prompter.messages.size(), messagesBefore);
    EXPECT_TRUE(tool.prompter.offeredObjectRanges.empty());
    EXPECT_TRUE(tool.prompter.offeredNetVarRanges.empty());
    EXPECT_FALSE(host.waitUntil([] { return true; }, 10, 3000));
}

} // namespace
} // namespace korvex::ui::test

namespace korvex::ui::test {
namespace {

TEST(StatusBox, GatewayLineEndsBecomeOneLineBreak) {
    Tool tool;
    ToolPage& page = *tool.window->page(kConnectPage);
    page.setStatus(QStringLiteral("Last Obj\r\n"));
    page.appendStatus(QStringLiteral(":->\r"));
    EXPECT_EQ(page.statusText(), QStringLiteral("Last Obj\n:->\n"));
    page.setStatus(QStringLiteral("one\r"));
    page.appendStatus(QStringLiteral("\ntwo\r\n"));
    EXPECT_EQ(page.statusText(), QStringLiteral("one\ntwo\n"));
}

// A report appended after a text that did not end its line starts a line of its own; the
// Connect page's response box is a terminal, where the pieces of one reply join up.
TEST(StatusBox, AppendedReportsStartALineOfTheirOwn) {
    struct Case {
        Page page;
        const char* before;
        const char* appended;
        const char* shown;
    };
    const Case cases[] = {
        {kMasterListPage, "File loaded.", "NVI 1 written ok.\n", "File loaded.\nNVI 1 written ok.\n"},
        {kMasterListPage, "Waiting... (takes up to 45 seconds).\n", "Device cleared.\n",
         "Waiting... (takes up to 45 seconds).\nDevice cleared.\n"},
        {kViewDataPage, "", "Error opening COM port", "Error opening COM port"},
        {kViewDataPage, "Error opening COM port", "Error opening COM port",
         "Error opening COM port\nError opening COM port"},
        {kNVListPage, "File saved.", "", "File saved."},
        {kNVListPage, "File saved.", "\nNVO 2 read ok.\n", "File saved.\nNVO 2 read ok.\n"},
        {kLonWorksPage, "Node Location read", "Device timeout\n", "Node Location read\nDevice timeout\n"},
        {kConnectPage, "Last Obj", "ect: 3,1,2,0\r\n", "Last Object: 3,1,2,0\n"},
    };
    Tool tool;
    for (const Case& c : cases) {
        ToolPage& page = *tool.window->page(c.page);
        page.setStatus(QString::fromLatin1(c.before));
        page.appendStatus(QString::fromLatin1(c.appended));
        EXPECT_EQ(page.statusText(), QString::fromLatin1(c.shown)) << c.before << " + " << c.appended;
    }
    // The status loop's reports take the same way.
    GuiStatusSink& sink = tool.window->device().sink();
    sink.setText(kNVListPage, "File saved.");
    sink.appendText(kNVListPage, "NVI 1 read ok.\n");
    QCoreApplication::processEvents();
    EXPECT_EQ(tool.window->page(kNVListPage)->statusText(), QStringLiteral("File saved.\nNVI 1 read ok.\n"));
}

} // namespace
} // namespace korvex::ui::test
