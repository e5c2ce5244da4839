#pragma once
// Links between objects, NV rows and register rows, and the two "sides" of a data object.
// A link is always written on both records in the same step; a record that pointed at one of
// them before lets go, so no third record is left pointing at a row that no longer points back.
#include "model/ObjectMap.h"

#include <cstdint>

namespace korvex {

// n is an object number 1..400; nvLink and regLink are 1-based rows. Out-of-range numbers
// change nothing and give false.
bool linkObjectNV(ObjectMap& map, int n, int nvLink);
bool linkObjectRegister(ObjectMap& map, int n, int regLink);
bool linkRegisterNV(ObjectMap& map, int regLink, int nvLink);

// Every NV row and register row that points at object n lets go of it (the object itself keeps
// its own link fields). Used before an object slot is reused.
void releaseObject(ObjectMap& map, int n);

// Row r's function-block number, also on the register and the object linked to it.
void setNVRowFbNumber(ObjectMap& map, int r, int fb);

// Data type an object gets from an NV row when it has none yet.
uint8_t dataTypeFromBaseType(uint8_t baseType);

// NV row r (0-based) into object n: the LonWorks fields, the NV flag bits, a data type when the
// object has none, flag 0x1, "configured", and the link both ways.
bool copyNVRowIntoObject(ObjectMap& map, int r, int n);

// Takes the register side (or the NV side) off an object and drops its registerRow (nvRow).
// The records on the other end of the link are the caller's to update.
void takeRegisterSide(DataObject& object);
void takeNVSide(DataObject& object);

} // namespace korvex
