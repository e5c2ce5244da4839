#include "ui/window/MapProblems.h"

#include "ui/window/MapSession.h"

namespace korvex::ui::window {

MapProblems::MapProblems(MapSession& session, QObject* parent) : QObject(parent), session_(session) {
    pending_.setSingleShot(true);
    pending_.setInterval(0);
    connect(&pending_, &QTimer::timeout, this, &MapProblems::checkNow);
    connect(&session_, &MapSession::changed, this, &MapProblems::mapChanged);
}

// Live values are not part of what the checker reads.
void MapProblems::mapChanged(const MapChange& change) {
    if (change.parts == MapParts(MapPart::Values)) return;
    if (!pending_.isActive()) pending_.start();
}

ProblemCount MapProblems::checkNow() {
    pending_.stop();
    problems_ = session_.read([](const ObjectMap& map) { return checkMap(map, map.deviceModel); });
    count_ = countProblems(problems_);
    ++runs_;
    emit checked();
    return count_;
}

} // namespace korvex::ui::window
