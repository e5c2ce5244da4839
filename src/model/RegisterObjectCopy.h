#pragma once
// The correspondence of register-row and data-object fields, used by every copy in either
// direction: regNumber/modreg, type/modtype, format/moddata, slave, poll, mask, fill, scale,
// offset and name by name, and the register's flag bytes against the object's mode bits.
#include "model/DataObject.h"
#include "model/RegisterDef.h"

namespace korvex {

// Register values into the object (number, type, format, slave, poll, mask, fill, scale, offset,
// mode bits) and flag 0x1. Name, data type and links are left alone.
void copyRegisterValuesToObject(const RegisterDef& reg, DataObject& object);

// As above, plus the name and the data type that follows the register format.
void copyRegisterToObject(const RegisterDef& reg, DataObject& object);

// The object's register side into the row: values, name, flag bytes, the Modicon-style address
// and the bit number from the mask; the row is marked defined. Links are left alone.
void copyObjectToRegister(const DataObject& object, RegisterDef& reg);

// Registers one row of this format takes when numbering new registers.
int registersTaken(int32_t format);

} // namespace korvex
