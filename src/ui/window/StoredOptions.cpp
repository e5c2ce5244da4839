#include "ui/window/StoredOptions.h"

#include <QSettings>

namespace korvex::ui::window::stored {

namespace {

const QString kWaitForSilence = QStringLiteral("link/waitForSilence");
const QString kWatchInterval = QStringLiteral("viewData/watchIntervalSeconds");

QSettings settings() {
    return QSettings(QStringLiteral("Korvex"), QStringLiteral("korvex-config"));
}

} // namespace

bool waitForSilence() {
    return settings().value(kWaitForSilence, false).toBool();
}

void setWaitForSilence(bool on) {
    QSettings s = settings();
    s.setValue(kWaitForSilence, on);
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
