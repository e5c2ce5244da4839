#include "model/lists/NVRows.h"

#include "vocab/BaseType.h"
#include "vocab/SnvtCatalogue.h"

namespace korvex {

uint8_t nvBaseType(const NetVar& row) {
    return row.snvt != 0 ? static_cast<uint8_t>(snvt_category(row.snvt)) : row.baseType;
}

int standardTypeRowCount(int t) {
    if (t <= 0 || snvt_find(t) == 0) return 0;
    if (snvt_fields(t).empty()) return 1;
    return 1 + snvt_field_count(t);
}

bool setStandardType(NetVar& row, int t) {
    if (t <= 0 || snvt_find(t) == 0) return false;
    const SnvtScaling scaling = snvt_scaling(t);
    row.snvt = static_cast<uint8_t>(t);
    row.size = scaling.defaultSize;
    row.scaleA = scaling.scaleA;
    row.scaleB = scaling.scaleB;
    row.scaleC = scaling.scaleC;
    row.baseType = static_cast<uint8_t>(snvt_category(t));
    return true;
}

bool validNVRow(const ObjectMap& map, int r) {
    return r >= 0 && r < map.nvCount;
}
bool validRegisterRow(const ObjectMap& map, int r) {
    return r >= 0 && r < map.registerCount;
}

int nvLastFieldRow(const ObjectMap& map, int h) {
    int last = h;
    while (last + 1 < map.nvCount && map.nvs[last + 1].isField && map.nvs[last + 1].defined) ++last;
    return last;
}

namespace {

bool removesAlone(uint8_t baseType) {
    switch (baseType) {
    case BaseType::SC:
    case BaseType::UC:
    case BaseType::SI:
    case BaseType::UI:
    case BaseType::SL:
    case BaseType::UL:
    case BaseType::ENUM:
    case BaseType::BIT:
    case BaseType::FP:
    case BaseType::SQ:
        return true;
    default:
        return false;
    }
}

} // namespace

int nvDeleteRowCount(const ObjectMap& map, int r) {
    if (!validNVRow(map, r)) return 0;
    const NetVar& row = map.nvs[r];
    if (row.isField) return 1;
    const uint8_t base = nvBaseType(row);
    if (base == BaseType::STRUCT) return nvLastFieldRow(map, r) - r + 1;
    return removesAlone(base) ? 1 : 0;
}

int nvHeaderRow(const ObjectMap& map, int r) {
    if (!validNVRow(map, r)) return -1;
    while (r >= 0 && map.nvs[r].isField) --r;
    return r;
}

} // namespace korvex
