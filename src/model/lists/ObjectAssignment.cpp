// Single-object assignments: an object read from a file finds its NV row (adding the field row
// of a user type on first sight), and the NV editor allocates a function-block number and free
// objects for one NV.
#include "model/ModelMessages.h"
#include "model/ObjectLinks.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "model/lists/NVRows.h"
#include "vocab/BaseType.h"

#include <algorithm>

namespace korvex {
namespace {

// First header row with this function-block number and direction; -1 when none.
int findHeaderRow(const ObjectMap& map, int fb, bool input) {
    for (int r = 0; r < map.nvCount; ++r) {
        const NetVar& row = map.nvs[r];
        if (row.isHeader() && row.fbNumber == fb && (row.isInput != 0) == input) return r;
    }
    return -1;
}

int findFieldRow(const ObjectMap& map, int h, const DataObject& object) {
    const int last = nvLastFieldRow(map, h);
    for (int f = h + 1; f <= last; ++f) {
        const NetVar& row = map.nvs[f];
        if (row.byteOffset == object.lonByteOffset && row.bitOffset == object.lonBitOffset) return f;
    }
    return -1;
}

// The object's description of its field, in a field row just made by addField.
void describeFieldFromObject(NetVar& row, const DataObject& object) {
    row.fbNumber = object.lonNV;
    row.baseType = object.lontype;
    row.byteOffset = object.lonByteOffset;
    row.bitOffset = object.lonBitOffset;
    row.scaleA = object.lonScaleA;
    row.scaleB = object.lonScaleB;
    row.scaleC = object.lonScaleC;
    row.method = object.lonMethod;
    row.formula = object.lonFormula;
    row.snvt = 0;
    row.isInput = (object.flags & ObjectFlag::InputNV) ? 1 : 0;
    row.isField = 1;
    row.lock = (object.flags & ObjectFlag::LockField) ? 1 : 0;
}

int linkToUserField(ObjectMap& map, int n, int h) {
    const int last = nvLastFieldRow(map, h);
    if (addField(map, last) != kOk) return LinkObjectResult::FieldNotAdded;
    describeFieldFromObject(map.nvs[last + 1], *map.object(n));
    linkObjectNV(map, n, last + 2);
    return kOk;
}

// Objects neither in use for a register nor for an NV, from `from` upwards; 0 when none.
int nextFreeObject(const ObjectMap& map, int from) {
    for (int n = std::max(from, 1); n <= kObjectCount; ++n)
        if (!map.object(n)->inUse()) return n;
    return 0;
}

int nextFbNumber(const ObjectMap& map, bool input) {
    int highest = 0;
    for (int r = 0; r < map.nvCount; ++r)
        if ((map.nvs[r].isInput != 0) == input) highest = std::max(highest, map.nvs[r].fbNumber);
    return highest + 1;
}

bool nvHasAssignments(const ObjectMap& map, int h, int last) {
    for (int r = h; r <= last; ++r)
        if (map.nvs[r].fbNumber != 0 || map.nvs[r].objectNumber != 0) return true;
    return false;
}

// Each field row of the STRUCT at h gets the number and the next free object of its own.
int allocateFields(ObjectMap& map, int h, int fb, int firstObject) {
    setNVRowFbNumber(map, h, fb);
    const int last = nvLastFieldRow(map, h);
    int n = firstObject;
    for (int f = h + 1; f <= last; ++f) {
        if (n == 0) return AllocateResult::NoObjects;
        setNVRowFbNumber(map, f, fb);
        if (!copyNVRowIntoObject(map, f, n)) return AllocateResult::Conflict;
        n = nextFreeObject(map, n + 1);
    }
    return kOk;
}

} // namespace

int linkObjectToNVList(ObjectMap& map, int n) {
    using namespace LinkObjectResult;
    if (!ObjectMap::validObject(n)) return NoMatchingRow;
    const DataObject& object = *map.object(n);
    if (!object.hasNV() || object.lonNV == 0) return NoMatchingRow;
    const int h = findHeaderRow(map, object.lonNV, (object.flags & ObjectFlag::InputNV) != 0);
    if (h < 0) return NoMatchingRow;
    if (!(object.flags & ObjectFlag::Structured)) {
        linkObjectNV(map, n, h + 1);
        return kOk;
    }
    if (nvBaseType(map.nvs[h]) != BaseType::STRUCT) return NoMatchingRow;
    if (const int f = findFieldRow(map, h, object); f >= 0) {
        linkObjectNV(map, n, f + 1);
        return kOk;
    }
    // A standard structure has all its field rows already; a user-defined one (snvt 0, with or
    // without a scope) gets the row of this field on first sight.
    return map.nvs[h].snvt != 0 ? NoMatchingRow : linkToUserField(map, n, h);
}

int allocateForNV(ObjectMap& map, int r) {
    using namespace AllocateResult;
    if (!validNVRow(map, r) || !map.nvs[r].defined) return Conflict;
    const int h = nvHeaderRow(map, r);
    const bool structured = h >= 0 && nvBaseType(map.nvs[h]) == BaseType::STRUCT;
    const int first = structured ? h : r;
    const int last = structured ? nvLastFieldRow(map, h) : r;
    if (nvHasAssignments(map, first, last)) return Conflict;
    const int object = nextFreeObject(map, 1);
    if (object == 0) return NoObjects;
    const int fb = nextFbNumber(map, map.nvs[r].isInput != 0);
    if (fb > kFbNumbers) return NoFbNumbers;
    if (structured) return allocateFields(map, h, fb, object);
    setNVRowFbNumber(map, r, fb);
    return copyNVRowIntoObject(map, r, object) ? kOk : Conflict;
}

} // namespace korvex
