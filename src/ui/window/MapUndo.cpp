#include "ui/window/MapUndo.h"

#include <QAction>
#include <QKeySequence>
#include <QTimer>
#include <QWidget>

namespace korvex::ui::window {

namespace {

// How often a running transfer is looked at to see whether it has ended, and the link whether
// it is busy (for the actions' enabled state; a transfer may run a while before it changes the
// map).
constexpr int kBusyPollMs = 200;

// The parts that are the map's content: anything else announced is no step.
constexpr MapParts kContent = MapPart::Objects | MapPart::NVList | MapPart::RegisterList |
                              MapPart::PortSettings | MapPart::TcpMap | MapPart::Node;

MapParts partsOf(unsigned history) {
    MapParts parts;
    if (history & HistoryPart::Objects) parts |= MapPart::Objects;
    if (history & HistoryPart::NVList) parts |= MapPart::NVList;
    if (history & HistoryPart::RegisterList) parts |= MapPart::RegisterList;
    if (history & HistoryPart::PortSettings) parts |= MapPart::PortSettings;
    if (history & HistoryPart::TcpMap) parts |= MapPart::TcpMap;
    if (history & HistoryPart::Node) parts |= MapPart::Node;
    return parts;
}

QList<QKeySequence> keysOf(QKeySequence::StandardKey key, const QKeySequence& always) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (!keys.contains(always)) keys.append(always);
    return keys;
}

} // namespace

MapUndo::MapUndo(MapSession& session, QWidget& window, std::function<bool()> busy)
    : QObject(&window), session_(session), busy_(std::move(busy)) {
    undo_ = new QAction(QStringLiteral("Undo"), &window);
    undo_->setObjectName(QStringLiteral("undo"));
    undo_->setShortcuts(keysOf(QKeySequence::Undo, QKeySequence(Qt::CTRL | Qt::Key_Z)));
    redo_ = new QAction(QStringLiteral("Redo"), &window);
    redo_->setObjectName(QStringLiteral("redo"));
    redo_->setShortcuts(keysOf(QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    for (QAction* action : {undo_, redo_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
    }
    connect(undo_, &QAction::triggered, this, &MapUndo::undo);
    connect(redo_, &QAction::triggered, this, &MapUndo::redo);

    closer_ = new QTimer(this);
    closer_->setSingleShot(true);
    connect(closer_, &QTimer::timeout, this, &MapUndo::closeWhenIdle);
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &MapUndo::updateActions);
    poll->start(kBusyPollMs);
    connect(&session_, &MapSession::changed, this, &MapUndo::onChanged);
    session_.read([this](const ObjectMap& map) { history_.reset(map); });
    updateActions();
}

MapUndo::~MapUndo() = default;

void MapUndo::onChanged(const MapChange& change) {
    if (restoring_ || !change.parts.testAnyFlags(kContent)) return;
    session_.read([this, &change](const ObjectMap& map) {
        // A new or opened map starts afresh; an Open that was cancelled leaves the history be.
        if (history_.record(map) == MapHistory::Recorded::Step && change.replaced) history_.reset(map);
    });
    if (history_.stepOpen() || busy_()) closer_->start(busy_() ? kBusyPollMs : 0);
    updateActions();
}

// The map holds every change a transfer made before the link went idle, so taking it once more
// here leaves nothing of the transfer for a later step.
void MapUndo::closeWhenIdle() {
    if (busy_()) {
        closer_->start(kBusyPollMs);
    } else {
        closeStep();
    }
    updateActions();
}

void MapUndo::closeStep() {
    if (!history_.stepOpen()) return;
    session_.read([this](const ObjectMap& map) { history_.record(map); });
    history_.closeStep();
    updateActions();
}

bool MapUndo::undo() {
    return step(true);
}

bool MapUndo::redo() {
    return step(false);
}

// Transfers that change the map are started on this thread, so none can start between the
// check and the restore; the one start of the status loop (a value write) only reads the map
// under its lock.
bool MapUndo::step(bool back) {
    if (busy_()) {
        updateActions();
        return false;
    }
    closeStep();
    if (back ? !history_.canUndo() : !history_.canRedo()) return false;
    const unsigned changed = session_.restore(
        [this, back](ObjectMap& map) { return back ? history_.undo(map) : history_.redo(map); });
    const MapParts parts = partsOf(changed);
    restoring_ = true;
    if (parts.toInt() != 0) session_.announce(MapChange{parts});
    if (parts.testAnyFlags(MapPart::PortSettings | MapPart::TcpMap)) session_.setPortInSync(false);
    if (parts.testFlag(MapPart::Node)) session_.setNodeInSync(false);
    restoring_ = false;
    updateActions();
    return true;
}

void MapUndo::updateActions() {
    const bool idle = !busy_();
    undo_->setEnabled(idle && history_.canUndo());
    redo_->setEnabled(idle && history_.canRedo());
}

} // namespace korvex::ui::window
