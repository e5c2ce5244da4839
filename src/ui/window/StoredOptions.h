#pragma once
// What the window keeps from one run to the next, in the user's settings ("Korvex",
// "korvex-config"): the one place that knows the keys. Window thread only. A value never stored
// (or stored by an older run in another form) reads as the default given here.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace korvex::ui::window::stored {

// "Wait for line silence after every reply" on the Connect page (off unless chosen).
bool waitForSilence();
void setWaitForSilence(bool on);
// "Verify after sending" on the Connect page (off unless chosen).
bool verifyAfterSend();
void setVerifyAfterSend(bool on);

// The View Data page's seconds between watch cycles (2 unless changed).
double watchIntervalSeconds();
void setWatchIntervalSeconds(double seconds);

// The Connect page's choices: device model (index into the model list, 0 unless chosen), the
// port as listed or typed (empty: the list's first entry) and the three working options.
int deviceModel();
void setDeviceModel(int index);
QString port();
void setPort(const QString& text);
struct ConnectOptions {
    bool commissioned = false;
    bool modicon = false;
    bool gatewaySlave = false;
};
ConnectOptions connectOptions();
void setConnectOptions(const ConnectOptions& options);

// The window's geometry as QWidget::saveGeometry gives it; empty before the first close.
QByteArray windowGeometry();
void setWindowGeometry(const QByteArray& geometry);

// The folder the file dialogs start in, one per kind of file. The kind is the first pattern of
// the dialog's filters ("*.xml", "*.csv", "*.xif"), so every dialog of one kind shares it.
QString lastFolder(const QString& filters);
void setLastFolder(const QString& filters, const QString& chosenFile);

// The lines typed on the Connect page's terminal, oldest first, at most kConsoleHistoryLength.
inline constexpr int kConsoleHistoryLength = 100;
QStringList consoleHistory();
void setConsoleHistory(const QStringList& lines);

// The maps opened or saved last, newest first, at most kRecentMapCount.
inline constexpr int kRecentMapCount = 8;
QStringList recentMaps();
// Puts the path first (once) and drops the oldest beyond the bound.
void addRecentMap(const QString& path);
void removeRecentMap(const QString& path);

} // namespace korvex::ui::window::stored
