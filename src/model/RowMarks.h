#pragma once
// The marks a row of the map carries besides what it says: whether the device has it (in-device,
// the objects' sync flags) and whether the file has it (saved). Comparing rows "without marks"
// tells whether the map itself changed, as opposed to the device or the file catching up with it.
#include "model/DataObject.h"
#include "model/NetVar.h"
#include "model/RegisterDef.h"

namespace korvex {

inline DataObject withoutMarks(DataObject object) {
    object.syncFlags = 0;
    return object;
}

inline NetVar withoutMarks(NetVar nv) {
    nv.inDevice = 0;
    nv.saved = 0;
    return nv;
}

inline RegisterDef withoutMarks(RegisterDef r) {
    r.inDevice = 0;
    return r;
}

template <typename Row> bool sameContent(const Row& a, const Row& b) {
    return withoutMarks(a) == withoutMarks(b);
}

// The row no longer counts as in the device.
inline void clearDeviceMark(DataObject& object) {
    object.syncFlags &= ~SyncFlag::InDevice;
}
inline void clearDeviceMark(NetVar& nv) {
    nv.inDevice = 0;
}
inline void clearDeviceMark(RegisterDef& r) {
    r.inDevice = 0;
}

} // namespace korvex
