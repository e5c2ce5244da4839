#include "ui/window/StoredOptions.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace korvex::ui::window::stored {

namespace {

const QString kWaitForSilence = QStringLiteral("link/waitForSilence");
const QString kVerifyAfterSend = QStringLiteral("link/verifyAfterSend");
const QString kWatchInterval = QStringLiteral("viewData/watchIntervalSeconds");
const QString kDeviceModel = QStringLiteral("connect/deviceModel");
const QString kPort = QStringLiteral("connect/port");
const QString kCommissioned = QStringLiteral("connect/commissioned");
const QString kModicon = QStringLiteral("connect/modicon");
const QString kGatewaySlave = QStringLiteral("connect/gatewaySlave");
const QString kGeometry = QStringLiteral("window/geometry");
const QString kFolders = QStringLiteral("folders/");
const QString kConsoleHistory = QStringLiteral("console/history");
const QString kRecentMaps = QStringLiteral("maps/recent");

QSettings settings() {
    return QSettings(QStringLiteral("Korvex"), QStringLiteral("korvex-config"));
}

bool flag(const QString& key) {
    return settings().value(key, false).toBool();
}

void store(const QString& key, const QVariant& value) {
    QSettings s = settings();
    s.setValue(key, value);
}

// "XML object map (*.xml);;All files (*.*)" is kept under "xml".
QString folderKey(const QString& filters) {
    static const QRegularExpression firstPattern(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch match = firstPattern.match(filters);
    return kFolders + (match.hasMatch() ? match.captured(1).toLower() : QStringLiteral("other"));
}

} // namespace

bool waitForSilence() {
    return flag(kWaitForSilence);
}

void setWaitForSilence(bool on) {
    store(kWaitForSilence, on);
}

bool verifyAfterSend() {
    return flag(kVerifyAfterSend);
}

void setVerifyAfterSend(bool on) {
    store(kVerifyAfterSend, on);
}

double watchIntervalSeconds() {
    bool ok = false;
    const double seconds = settings().value(kWatchInterval, 2.0).toDouble(&ok);
    return ok && seconds >= 0 && seconds <= 3600 ? seconds : 2.0;
}

void setWatchIntervalSeconds(double seconds) {
    store(kWatchInterval, seconds);
}

int deviceModel() {
    return settings().value(kDeviceModel, 0).toInt();
}

void setDeviceModel(int index) {
    store(kDeviceModel, index);
}

QString port() {
    return settings().value(kPort).toString();
}

void setPort(const QString& text) {
    store(kPort, text);
}

ConnectOptions connectOptions() {
    const QSettings s = settings();
    return {s.value(kCommissioned, false).toBool(), s.value(kModicon, false).toBool(),
            s.value(kGatewaySlave, false).toBool()};
}

void setConnectOptions(const ConnectOptions& options) {
    QSettings s = settings();
    s.setValue(kCommissioned, options.commissioned);
    s.setValue(kModicon, options.modicon);
    s.setValue(kGatewaySlave, options.gatewaySlave);
}

QByteArray windowGeometry() {
    return settings().value(kGeometry).toByteArray();
}

void setWindowGeometry(const QByteArray& geometry) {
    store(kGeometry, geometry);
}

QString lastFolder(const QString& filters) {
    return settings().value(folderKey(filters)).toString();
}

void setLastFolder(const QString& filters, const QString& chosenFile) {
    if (chosenFile.isEmpty()) return;
    store(folderKey(filters), QFileInfo(chosenFile).absolutePath());
}

QStringList consoleHistory() {
    QStringList lines = settings().value(kConsoleHistory).toStringList();
    if (lines.size() > kConsoleHistoryLength) lines = lines.mid(lines.size() - kConsoleHistoryLength);
    return lines;
}

void setConsoleHistory(const QStringList& lines) {
    store(kConsoleHistory, lines.mid(std::max<qsizetype>(0, lines.size() - kConsoleHistoryLength)));
}

QStringList recentMaps() {
    return settings().value(kRecentMaps).toStringList().mid(0, kRecentMapCount);
}

void addRecentMap(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList maps = recentMaps();
    maps.removeAll(full);
    maps.prepend(full);
    store(kRecentMaps, maps.mid(0, kRecentMapCount));
}

void removeRecentMap(const QString& path) {
    QStringList maps = recentMaps();
    maps.removeAll(path);
    store(kRecentMaps, maps);
}

} // namespace korvex::ui::window::stored
