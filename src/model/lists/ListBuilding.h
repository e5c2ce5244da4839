#pragma once
// Building one list from another: the Reg List and NV List page actions, and the single-object
// operations used by the master list, the NV editor and the object element reader.
// Every function returns 0 on success or a code whose text modelMessage(op, code) gives, op being
// the ModelOp of the same name. Work done before a refusal part-way through stays in place.
#include "model/ModelMessages.h"
#include "model/ObjectMap.h"

namespace korvex {

// --- Reg List page ---
// "Auto-create NV's and assign FB #'s": one NV per register row, linked both ways.
int nvListFromRegisters(ObjectMap& map);
// "Auto-assign data objects": register row i becomes object i.
int masterListFromRegisters(ObjectMap& map);
// "Remove data object assignments": every linked object loses its register side. Never fails.
int removeRegisterObjectAssignments(ObjectMap& map);
// "Rebuild Modbus register list from master list" (also after every file load). Never fails.
int rebuildRegisterList(ObjectMap& map);

// --- NV List page ---
// "Auto-assign new NV function blocks".
int assignFbNumbers(ObjectMap& map);
// "Auto-assign new data objects".
int masterListFromNVs(ObjectMap& map);
// "Auto-create Modbus register list": one holding register per object with an NV.
int registerListFromMaster(ObjectMap& map);
// "Remove data object assignments": every linked object loses its NV side. Never fails.
int removeNVObjectAssignments(ObjectMap& map);
// "Remove NV function block assignments".
int removeNVFbAssignments(ObjectMap& map);

// --- single objects ---
// Master list: append a register row for object n, which has an NV row but no register.
int makeRegisterRow(ObjectMap& map, int n);
// After an object element was read: link object n to its NV row (or field row).
int linkObjectToNVList(ObjectMap& map, int n);
// After an object element with flag 0x1 was read: its register row, copied as by the rebuild.
// An object already linked to a row that points back has that row updated in place.
int appendRegisterRow(ObjectMap& map, int n);
// NV editor "Auto Assign" for row r (0-based): a function-block number and free objects.
int allocateForNV(ObjectMap& map, int r);

// The next free register number: 1 for a list without numbers, else the highest number plus
// the registers taken by the first row that holds it (at most 65535).
int nextFreeRegisterNumber(const ObjectMap& map);

} // namespace korvex
