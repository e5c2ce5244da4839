#include "model/ObjectMap.h"
#include "model/PortSettingsMarks.h"

#include <algorithm>
#include <string_view>

namespace korvex {

DataObject* ObjectMap::object(int n) {
    return validObject(n) ? &objects[static_cast<std::size_t>(n - 1)] : nullptr;
}

const DataObject* ObjectMap::object(int n) const {
    return validObject(n) ? &objects[static_cast<std::size_t>(n - 1)] : nullptr;
}

NetVar* ObjectMap::nvAtLink(int row) {
    if (row < 1 || row > nvCount) return nullptr;
    return &nvs[static_cast<std::size_t>(row - 1)];
}

RegisterDef* ObjectMap::registerAtLink(int row) {
    if (row < 1 || row > registerCount) return nullptr;
    return &registers[static_cast<std::size_t>(row - 1)];
}

void clearAll(ObjectMap& map) {
    map.objects.fill(DataObject{});
    map.registers.fill(RegisterDef{});
    map.registerCount = 0;
    map.nvs.fill(NetVar{});
    map.nvCount = 0;
    map.tcpMap.fill(TcpDeviceMap{});
    map.tcpConfirmed = false;
    map.node = NodeInfo{};
}

void markAllObjectsSaved(ObjectMap& map) {
    for (auto& o : map.objects) o.syncFlags |= SyncFlag::Saved;
}

void clearObjectsInDevice(ObjectMap& map) {
    for (auto& o : map.objects) o.syncFlags &= ~SyncFlag::InDevice;
}

void clearNVsInDevice(ObjectMap& map) {
    for (int i = 0; i < map.nvCount; ++i) map.nvs[i].inDevice = 0;
}

void markDefinedNVsSaved(ObjectMap& map) {
    for (int i = 0; i < map.nvCount; ++i)
        if (map.nvs[i].defined) map.nvs[i].saved = 1;
}

bool allObjectsInDevice(const ObjectMap& map) {
    return std::all_of(map.objects.begin(), map.objects.end(),
                       [](const DataObject& o) { return o.inDevice(); });
}

bool anyObjectUnsaved(const ObjectMap& map) {
    return std::any_of(map.objects.begin(), map.objects.end(), [](const DataObject& o) {
        const bool touched =
            (o.syncFlags & SyncFlag::Configured) || (o.flags & ObjectFlag::InUse) || o.datatype;
        return touched && !(o.syncFlags & SyncFlag::Saved);
    });
}

bool anyHeaderNVNotInDevice(const ObjectMap& map) {
    for (int i = 0; i < map.nvCount; ++i)
        if (map.nvs[i].isHeader() && !map.nvs[i].inDevice) return true;
    return false;
}

bool anyHeaderNVUnsaved(const ObjectMap& map) {
    for (int i = 0; i < map.nvCount; ++i)
        if (map.nvs[i].isHeader() && !map.nvs[i].saved) return true;
    return false;
}

bool anyObjectInUse(const ObjectMap& map) {
    return std::any_of(map.objects.begin(), map.objects.end(),
                       [](const DataObject& o) { return (o.flags & ObjectFlag::InUse) != 0; });
}

namespace {

template <typename Link> void shiftLink(Link& link, int from, int delta) {
    if (link != 0 && link >= from) link = static_cast<Link>(link + delta);
}

} // namespace

void renumberNVLinks(ObjectMap& map, int from, int delta) {
    for (auto& o : map.objects) shiftLink(o.nvRow, from, delta);
    for (int i = 0; i < map.registerCount; ++i) shiftLink(map.registers[i].nvRow, from, delta);
}

void renumberRegisterLinks(ObjectMap& map, int from, int delta) {
    for (auto& o : map.objects) shiftLink(o.registerRow, from, delta);
    for (int i = 0; i < map.nvCount; ++i) shiftLink(map.nvs[i].registerRow, from, delta);
}

NumberRange objectsInUseRange(const ObjectMap& map, bool onlyNotInDevice) {
    NumberRange range;
    for (int n = 1; n <= kObjectCount; ++n) {
        const DataObject& o = map.objects[n - 1];
        if (!o.inUse() || (onlyNotInDevice && o.inDevice())) continue;
        if (range.low == 0) range.low = n;
        range.high = n;
    }
    return range;
}

NumberRange fbRangeNotInDevice(const ObjectMap& map, bool inputs) {
    NumberRange range;
    for (int i = 0; i < map.nvCount; ++i) {
        const NetVar& nv = map.nvs[i];
        if (nv.inDevice || (nv.isInput != 0) != inputs || nv.fbNumber <= 0) continue;
        if (range.low == 0 || nv.fbNumber < range.low) range.low = nv.fbNumber;
        if (nv.fbNumber > range.high) range.high = nv.fbNumber;
    }
    return range;
}

void fillFreeObjects(ObjectMap& map) {
    for (auto& o : map.objects) {
        if (o.inUse()) continue;
        o = DataObject{};
        o.syncFlags = SyncFlag::Configured | SyncFlag::InDevice;
    }
}

namespace {

void normaliseUnit(uint8_t& unit) {
    if (unit == 0) unit = 1;
    if (unit > kMaxUnit) unit = kMaxUnit;
}

} // namespace

void normaliseTcpMap(std::array<TcpDeviceMap, kTcpMapEntries>& entries) {
    std::array<TcpDeviceMap, kTcpMapEntries> packed{};
    std::size_t used = 0;
    for (TcpDeviceMap e : entries) {
        if (!e.inUse()) continue;
        normaliseUnit(e.firstUnit);
        normaliseUnit(e.lastUnit);
        normaliseUnit(e.mapTo);
        if (e.port == 0) e.port = 1;
        if (e.ipAddress[0] == 0) {
            e.ipAddress[0] = 192;
            e.ipAddress[1] = 168;
        }
        if (e.ipAddress[3] == 0) e.ipAddress[3] = 1;
        packed[used++] = e;
    }
    entries = packed;
}

int tcpMapEntriesInUse(const std::array<TcpDeviceMap, kTcpMapEntries>& entries) {
    return static_cast<int>(
        std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e.inUse(); }));
}

void recomputeSaveIndicators(ObjectMap& map) {
    map.saveIndicators.objects = !anyObjectUnsaved(map);
    map.saveIndicators.nvs = !anyHeaderNVUnsaved(map);
    if (!samePortSettings(map.modbus, map.fileSnapshot)) map.saveIndicators.portSettings = false;
}

static const char* const kDeviceModelNames[kDeviceModelCount] = {"Korvex-A", "Korvex-B", "Korvex-C"};

const char* deviceModelName(int index) {
    return index >= 0 && index < kDeviceModelCount ? kDeviceModelNames[index] : nullptr;
}

int deviceModelFromName(const char* name) {
    if (!name) return -1;
    for (int i = 0; i < kDeviceModelCount; ++i)
        if (std::string_view(name) == kDeviceModelNames[i]) return i;
    return -1;
}

} // namespace korvex
