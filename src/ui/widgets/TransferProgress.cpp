#include "ui/widgets/TransferProgress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace korvex::ui::widgets {

namespace {

constexpr int kItemsBeforeEstimate = 2;
constexpr const char* kStop = "Stop";
constexpr const char* kStopping = "Stopping…";

} // namespace

QString timeLeftText(qint64 elapsedMs, int doneSince, int left) {
    if (doneSince < kItemsBeforeEstimate || left <= 0 || elapsedMs <= 0) return {};
    const qint64 seconds = (elapsedMs * left / doneSince + 999) / 1000;
    if (seconds < 60) return QStringLiteral("About %1 s left").arg(seconds);
    return QStringLiteral("About %1 min %2 s left").arg(seconds / 60).arg(seconds % 60);
}

TransferProgress::TransferProgress(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("transferProgress"));
    bar_ = new QProgressBar;
    bar_->setObjectName(QStringLiteral("transferBar"));
    timeLeft_ = new QLabel;
    timeLeft_->setObjectName(QStringLiteral("timeLeft"));
    stop_ = new QPushButton(QString::fromLatin1(kStop));
    stop_->setObjectName(QStringLiteral("stopTransfer"));
    // Only a click stops: neither Enter nor Esc reaches it by accident.
    stop_->setAutoDefault(false);
    stop_->setFocusPolicy(Qt::NoFocus);
    connect(stop_, &QPushButton::clicked, this, &TransferProgress::onStop);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(bar_, 1);
    row->addWidget(timeLeft_);
    row->addWidget(stop_);
    hide();
}

void TransferProgress::showProgress(int done, int total, const QString& text, bool newTransfer) {
    if (newTransfer || isHidden()) {
        clock_.start();
        firstDone_ = done;
        timeLeft_->clear();
    }
    if (newTransfer) {
        stop_->setText(QString::fromLatin1(kStop));
        stop_->setEnabled(true);
    }
    total = std::max(total, 1);
    done = std::clamp(done, 0, total);
    bar_->setRange(0, total);
    bar_->setValue(done);
    bar_->setFormat(text);
    timeLeft_->setText(timeLeftText(clock_.elapsed(), done - firstDone_, total - done));
    bar_->show();
    show();
}

// The bar is hidden with the row, so whoever holds only the bar sees it go.
void TransferProgress::finish() {
    hide();
    bar_->hide();
    timeLeft_->clear();
    stop_->setText(QString::fromLatin1(kStop));
    stop_->setEnabled(true);
}

void TransferProgress::onStop() {
    stop_->setEnabled(false);
    stop_->setText(QString::fromUtf8(kStopping));
    emit stopClicked();
}

} // namespace korvex::ui::widgets
