#pragma once
// What every page of the main window shares: its place in the tab order, its help section, its
// toolbar (the page's own commands, then help) and its status box. Pages are created once and
// only shown or hidden. A page learns of changes to the map from the map session's signals and
// of the window's own events (tab changes, option changes) from the hooks below; it never calls
// another page. Window thread only.
#include "device/reporting/StatusSink.h"
#include "model/ModelMessages.h"
#include "model/check/MapChecker.h"
#include "ui/window/MapSession.h"
#include "ui/window/Prompter.h"

#include <QWidget>

#include <functional>
#include <initializer_list>
#include <optional>
#include <span>

class QAction;
class QComboBox;
class QLayout;
class QPlainTextEdit;
class QPushButton;
class QToolBar;

namespace korvex::device {
class DeviceActions;
}

namespace korvex::ui::widgets {
class TransferProgress;
}

namespace korvex::ui::window {
class ConfigTool;
}

namespace korvex::ui::pages {

using device::kPageCount;
using device::Page;
using window::ConfigTool;
using window::MapPart;
using window::MapParts;
using window::MapSession;
using window::MessageButtons;
using window::MessageIcon;

// Why the window shows a page again.
enum class Revisit {
    TabEntered,      // the user picked its tab (the title is updated right after)
    TitleUpdated,    // the window's title was brought up to date while the page is current
    WindowActivated, // the window became active while the page is current
};

class ToolPage : public QWidget {
    Q_OBJECT
public:
    ToolPage(ConfigTool& tool, Page page, QWidget* parent = nullptr);

    Page page() const { return page_; }
    int helpSection() const { return static_cast<int>(page_) + 4; }

    // Shows the map anew.
    virtual void refresh() {}
    // The Modicon option changed: the register columns are rebuilt, then the grid refreshed.
    virtual void notationChanged() {}
    // The "Configure gateway as Modbus slave." option changed.
    virtual void slaveOptionChanged() {}
    // The user is leaving this page for another tab.
    virtual void leaving() {}
    // The window shows this page again.
    virtual void revisited(Revisit) {}
    // The page is shown for a problem the map checker found on it: the problem's row is selected
    // and the editor that a double-click there opens is opened. Pages with no such place ignore it.
    virtual void showProblem(const Problem&) {}

    // The page's read-only status box; pages without one ignore these. An appended report starts
    // a line of its own when the box's last line is unfinished.
    void setStatus(const QString& text);
    void appendStatus(const QString& text);
    void clearStatus() { setStatus(QString()); }
    QString statusText() const;

    QToolBar* toolbar() const { return toolbar_; }
    // The toolbar's last command: opens the page's help topic.
    QAction* helpAction() const { return help_; }

    // The action list and its "Execute" button, on the pages that have them (null elsewhere).
    QComboBox* actionList() const { return actions_; }
    QPushButton* executeButton() const { return execute_; }
    // Runs the action chosen in the action list.
    virtual void execute() {}
    // The progress row with Stop under the status box, on the pages whose transfers run long
    // (null elsewhere); shown while such a transfer runs.
    widgets::TransferProgress* transferProgress() const { return progress_; }

protected:
    // One toolbar command: its tooltip, its image (a name in the tool's resources) and what it does.
    QAction* makeCommand(const char* tooltip, const char* image, const char* objectName,
                         std::function<void()> run);
    // The toolbar: the page's commands, then help.
    QToolBar* makeToolbar(std::initializer_list<QAction*> commands = {});
    // The action list with its entries, the first ("No action") chosen, and "Execute".
    void makeActions(std::span<const char* const> texts);
    // The row of the pages whose actions report beside it: the action list, "Execute" and a
    // three-line status box taking the rest of the width.
    QLayout* makeActionRow(std::span<const char* const> texts);
    // The row under it where a long transfer shows its progress and Stop (hidden until then).
    QLayout* makeProgressRow();
    QPushButton* makeButton(const char* text, const char* objectName, std::function<void()> run);
    // The toolbar on top, the rows below it, and the main widget taking the rest of the height
    // (empty space when there is none).
    void layOut(std::initializer_list<QLayout*> rows, QWidget* main);
    // Reports each start a line; a terminal shows the gateway's output as it streams in, so the
    // pieces of one reply join up.
    enum class BoxKind { Reports, Terminal };
    void setStatusBox(QPlainTextEdit* box, BoxKind kind = BoxKind::Reports) {
        statusBox_ = box;
        boxKind_ = kind;
    }
    static QPlainTextEdit* makeStatusBox(int lines);
    static void setStatusBoxLines(QPlainTextEdit* box, int lines); // the height that shows them

    // Runs a change of the object map through the session, which announces the parts; a refusal
    // shows the message of op (none for changes that never refuse). Returns the change's code.
    int changeMap(MapParts parts, std::optional<ModelOp> op, const std::function<int(ObjectMap&)>& change);
    // A row edit of the NV or register list at row, announced as the rows that came or went.
    int changeRows(MapPart list, int row, ModelOp op, const std::function<int(ObjectMap&)>& change);

    // Before a send to the device: a map with errors asks once whether to send anyway. False when
    // the user cancels; the status box then says why nothing was sent.
    bool sendDespiteErrors();
    // Runs a device action of this page: its questions go through the window's dialogs. The
    // progress rows follow the transfer it started.
    void runDeviceAction(const std::function<void(device::DeviceActions&)>& run);

    ConfigTool& tool_;
    MapSession& session_;

private:
    Page page_;
    QToolBar* toolbar_ = nullptr;
    QAction* help_ = nullptr;
    QComboBox* actions_ = nullptr;
    QPushButton* execute_ = nullptr;
    QPlainTextEdit* statusBox_ = nullptr;
    widgets::TransferProgress* progress_ = nullptr;
    BoxKind boxKind_ = BoxKind::Reports;
    bool endedWithCr_ = false;
};

} // namespace korvex::ui::pages
