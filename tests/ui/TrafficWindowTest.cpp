// The Traffic window: its model's bound, missed events, filter and pause on made-up batches, and
// the window end to end against the simulated gateway: opened by Ctrl+T and by the Connect
// page's button, a typed command's lines in the trace form, Pause and resume, the filter, Save
// trace and Clear.
#include "ui/support/DevicePagesTestSupport.h"

#include "ui/dialogs/TrafficWindow.h"
#include "ui/models/TrafficModel.h"
#include "ui/pages/connect/ConnectPage.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

device::TraceBatch batchOf(std::uint64_t missed, std::vector<std::string> received) {
    device::TraceBatch batch;
    batch.missed = missed;
    for (std::string& bytes : received) {
        device::TraceEvent event;
        event.micros = static_cast<std::int64_t>(batch.events.size() + 1) * 1000;
        event.kind = TraceKind::Received;
        event.bytes = std::move(bytes);
        batch.events.push_back(std::move(event));
    }
    return batch;
}

QStringList rowsOf(const TrafficModel& model) {
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) rows << model.lineText(r);
    return rows;
}

TEST(TrafficModel, KeepsItsBoundFiltersPausesAndSaysWhatWasMissed) {
    app();
    TrafficModel model(nullptr, 4);
    model.append(batchOf(0, {"Ok\r\n", "Neuron ID"}));
    EXPECT_EQ(rowsOf(model), (QStringList{"0.001000 < Ok\\r\\n", "0.002000 < Neuron ID"}));
    EXPECT_EQ(model.index(0, TrafficModel::LengthColumn).data().toInt(), 4);
    EXPECT_EQ(model.index(0, TrafficModel::TextColumn).data().toString(), QStringLiteral("Ok\\r\\n"));

    model.append(batchOf(7, {"a", "b"})); // the oldest line goes
    EXPECT_EQ(rowsOf(model), (QStringList{"0.002000 < Neuron ID",
                                          "0.001000 ! dropped 7 events: the recording ran full before the "
                                          "window read them",
                                          "0.001000 < a", "0.002000 < b"}));

    model.setFilter(QStringLiteral("NEURON"));
    EXPECT_EQ(rowsOf(model), QStringList{"0.002000 < Neuron ID"});
    model.setPaused(true);
    model.append(batchOf(0, {"neuron again", "other"}));
    EXPECT_EQ(model.rowCount(), 0); // the line shown went with the bound; the new ones wait
    EXPECT_EQ(model.waitingLines(), 2u);
    model.setPaused(false);
    EXPECT_EQ(rowsOf(model), QStringList{"0.001000 < neuron again"});
    model.setFilter(QString());
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.text(), "0.001000 < a\n0.002000 < b\n0.001000 < neuron again\n0.002000 < other\n");
}

// The first exchange of a command in the trace, from the line that sent it to its reply
// complete, without the times; empty until the reply is complete.
QStringList exchangeOf(const TrafficModel& model, const QString& sent) {
    QStringList lines;
    for (const QString& row : rowsOf(model)) {
        const QString line = row.section(u' ', 1);
        if (line == QStringLiteral("> ") + sent) {
            lines = QStringList{line};
        } else if (!lines.isEmpty()) {
            lines << line;
            if (line.startsWith(QStringLiteral("= "))) return lines;
        }
    }
    return {};
}

// Received pieces joined: the pty may split a reply anywhere.
QStringList joined(const QStringList& lines) {
    QStringList out;
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("< ")) && !out.isEmpty() &&
            out.last().startsWith(QStringLiteral("< ")))
            out.last() += line.mid(2);
        else
            out << line;
    }
    if (!out.isEmpty()) out.last().replace(QRegularExpression(QStringLiteral("len=\\d+ ms=\\d+")), "len ms");
    return out;
}

struct TrafficTool : SimTool {
    ConnectPage& connectPage() { return page<ConnectPage>(kConnectPage); }
    TrafficWindow& traffic() { return *window->trafficWindow(); }
    void type(const QString& command) {
        connectPage().commandBox()->setPlainText(command);
        connectPage().sendCommand();
        EXPECT_TRUE(waitFor([&] { return connectPage().responseBox()->toPlainText().contains(":->"); }));
        EXPECT_TRUE(waitUntilIdle());
    }
    bool shows(const QString& sent) {
        return waitFor([&] { return !exchangeOf(*traffic().model(), sent).isEmpty(); });
    }
};

TEST(TrafficWindow, ShowsTheLineAsTracedAndPausesFiltersSavesAndClears) {
    TrafficTool tool;
    tool.window->selectPage(kMasterListPage);
    QApplication::setActiveWindow(tool.window.get());
    QTest::keyClick(tool.window.get(), Qt::Key_T, Qt::ControlModifier);
    ASSERT_NE(tool.window->trafficWindow(), nullptr);
    TrafficWindow& traffic = tool.traffic();
    EXPECT_TRUE(traffic.isVisible());
    EXPECT_EQ(traffic.windowTitle(), QStringLiteral("Traffic"));
    TrafficModel& model = *traffic.model();

    ASSERT_TRUE(tool.window->device().openPort());
    tool.type(QStringLiteral("nid"));
    ASSERT_TRUE(tool.shows("nid\\r\\n"));
    const QString port = QString::fromStdString(tool.window->device().link().openPortName());
    EXPECT_EQ(model.lineText(0), QStringLiteral("0.000000 ! open ") + port);
    EXPECT_EQ(joined(exchangeOf(model, "nid\\r\\n")),
              (QStringList{"> nid\\r\\n", "< \\r\\nNeuron ID: 00:04:A2:3C:51:07\\r\\n:->", "= len ms"}));

    // Paused, the view holds while the lines wait; resumed, they come in.
    QTest::mouseClick(traffic.pauseButton(), Qt::LeftButton);
    const int rows = model.rowCount();
    tool.type(QStringLiteral("npid"));
    EXPECT_TRUE(waitFor([&] { return model.waitingLines() >= 3; }));
    EXPECT_EQ(model.rowCount(), rows);
    EXPECT_EQ(traffic.pauseButton()->text(), QStringLiteral("Resume"));
    QTest::mouseClick(traffic.pauseButton(), Qt::LeftButton);
    EXPECT_EQ(joined(exchangeOf(model, "npid\\r\\n")),
              (QStringList{"> npid\\r\\n", "< \\r\\nProg ID: 9F:FF:FF:05:00:0A:04:02\\r\\n:->", "= len ms"}));

    QTest::keyClicks(traffic.filterBox(), QStringLiteral("NPID"));
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(traffic.countShown(), QStringLiteral("1 of %1 lines shown").arg(model.heldLines()));
    traffic.filterBox()->clear();

    // Saved: every line held, as shown, each ending in "\n" as the command line's trace does.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wire.log"));
    tool.prompter.files = {path};
    QTest::mouseClick(traffic.saveButton(), Qt::LeftButton);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(saved.readAll()), rowsOf(model).join(u'\n') + u'\n');
    EXPECT_EQ(traffic.messageShown(),
              QStringLiteral("Saved %1 lines to %2.").arg(model.rowCount()).arg(path));

    // Cleared: the view and the recording are empty, and what comes next is no miss.
    QTest::mouseClick(traffic.clearButton(), Qt::LeftButton);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(tool.window->device().link().trace().usage().events, 0u);
    tool.type(QStringLiteral("nid"));
    ASSERT_TRUE(tool.shows("nid\\r\\n"));
    EXPECT_TRUE(model.lineText(0).contains(QStringLiteral("> nid"))) << model.lineText(0).toStdString();
}

// Opened with the port already open: the times still count from the open, and a line says that
// what went before was not recorded. The Connect page's button opens the same window.
TEST(TrafficWindow, OpenedLateSaysWhatItMissed) {
    TrafficTool tool;
    ASSERT_TRUE(tool.window->device().openPort());
    tool.type(QStringLiteral("nid"));
    QTest::mouseClick(tool.connectPage().trafficButton(), Qt::LeftButton);
    ASSERT_NE(tool.window->trafficWindow(), nullptr);
    const QString first = tool.traffic().model()->lineText(0);
    EXPECT_TRUE(first.endsWith(
        QStringLiteral(" ! recording starts here: what went over the line before was not recorded")));
    EXPECT_GT(first.section(u' ', 0, 0).toDouble(), 0.0);
    tool.type(QStringLiteral("npid"));
    ASSERT_TRUE(tool.shows("npid\\r\\n"));
    EXPECT_GE(tool.traffic().model()->lineText(1).section(u' ', 0, 0).toDouble(),
              first.section(u' ', 0, 0).toDouble());
}

} // namespace
} // namespace korvex::ui::test
