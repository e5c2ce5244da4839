// NV list rows: add (standard, structured with field rows, user type), add field, delete, type
// change and clear, with the links of the moved rows renumbered.
#include "model/FixedText.h"
#include "model/ModelMessages.h"
#include "model/ObjectLinks.h"
#include "model/lists/ListEditing.h"
#include "model/lists/ListRows.h"
#include "model/lists/NVRows.h"
#include "vocab/BaseType.h"
#include "vocab/SnvtLayout.h"

#include <algorithm>
#include <cstdio>

namespace korvex {
namespace {

void fillHeader(NetVar& row, const NVAddRequest& request) {
    if (request.userType) {
        const UserNVType& user = *request.userType;
        row.size = user.size;
        row.baseType = user.baseType;
        row.scaleA = user.scaleA;
        row.scaleB = user.scaleB;
        row.scaleC = user.scaleC;
        row.scope = user.scope;
        row.programId = user.programId;
    } else {
        setStandardType(row, request.snvt);
    }
    row.isInput = request.isInput ? 1 : 0;
    setText(row.name, request.name);
    row.fbNumber = request.fbNumber;
    row.defined = 1;
}

void fillFieldRow(NetVar& row, const NetVar& header, const SnvtFieldPlacement& placement, int index) {
    const SnvtField& field = *placement.field;
    row.baseType = static_cast<uint8_t>(field.category);
    row.size = static_cast<uint8_t>(field.sizeOrBit);
    row.byteOffset = static_cast<uint8_t>(placement.byteOffset);
    row.bitOffset = static_cast<uint8_t>(placement.bitOffset);
    row.scaleA = static_cast<int16_t>(field.scaleA);
    row.scaleB = static_cast<int16_t>(field.scaleB);
    row.scaleC = static_cast<int16_t>(field.scaleC);
    row.isInput = header.isInput;
    row.name = header.name;
    row.defined = 1;
    row.isField = 1;
    row.fieldName = static_cast<int16_t>(index);
    row.fbNumber = header.fbNumber;
}

// Rows the add may make: the type's rows, cut to what fits when asked; 0 when refused.
int rowsToAdd(const ObjectMap& map, const NVAddRequest& request) {
    const int wanted = request.userType ? 1 : standardTypeRowCount(request.snvt);
    const int room = std::min(request.rowLimit, kListCapacity) - map.nvCount;
    if (wanted == 0 || room < 1) return 0;
    if (wanted <= room) return wanted;
    return request.cutFieldsAtLimit ? room : 0;
}

// Clears every object and register link into rows r..r+count-1 (0-based), then closes the gap.
void removeNVRowsAndLinks(ObjectMap& map, int r, int count) {
    const auto inRange = [&](int link) { return link >= r + 1 && link <= r + count; };
    for (DataObject& object : map.objects)
        if (inRange(object.nvRow)) object.nvRow = 0;
    for (int i = 0; i < map.registerCount; ++i) {
        RegisterDef& reg = map.registers[i];
        if (!inRange(reg.nvRow)) continue;
        reg.nvRow = 0;
        reg.fbNumber = 0;
    }
    removeNVRows(map, r, count);
    renumberNVLinks(map, r + 1, -count);
}

// Old links of a header row, put back after a type change when the row counts agree.
struct HeaderLinks {
    int fbNumber;
    int objectNumber;
    int registerRow;
};

HeaderLinks linksPointingBack(ObjectMap& map, int r) {
    const NetVar& row = map.nvs[r];
    HeaderLinks links{row.fbNumber, 0, 0};
    if (const RegisterDef* reg = map.registerAtLink(row.registerRow); reg && reg->nvRow == r + 1)
        links.registerRow = row.registerRow;
    if (ObjectMap::validObject(row.objectNumber) && map.object(row.objectNumber)->nvRow == r + 1)
        links.objectNumber = row.objectNumber;
    return links;
}

void restoreHeaderLinks(ObjectMap& map, int r, const HeaderLinks& links) {
    const int last = nvLastFieldRow(map, r);
    for (int i = r; i <= last; ++i) map.nvs[i].fbNumber = links.fbNumber;
    if (RegisterDef* reg = map.registerAtLink(links.registerRow)) {
        linkRegisterNV(map, links.registerRow, r + 1);
        reg->fbNumber = links.fbNumber;
    }
    if (ObjectMap::validObject(links.objectNumber)) {
        linkObjectNV(map, links.objectNumber, r + 1);
        DataObject& object = *map.object(links.objectNumber);
        object.lonNV = static_cast<uint8_t>(links.fbNumber);
        const RegisterDef* reg = map.registerAtLink(links.registerRow);
        if (reg && reg->objectNumber == links.objectNumber)
            object.registerRow = static_cast<uint16_t>(links.registerRow);
    }
}

} // namespace

int addNV(ObjectMap& map, int p, const NVAddRequest& request, int* rowsAdded) {
    if (rowsAdded) *rowsAdded = 0;
    if (p < 0 || p > map.nvCount || (p < map.nvCount && map.nvs[p].isField)) return kRefused;
    const int rows = rowsToAdd(map, request);
    if (rows == 0 || !makeNVRoom(map, p, rows, request.rowLimit)) return kRefused;
    NetVar& header = map.nvs[p];
    fillHeader(header, request);
    if (!request.userType && rows > 1) {
        const SnvtLayout layout = snvt_layout(request.snvt);
        for (int k = 0; k + 1 < rows && k < layout.count; ++k)
            fillFieldRow(map.nvs[p + 1 + k], header, layout.fields[k], k);
    }
    renumberNVLinks(map, p + 1, rows);
    if (rowsAdded) *rowsAdded = rows;
    return kOk;
}

int insertNV(ObjectMap& map, int p) {
    char name[kNameSize];
    std::snprintf(name, sizeof name, "New_NV_%d", map.nvCount + 1);
    NVAddRequest request;
    request.snvt = 8;
    request.name = name;
    return addNV(map, p, request) == kOk ? kOk : kRefused;
}

int appendNV(ObjectMap& map) {
    return insertNV(map, map.nvCount);
}

int addField(ObjectMap& map, int r) {
    if (!validNVRow(map, r)) return kRefused;
    if (!map.nvs[r].isField && nvBaseType(map.nvs[r]) != BaseType::STRUCT) return kRefused;
    const int h = nvHeaderRow(map, r);
    if (h < 0 || !makeNVRoom(map, r + 1, 1)) return kRefused;
    const NetVar& header = map.nvs[h];
    NetVar& row = map.nvs[r + 1];
    row.defined = 1;
    row.isField = 1;
    row.isInput = map.nvs[r].isInput;
    row.name = header.name;
    row.scope = header.scope;
    row.programId = header.programId;
    row.fbNumber = header.fbNumber;
    renumberNVLinks(map, r + 2, 1);
    return kOk;
}

int deleteNVAt(ObjectMap& map, int r) {
    if (!validNVRow(map, r)) return kRefused;
    const int count = nvDeleteRowCount(map, r);
    if (count > 0) removeNVRowsAndLinks(map, r, count);
    return kOk;
}

int changeNVType(ObjectMap& map, int r, int t) {
    if (!validNVRow(map, r) || map.nvs[r].isField) return kRefused;
    const int newRows = standardTypeRowCount(t);
    // A row whose type has nothing to delete still goes: the new NV takes its place.
    const int removed = std::max(1, nvDeleteRowCount(map, r));
    if (newRows == 0 || map.nvCount - removed + newRows > kEditRowLimit) return kRefused;
    const NetVar old = map.nvs[r];
    const int oldRows = old.snvt != 0 ? standardTypeRowCount(old.snvt) : 1;
    const HeaderLinks links = linksPointingBack(map, r);
    removeNVRowsAndLinks(map, r, removed);
    NVAddRequest request;
    request.snvt = t;
    request.isInput = old.isInput != 0;
    request.name = textOf(old.name);
    if (addNV(map, r, request) != kOk) return kRefused;
    if (oldRows == newRows) restoreHeaderLinks(map, r, links);
    return kOk;
}

int clearNVList(ObjectMap& map) {
    for (int r = 0; r < map.nvCount; ++r) {
        const NetVar& row = map.nvs[r];
        if (ObjectMap::validObject(row.objectNumber)) takeNVSide(*map.object(row.objectNumber));
        if (RegisterDef* reg = map.registerAtLink(row.registerRow)) reg->fbNumber = 0;
    }
    std::fill(map.nvs.begin(), map.nvs.end(), NetVar{});
    map.nvCount = 0;
    for (DataObject& object : map.objects) object.nvRow = 0;
    for (int i = 0; i < map.registerCount; ++i) map.registers[i].nvRow = 0;
    return kOk;
}

} // namespace korvex
