// The View Data page: values shown by data type, the grid's columns and images, and reading and
// writing values (a range, and one value from the data value dialog) against the simulated gateway.
#include "ui/support/DevicePagesTestSupport.h"
#include "ui/support/ListPagesTestSupport.h"

#include "ui/dialogs/DataValue.h"
#include "ui/dialogs/EditorContext.h"
#include "ui/models/ViewDataModel.h"
#include "ui/pages/viewdata/ViewDataPage.h"
#include "ui/widgets/TrendPlot.h"
#include "ui/window/StoredOptions.h"
#include "vocab/RegisterCodes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <QDir>
#include <QFile>

#include <bit>
#include <cmath>
#include <unistd.h>

namespace korvex::ui::test {
namespace {

TEST(ViewData, ValueTextFollowsTheDataType) {
    const struct {
        uint32_t value;
        int datatype;
        const char* text;
    } cases[] = {
        {std::bit_cast<uint32_t>(2.5f), ObjectDataType::FP, "2.500000"},
        {std::bit_cast<uint32_t>(-0.125f), ObjectDataType::FP, "-0.125000"},
        {0xFFFFFFFFu, ObjectDataType::U32, "4294967295"},
        {0xFFFFFFFFu, ObjectDataType::S32, "-1"},
        {0x0001FFFFu, ObjectDataType::U16, "65535"},
        {0x00008001u, ObjectDataType::S16, "-32767"},
        {2, ObjectDataType::BIT, "1"},
        {0x100, ObjectDataType::BIT, "0"},
        {1234, ObjectDataType::None, "Undef"},
        {1234, 9, "Undef"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(valueText(c.value, c.datatype), QString::fromLatin1(c.text))
            << c.datatype << " " << c.value;
}

TEST(ViewDataPage, GridColumnsFollowTheModiconOption) {
    Tool tool;
    ViewDataPage& page = tool.page<ViewDataPage>(kViewDataPage);
    ViewDataModel& model = *page.model();
    const auto titles = [&] {
        QStringList list;
        for (int c = 0; c < model.columnCount(); ++c)
            list << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        return list;
    };
    EXPECT_EQ(model.rowCount(), 400);
    EXPECT_EQ(titles(), (QStringList{"", "Obj #", "R/W", "Type", "Reg #", "Slave", "Dir", "FB #",
                                     "Object Name", "Data Value"}));
    tool.window->options().modicon = true;
    tool.window->notationChanged();
    EXPECT_EQ(titles(), (QStringList{"", "Obj #", "R/W", "Modicon #", "Slave", "Dir", "FB #", "Object Name",
                                     "Data Value"}));
    EXPECT_EQ(model.column(3).width, 120);
}

TEST(ViewDataPage, ImageSaysWhetherAValueCameFromTheGateway) {
    Tool tool;
    ViewDataPage& page = tool.page<ViewDataPage>(kViewDataPage);
    device::ValueTable& values = tool.window->device().engine().values();
    values.slot(2).fresh = true;
    page.refresh();
    const QImage fresh = page.model()->index(1, 0).data(Qt::DecorationRole).value<QPixmap>().toImage();
    const QImage stale = page.model()->index(0, 0).data(Qt::DecorationRole).value<QPixmap>().toImage();
    EXPECT_FALSE(fresh.isNull());
    EXPECT_NE(fresh, stale);
    EXPECT_EQ(fresh, QPixmap(QStringLiteral(":/korvex/grid_in.png")).toImage());
}

// Objects 1..3 in use in the map and defined in the gateway with values.
void defineObjects(SimTool& tool) {
    for (int n = 1; n <= 3; ++n) {
        DataObject& o = *tool.map->object(n);
        o.flags = ObjectFlag::InUse | ObjectFlag::ReadPeriodic;
        o.datatype = n == 3 ? ObjectDataType::None : ObjectDataType::S16;
    }
    tool.gateway().withConfig([](sim::GatewayConfig& c) {
        for (int n = 1; n <= 3; ++n) {
            c.objects[n].kind = "obj";
            c.objects[n].set("modreg", "1");
            c.values[static_cast<std::size_t>(n)] = n == 1 ? -40000.0 : 2.5 * n;
        }
        return 0;
    });
}

TEST(ViewDataPage, ExecuteReadsAndWritesTheChosenRange) {
    SimTool tool;
    defineObjects(tool);
    ViewDataPage& page = tool.page<ViewDataPage>(kViewDataPage);
    page.actionList()->setCurrentIndex(kGetValues);
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{1, 3}}};
    QTest::mouseClick(page.executeButton(), Qt::LeftButton);
    ASSERT_EQ(tool.prompter.offeredObjectRanges.size(), 1u);
    EXPECT_EQ(tool.prompter.offeredObjectRanges[0], (ObjectRange{1, 3}));
    ASSERT_TRUE(tool.waitForStatus(
        kViewDataPage, QStringLiteral("Object #1 read ok.\nObject #2 read ok.\nObject #3 read ok.\n")))
        << page.statusText().toStdString();
    tool.waitUntilIdle();
    const int valueColumn = page.model()->columnCount() - 1;
    EXPECT_EQ(page.model()->index(0, valueColumn).data().toString(), QStringLiteral("-32767"));
    EXPECT_EQ(page.model()->index(1, valueColumn).data().toString(), QStringLiteral("5"));
    EXPECT_EQ(page.model()->index(2, valueColumn).data().toString(), QStringLiteral("7.500000")); // now FP
    EXPECT_EQ(tool.map->object(3)->datatype, ObjectDataType::FP);

    page.actionList()->setCurrentIndex(kSendValues);
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{2, 2}}};
    tool.window->device().engine().values().slot(2).value = 77;
    QTest::mouseClick(page.executeButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.waitForStatus(kViewDataPage, QStringLiteral("Object #2 written ok.\n")));
    tool.waitUntilIdle();
    EXPECT_EQ(tool.gateway().receivedLines().back(), "pw 2 77.000000");
}

// The data value dialog on a row, its box typed into and Apply pressed.
void writeThroughDialog(SimTool& tool, int row, const QString& text) {
    ViewDataPage& page = tool.page<ViewDataPage>(kViewDataPage);
    onNextDialog([text](QDialog& dialog) {
        auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("value"));
        ASSERT_NE(qobject_cast<DataValue*>(&dialog), nullptr);
        ASSERT_NE(box, nullptr);
        box->setText(text);
        box->setModified(true);
        dialog.findChild<QPushButton*>(QStringLiteral("apply"))->click();
    });
    doubleClickRow(page.grid(), row);
    EXPECT_EQ(page.selectedObject(), row + 1);
}

TEST(ViewDataPage, DialogWriteWhileBusySaysSoAndLaterWritesTheValue) {
    SimTool tool;
    defineObjects(tool);
    tool.window->selectPage(kViewDataPage);
    ViewDataPage& page = tool.page<ViewDataPage>(kViewDataPage);
    sim::Fault slow;
    slow.delayMs = 400;
    tool.gateway().setFault("pr", slow);
    page.actionList()->setCurrentIndex(kGetValues);
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{1, 1}}};
    QTest::mouseClick(page.executeButton(), Qt::LeftButton);
    ASSERT_TRUE(tool.window->device().engine().busy());

    writeThroughDialog(tool, 1, QStringLiteral("9"));
    ASSERT_TRUE(tool.waitForStatus(kViewDataPage, QStringLiteral("Comm port busy\n")));
    ASSERT_TRUE(tool.waitForStatus(kViewDataPage, QStringLiteral("Comm port busy\nObject #1 read ok.\n")));
    tool.waitUntilIdle();
    EXPECT_EQ(tool.window->device().engine().values().slot(2).value, 9u); // only in the slot

    page.setStatus(QString());
    writeThroughDialog(tool, 1, QStringLiteral("-12"));
    ASSERT_TRUE(tool.waitForStatus(kViewDataPage, QStringLiteral("Object #2 written ok.\n")));
    tool.waitUntilIdle();
    EXPECT_EQ(tool.gateway().receivedLines().back(), "pw 2 -12.000000");
    const int valueColumn = page.model()->columnCount() - 1;
    EXPECT_EQ(page.model()->index(1, valueColumn).data().toString(), QStringLiteral("-12"));
}

// The plot keeps ten minutes of every line, however long a watch runs, and draws the selected
// objects (every object with points when none is), at most eight.
TEST(TrendPlot, KeepsTheSpanAndDrawsTheSelection) {
    app();
    widgets::TrendPlot plot;
    const qint64 minute = 60 * 1000;
    for (qint64 t = 0; t <= 30 * minute; t += 1000) {
        plot.addPoint(1, QStringLiteral("one"), t, t % 7 ? double(t) : std::nan(""));
        if (t <= 5 * minute) plot.addPoint(2, QStringLiteral("two"), t, 1.0);
    }
    EXPECT_EQ(plot.pointCount(1), 601u); // 20:00 to 30:00
    EXPECT_EQ(plot.pointCount(2), 0u);   // nothing of it is within the span any more
    EXPECT_EQ(plot.drawnObjects(), std::vector<int>{1});
    for (int n = 3; n <= 12; ++n) plot.addPoint(n, QString(), 30 * minute, n);
    EXPECT_EQ(plot.drawnObjects(), (std::vector<int>{1, 3, 4, 5, 6, 7, 8, 9}));
    plot.setShown({12, 2, 5});
    EXPECT_EQ(plot.drawnObjects(), (std::vector<int>{12, 5}));
    plot.resize(400, 200);
    EXPECT_FALSE(plot.grab().isNull()); // paints gaps and single points without trouble
}

// Watch: the grid's image and value cells of each object read change in place (no reset), a
// failed read shows its word, the plot gathers points, the log gets a row per read, and Stop ends
// it with a word. The interval is remembered.
TEST(ViewDataPage, WatchUpdatesTheGridInPlaceUntilStopped) {
    SimTool tool;
    defineObjects(tool);
    tool.gateway().setValueMotion(sim::ValueMotion::Ramp);
    ViewDataPage& page = tool.page<ViewDataPage>(kViewDataPage);
    const QString log = QDir::temp().filePath(QStringLiteral("korvex-view-watch-%1.csv").arg(getpid()));
    page.intervalBox()->setValue(0.1);
    EXPECT_EQ(window::stored::watchIntervalSeconds(), 0.1);
    page.logBox()->setChecked(true);
    tool.prompter.files = {log};
    tool.prompter.objectRanges = {{RangeAnswer::Ok, ObjectRange{2, 4}}};
    QSignalSpy changed(page.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy reset(page.model(), &QAbstractItemModel::modelReset);
    QTest::mouseClick(page.watchButton(), Qt::LeftButton);
    EXPECT_EQ(page.watchButton()->text(), QStringLiteral("Stop"));
    ASSERT_TRUE(waitFor([&] { return page.cycleLabel()->text().startsWith(QStringLiteral("Cycle 3 took")); }))
        << page.cycleLabel()->text().toStdString();
    const int valueColumn = page.model()->columnCount() - 1;
    EXPECT_EQ(page.model()->index(3, valueColumn).data().toString(), QStringLiteral("Undef"));
    EXPECT_GE(page.model()->index(1, valueColumn).data().toString().toInt(), 6); // 5, 6, 7, ... as it ramps
    EXPECT_EQ(reset.count(), 0);
    for (const QList<QVariant>& signal : changed) {
        const QModelIndex from = signal[0].toModelIndex();
        const QModelIndex to = signal[1].toModelIndex();
        EXPECT_EQ(from, to);
        EXPECT_TRUE(from.column() == 0 || from.column() == valueColumn) << from.column();
        EXPECT_TRUE(from.row() >= 1 && from.row() <= 3) << from.row();
    }
    EXPECT_GE(page.plot()->pointCount(2), 3u);
    EXPECT_EQ(page.plot()->drawnObjects(), (std::vector<int>{2, 3, 4}));

    QTest::mouseClick(page.watchButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return page.watchButton()->text() == QStringLiteral("Watch"); }));
    EXPECT_EQ(page.statusText(),
              QStringLiteral("Watching objects 2 to 4, a cycle every 0.10 s.\nWatch stopped.\n"));
    tool.waitUntilIdle();
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    EXPECT_EQ(lines[0], QByteArray("time,object,name,value\r"));
    EXPECT_GE(lines.size(), 10); // three cycles of three, and the empty piece after the last line end
    EXPECT_TRUE(lines[3].endsWith(",4,,Undef\r")) << lines[3].toStdString();
    file.remove();
}

} // namespace
} // namespace korvex::ui::test
