#pragma once
// TransferProgress: the row a page shows under its status box while a transfer of several items
// runs: a bar with "done of total" in words, an estimate of the time left from the rate so far,
// and "Stop", which asks once ("Stopping…", disabled) until the transfer has ended. Whoever
// polls the transfer feeds it; it never looks at the device itself. Window thread only.
#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace korvex::ui::widgets {

// "About 40 s left", "About 2 min 5 s left": the items left at the rate of the items done
// since the estimate began; empty until a couple of items are done.
QString timeLeftText(qint64 elapsedMs, int doneSince, int left);

class TransferProgress : public QWidget {
    Q_OBJECT
public:
    explicit TransferProgress(QWidget* parent = nullptr);

    // Shows done of total with the bar's text; a new transfer starts the estimate afresh.
    void showProgress(int done, int total, const QString& text, bool newTransfer);
    // The transfer has ended: hidden, Stop ready for the next one.
    void finish();

    QProgressBar* bar() const { return bar_; }
    QLabel* timeLeft() const { return timeLeft_; }
    QPushButton* stopButton() const { return stop_; }

signals:
    void stopClicked();

private:
    void onStop();

    QProgressBar* bar_ = nullptr;
    QLabel* timeLeft_ = nullptr;
    QPushButton* stop_ = nullptr;
    QElapsedTimer clock_;
    int firstDone_ = 0;
};

} // namespace korvex::ui::widgets
