#include "ui/dialogs/TrafficWindow.h"

#include "formats/AtomicFile.h"
#include "ui/models/TrafficModel.h"
#include "ui/widgets/ListGrid.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace korvex::ui::dialogs {

using models::TrafficModel;
using window::MessageButtons;
using window::MessageIcon;

namespace {

constexpr int kColumnWidths[] = {90, 36, 56, 0};
constexpr char kTraceFilters[] = "Trace (*.log *.txt);;All files (*.*)";
constexpr char kStartedLate[] = "recording starts here: what went over the line before was not recorded";

} // namespace

TrafficWindow::TrafficWindow(window::ConfigTool& tool)
    : QDialog(&tool), tool_(tool), model_(new TrafficModel(this)), grid_(new QTableView),
      filter_(new QLineEdit), pause_(new QPushButton(QStringLiteral("Pause"))),
      clear_(new QPushButton(QStringLiteral("Clear"))), save_(new QPushButton(QStringLiteral("Save trace…"))),
      count_(new QLabel), message_(new QLabel), timer_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Traffic"));
    setModal(false);
    resize(760, 420);
    widgets::setUpGrid(*grid_, *model_, "trafficGrid");
    grid_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
    widgets::applyColumnWidths(*grid_, [](int c) { return kColumnWidths[c]; });
    count_->setObjectName(QStringLiteral("trafficCount"));
    message_->setObjectName(QStringLiteral("trafficMessage"));
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, &TrafficWindow::poll);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(count_);
    bottom->addSpacing(12);
    bottom->addWidget(message_, 1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildTopRow());
    layout->addWidget(grid_, 1);
    layout->addLayout(bottom);
    showCount();
}

QLayout* TrafficWindow::buildTopRow() {
    filter_->setObjectName(QStringLiteral("trafficFilter"));
    filter_->setPlaceholderText(QStringLiteral("Show only the lines that contain this text"));
    filter_->setClearButtonEnabled(true);
    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_->setFilter(text);
        grid_->scrollToBottom();
        showCount();
    });
    pause_->setCheckable(true);
    connect(pause_, &QPushButton::toggled, this, &TrafficWindow::setPaused);
    connect(clear_, &QPushButton::clicked, this, &TrafficWindow::clearTrace);
    connect(save_, &QPushButton::clicked, this, &TrafficWindow::saveTrace);
    for (QPushButton* button : {pause_, clear_, save_}) button->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Filter:")));
    row->addWidget(filter_, 1);
    row->addSpacing(8);
    row->addWidget(pause_);
    row->addWidget(clear_);
    row->addWidget(save_);
    return row;
}

// A port open before the recording started had traffic that was not recorded: one line says so,
// at the time since that open.
void TrafficWindow::startRecording() {
    if (recording_) return;
    recording_ = true;
    device::SerialLink& link = tool_.device().link();
    const bool late = !link.trace().enabled() && link.isOpen();
    const std::int64_t sinceOpen = link.microsSinceOpen();
    link.enableTrace();
    if (late && sinceOpen >= 0) model_->appendNote(sinceOpen, kStartedLate);
}

void TrafficWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    startRecording();
    poll();
    timer_->start();
}

void TrafficWindow::hideEvent(QHideEvent* event) {
    timer_->stop();
    QDialog::hideEvent(event);
}

void TrafficWindow::poll() {
    const device::TraceRecorder& recorder = tool_.device().link().trace();
    const QScrollBar* bar = grid_->verticalScrollBar();
    const bool follow = bar->value() >= bar->maximum();
    for (int i = 0; i < kBatchesPerPoll; ++i) {
        const device::TraceBatch batch = recorder.since(seen_);
        if (batch.events.empty()) break;
        seen_ = batch.events.back().sequence;
        model_->append(batch);
    }
    if (follow && !model_->paused()) grid_->scrollToBottom();
    showCount();
}

void TrafficWindow::setPaused(bool paused) {
    pause_->setText(paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    model_->setPaused(paused);
    if (!paused) grid_->scrollToBottom();
    showCount();
}

// The events cleared from the recorder count as seen, so none of them comes back as missed.
void TrafficWindow::clearTrace() {
    seen_ = std::max(seen_, tool_.device().link().trace().clear());
    model_->clear();
    message_->setText(QStringLiteral("Cleared."));
    showCount();
}

bool TrafficWindow::saveTrace() {
    const QString path = tool_.prompter().saveFileName(this, QString::fromLatin1(kTraceFilters));
    if (path.isEmpty()) {
        message_->setText(QStringLiteral("Nothing saved."));
        return false;
    }
    if (!tool_.confirmOverwrite(path, this)) {
        message_->setText(QStringLiteral("Nothing saved."));
        return false;
    }
    poll(); // everything recorded until now, also while paused
    const std::string text = model_->text();
    if (!replaceFileAtomically(QFile::encodeName(path).toStdString(), text)) {
        message_->setText(QStringLiteral("Nothing saved."));
        tool_.prompter().message(this, QStringLiteral("Could not write the trace to \"%1\".").arg(path),
                                 MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    message_->setText(QStringLiteral("Saved %1 lines to %2.").arg(model_->heldLines()).arg(path));
    return true;
}

void TrafficWindow::showCount() {
    const auto rows = static_cast<std::size_t>(model_->rowCount());
    QString text = rows == model_->heldLines()
                       ? QStringLiteral("%1 lines").arg(rows)
                       : QStringLiteral("%1 of %2 lines shown").arg(rows).arg(model_->heldLines());
    if (model_->paused()) text += QStringLiteral(", %1 waiting").arg(model_->waitingLines());
    if (count_->text() != text) count_->setText(text);
}

QString TrafficWindow::countShown() const {
    return count_->text();
}

QString TrafficWindow::messageShown() const {
    return message_->text();
}

} // namespace korvex::ui::dialogs
