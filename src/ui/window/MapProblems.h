#pragma once
// MapProblems: what the map checker finds in the session's map, kept current. Every change the
// session announces schedules one check for the next turn of the event loop, so a burst of
// announcements (a device refresh of 400 objects) runs the checker once. The checker runs on the
// window thread under the session's lock; on a full map it takes well under a millisecond.
// Window thread only.
#include "model/check/MapChecker.h"

#include <QObject>
#include <QTimer>

#include <vector>

namespace korvex::ui::window {

class MapSession;
struct MapChange;

class MapProblems : public QObject {
    Q_OBJECT
public:
    explicit MapProblems(MapSession& session, QObject* parent = nullptr);

    const std::vector<Problem>& problems() const { return problems_; }
    ProblemCount count() const { return count_; }
    // Checks the map now (a pending check is done with it) and returns the count.
    ProblemCount checkNow();
    // How many times the checker ran, for the tests of the coalescing.
    int runs() const { return runs_; }

signals:
    // problems() holds the findings of a new check.
    void checked();

private:
    void mapChanged(const MapChange& change);

    MapSession& session_;
    QTimer pending_;
    std::vector<Problem> problems_;
    ProblemCount count_;
    int runs_ = 0;
};

} // namespace korvex::ui::window
