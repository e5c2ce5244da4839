#pragma once
// What every page of the main window shares: its place in the tab order, its help section, its
// toolbar (the page's own commands, then help) and its status box. Pages are created once and
// only shown or hidden; the window calls the hooks below on tab changes and option changes.
#include "model/ModelMessages.h"
#include "ui/window/Prompter.h"

#include <QWidget>

#include <functional>
#include <initializer_list>
#include <optional>
#include <span>

class QAction;
class QComboBox;
class QLabel;
class QLayout;
class QPlainTextEdit;
class QPushButton;
class QToolBar;

namespace korvex {
struct ObjectMap;
}

namespace korvex::device {
class DeviceActions;
}

namespace korvex::ui::window {
class ConfigTool;
}

namespace korvex::ui::pages {

using window::ConfigTool;
using window::MessageButtons;
using window::MessageIcon;

enum PageIndex : int {
    kConnectPage = 0,
    kRegImportPage = 1,
    kRegListPage = 2,
    kNVImportPage = 3,
    kNVListPage = 4,
    kMasterListPage = 5,
    kViewDataPage = 6,
    kModbusPortPage = 7,
    kLonWorksPage = 8,
    kPageCount = 9
};

class ToolPage : public QWidget {
    Q_OBJECT
public:
    ToolPage(ConfigTool& tool, int index, QWidget* parent = nullptr);

    int pageIndex() const { return index_; }
    int helpSection() const { return index_ + 4; }

    // Redraws the page's grid from the object map.
    virtual void refresh() {}
    // The Modicon option changed: the register columns are rebuilt, then the grid refreshed.
    virtual void notationChanged() {}
    // The user is leaving this page for another tab.
    virtual void leaving() {}

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

    // Runs a change of the object map under its lock and returns its code; a refusal shows the
    // message of op (none for changes that never refuse).
    int changeMap(std::optional<ModelOp> op, const std::function<int(ObjectMap&)>& change);

    // Runs a device action of this page: its questions go through the window's dialogs.
    void runDeviceAction(const std::function<void(device::DeviceActions&)>& run);

    ConfigTool& tool_;

private:
    int index_;
    QToolBar* toolbar_ = nullptr;
    QAction* help_ = nullptr;
    QComboBox* actions_ = nullptr;
    QPushButton* execute_ = nullptr;
    QPlainTextEdit* statusBox_ = nullptr;
    BoxKind boxKind_ = BoxKind::Reports;
    bool endedWithCr_ = false;
};

// The pages whose issues are still to come: toolbar with help only.
class PlaceholderPage : public ToolPage {
    Q_OBJECT
public:
    PlaceholderPage(ConfigTool& tool, int index, QWidget* parent = nullptr);
};

// The round indicators: the window's "Connected:" and "In Sync:" and the pages' own in-sync
// marks. They start off. Amber is "Connected:" for a port open with no gateway answering.
QLabel* makeIndicator(const char* objectName);
void showIndicator(QLabel& indicator, bool on);
void showAmberIndicator(QLabel& indicator);

// Builds the page of a tab index; pages still to be written get a placeholder.
ToolPage* createPage(ConfigTool& tool, int index);

} // namespace korvex::ui::pages
