#include "ui/pages/viewdata/ViewDataPage.h"

#include "ui/dialogs/DataValue.h"
#include "ui/dialogs/EditorContext.h"
#include "ui/models/ViewDataModel.h"
#include "ui/widgets/ListGrid.h"
#include "ui/widgets/TrendPlot.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"
#include "ui/window/StoredOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>

#include <cmath>
#include <set>

namespace korvex::ui::pages {

using dialogs::DataValue;
using widgets::applyColumnWidths;
using widgets::followSelection;
using widgets::HeadingFit;
using widgets::setUpGrid;

namespace {

constexpr const char* kActionTexts[] = {"No action", "Get Object data values", "Send Object data values"};

constexpr const char* kWatch = "Watch";
constexpr const char* kStop = "Stop";
constexpr const char* kLogFilters = "CSV files (*.csv);;All files (*.*)";

QString seconds(std::chrono::milliseconds ms) {
    return QString::number(ms.count() / 1000.0, 'f', 2);
}

// What the box says when a watch ends.
QString endText(device::WatchEnd why, int succeeded, bool logFailed) {
    QString text;
    if (why == device::WatchEnd::PortClosed) text = QStringLiteral("Watch ended: the port closed.\n");
    if (why == device::WatchEnd::NoEngine)
        text = QStringLiteral("Watch ended: the link stopped answering.\n");
    if (text.isEmpty()) text = QStringLiteral("Watch stopped.\n");
    if (succeeded == 0) text += QStringLiteral("No read brought a value.\n");
    if (logFailed) text += QStringLiteral("The log file could not be written to the end.\n");
    return text;
}

} // namespace

using widgets::TrendPlot;

ViewDataPage::ViewDataPage(ConfigTool& tool, QWidget* parent) : ToolPage(tool, Page::ViewData, parent) {
    makeToolbar();
    QLayout* actionRow = makeActionRow(kActionTexts);
    model_ = new ViewDataModel(session_.map(), session_.mutex(), tool_.device().engine().values(),
                               tool_.options(), this);
    grid_ = new QTableView;
    setUpGrid(*grid_, *model_, "dataGrid");
    applyColumnWidths();
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection); // several objects to plot
    followSelection(*grid_, *this, selected_, 1, [this](const QModelIndex&) { openValueEditor(); });
    connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ViewDataPage::plotSelection);
    plot_ = new TrendPlot;
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(grid_);
    split->addWidget(plot_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);
    layOut({actionRow, makeProgressRow(), makeWatchRow()}, split);
    connect(&session_, &MapSession::valuesChanged, this, &ViewDataPage::refresh);
    connect(&session_, &MapSession::replaced, this, &ViewDataPage::refresh);
    window::GuiWatchSink& sink = tool_.device().watchSink();
    connect(&sink, &window::GuiWatchSink::readingTaken, this, &ViewDataPage::showReading);
    connect(&sink, &window::GuiWatchSink::cycleTaken, this, &ViewDataPage::showCycle);
    connect(&sink, &window::GuiWatchSink::watchEnded, this, &ViewDataPage::watchEnded);
}

QLayout* ViewDataPage::makeWatchRow() {
    watchButton_ = makeButton(kWatch, "watch", [this] { toggleWatch(); });
    interval_ = new QDoubleSpinBox;
    interval_->setObjectName(QStringLiteral("watchInterval"));
    interval_->setRange(0.0, 3600.0);
    interval_->setDecimals(1);
    interval_->setSingleStep(0.5);
    interval_->setSuffix(QStringLiteral(" s"));
    interval_->setValue(window::stored::watchIntervalSeconds());
    connect(interval_, &QDoubleSpinBox::valueChanged, this,
            [](double value) { window::stored::setWatchIntervalSeconds(value); });
    logBox_ = new QCheckBox(QStringLiteral("Log to CSV file"));
    logBox_->setObjectName(QStringLiteral("watchLog"));
    cycleLabel_ = new QLabel;
    cycleLabel_->setObjectName(QStringLiteral("cycleTime"));
    auto* row = new QHBoxLayout;
    row->addWidget(watchButton_);
    row->addWidget(new QLabel(QStringLiteral("every")));
    row->addWidget(interval_);
    row->addWidget(logBox_);
    row->addWidget(cycleLabel_, 1);
    return row;
}

void ViewDataPage::revisited(Revisit why) {
    if (why == Revisit::TabEntered) refresh();
}

void ViewDataPage::applyColumnWidths() {
    widgets::applyColumnWidths(
        *grid_, [this](int c) { return model_->column(c).width; }, HeadingFit::Keep);
}

void ViewDataPage::refresh() {
    model_->refresh();
    reselect();
}

void ViewDataPage::notationChanged() {
    model_->rebuildColumns();
    applyColumnWidths();
    refresh();
}

void ViewDataPage::reselect() {
    widgets::showSelectedObject(*grid_, selected_);
}

void ViewDataPage::selectObject(int n) {
    widgets::selectObjectRow(*grid_, selected_, n);
}

void ViewDataPage::execute() {
    const int action = actionList()->currentIndex();
    clearStatus();
    if (action != kNoValueAction) model_->clearFailures();
    if (action == kGetValues) runDeviceAction(&device::DeviceActions::readValues);
    if (action == kSendValues) runDeviceAction(&device::DeviceActions::writeValues);
}

void ViewDataPage::openValueEditor() {
    if (selected_ < 1 || selected_ > kObjectCount) return;
    // Apply stores the value in the object's slot and asks the status loop to write it.
    DataValue(tool_.editorContext(), selected_, tool_.device().engine().values().slot(selected_).value,
              &tool_)
        .exec();
}

void ViewDataPage::toggleWatch() {
    if (!watching_) return startWatch();
    tool_.device().watch().requestStop();
    watchButton_->setEnabled(false); // until the read in flight has ended
}

// The log file is asked for and created first; the range and the start are the action's.
void ViewDataPage::startWatch() {
    window::GuiWatchSink& sink = tool_.device().watchSink();
    logPath_.clear();
    if (logBox_->isChecked()) {
        logPath_ = tool_.prompter().saveFileName(this, QString::fromLatin1(kLogFilters));
        if (logPath_.isEmpty()) return;
        QString error;
        if (!sink.openLog(logPath_.toStdString(), error)) {
            tool_.showMessage(QStringLiteral("The log file could not be created:\n%1").arg(error));
            return;
        }
    }
    device::WatchPlan plan;
    plan.interval = std::chrono::milliseconds(std::llround(interval_->value() * 1000));
    device::ActionOutcome outcome = device::ActionOutcome::Cancelled;
    runDeviceAction([&](device::DeviceActions& a) { outcome = a.watchValues(tool_.device().watch(), plan); });
    if (outcome != device::ActionOutcome::Started || plan.objects.empty()) {
        sink.closeLog();
        if (!logPath_.isEmpty()) QFile::remove(logPath_); // it holds the header only
        return;
    }
    watching_ = true;
    model_->clearFailures();
    plot_->clear();
    watchButton_->setText(QString::fromLatin1(kStop));
    interval_->setEnabled(false);
    logBox_->setEnabled(false);
    cycleLabel_->clear();
    // Through the status sink, so it comes after the box's emptying that the action queued there.
    const QString started = QStringLiteral("Watching objects %1 to %2, a cycle every %3 s.\n")
                                .arg(plan.objects.front())
                                .arg(plan.objects.back())
                                .arg(seconds(plan.interval));
    tool_.device().sink().appendText(Page::ViewData, started.toStdString());
}

void ViewDataPage::showReading(const device::WatchReading& reading) {
    const bool failed = reading.result != device::DeviceResult::Ok;
    model_->valueTaken(reading.object, failed ? QString::fromStdString(reading.text) : QString());
    const qint64 at =
        std::chrono::duration_cast<std::chrono::milliseconds>(reading.time.time_since_epoch()).count();
    plot_->addPoint(reading.object, QString::fromStdString(reading.name), at, reading.number);
}

void ViewDataPage::showCycle(const device::WatchCycle& cycle) {
    QString text = QStringLiteral("Cycle %1 took %2 s").arg(cycle.number).arg(seconds(cycle.took));
    if (cycle.number > 1) text += QStringLiteral(", started %1 s after the last").arg(seconds(cycle.period));
    if (cycle.failed == 1) text += QStringLiteral(", 1 read failed");
    if (cycle.failed > 1) text += QStringLiteral(", %1 reads failed").arg(cycle.failed);
    cycleLabel_->setText(text);
}

void ViewDataPage::watchEnded(device::WatchEnd why, int succeeded, bool logFailed) {
    watching_ = false;
    watchButton_->setText(QString::fromLatin1(kWatch));
    watchButton_->setEnabled(true);
    interval_->setEnabled(true);
    logBox_->setEnabled(true);
    appendStatus(endText(why, succeeded, logFailed));
}

// The selected rows' objects are plotted (every watched one when none is selected).
void ViewDataPage::plotSelection() {
    std::set<int> rows;
    for (const QModelIndex& index : grid_->selectionModel()->selectedRows()) rows.insert(index.row() + 1);
    plot_->setShown(std::vector<int>(rows.begin(), rows.end()));
}

} // namespace korvex::ui::pages
