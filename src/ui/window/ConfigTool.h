#pragma once
// ConfigTool: the tool's main window. It owns the map session, the nine pages (one tab each),
// the "Connected:" and "In Sync:" indicators, the count of the map checker's findings and the
// problems window, the differences window of a compare, the Traffic window, the window title,
// help, the close guard, the working options of the Connect page and the device session with its
// two worker threads, the pages' transfer progress rows, Undo and Redo, and the recovery file.
// Window thread only.
#include "device/reporting/StatusSink.h"
#include "model/MapCompare.h"
#include "model/ModelMessages.h"
#include "model/ObjectMap.h"
#include "model/check/MapChecker.h"
#include "ui/dialogs/EditorContext.h"
#include "ui/window/HelpLauncher.h"
#include "ui/window/MapSession.h"
#include "ui/window/Prompter.h"
#include "ui/window/SimulatedLine.h"
#include "ui/window/WorkingOptions.h"

#include <QWidget>

#include <array>
#include <memory>
#include <span>
#include <vector>

class QLabel;
class QTabWidget;
class QToolButton;

namespace korvex::ui::pages {
class ToolPage;
}

namespace korvex::ui::dialogs {
class DifferencesWindow;
class ProblemsWindow;
class TrafficWindow;
} // namespace korvex::ui::dialogs

namespace korvex::ui::window {

using device::kPageCount;
using device::Page;
using pages::ToolPage;

class DeviceSession;
class MapProblems;
class MapRecovery;
class MapUndo;
class TransferBars;

class ConfigTool : public QWidget {
    Q_OBJECT
public:
    // The map is reset to empty. The simulated gateway, when the user picks it, comes from
    // simulators. With startDevice false no worker thread runs (tests that do not talk to a
    // device).
    ConfigTool(ObjectMap& map, Prompter& prompter, SimulatorFactory simulators, bool startDevice = true,
               QWidget* parent = nullptr);
    ~ConfigTool() override;

    MapSession& session() { return *session_; }
    WorkingOptions& options() { return options_; }
    Prompter& prompter() { return prompter_; }
    HelpLauncher& help() { return help_; }
    DeviceSession& device() { return *device_; }
    // The map checker's findings, kept current as the map changes.
    MapProblems& problems() { return *problems_; }
    // Undo and Redo of the map's changes (Ctrl+Z, Ctrl+Shift+Z on every page).
    MapUndo& undo() { return *undo_; }
    MapRecovery& recovery() { return *recovery_; }
    // The progress rows and Stop of the pages whose transfers run long.
    TransferBars& transferBars() { return *transferBars_; }
    // Offers a recovery file left in folder by a run that did not end normally, then keeps
    // unsaved changes there every interval until the window closes. Nothing when another running
    // window uses the folder.
    void startRecovery(const QString& folder, int intervalMs);

    const QString& startDirectory() const { return startDirectory_; }
    int deviceModel() const { return session_->deviceModel(); }
    void setDeviceModel(int index) { session_->setDeviceModel(index); }
    // "Korvex-A".."Korvex-C", "Unrecognized" for any other index.
    QString deviceModelName() const;

    ToolPage* page(Page page) const { return pages_.at(static_cast<std::size_t>(page)); }
    std::span<ToolPage* const> pages() const { return pages_; }
    Page currentPage() const { return current_; }
    void selectPage(Page page);

    // The one message box: caption "Korvex Configuration"; true on OK.
    bool showMessage(const QString& text, MessageButtons buttons = MessageButtons::Ok,
                     MessageIcon icon = MessageIcon::Error);
    // The message of a refused model operation; true when the code is a refusal.
    bool showRefusal(ModelOp op, int code);
    // Asks before a file that exists is replaced; false only when the user cancels. The question
    // belongs to owner (the main window when none).
    bool confirmOverwrite(const QString& path, QWidget* owner = nullptr);
    void openHelp(int section) { help_.open(section); }

    // What an editor dialog opened from the window works with: the session's map and lock, the
    // prompter and the working options; its requests become the session's announcements (and a
    // value write goes to the status loop).
    dialogs::EditorContext editorContext();

    // The title by page; while the map is unsaved it ends in "*" (on every page). The current page
    // is told, as some redraw then.
    void updateTitle();
    // The "In Sync:" light from the session, and the title's unsaved mark.
    void updateInSync();
    // Puts the unsaved mark on the title or takes it off.
    void showSavedState();
    // "Connected:": off; amber while the port is open but no gateway has answered Connect's
    // check of the line; green once one has, and after any other open of a closed port.
    enum class LinkLight { Off, NoAnswer, On };
    void setConnected(bool on) { showLink(on ? LinkLight::On : LinkLight::Off); }
    void showLink(LinkLight light);
    LinkLight linkShown() const { return link_; }
    // Green or amber: the port is shown open.
    bool connectedShown() const { return link_ != LinkLight::Off; }
    bool inSyncShown() const { return inSyncOn_; }

    // The count of errors and warnings in the top strip, as shown.
    QString problemCountShown() const;
    // Opens the problems window ("Check map"), or brings it to the front.
    void showProblemsWindow();
    // Null until the problems window was first opened.
    dialogs::ProblemsWindow* problemsWindow() const { return problemsWindow_; }
    // Opens the Traffic window (Ctrl+T on any page), or brings it to the front.
    void showTrafficWindow();
    // Null until the Traffic window was first opened.
    dialogs::TrafficWindow* trafficWindow() const { return trafficWindow_; }
    // What a compare of the map with the gateway found: the count ends the Master List box, and
    // differences open the differences window (or bring it to the front). Null until then.
    void showCompareResult(std::vector<MapDifference> differences);
    dialogs::DifferencesWindow* differencesWindow() const { return differencesWindow_; }
    // Shows the page where the problem sits, its row selected, and opens that row's editor.
    void goToProblem(const Problem& problem);

    // The Modicon option changed: every page rebuilds its register columns.
    void notationChanged();
    // The gateway-is-slave option changed.
    void slaveOptionChanged();
    // Stops both worker threads (idempotent); the close guard calls it.
    void stopDevice();
    // True once stopDevice ran: the window is closing and an action still running asks nothing.
    bool stopRequested() const { return stopRequested_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // A .xml, .csv or .xif dropped on the window opens or imports it.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void resetMap();
    void buildFrame();
    QWidget* buildStatusStrip();
    void centreOnScreen();
    void onTabChanged(int index);
    void showProblemCount();
    void raiseEditorRequest(dialogs::EditorRequest what, int value);
    void announceEditorRequest(dialogs::EditorRequest what, int object);

    std::unique_ptr<MapSession> session_;
    Prompter& prompter_;
    QString startDirectory_;
    HelpLauncher help_;
    WorkingOptions options_;

    QString titleText_; // the title by page, without the unsaved mark

    bool started_ = false;
    bool stopRequested_ = false;
    Page current_ = Page::Connect;

    QTabWidget* tabs_ = nullptr;
    std::array<ToolPage*, kPageCount> pages_{};
    QLabel* connectedLed_ = nullptr;
    QLabel* inSyncLed_ = nullptr;
    QToolButton* problemCount_ = nullptr;
    dialogs::ProblemsWindow* problemsWindow_ = nullptr;
    dialogs::TrafficWindow* trafficWindow_ = nullptr;
    dialogs::DifferencesWindow* differencesWindow_ = nullptr;
    LinkLight link_ = LinkLight::Off;
    bool inSyncOn_ = false;

    std::unique_ptr<DeviceSession> device_;
    std::unique_ptr<MapProblems> problems_;
    MapUndo* undo_ = nullptr;              // a child of the window
    TransferBars* transferBars_ = nullptr; // a child of the window
    std::unique_ptr<MapRecovery> recovery_;
};

} // namespace korvex::ui::window
