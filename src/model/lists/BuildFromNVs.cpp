// Building from the NV list: function-block numbers, objects made from NV rows, a holding
// register per object with an NV, and the NV-side assignments taken off again.
#include "model/FixedText.h"
#include "model/ModelMessages.h"
#include "model/ObjectLinks.h"
#include "model/RegisterObjectCopy.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/NVRows.h"
#include "vocab/BaseType.h"
#include "vocab/Modicon.h"
#include "vocab/RegisterCodes.h"

namespace korvex {
namespace {

constexpr int kUnexpected = 99; // shown with the operation's catch-all text

// A holding register numbered `number` for object n, appended, linked and copied back into the
// object. The caller has checked that the list has room.
void appendHoldingRegister(ObjectMap& map, int n, int number) {
    DataObject& object = *map.object(n);
    const bool input = (object.flags & ObjectFlag::InputNV) != 0;
    RegisterDef reg;
    reg.readPeriodic = input ? 0 : 1;
    reg.writePeriodic = input ? 1 : 0;
    reg.defined = 1;
    reg.regNumber = static_cast<uint16_t>(number);
    reg.type = RegisterType::Holding;
    reg.modicon = modicon_from_register(reg.regNumber, reg.type);
    reg.format = formatFromDataType(object.datatype);
    reg.scale = 1.0f;
    reg.slave = 1;
    reg.poll = 1;
    setText(reg.name, textOf(object.name));
    map.registers[map.registerCount++] = reg;
    const int regLink = map.registerCount;
    linkObjectRegister(map, n, regLink);
    if (map.nvAtLink(object.nvRow)) {
        linkRegisterNV(map, regLink, object.nvRow);
        map.registers[regLink - 1].fbNumber = object.lonNV;
    }
    copyRegisterValuesToObject(map.registers[regLink - 1], object);
    object.syncFlags &= ~(SyncFlag::InDevice | SyncFlag::Saved);
    object.syncFlags |= SyncFlag::Configured;
}

bool isWide(uint8_t datatype) {
    return datatype == ObjectDataType::FP || datatype == ObjectDataType::U32 ||
           datatype == ObjectDataType::S32;
}

} // namespace

int assignFbNumbers(ObjectMap& map) {
    using namespace AssignFbNumbersResult;
    for (int r = 0; r < map.nvCount; ++r)
        if (map.nvs[r].fbNumber != 0) return AlreadyAssigned;
    int next[2] = {1, 1}; // outputs, inputs
    int last[2] = {0, 0};
    for (int r = 0; r < map.nvCount; ++r) {
        const NetVar& row = map.nvs[r];
        if (!row.defined) continue;
        const int d = row.isInput ? 1 : 0;
        if (!row.isField) {
            if (next[d] > kFbNumbers) return FbLimit;
            last[d] = next[d]++;
        }
        setNVRowFbNumber(map, r, last[d]);
    }
    return kOk;
}

int masterListFromNVs(ObjectMap& map) {
    using namespace MasterListFromNVsResult;
    for (int r = 0; r < map.nvCount; ++r)
        if (map.nvs[r].objectNumber != 0) return AlreadyAssigned;
    int n = 1;
    bool wholeStruct = false; // the current header is a STRUCT mapped as one object
    for (int r = 0; r < map.nvCount; ++r) {
        const NetVar& row = map.nvs[r];
        if (!row.defined) continue;
        bool take = !wholeStruct;
        if (!row.isField) {
            const bool isStruct = nvBaseType(row) == BaseType::STRUCT;
            wholeStruct = isStruct && row.method == 2;
            take = !isStruct || wholeStruct;
        }
        if (!take) continue;
        if (n > kObjectCount) return ObjectLimit;
        if (map.object(n)->lonNV != 0) return Conflict;
        if (!copyNVRowIntoObject(map, r, n)) return kUnexpected;
        ++n;
    }
    return kOk;
}

int registerListFromMaster(ObjectMap& map) {
    if (map.registerCount != 0) return RegisterListFromMasterResult::AlreadyCreated;
    int number = 1;
    for (int n = 1; n <= kObjectCount && map.registerCount < kListCapacity; ++n) {
        const DataObject& object = *map.object(n);
        if (!object.hasNV()) continue;
        const bool wide = isWide(object.datatype);
        appendHoldingRegister(map, n, number);
        number += wide ? 2 : 1;
    }
    return kOk;
}

int removeNVObjectAssignments(ObjectMap& map) {
    for (int r = 0; r < map.nvCount; ++r) {
        NetVar& row = map.nvs[r];
        if (row.objectNumber == 0) continue;
        if (ObjectMap::validObject(row.objectNumber)) takeNVSide(*map.object(row.objectNumber));
        row.objectNumber = 0;
    }
    return kOk;
}

int removeNVFbAssignments(ObjectMap& map) {
    for (int r = 0; r < map.nvCount; ++r)
        if (map.nvs[r].objectNumber != 0) return RemoveNVFbAssignmentsResult::ObjectsLinked;
    for (int r = 0; r < map.nvCount; ++r) {
        NetVar& row = map.nvs[r];
        row.fbNumber = 0;
        if (RegisterDef* reg = map.registerAtLink(row.registerRow)) reg->fbNumber = 0;
    }
    return kOk;
}

int makeRegisterRow(ObjectMap& map, int n) {
    using namespace MakeRegisterRowResult;
    if (!ObjectMap::validObject(n)) return NotApplicable;
    const DataObject& object = *map.object(n);
    if (!object.hasNV() || map.registerAtLink(object.registerRow)) return NotApplicable;
    if (map.registerCount >= kEditRowLimit) return ListFull;
    appendHoldingRegister(map, n, nextFreeRegisterNumber(map));
    return kOk;
}

} // namespace korvex
