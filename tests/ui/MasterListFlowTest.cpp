// The Master List page's device actions end to end against the simulated gateway, as a user runs
// them from the action list: objects refused while their NVs are not in the device, NVs sent,
// objects sent, objects read back after the usage query, and the device erased. Each step waits
// on what the status loop reports, never on the clock.
#include "ui/support/DevicePagesTestSupport.h"
#include "ui/support/ListPagesTestSupport.h"

#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "ui/pages/masterlist/MasterListPage.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

constexpr int kWaitMs = 30000; // a loaded machine may be slow; the texts still come in order

MasterListPage& masterPage(Tool& tool) {
    return tool.page<MasterListPage>(kMasterListPage);
}

bool objectsInDevice(Tool& tool, int first, int last) {
    std::lock_guard lock(tool.window->session().mutex());
    for (int n = first; n <= last; ++n)
        if (!tool.map->object(n)->inDevice()) return false;
    return true;
}

QStringList gridRows(Tool& tool, int count) {
    QStringList rows;
    for (int r = 0; r < count; ++r) rows << rowTexts(*masterPage(tool).model(), r).join(u'|');
    return rows;
}

TEST(MasterListFlow, SendNVsThenObjectsGetThemBackAndErase) {
    SimTool tool;
    buildSmallMap(tool);
    tool.window->selectPage(kMasterListPage);
    MasterListPage& page = masterPage(tool);
    const QStringList builtRows = gridRows(tool, 3);
    ASSERT_EQ(builtRows[0].section(u'|', 5, 6), QStringLiteral("NVI|OLA 1")) << builtRows[0].toStdString();
    const qint64 outOfSyncImage = imageKey(*page.model(), 0);

    // Objects whose NVs are not in the device: refused before the port is touched.
    page.setStatus(QStringLiteral("old text"));
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{1, 3}}};
    runAction(tool, kMasterListPage, kSendObjects);
    ASSERT_EQ(tool.prompter.offeredObjectRanges, std::vector<ObjectRange>{(ObjectRange{1, 3})});
    ASSERT_EQ(tool.prompter.messages.size(), 1u);
    EXPECT_EQ(tool.prompter.messages[0].text,
              QStringLiteral("Object's network variables need to be sent first."));
    EXPECT_EQ(tool.prompter.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(tool.prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_FALSE(tool.window->device().portOpen());
    EXPECT_EQ(tool.gateway().commandCount(), 0);
    EXPECT_TRUE(waitFor([&] { return page.statusText().isEmpty(); })); // the clear is queued too

    // NVs: offered by what is not yet in the device; both boxes report. Only the NV List box is
    // emptied first; here the first report starts on the line after what the box said before.
    page.setStatus(QStringLiteral("File loaded."));
    tool.prompter.netVarRangeAnswers = {{RangeAnswer::Ok, NetVarRanges{1, 1, 1, 2}}};
    runAction(tool, kMasterListPage, kSendNVs);
    ASSERT_EQ(tool.prompter.offeredNetVarRanges, std::vector<NetVarRanges>{(NetVarRanges{1, 1, 1, 2})});
    const QString nvsWritten = QStringLiteral("NVI 1 written ok.\nNVO 1 written ok.\nNVO 2 written ok.\n");
    ASSERT_TRUE(tool.waitForStatus(kMasterListPage, QStringLiteral("File loaded.\n") + nvsWritten, kWaitMs))
        << page.statusText().toStdString();
    EXPECT_TRUE(tool.waitForStatus(kNVListPage, nvsWritten, kWaitMs));
    EXPECT_TRUE(tool.window->connectedShown());
    ASSERT_TRUE(tool.waitUntilIdle(kWaitMs));

    // Objects: now accepted, each reported, each row in sync.
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{1, 3}}};
    runAction(tool, kMasterListPage, kSendObjects);
    ASSERT_EQ(tool.prompter.offeredObjectRanges.size(), 2u);
    EXPECT_EQ(tool.prompter.offeredObjectRanges[1], (ObjectRange{1, 3}));
    ASSERT_TRUE(tool.waitForStatus(
        kMasterListPage,
        QStringLiteral("Object #1 written ok.\nObject #2 written ok.\nObject #3 written ok.\n"), kWaitMs))
        << page.statusText().toStdString();
    ASSERT_TRUE(tool.waitUntilIdle(kWaitMs));
    EXPECT_EQ(tool.prompter.messages.size(), 1u);
    EXPECT_TRUE(objectsInDevice(tool, 1, 3));
    {
        std::lock_guard lock(tool.window->session().mutex());
        for (int r = 0; r < tool.map->registerCount; ++r) EXPECT_TRUE(tool.map->registers[r].inDevice) << r;
    }
    EXPECT_EQ(tool.gateway().withConfig([](sim::GatewayConfig& c) { return c.lastObject(); }), 3);
    EXPECT_TRUE(waitFor([&] { return imageKey(*page.model(), 0) != outOfSyncImage; }, kWaitMs));

    // Get: the list is replaced (asked first); the usage query offers the device's last object,
    // and the objects above it count as in sync afterwards.
    tool.window->session().setPortInSync(true);
    tool.window->session().setNodeInSync(true);
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{1, 3}}};
    runAction(tool, kMasterListPage, kGetObjects);
    ASSERT_EQ(tool.prompter.messages.size(), 2u);
    EXPECT_EQ(tool.prompter.messages[1].text,
              QStringLiteral("This action will replace current object list.\nDo you wish to continue?"));
    EXPECT_EQ(tool.prompter.messages[1].buttons, MessageButtons::OkCancel);
    ASSERT_EQ(tool.prompter.offeredObjectRanges.size(), 3u);
    EXPECT_EQ(tool.prompter.offeredObjectRanges[2], (ObjectRange{1, 3}));
    ASSERT_TRUE(tool.waitForStatus(
        kMasterListPage, QStringLiteral("Object #1 read ok.\nObject #2 read ok.\nObject #3 read ok.\n"),
        kWaitMs))
        << page.statusText().toStdString();
    ASSERT_TRUE(tool.waitUntilIdle(kWaitMs));
    EXPECT_TRUE(objectsInDevice(tool, 1, kObjectCount));
    EXPECT_TRUE(waitFor([&] { return gridRows(tool, 3) == builtRows; }, kWaitMs))
        << gridRows(tool, 3).join(u'/').toStdString();
    EXPECT_EQ(tool.map->registerCount, 3);
    EXPECT_TRUE(waitFor([&] { return tool.window->inSyncShown(); }, kWaitMs));

    // Erase: asked, reported while waiting, and nothing counts as in the device any more.
    runAction(tool, kMasterListPage, kEraseDevice);
    ASSERT_EQ(tool.prompter.messages.size(), 3u);
    EXPECT_EQ(tool.prompter.messages[2].text,
              QStringLiteral("Are you sure you want to erase all configuration in device?"));
    EXPECT_EQ(tool.prompter.messages[2].icon, MessageIcon::Error);
    EXPECT_FALSE(objectsInDevice(tool, 1, 1));
    ASSERT_TRUE(tool.waitForStatus(
        kMasterListPage, QStringLiteral("Waiting... (takes up to 45 seconds).\nDevice cleared.\n"), kWaitMs))
        << page.statusText().toStdString();
    ASSERT_TRUE(tool.waitUntilIdle(kWaitMs));
    EXPECT_EQ(
        tool.gateway().withConfig([](sim::GatewayConfig& c) { return c.objects.size() + c.netVars.size(); }),
        0u);
    {
        std::lock_guard lock(tool.window->session().mutex());
        for (int n = 1; n <= 3; ++n) EXPECT_FALSE(tool.map->object(n)->inDevice()) << n;
        EXPECT_TRUE(tool.map->object(4)->inDevice()); // free slots count as sent
        for (int r = 0; r < tool.map->nvCount; ++r) EXPECT_FALSE(tool.map->nvs[r].inDevice) << r;
        for (int r = 0; r < tool.map->registerCount; ++r) EXPECT_FALSE(tool.map->registers[r].inDevice) << r;
    }
    EXPECT_FALSE(tool.window->session().portInSync());
    EXPECT_FALSE(tool.window->session().nodeInSync());
    EXPECT_FALSE(tool.window->inSyncShown());
    EXPECT_EQ(imageKey(*page.model(), 0), outOfSyncImage);
}

// Cancel at either question leaves the map and the device alone.
TEST(MasterListFlow, CancelledQuestionsSendNothing) {
    SimTool tool;
    buildSmallMap(tool);
    tool.window->selectPage(kMasterListPage);
    tool.prompter.answers = {false, false};
    runAction(tool, kMasterListPage, kGetObjects);
    runAction(tool, kMasterListPage, kEraseDevice);
    EXPECT_EQ(tool.prompter.messages.size(), 2u);
    EXPECT_TRUE(tool.prompter.offeredObjectRanges.empty());
    EXPECT_TRUE(tool.map->object(1)->hasNV());
    EXPECT_EQ(tool.map->registerCount, 3);
    EXPECT_FALSE(tool.window->device().portOpen());
    EXPECT_EQ(tool.gateway().commandCount(), 0);
}

bool mapIntact(Tool& tool) {
    std::lock_guard lock(tool.window->session().mutex());
    return tool.map->nvCount == 3 && tool.map->registerCount == 3 && tool.map->object(1)->hasNV() &&
           tool.map->object(1)->hasRegister();
}

// A fetch that replaces a list empties it only once it really starts: a Cancel in the range
// dialog or a port that does not open leaves the lists whole.
TEST(MasterListFlow, ReplacedListsStayWhenTheFetchDoesNotStart) {
    const struct {
        int action;
        RangeAnswer answer;
    } cases[] = {{kGetObjects, RangeAnswer::Cancel},
                 {kGetObjects, RangeAnswer::Ok},
                 {kGetNVs, RangeAnswer::Cancel},
                 {kGetNVs, RangeAnswer::Ok}};
    for (const auto& c : cases) {
        Tool tool(true);
        usePortNamed(tool, QStringLiteral("/dev/korvex-no-such-port"));
        buildSmallMap(tool);
        tool.prompter.objectRanges = {{c.answer, ObjectRange{1, 3}}};
        tool.prompter.netVarRangeAnswers = {{c.answer, NetVarRanges{1, 1, 1, 2}}};
        runAction(tool, kMasterListPage, c.action);
        ASSERT_EQ(tool.prompter.messages.size(), 1u) << c.action; // the replace question, answered OK
        EXPECT_TRUE(mapIntact(tool)) << c.action << " " << static_cast<int>(c.answer);
    }
}

// The NV transfers started here say here that the port did not open or the link is busy.
TEST(MasterListFlow, NVTransfersReportPortAndBusyWhereStarted) {
    SilentPort silent;
    const struct {
        int action;
        bool busy; // a typed command still waits for its reply
        const char* text;
    } cases[] = {{kGetNVs, false, "Error opening COM port"},
                 {kSendNVs, false, "Error opening COM port"},
                 {kSendNVs, true, "COM port already busy."}};
    for (const auto& c : cases) {
        Tool tool(true);
        buildSmallMap(tool);
        usePortNamed(tool, c.busy ? silent.path : QStringLiteral("/dev/korvex-no-such-port"));
        if (c.busy) {
            ASSERT_TRUE(tool.window->device().openPort());
            ASSERT_TRUE(tool.window->device().startConsole("hello"));
        }
        tool.prompter.answers = {true};
        tool.prompter.netVarRangeAnswers = {{RangeAnswer::Ok, NetVarRanges{1, 1, 1, 2}}};
        runAction(tool, kMasterListPage, c.action);
        EXPECT_TRUE(waitFor([&] { return masterPage(tool).statusText() == QString::fromLatin1(c.text); }))
            << c.action << ": " << masterPage(tool).statusText().toStdString();
    }
}

// The status box is three lines high: after a transfer it shows the last two reports and the
// empty line that the last one ends with.
TEST(MasterListFlow, StatusBoxShowsItsLastThreeLines) {
    Tool tool;
    showPage(tool, kMasterListPage);
    auto* box = masterPage(tool).findChild<QPlainTextEdit*>(QStringLiteral("statusBox"));
    ASSERT_NE(box, nullptr);
    for (int n = 1; n <= 6; ++n)
        masterPage(tool).appendStatus(QStringLiteral("Object #%1 written ok.\n").arg(n));
    QCoreApplication::processEvents();
    EXPECT_EQ(box->cursorForPosition(QPoint(2, 2)).block().text().toStdString(), "Object #5 written ok.");
}

} // namespace
} // namespace korvex::ui::test
