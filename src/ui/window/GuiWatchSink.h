#pragma once
// Where a watch's readings reach the window. The watch calls it on its own thread: a reading is
// written to the CSV log there and then (so the log never waits for the window), and every call
// is copied and posted to the window thread, where it comes out as a signal. Calls still queued
// when this object goes are dropped with it.
#include "device/actions/ValueWatch.h"
#include "device/actions/WatchLog.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace korvex::ui::window {

class GuiWatchSink : public QObject, public device::WatchSink {
    Q_OBJECT
public:
    GuiWatchSink() = default;

    // Window thread, before the watch starts: the log its readings go to; false with the reason.
    bool openLog(const std::string& path, QString& error);
    // Window thread, when no watch runs: the log is closed (a watch closes it when it ends).
    void closeLog() { log_.close(); }

    void reading(const device::WatchReading& reading) override;
    void cycleEnded(const device::WatchCycle& cycle) override;
    void ended(device::WatchEnd why, int succeeded) override;

signals:
    void readingTaken(const device::WatchReading& reading);
    void cycleTaken(const device::WatchCycle& cycle);
    // logFailed: a row could not be written, and the log was closed then.
    void watchEnded(device::WatchEnd why, int succeeded, bool logFailed);

private:
    void post(std::function<void()> change);

    device::WatchLog log_;
    bool logFailed_ = false; // the watch's thread while it runs
};

} // namespace korvex::ui::window
