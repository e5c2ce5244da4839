#pragma once
// MapUndo: Undo and Redo for the whole window. It follows the map session's announcements into a
// MapHistory and, on Ctrl+Z or Ctrl+Shift+Z (the platform's keys, Ctrl+Y too where it has it)
// anywhere in the window, puts the map back and announces the parts it changed, so every page
// redraws and the saved mark of the title follows.
//
// One user action is one step: a step stays open until the event loop turns again, and while
// the device link runs a transfer it stays open until the transfer has ended (a fetch of 400
// objects arrives as many announcements). A change of the live values or of the device model
// is no step. A new or opened map starts the history afresh. While the device link is busy Undo
// and Redo are refused (their actions disabled): the transfer reads and writes the rows an undo
// would change. The actions follow the link's state within a fifth of a second.
//
// Window thread only.
#include "model/MapHistory.h"
#include "ui/window/MapSession.h"

#include <QObject>

#include <functional>

class QAction;
class QTimer;
class QWidget;

namespace korvex::ui::window {

class MapUndo : public QObject {
    Q_OBJECT
public:
    // The actions are added to window, so their keys work on every page. busy tells whether the
    // device link runs a transfer.
    MapUndo(MapSession& session, QWidget& window, std::function<bool()> busy);
    ~MapUndo() override;

    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    // False when there was nothing to undo or redo, or the device link is busy.
    bool undo();
    bool redo();
    // Ends the step still open now rather than at the next turn of the event loop.
    void closeStep();
    const MapHistory& history() const { return history_; }

private:
    void onChanged(const MapChange& change);
    bool step(bool back);
    void closeWhenIdle();
    void updateActions();

    MapSession& session_;
    std::function<bool()> busy_;
    MapHistory history_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QTimer* closer_ = nullptr;
    bool restoring_ = false;
};

} // namespace korvex::ui::window
