#pragma once
// MapRecovery: the recovery file that keeps unsaved work through a crash. While the map has
// changes that are not saved, it is written every interval (30 s unless KORVEX_RECOVERY_INTERVAL_MS
// says otherwise) to "recovery.xml" in the folder given, in the map file format and atomically,
// with the name of the map's own file beside it in "recovery-name.txt". Both go as soon as the
// map counts as saved (a save, a New or Open that discarded the changes, an undo back to the
// saved state) and when the window closes normally. At the next start, offer() asks whether to
// take a recovery file that is still there back.
//
// One running window owns the folder (a lock file beside the recovery file); another window
// started meanwhile neither offers nor writes one, so it never takes or removes the first's.
//
// Window thread only. A write takes a copy of the map under its lock and renders the copy.
#include "ui/window/MapSession.h"
#include "ui/window/Prompter.h"

#include <QObject>
#include <QString>

#include <memory>

class QLockFile;
class QTimer;
class QWidget;

namespace korvex::ui::window {

class MapRecovery : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultIntervalMs = 30000;

    MapRecovery(MapSession& session, Prompter& prompter, QWidget& owner);
    ~MapRecovery() override;

    // The folder of the program's own data (QStandardPaths::AppDataLocation).
    static QString defaultFolder();
    // The interval: KORVEX_RECOVERY_INTERVAL_MS when set to a positive number, else 30 s.
    static int intervalFromEnvironment();

    // Takes the folder for this window: false when another running window has it.
    bool claim(const QString& folder);
    // Writes into the folder claimed every intervalMs from now on; before it nothing is written.
    void start(int intervalMs);
    // A recovery file in the folder claimed (left by a run that did not end normally): asks
    // whether to restore it. OK loads it as an unsaved map under its file's name; Cancel removes
    // it. True when a map was restored.
    bool offer();
    // Writes now when there are unsaved changes not yet written; removes the files when the map
    // counts as saved. False when a write failed.
    bool writeNow();
    // Removes the recovery files (normal close).
    void discard();

    QString mapPath() const;
    QString namePath() const;
    static QString mapPathIn(const QString& folder);
    static QString namePathIn(const QString& folder);

private:
    bool restore(const QString& originalName, int deviceModel);

    MapSession& session_;
    Prompter& prompter_;
    QWidget& owner_;
    QString folder_; // empty until claimed
    std::unique_ptr<QLockFile> lock_;
    QTimer* timer_ = nullptr;
    bool unwritten_ = false; // changes since the last write
};

} // namespace korvex::ui::window
