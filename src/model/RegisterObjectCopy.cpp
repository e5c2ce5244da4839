#include "model/RegisterObjectCopy.h"

#include "model/FixedText.h"
#include "vocab/Modicon.h"
#include "vocab/RegisterCodes.h"

namespace korvex {
namespace {

struct ModeBit {
    uint8_t RegisterDef::*field;
    uint32_t flag;
};

constexpr ModeBit kModeBits[] = {
    {&RegisterDef::readPeriodic, ObjectFlag::ReadPeriodic},
    {&RegisterDef::writePeriodic, ObjectFlag::WritePeriodic},
    {&RegisterDef::writeOnUpdate, ObjectFlag::WriteOnUpdate},
    {&RegisterDef::packed, ObjectFlag::Packed},
    {&RegisterDef::highRegFirst, ObjectFlag::HighRegFirst},
};

} // namespace

void copyRegisterValuesToObject(const RegisterDef& reg, DataObject& object) {
    object.modreg = reg.regNumber;
    object.modtype = reg.type;
    object.moddata = reg.format;
    object.slave = reg.slave;
    object.poll = reg.poll;
    object.mask = reg.mask;
    object.fill = reg.fill;
    object.scale = reg.scale;
    object.offset = reg.offset;
    for (const ModeBit& bit : kModeBits) {
        if (reg.*bit.field)
            object.flags |= bit.flag;
        else
            object.flags &= ~bit.flag;
    }
    // An in-use object is read periodically unless it is written; the two never go together.
    if (object.flags & (ObjectFlag::WritePeriodic | ObjectFlag::WriteOnUpdate))
        object.flags &= ~ObjectFlag::ReadPeriodic;
    else
        object.flags |= ObjectFlag::ReadPeriodic;
    object.flags |= ObjectFlag::InUse;
}

void copyRegisterToObject(const RegisterDef& reg, DataObject& object) {
    copyRegisterValuesToObject(reg, object);
    setText(object.name, textOf(reg.name));
    object.datatype = dataTypeFromFormat(reg.format);
}

void copyObjectToRegister(const DataObject& object, RegisterDef& reg) {
    reg.regNumber = object.modreg;
    reg.type = object.modtype;
    reg.format = object.moddata;
    reg.slave = object.slave;
    reg.poll = object.poll;
    reg.mask = object.mask;
    reg.fill = object.fill;
    reg.scale = object.scale;
    reg.offset = object.offset;
    setText(reg.name, textOf(object.name));
    for (const ModeBit& bit : kModeBits) reg.*bit.field = (object.flags & bit.flag) ? 1 : 0;
    reg.modicon = modicon_from_register(reg.regNumber, reg.type);
    reg.bitNumber = bit_from_mask(reg.mask);
    reg.defined = 1;
}

int registersTaken(int32_t format) {
    switch (format) {
    case RegisterFormat::S32:
    case RegisterFormat::U32:
    case RegisterFormat::FP:
    case RegisterFormat::M102:
        return 2;
    case RegisterFormat::M103:
        return 3;
    case RegisterFormat::M104:
    case RegisterFormat::S64:
        return 4;
    default:
        return 1;
    }
}

} // namespace korvex
