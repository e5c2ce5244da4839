#include "ui/window/StoredOptions.h"

#include <QSettings>

namespace korvex::ui::window::stored {

namespace {

const QString kWaitForSilence = QStringLiteral("link/waitForSilence");

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

} // namespace korvex::ui::window::stored
