#include "ui/dialogs/rules/NVEditApply.h"

#include "model/ObjectLinks.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "model/lists/NVRows.h"

#include <algorithm>
#include <memory>

namespace korvex::ui::dialogs {
namespace {

bool allZero(const std::array<uint8_t, 8>& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

// A refused type change keeps the row's old type and everything the type decides.
void keepOldType(NetVar& wanted, const NetVar& before) {
    wanted.snvt = before.snvt;
    wanted.baseType = before.baseType;
    wanted.size = before.size;
    wanted.scaleA = before.scaleA;
    wanted.scaleB = before.scaleB;
    wanted.scaleC = before.scaleC;
}

// The copy's own fields; its links and its place in the list stay those of the row now there.
void storeCopy(NetVar& target, NetVar wanted) {
    wanted.fbNumber = target.fbNumber;
    wanted.objectNumber = target.objectNumber;
    wanted.registerRow = target.registerRow;
    wanted.defined = target.defined;
    wanted.isField = target.isField;
    wanted.fieldName = target.fieldName;
    wanted.inDevice = 0;
    wanted.saved = 0;
    target = wanted;
}

// Field rows repeat their header's name and direction.
void headerToFields(ObjectMap& map, int h) {
    if (map.nvs[h].isField) return;
    const int last = nvLastFieldRow(map, h);
    for (int f = h + 1; f <= last; ++f) {
        map.nvs[f].name = map.nvs[h].name;
        map.nvs[f].isInput = map.nvs[h].isInput;
    }
}

void setNumberOnNV(ObjectMap& map, int row, int fb) {
    const int last = map.nvs[row].isField ? row : nvLastFieldRow(map, row);
    for (int r = row; r <= last; ++r) setNVRowFbNumber(map, r, fb);
}

void markLinked(ObjectMap& map, int n, NVApplyOutcome& outcome) {
    DataObject& object = *map.object(n);
    object.syncFlags |= SyncFlag::Configured;
    object.syncFlags &= ~(SyncFlag::InDevice | SyncFlag::Saved);
    outcome.objects.push_back(n);
}

void allocateNow(ObjectMap& map, int row, NVApplyOutcome& outcome) {
    outcome.allocationCode = allocateForNV(map, row);
    const int h = nvHeaderRow(map, row);
    const int last = nvLastFieldRow(map, h);
    for (int r = h; r <= last; ++r)
        if (ObjectMap::validObject(map.nvs[r].objectNumber))
            markLinked(map, map.nvs[r].objectNumber, outcome);
}

} // namespace

const char* nvApplyMessage(NVApplyResult result) {
    switch (result) {
    case NVApplyResult::ScopeZero:
        return "Scope [S] must be non-zero\nfor user defined NV type.";
    case NVApplyResult::PidZero:
        return "Invalid PID\nfor user defined NV type.";
    case NVApplyResult::CommissionedTypeChange:
        return "Once node is commissioned,\nyou must make NV type changes via your LNS tool.\n"
               "Failure to do so will result in a broken network.";
    case NVApplyResult::Stored:
        break;
    }
    return nullptr;
}

NVApplyResult applyNVEdit(ObjectMap& map, int row, const NetVar& copy, const NVApplyOptions& options,
                          NVApplyOutcome& outcome) {
    outcome = NVApplyOutcome{};
    const NetVar before = map.nvs[row];
    const bool typeChanged = !before.isField && copy.snvt != before.snvt;
    if (options.commissioned && typeChanged) return NVApplyResult::CommissionedTypeChange;
    if (copy.snvt == 0 && options.parentType == 0) {
        if (copy.scope == 0) return NVApplyResult::ScopeZero;
        if (allZero(copy.programId)) return NVApplyResult::PidZero;
    }

    NetVar wanted = copy;
    // A user-defined type needs no list operation: the row keeps its rows and describes itself.
    if (typeChanged && copy.snvt != 0 && changeNVType(map, row, copy.snvt) != kOk) {
        outcome.typeChangeRefused = true;
        keepOldType(wanted, before);
    }
    storeCopy(map.nvs[row], wanted);
    headerToFields(map, row);

    if (options.autoAssign && map.nvs[row].fbNumber == 0 && map.nvs[row].objectNumber == 0) {
        allocateNow(map, row, outcome);
        return NVApplyResult::Stored;
    }
    if (copy.fbNumber != before.fbNumber) setNumberOnNV(map, row, copy.fbNumber);
    const int n = copy.objectNumber;
    const bool typed = n != before.objectNumber;
    if (ObjectMap::validObject(n) && (typed || map.nvs[row].objectNumber == n) &&
        copyNVRowIntoObject(map, row, n))
        markLinked(map, n, outcome);
    return NVApplyResult::Stored;
}

int previewAutoAssign(const ObjectMap& map, int row, NetVar& copy) {
    if (!validNVRow(map, row)) return AllocateResult::Conflict;
    auto scratch = std::make_unique<ObjectMap>(map);
    storeCopy(scratch->nvs[row], copy);
    headerToFields(*scratch, row);
    const int code = allocateForNV(*scratch, row);
    if (code == kOk) {
        copy.fbNumber = scratch->nvs[row].fbNumber;
        copy.objectNumber = scratch->nvs[row].objectNumber;
    }
    return code;
}

} // namespace korvex::ui::dialogs
