#include "ui/window/StoredOptions.h"

#include <QSettings>

namespace korvex::ui::window::stored {

namespace {

const QString kWaitForSilence = QStringLiteral("link/waitForSilence");
const QString kVerifyAfterSend = QStringLiteral("link/verifyAfterSend");
const QString kWatchInterval = QStringLiteral("viewData/watchIntervalSeconds");

QSettings settings() {
    return QSettings(QStringLiteral("Korvex"), QStringLiteral("korvex-config"));
}

bool flag(const QString& key) {
    return settings().value(key, false).toBool();
}

void setFlag(const QString& key, bool on) {
    QSettings s = settings();
    s.setValue(key, on);
}

} // namespace

bool waitForSilence() {
    return flag(kWaitForSilence);
}

void setWaitForSilence(bool on) {
    setFlag(kWaitForSilence, on);
}

bool verifyAfterSend() {
    return flag(kVerifyAfterSend);
}

void setVerifyAfterSend(bool on) {
    setFlag(kVerifyAfterSend, on);
}

double watchIntervalSeconds() {
    bool ok = false;
    const double seconds = settings().value(kWatchInterval, 2.0).toDouble(&ok);
    return ok && seconds >= 0 && seconds <= 3600 ? seconds : 2.0;
}

void setWatchIntervalSeconds(double seconds) {
    QSettings s = settings();
    s.setValue(kWatchInterval, seconds);
}

} // namespace korvex::ui::window::stored
