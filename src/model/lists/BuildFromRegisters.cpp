// Building from the register list: NVs and objects made from register rows, the register side
// taken off the objects, and the register list rebuilt from the objects.
#include "model/FixedText.h"
#include "model/ModelMessages.h"
#include "model/ObjectLinks.h"
#include "model/RegisterObjectCopy.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/NVRows.h"
#include "vocab/RegisterCodes.h"

#include <algorithm>
#include <cstdio>

namespace korvex {
namespace {

struct NVTypeChoice {
    int snvt;
    uint8_t size;
};

// SNVT_count_inc for 16-bit signed values, SNVT_count_f for everything wider, SNVT_count for the rest.
NVTypeChoice nvTypeForFormat(int32_t format) {
    switch (format) {
    case RegisterFormat::S16:
        return {9, 2};
    case RegisterFormat::S32:
    case RegisterFormat::U32:
    case RegisterFormat::FP:
    case RegisterFormat::M102:
    case RegisterFormat::M103:
    case RegisterFormat::M104:
    case RegisterFormat::S64:
        return {51, 4};
    default:
        return {8, 2};
    }
}

bool appendNVForRegister(ObjectMap& map, int i, bool input, int fb) {
    RegisterDef& reg = map.registers[i];
    const NVTypeChoice type = nvTypeForFormat(reg.format);
    NetVar row;
    if (map.nvCount >= kEditRowLimit || !setStandardType(row, type.snvt)) return false;
    row.size = type.size;
    row.isInput = input ? 1 : 0;
    if (textOf(reg.name).empty()) {
        char name[kNameSize];
        std::snprintf(name, sizeof name, input ? "Auto NVI [%d]" : "Auto NVO [%d]", fb);
        setText(row.name, name);
    } else {
        setText(row.name, textOf(reg.name));
    }
    row.defined = 1;
    row.fbNumber = fb;
    if (!input) row.minSendTime.seconds = 15;
    map.nvs[map.nvCount++] = row;
    reg.fbNumber = fb;
    return linkRegisterNV(map, i + 1, map.nvCount);
}

// The object's register row as the rebuild makes it; `reg` already carries its links.
void fillRegisterFromObject(ObjectMap& map, int n, int regLink) {
    const DataObject& object = *map.object(n);
    RegisterDef& reg = map.registers[regLink - 1];
    copyObjectToRegister(object, reg);
    linkObjectRegister(map, n, regLink);
    reg.fbNumber = object.lonNV;
    if (map.nvAtLink(object.nvRow)) {
        linkRegisterNV(map, regLink, object.nvRow);
    } else if (NetVar* row = map.nvAtLink(reg.nvRow)) {
        // A row updated in place follows its object, which no longer has an NV row.
        if (row->registerRow == regLink) row->registerRow = 0;
        reg.nvRow = 0;
    }
    reg.inDevice = object.inDevice() ? 1 : 0;
}

bool appendRegisterCopy(ObjectMap& map, int n) {
    if (map.registerCount >= kListCapacity) return false;
    map.registers[map.registerCount++] = RegisterDef{};
    fillRegisterFromObject(map, n, map.registerCount);
    return true;
}

} // namespace

int nvListFromRegisters(ObjectMap& map) {
    using namespace NVListFromRegistersResult;
    if (map.nvCount != 0) return AlreadyAssigned;
    int nextFb[2] = {1, 1}; // outputs, inputs
    for (int i = 0; i < map.registerCount; ++i) {
        const RegisterDef& reg = map.registers[i];
        const bool input = reg.writePeriodic || reg.writeOnUpdate;
        int& fb = nextFb[input ? 1 : 0];
        if (fb > kFbNumbers) return input ? NviLimit : NvoLimit;
        if (!appendNVForRegister(map, i, input, fb)) return CreateFailed;
        ++fb;
    }
    return kOk;
}

int masterListFromRegisters(ObjectMap& map) {
    using namespace MasterListFromRegistersResult;
    const int covered = std::min(map.registerCount, kObjectCount);
    for (int n = 1; n <= covered; ++n)
        if (map.object(n)->flags & ObjectFlag::InUse) return AlreadyConfigured;
    for (int i = 0; i < map.registerCount; ++i) {
        const int n = i + 1;
        if (n > kObjectCount) return ObjectLimit;
        releaseObject(map, n);
        DataObject& object = *map.object(n);
        object = DataObject{};
        const RegisterDef& reg = map.registers[i];
        copyRegisterToObject(reg, object);
        object.syncFlags |= SyncFlag::Configured;
        linkObjectRegister(map, n, i + 1);
        if (reg.nvRow != 0 && !copyNVRowIntoObject(map, reg.nvRow - 1, n)) return UpdateFailed;
    }
    return kOk;
}

int removeRegisterObjectAssignments(ObjectMap& map) {
    for (int i = 0; i < map.registerCount; ++i) {
        RegisterDef& reg = map.registers[i];
        if (reg.objectNumber == 0) continue;
        if (ObjectMap::validObject(reg.objectNumber)) takeRegisterSide(*map.object(reg.objectNumber));
        reg.objectNumber = 0;
    }
    return kOk;
}

int rebuildRegisterList(ObjectMap& map) {
    for (DataObject& object : map.objects) object.registerRow = 0;
    for (int i = 0; i < map.nvCount; ++i) map.nvs[i].registerRow = 0;
    std::fill(map.registers.begin(), map.registers.end(), RegisterDef{});
    map.registerCount = 0;
    for (int n = 1; n <= kObjectCount; ++n)
        if (map.object(n)->flags & ObjectFlag::InUse) appendRegisterCopy(map, n);
    return kOk;
}

int appendRegisterRow(ObjectMap& map, int n) {
    using namespace AppendRegisterRowResult;
    if (!ObjectMap::validObject(n) || !(map.object(n)->flags & ObjectFlag::InUse)) return NotApplicable;
    const int current = map.object(n)->registerRow;
    if (const RegisterDef* reg = map.registerAtLink(current); reg && reg->objectNumber == n) {
        fillRegisterFromObject(map, n, current);
        return kOk;
    }
    return appendRegisterCopy(map, n) ? kOk : ListFull;
}

int nextFreeRegisterNumber(const ObjectMap& map) {
    int highest = 0;
    int32_t format = RegisterFormat::None;
    for (int i = 0; i < map.registerCount; ++i) {
        if (map.registers[i].regNumber <= highest) continue;
        highest = map.registers[i].regNumber;
        format = map.registers[i].format;
    }
    if (highest == 0) return 1;
    return std::min(highest + registersTaken(format), 65535);
}

} // namespace korvex
