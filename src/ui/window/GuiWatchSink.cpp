#include "ui/window/GuiWatchSink.h"

#include <QMetaObject>

namespace korvex::ui::window {

bool GuiWatchSink::openLog(const std::string& path, QString& error) {
    std::string why;
    logFailed_ = false;
    if (log_.open(path, &why)) return true;
    error = QString::fromStdString(why);
    return false;
}

void GuiWatchSink::post(std::function<void()> change) {
    QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

void GuiWatchSink::reading(const device::WatchReading& reading) {
    if (log_.isOpen() && !log_.write(reading)) logFailed_ = true;
    post([this, reading] { emit readingTaken(reading); });
}

void GuiWatchSink::cycleEnded(const device::WatchCycle& cycle) {
    post([this, cycle] { emit cycleTaken(cycle); });
}

void GuiWatchSink::ended(device::WatchEnd why, int succeeded) {
    log_.close();
    const bool logFailed = logFailed_;
    post([this, why, succeeded, logFailed] { emit watchEnded(why, succeeded, logFailed); });
}

} // namespace korvex::ui::window
