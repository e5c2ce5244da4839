// The Connect page: its lists and option boxes, what the options change elsewhere, and the port
// and terminal against the in-process simulated gateway.
#include "ui/support/DevicePagesTestSupport.h"

#include "ui/pages/connect/ConnectPage.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/widgets/PortComboBox.h"
#include "ui/window/DeviceSession.h"
#include "ui/window/UiTexts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

void choosePort(ConnectPage& page, const QString& text) {
    PortComboBox* ports = page.portList();
    const int index = ports->findText(text);
    if (index >= 0) {
        ports->setCurrentIndex(index);
        emit ports->activated(index);
    } else {
        ports->setEditText(text);
        emit ports->choiceMade();
    }
}

// Connect's check of the line has told its answer: a line after "USB COM port open.".
bool lineChecked(ConnectPage& page) {
    return waitFor([&] { return page.responseBox()->toPlainText().contains(u'\n'); }, 15000);
}

// What the "Connected:" light shows.
QString light(Tool& tool) {
    const auto* led = tool.window->findChild<QLabel*>(QStringLiteral("connectedIndicator"));
    const QImage shown = led->pixmap().toImage();
    for (const char* name : {"on", "off", "amber"})
        if (shown == QPixmap(QStringLiteral(":/korvex/led_%1.png").arg(QLatin1String(name))).toImage())
            return QLatin1String(name);
    return QStringLiteral("?");
}

TEST(ConnectPage, ListsStartAtTheirFirstEntries) {
    Tool tool;
    ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
    QComboBox* models = page.modelList();
    ASSERT_EQ(models->count(), 3);
    EXPECT_EQ(models->itemText(0), QStringLiteral("Korvex-A"));
    EXPECT_EQ(models->itemText(2), QStringLiteral("Korvex-C"));
    EXPECT_EQ(models->currentIndex(), 0);
    models->setCurrentIndex(2);
    EXPECT_EQ(tool.window->deviceModel(), 2);

    // COM1 to COM20 are listed on Windows only; the simulated gateway comes last everywhere.
    PortComboBox* ports = page.portList();
    for (int i = 0; i < ports->count(); ++i)
        EXPECT_FALSE(ports->itemText(i).startsWith(QStringLiteral("COM")))
            << ports->itemText(i).toStdString();
    EXPECT_EQ(ports->itemText(ports->count() - 1), QStringLiteral("Simulated gateway"));
    EXPECT_TRUE(page.newNodeBox()->isChecked());
    EXPECT_FALSE(page.commissionedBox()->isChecked());
    EXPECT_FALSE(page.modiconBox()->isChecked());
    EXPECT_FALSE(page.slaveBox()->isChecked());
}

TEST(ConnectPage, NodeBoxesActAsOneChoice) {
    Tool tool;
    ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
    const struct {
        QCheckBox* box;
        bool commissioned;
    } clicks[] = {{page.commissionedBox(), true},
                  {page.commissionedBox(), false},
                  {page.newNodeBox(), true},
                  {page.newNodeBox(), false}};
    for (const auto& c : clicks) {
        QTest::mouseClick(c.box, Qt::LeftButton, {}, QPoint(4, c.box->height() / 2));
        EXPECT_EQ(tool.window->options().commissioned, c.commissioned);
        EXPECT_EQ(page.commissionedBox()->isChecked(), c.commissioned);
        EXPECT_EQ(page.newNodeBox()->isChecked(), !c.commissioned);
    }
}

TEST(ConnectPage, ModiconOptionSwitchesTheMasterListColumns) {
    Tool tool;
    ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
    MasterListModel& model = *tool.page<MasterListPage>(kMasterListPage).model();
    EXPECT_EQ(model.columnCount(), 10);
    page.modiconBox()->setChecked(true);
    EXPECT_TRUE(tool.window->options().modicon);
    EXPECT_EQ(model.columnCount(), 9);
    EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Modicon #"));
    page.modiconBox()->setChecked(false);
    EXPECT_EQ(model.columnCount(), 10);
    EXPECT_EQ(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Type"));
}

TEST(ConnectPage, SlaveOptionShowsDashesInEverySlaveCell) {
    Tool tool;
    tool.map->object(1)->slave = 7;
    tool.map->object(400)->slave = 3;
    tool.page<ConnectPage>(kConnectPage).slaveBox()->setChecked(true);
    EXPECT_TRUE(tool.window->options().gatewaySlave);
    tool.window->selectPage(kMasterListPage);
    MasterListModel& model = *tool.page<MasterListPage>(kMasterListPage).model();
    const int slaveColumn = 5;
    ASSERT_EQ(model.headerData(slaveColumn, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Slave"));
    for (int row : {0, 199, 399})
        EXPECT_EQ(model.index(row, slaveColumn).data().toString(), QStringLiteral("-"));
}

TEST(ConnectPage, SendWithAnEmptyCommandDoesNothing) {
    Tool tool;
    ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
    page.setStatus(QStringLiteral("earlier reply"));
    page.commandBox()->setPlainText(QStringLiteral("\n"));
    QTest::mouseClick(page.sendButton(), Qt::LeftButton);
    EXPECT_EQ(page.responseBox()->toPlainText(), QStringLiteral("earlier reply"));
}

TEST(ConnectPage, ConnectToAPortThatIsNotThereSaysSo) {
    Tool tool(true);
    ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
    choosePort(page, QStringLiteral("/dev/korvex-no-such-port"));
    QTest::mouseClick(page.connectButton(), Qt::LeftButton);
    EXPECT_EQ(page.responseBox()->toPlainText(), QStringLiteral("Error opening COM port."));
    EXPECT_FALSE(tool.window->connectedShown());

    // A typed command tries the port as every device action does.
    page.commandBox()->setPlainText(QStringLiteral("usage"));
    QTest::mouseClick(page.sendButton(), Qt::LeftButton);
    EXPECT_EQ(page.responseBox()->toPlainText(), QStringLiteral("Error opening COM port"));
    EXPECT_FALSE(tool.window->device().engine().busy());
}

TEST(ConnectPage, SimulatedGatewayConnectsAndAnswersTypedCommands) {
    Tool tool(true);
    ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
    choosePort(page, QStringLiteral("Simulated gateway"));
    QTest::mouseClick(page.connectButton(), Qt::LeftButton);
    EXPECT_EQ(page.responseBox()->toPlainText(), QStringLiteral("USB COM port open."));
    EXPECT_TRUE(tool.window->connectedShown());
    ASSERT_NE(tool.window->device().simulator(), nullptr);
    ASSERT_TRUE(lineChecked(page)); // Connect's own "usage"

    page.commandBox()->setPlainText(QStringLiteral("usage"));
    QTest::mouseClick(page.sendButton(), Qt::LeftButton);
    EXPECT_TRUE(waitFor([&] { return page.responseBox()->toPlainText().contains(QStringLiteral(":->")); }));
    EXPECT_TRUE(page.responseBox()->toPlainText().contains(QStringLiteral("Last Obj")))
        << page.responseBox()->toPlainText().toStdString();

    // Another port closes the open one at once and says so; with no port open nothing is said.
    choosePort(page, QStringLiteral("COM5"));
    EXPECT_EQ(page.responseBox()->toPlainText(), QStringLiteral("USB COM port closed."));
    EXPECT_FALSE(tool.window->connectedShown());
    EXPECT_FALSE(tool.window->device().portOpen());
    page.setStatus(QString());
    choosePort(page, QStringLiteral("COM6"));
    EXPECT_EQ(page.responseBox()->toPlainText(), QString());
}

// Connect checks the line with "usage" without holding up the window: the answer comes as a
// line of its own, then how replies end, and the light is amber while no gateway has answered.
TEST(ConnectPage, ConnectChecksWhetherAGatewayAnswers) {
    SilentPort silent;
    const char* answered =
        "Gateway answered: highest object \\d+, \\d+ input NVs, \\d+ output NVs, \\d+ TCP map entries\\.";
    const struct {
        QString port;
        bool waitForSilence;
        const char* line; // a pattern
        const char* replyEnd;
        const char* light;
    } cases[] = {
        {silent.path, false, "No gateway answered on this port\\.", text::kRepliesEndBySilence, "amber"},
        {QString::fromLatin1(text::kSimulatedGateway), false, answered, text::kRepliesEndAtPrompt, "on"},
        {QString::fromLatin1(text::kSimulatedGateway), true, answered, text::kRepliesEndBySilenceChosen,
         "on"},
    };
    for (const auto& c : cases) {
        Tool tool(true);
        ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
        page.silenceBox()->setChecked(c.waitForSilence);
        choosePort(page, c.port);
        QTest::mouseClick(page.connectButton(), Qt::LeftButton);
        // The click came back before the answer: the window never waits for the line.
        EXPECT_EQ(page.responseBox()->toPlainText(), QStringLiteral("USB COM port open."));
        EXPECT_EQ(light(tool), QStringLiteral("amber"));
        ASSERT_TRUE(lineChecked(page)) << c.line;
        const QRegularExpression expected(QStringLiteral("^USB COM port open\\.\\n") + QLatin1String(c.line) +
                                          u'\n' + QRegularExpression::escape(QLatin1String(c.replyEnd)) +
                                          u'$');
        EXPECT_TRUE(expected.match(page.responseBox()->toPlainText()).hasMatch())
            << page.responseBox()->toPlainText().toStdString();
        EXPECT_EQ(light(tool), QLatin1String(c.light));
        EXPECT_TRUE(tool.window->device().portOpen()); // no answer is no failure of Connect
        page.silenceBox()->setChecked(false);
    }
}

// The choice to wait for silence is remembered from one window to the next and takes effect at
// once: with a port open the box then says how replies end.
TEST(ConnectPage, WaitForSilenceIsRememberedAndTakesEffectAtOnce) {
    {
        Tool tool;
        ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
        EXPECT_EQ(page.silenceBox()->text(), QLatin1String(text::kWaitForSilence));
        EXPECT_FALSE(page.silenceBox()->isChecked());
        page.silenceBox()->click();
        EXPECT_TRUE(tool.window->device().link().silenceOnly());
    }
    Tool tool(true, true); // keeps what the first window stored
    ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
    EXPECT_TRUE(page.silenceBox()->isChecked());
    EXPECT_TRUE(tool.window->device().link().silenceOnly());
    choosePort(page, QString::fromLatin1(text::kSimulatedGateway));
    QTest::mouseClick(page.connectButton(), Qt::LeftButton);
    ASSERT_TRUE(lineChecked(page));
    EXPECT_TRUE(page.responseBox()->toPlainText().endsWith(QLatin1String(text::kRepliesEndBySilenceChosen)));
    page.silenceBox()->click();
    EXPECT_FALSE(tool.window->device().link().silenceOnly());
    EXPECT_TRUE(page.responseBox()->toPlainText().endsWith(u'\n' + QLatin1String(text::kRepliesEndAtPrompt)));
    EXPECT_FALSE(Tool().page<ConnectPage>(kConnectPage).silenceBox()->isChecked());
}

// "Verify after sending" is remembered from one window to the next and sets the engine's choice.
TEST(ConnectPage, VerifyAfterSendingIsRememberedAndTakenByTheEngine) {
    for (const bool on : {true, false}) {
        {
            Tool tool;
            QCheckBox* box = tool.page<ConnectPage>(kConnectPage).verifyBox();
            EXPECT_EQ(box->text(), QLatin1String(text::kVerifyAfterSending));
            if (box->isChecked() != on) box->click();
            EXPECT_EQ(tool.window->device().engine().verifyAfterSend.load(), on);
        }
        Tool next(false, true); // the settings the window before wrote
        EXPECT_EQ(next.page<ConnectPage>(kConnectPage).verifyBox()->isChecked(), on);
        EXPECT_EQ(next.window->device().engine().verifyAfterSend.load(), on);
    }
}

TEST(ConnectPage, ClosingWhileACommandRunsEndsCleanly) {
    Tool tool(true);
    ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
    choosePort(page, QStringLiteral("Simulated gateway"));
    QTest::mouseClick(page.connectButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.window->connectedShown());
    ASSERT_TRUE(lineChecked(page));
    page.commandBox()->setPlainText(QStringLiteral("usage"));
    QTest::mouseClick(page.sendButton(), Qt::LeftButton);
    // Close at once, with the reply still on its way and reports queued for this thread.
    QCloseEvent event;
    QCoreApplication::sendEvent(tool.window.get(), &event);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_TRUE(tool.window->device().stopped());
    EXPECT_FALSE(tool.window->device().portOpen());
    QCoreApplication::processEvents(); // queued reports land on a window that still exists
}

TEST(ConnectPage, SendWhileBusySaysTheLinkIsBusy) {
    Tool tool(true);
    ConnectPage& page = tool.page<ConnectPage>(kConnectPage);
    choosePort(page, QStringLiteral("Simulated gateway"));
    QTest::mouseClick(page.connectButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.window->connectedShown());
    ASSERT_TRUE(lineChecked(page));
    page.commandBox()->setPlainText(QStringLiteral("usage"));
    QTest::mouseClick(page.sendButton(), Qt::LeftButton);
    QTest::mouseClick(page.sendButton(), Qt::LeftButton);
    EXPECT_EQ(page.responseBox()->toPlainText(), QStringLiteral("COM port already busy."));
}

} // namespace
} // namespace korvex::ui::test
