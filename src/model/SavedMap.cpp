#include "model/SavedMap.h"

#include "model/PortSettingsMarks.h"
#include "model/RowMarks.h"

#include <algorithm>

namespace korvex {

namespace {

// The first count rows of both lists are equal apart from their marks.
template <typename Row, std::size_t N>
bool sameRows(const std::array<Row, N>& a, const std::array<Row, N>& b, int count) {
    const auto end = static_cast<std::ptrdiff_t>(std::clamp(count, 0, static_cast<int>(N)));
    return std::equal(a.begin(), a.begin() + end, b.begin(),
                      [](const Row& x, const Row& y) { return sameContent(x, y); });
}

} // namespace

struct SavedMap::Content {
    std::array<DataObject, kObjectCount> objects{};
    std::array<NetVar, kListCapacity> nvs{};
    int nvCount = 0;
    std::array<RegisterDef, kListCapacity> registers{};
    int registerCount = 0;
    NodeInfo node;
    ModbusSettings modbus;
    TcpSettings tcp;
    std::array<TcpDeviceMap, kTcpMapEntries> tcpMap{};
};

SavedMap::SavedMap() : content_(std::make_unique<Content>()) {}

SavedMap::~SavedMap() = default;

void SavedMap::take(const ObjectMap& map) {
    Content& c = *content_;
    c.objects = map.objects;
    c.nvCount = map.nvCount;
    c.nvs = map.nvs;
    c.registerCount = map.registerCount;
    c.registers = map.registers;
    c.node = map.node;
    c.modbus = map.modbus;
    c.tcp = map.tcp;
    c.tcpMap = map.tcpMap;
}

bool SavedMap::matches(const ObjectMap& map) const {
    const Content& c = *content_;
    return c.nvCount == map.nvCount && c.registerCount == map.registerCount && c.node == map.node &&
           sameRows(c.objects, map.objects, kObjectCount) && sameRows(c.nvs, map.nvs, map.nvCount) &&
           sameRows(c.registers, map.registers, map.registerCount);
}

bool SavedMap::portSettingsMatch(const ObjectMap& map) const {
    const Content& c = *content_;
    return samePortSettings(c.modbus, map.modbus) && c.tcp == map.tcp && c.tcpMap == map.tcpMap;
}

void markWholeMapSaved(ObjectMap& map, SavedMap& saved) {
    map.saveIndicators = SaveIndicators{};
    saved.take(map);
}

bool mapSaved(ObjectMap& map, const SavedMap& saved) {
    recomputeSaveIndicators(map);
    return map.saveIndicators.all() && saved.matches(map);
}

} // namespace korvex
