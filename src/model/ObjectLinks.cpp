#include "model/ObjectLinks.h"

#include "model/FixedText.h"
#include "model/lists/NVRows.h"
#include "vocab/BaseType.h"
#include "vocab/RegisterCodes.h"

namespace korvex {

bool linkObjectNV(ObjectMap& map, int n, int nvLink) {
    NetVar* row = map.nvAtLink(nvLink);
    if (!ObjectMap::validObject(n) || !row) return false;
    DataObject& object = *map.object(n);
    if (NetVar* old = map.nvAtLink(object.nvRow); old && old != row && old->objectNumber == n)
        old->objectNumber = 0;
    if (row->objectNumber != n && ObjectMap::validObject(row->objectNumber)) {
        DataObject& previous = *map.object(row->objectNumber);
        if (previous.nvRow == nvLink) previous.nvRow = 0;
    }
    object.nvRow = static_cast<uint16_t>(nvLink);
    row->objectNumber = n;
    return true;
}

bool linkObjectRegister(ObjectMap& map, int n, int regLink) {
    RegisterDef* reg = map.registerAtLink(regLink);
    if (!ObjectMap::validObject(n) || !reg) return false;
    DataObject& object = *map.object(n);
    if (RegisterDef* old = map.registerAtLink(object.registerRow);
        old && old != reg && old->objectNumber == n)
        old->objectNumber = 0;
    if (reg->objectNumber != n && ObjectMap::validObject(reg->objectNumber)) {
        DataObject& previous = *map.object(reg->objectNumber);
        if (previous.registerRow == regLink) previous.registerRow = 0;
    }
    object.registerRow = static_cast<uint16_t>(regLink);
    reg->objectNumber = n;
    return true;
}

bool linkRegisterNV(ObjectMap& map, int regLink, int nvLink) {
    RegisterDef* reg = map.registerAtLink(regLink);
    NetVar* row = map.nvAtLink(nvLink);
    if (!reg || !row) return false;
    if (NetVar* old = map.nvAtLink(reg->nvRow); old && old != row && old->registerRow == regLink)
        old->registerRow = 0;
    if (RegisterDef* previous = map.registerAtLink(row->registerRow); previous && previous != reg) {
        if (previous->nvRow == nvLink) previous->nvRow = 0;
    }
    reg->nvRow = nvLink;
    row->registerRow = regLink;
    return true;
}

void releaseObject(ObjectMap& map, int n) {
    if (!ObjectMap::validObject(n)) return;
    for (int i = 0; i < map.nvCount; ++i)
        if (map.nvs[i].objectNumber == n) map.nvs[i].objectNumber = 0;
    for (int i = 0; i < map.registerCount; ++i)
        if (map.registers[i].objectNumber == n) map.registers[i].objectNumber = 0;
}

void setNVRowFbNumber(ObjectMap& map, int r, int fb) {
    if (!validNVRow(map, r)) return;
    NetVar& row = map.nvs[r];
    row.fbNumber = fb;
    if (RegisterDef* reg = map.registerAtLink(row.registerRow); reg && reg->nvRow == r + 1)
        reg->fbNumber = fb;
    if (ObjectMap::validObject(row.objectNumber)) {
        DataObject& object = *map.object(row.objectNumber);
        if (object.nvRow == r + 1) object.lonNV = static_cast<uint8_t>(fb);
    }
}

uint8_t dataTypeFromBaseType(uint8_t baseType) {
    switch (baseType) {
    case BaseType::SC:
    case BaseType::SI:
    case BaseType::SL:
        return ObjectDataType::S16;
    case BaseType::FP:
        return ObjectDataType::FP;
    case BaseType::SQ:
        return ObjectDataType::S32;
    default:
        return ObjectDataType::U16;
    }
}

bool copyNVRowIntoObject(ObjectMap& map, int r, int n) {
    if (!validNVRow(map, r) || !ObjectMap::validObject(n)) return false;
    const NetVar& row = map.nvs[r];
    DataObject& object = *map.object(n);
    object.lonNV = static_cast<uint8_t>(row.fbNumber);
    object.lontype = nvBaseType(row);
    object.lonByteOffset = row.byteOffset;
    object.lonBitOffset = row.bitOffset;
    object.lonScaleA = row.scaleA;
    object.lonScaleB = row.scaleB;
    object.lonScaleC = row.scaleC;
    object.lonMethod = row.method;
    object.lonFormula = row.formula;
    if (textOf(object.name).empty()) setText(object.name, textOf(row.name));
    object.flags &= ~ObjectFlag::NVSide;
    object.flags |= row.isInput ? ObjectFlag::InputNV : ObjectFlag::OutputNV;
    if (row.isField) object.flags |= ObjectFlag::Structured;
    if (row.lock) object.flags |= ObjectFlag::LockField;
    if (object.datatype == ObjectDataType::None) object.datatype = dataTypeFromBaseType(object.lontype);
    object.flags |= ObjectFlag::InUse;
    object.syncFlags |= SyncFlag::Configured;
    return linkObjectNV(map, n, r + 1);
}

namespace {

// Bits 0x1 to 0x400 and 0x8000: everything but the NV bits.
constexpr uint32_t kRegisterSideFlags = 0x7FFu | 0x8000u;
constexpr uint32_t kNotInDeviceOrSaved = ~(SyncFlag::InDevice | SyncFlag::Saved);

} // namespace

void takeRegisterSide(DataObject& object) {
    object.modreg = 0;
    object.mask = 0;
    object.fill = 0;
    object.modtype = 0;
    object.moddata = 0;
    object.slave = 0;
    object.poll = 0;
    object.scale = 0.0f;
    object.offset = 0.0f;
    object.defVal = 0;
    object.flags &= ~kRegisterSideFlags;
    if (!object.hasNV()) object.name.fill('\0');
    object.syncFlags &= kNotInDeviceOrSaved;
    object.registerRow = 0;
}

void takeNVSide(DataObject& object) {
    object.flags &= ~ObjectFlag::NVSide;
    object.lonNV = 0;
    object.lontype = 0;
    object.lonByteOffset = 0;
    object.lonBitOffset = 0;
    object.lonScaleA = 0;
    object.lonScaleB = 0;
    object.lonScaleC = 0;
    object.lonMethod = 0;
    object.lonFormula = 0;
    if (!(object.flags & ObjectFlag::InUse)) object.name.fill('\0');
    object.syncFlags &= kNotInDeviceOrSaved;
    object.nvRow = 0;
}

} // namespace korvex
