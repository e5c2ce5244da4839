#include "ui/window/MapSession.h"

#include "model/ModelMessages.h"
#include "model/PortSettingsMarks.h"

namespace korvex::ui::window {

namespace {

// What a row edit of each list may touch besides the list: the links between the lists.
constexpr MapParts kNVRowEdit = MapPart::NVList | MapPart::Objects | MapPart::RegisterList;
constexpr MapParts kRegisterRowEdit = MapPart::RegisterList | MapPart::Objects | MapPart::NVList;

int rowCount(const ObjectMap& map, MapPart list) {
    return list == MapPart::NVList ? map.nvCount : map.registerCount;
}

} // namespace

MapSession::MapSession(ObjectMap& map, QObject* parent) : QObject(parent), map_(map) {}

MapSession::~MapSession() = default;

int MapSession::editNVRows(int row, const std::function<int(ObjectMap&)>& change) {
    return editRows(MapPart::NVList, row, change);
}

int MapSession::editRegisterRows(int row, const std::function<int(ObjectMap&)>& change) {
    return editRows(MapPart::RegisterList, row, change);
}

int MapSession::editRows(MapPart list, int row, const std::function<int(ObjectMap&)>& change) {
    int before = 0;
    int after = 0;
    int code = kOk;
    {
        std::lock_guard lock(mutex_);
        before = rowCount(map_, list);
        code = change(map_);
        after = rowCount(map_, list);
    }
    if (code != kOk && before == after) return code;
    MapChange announced{list == MapPart::NVList ? kNVRowEdit : kRegisterRowEdit};
    const RowSpan span{row, after > before ? after - before : before - after};
    (list == MapPart::NVList ? announced.nvRows : announced.registerRows) = span;
    announced.rowsRemoved = after < before;
    announce(announced);
    return code;
}

void MapSession::announce(const MapChange& change) {
    if (change.replaced)
        emit replaced();
    else
        emitSpecific(change);
    emit changed(change);
}

void MapSession::emitSpecific(const MapChange& change) {
    if (change.has(MapPart::Objects)) emit objectsChanged(change.firstObject, change.lastObject);
    if (change.has(MapPart::NVList)) {
        const RowSpan& s = change.nvRows;
        if (s.count == 0)
            emit nvListChanged();
        else if (change.rowsRemoved)
            emit nvRowsRemoved(s.row, s.count);
        else
            emit nvRowsInserted(s.row, s.count);
    }
    if (change.has(MapPart::RegisterList)) {
        const RowSpan& s = change.registerRows;
        if (s.count == 0)
            emit registerListChanged();
        else if (change.rowsRemoved)
            emit registerRowsRemoved(s.row, s.count);
        else
            emit registerRowsInserted(s.row, s.count);
    }
    if (change.has(MapPart::PortSettings)) emit portSettingsChanged();
    if (change.has(MapPart::TcpMap)) emit tcpMapChanged();
    if (change.has(MapPart::Node)) emit nodeChanged();
    if (change.has(MapPart::Values)) emit valuesChanged();
    if (change.has(MapPart::DeviceModel)) emit deviceModelChanged();
}

void MapSession::announceObjects(int first, int last) {
    MapChange change{MapPart::Objects};
    change.firstObject = first;
    change.lastObject = last;
    announce(change);
}

void MapSession::announceWhole(MapParts parts) {
    announce(MapChange{parts});
}

void MapSession::announceReplaced() {
    MapChange change{kWholeMap};
    change.replaced = true;
    announce(change);
}

void MapSession::announceShown(MapParts parts) {
    emit changed(MapChange{parts});
}

void MapSession::setFileName(const QString& path) {
    if (path == fileName_) return;
    fileName_ = path;
    emit fileNameChanged(fileName_);
}

int MapSession::deviceModel() const {
    return read([](const ObjectMap& map) { return map.deviceModel; });
}

void MapSession::setDeviceModel(int index) {
    edit(MapPart::DeviceModel, [index](ObjectMap& map) { map.deviceModel = index; });
}

void MapSession::markStartSaved() {
    std::lock_guard lock(mutex_);
    markWholeMapSaved(map_, saved_);
}

void MapSession::markSaved() {
    {
        std::lock_guard lock(mutex_);
        saved_.take(map_);
    }
    emit savedMarked();
}

unsigned MapSession::restore(const std::function<unsigned(ObjectMap&)>& step) {
    std::lock_guard lock(mutex_);
    const unsigned parts = step(map_);
    map_.saveIndicators.portSettings = saved_.portSettingsMatch(map_);
    return parts;
}

bool MapSession::isSaved() {
    std::lock_guard lock(mutex_);
    return mapSaved(map_, saved_);
}

void MapSession::setPortInSync(bool on) {
    portInSync_ = on;
    emit syncChanged();
}

void MapSession::setNodeInSync(bool on) {
    nodeInSync_ = on;
    emit syncChanged();
}

void MapSession::portSettingsOutOfDevice() {
    {
        std::lock_guard lock(mutex_);
        clearPortConfirmation(map_);
    }
    setPortInSync(false);
}

bool MapSession::inSync() const {
    bool listsInSync = false;
    {
        std::lock_guard lock(mutex_);
        listsInSync = allObjectsInDevice(map_) && !anyHeaderNVNotInDevice(map_);
    }
    return listsInSync && portInSync_ && nodeInSync_;
}

} // namespace korvex::ui::window
