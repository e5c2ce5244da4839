// The `obj` element: one data object, changed attribute by attribute from its stored copy.
#include "formats/xml/ElementValues.h"
#include "formats/xml/Elements.h"
#include "model/FixedText.h"
#include "model/ObjectLinks.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListNotes.h"
#include "vocab/RegisterCodes.h"
#include "vocab/RegisterNames.h"

namespace korvex::xml {
namespace {

struct ObjectWork {
    ObjectMap& map;
    int number = 0;
    DataObject object{};
    bool cleared = false;    // the last `clear` seen was non-zero
    int clearedRegister = 0; // the register row a `clear` took from the stored object
};

XmlError setNumber(ObjectWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, 1, kObjectCount, n); code != XmlError::Ok) return code;
    w.number = static_cast<int>(n);
    w.object = *w.map.object(w.number);
    return XmlError::Ok;
}

XmlError clearObject(ObjectWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, INT32_MIN, INT32_MAX, n); code != XmlError::Ok) return code;
    if (!ObjectMap::validObject(w.number)) return XmlError::OutOfRange;
    w.cleared = n != 0;
    if (w.cleared) {
        // The stored object is zeroed at once; the rows linked to it let go of it first, so
        // that a failure later in the element leaves no row pointing at an empty object.
        DataObject& stored = *w.map.object(w.number);
        if (RegisterDef* reg = w.map.registerAtLink(stored.registerRow);
            reg && reg->objectNumber == w.number) {
            w.clearedRegister = stored.registerRow;
            reg->objectNumber = 0;
        }
        if (NetVar* row = w.map.nvAtLink(stored.nvRow); row && row->objectNumber == w.number)
            row->objectNumber = 0;
        stored = DataObject{};
        w.object = DataObject{};
    }
    return XmlError::Ok;
}

XmlError requireRegister(const ObjectWork& w) {
    return (w.object.flags & ObjectFlag::InUse) ? XmlError::Ok : XmlError::Conflicting;
}

template <uint32_t Bit> XmlError flag(ObjectWork& w, std::string_view v) {
    return readFlag(v, w.object.flags, Bit);
}

// A write mode replaces "read periodic", whether it is set or cleared.
template <uint32_t Bit> XmlError writeMode(ObjectWork& w, std::string_view v) {
    if (const XmlError code = readFlag(v, w.object.flags, Bit); code != XmlError::Ok) return code;
    w.object.flags &= ~ObjectFlag::ReadPeriodic;
    return XmlError::Ok;
}

XmlError bigEnd(ObjectWork& w, std::string_view v) {
    if (const XmlError code = requireRegister(w); code != XmlError::Ok) return code;
    return readFlag(v, w.object.flags, ObjectFlag::HighRegFirst);
}

XmlError setScale(ObjectWork& w, std::string_view v) {
    return readFloat(v, w.object.scale);
}
XmlError setOffset(ObjectWork& w, std::string_view v) {
    return readFloat(v, w.object.offset);
}
XmlError setMask(ObjectWork& w, std::string_view v) {
    return readHexValue(v, w.object.mask);
}
XmlError setFill(ObjectWork& w, std::string_view v) {
    return readHexValue(v, w.object.fill);
}

XmlError setName(ObjectWork& w, std::string_view v) {
    setText(w.object.name, v);
    return XmlError::Ok;
}

XmlError setDataType(ObjectWork& w, std::string_view v) {
    const auto code = objectDataTypeFromXmlName(v);
    if (!code) return XmlError::UnknownTag;
    w.object.datatype = *code;
    return XmlError::Ok;
}

XmlError setModreg(ObjectWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, 0, 0xFFFF, n); code != XmlError::Ok) return code;
    w.object.modreg = static_cast<uint16_t>(n);
    w.object.flags |= ObjectFlag::InUse;
    if (!(w.object.flags & (ObjectFlag::WritePeriodic | ObjectFlag::WriteOnUpdate)))
        w.object.flags |= ObjectFlag::ReadPeriodic;
    return XmlError::Ok;
}

XmlError setModtype(ObjectWork& w, std::string_view v) {
    const auto code = registerTypeFromXmlName(v);
    if (!code) return XmlError::UnknownTag;
    if (const XmlError conflict = requireRegister(w); conflict != XmlError::Ok) return conflict;
    w.object.modtype = *code;
    return XmlError::Ok;
}

XmlError setModdata(ObjectWork& w, std::string_view v) {
    const auto code = registerFormatFromXmlName(v);
    if (!code) return XmlError::UnknownTag;
    if (const XmlError conflict = requireRegister(w); conflict != XmlError::Ok) return conflict;
    w.object.moddata = *code;
    return XmlError::Ok;
}

XmlError setSlave(ObjectWork& w, std::string_view v) {
    int64_t n = 0;
    const XmlError code = readInteger(v, 0, 255, n);
    if (code == XmlError::BadSyntax) return code;
    if (const XmlError conflict = requireRegister(w); conflict != XmlError::Ok) return conflict;
    if (code != XmlError::Ok) return code;
    w.object.slave = static_cast<uint8_t>(n);
    return XmlError::Ok;
}

XmlError setPoll(ObjectWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, 0, 0xFFFF, n); code != XmlError::Ok) return code;
    w.object.poll = static_cast<uint16_t>(n);
    return XmlError::Ok;
}

XmlError setDefVal(ObjectWork& w, std::string_view v) {
    const auto number = scanReal(v);
    if (!number) return XmlError::BadSyntax;
    if (w.object.datatype == ObjectDataType::None) return XmlError::UnknownObjectFormat;
    setDefaultValue(w.object, *number);
    return XmlError::Ok;
}

template <uint32_t DirectionBit> XmlError setLonNV(ObjectWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, 1, kFbNumbers, n); code != XmlError::Ok) return code;
    w.object.lonNV = static_cast<uint8_t>(n);
    w.object.flags |= DirectionBit;
    return XmlError::Ok;
}

XmlError setLonType(ObjectWork& w, std::string_view v) {
    int code = 0;
    if (const XmlError error = readNameCode(v, kLonTypeNames, code); error != XmlError::Ok) return error;
    w.object.lontype = static_cast<uint8_t>(code);
    return XmlError::Ok;
}

XmlError setLonOffset(ObjectWork& w, std::string_view v) {
    std::array<int64_t, 2> n{};
    if (const XmlError code = readNumbers(v, "d,d", n, {{{0, kMaxLonByteOffset}, {0, kMaxLonBitOffset}}});
        code != XmlError::Ok)
        return code;
    w.object.lonByteOffset = static_cast<uint8_t>(n[0]);
    w.object.lonBitOffset = static_cast<uint8_t>(n[1]);
    return XmlError::Ok;
}

XmlError setLonScale(ObjectWork& w, std::string_view v) {
    std::array<int64_t, 3> n{};
    if (const XmlError code = readNumbers(v, "d,d,d", n, {{kInt16Range, kInt16Range, kInt16Range}});
        code != XmlError::Ok)
        return code;
    w.object.lonScaleA = static_cast<int16_t>(n[0]);
    w.object.lonScaleB = static_cast<int16_t>(n[1]);
    w.object.lonScaleC = static_cast<int16_t>(n[2]);
    return XmlError::Ok;
}

XmlError setLonAlg(ObjectWork& w, std::string_view v) {
    std::array<int64_t, 2> n{};
    if (const XmlError code = readNumbers(v, "d,d", n, {{{0, 2}, kByteRange}}); code != XmlError::Ok)
        return code;
    w.object.lonMethod = static_cast<uint8_t>(n[0]);
    w.object.lonFormula = static_cast<uint8_t>(n[1]);
    return XmlError::Ok;
}

constexpr int kClearIndex = 1;

constexpr std::array<Attribute<ObjectWork>, 30> kObjectAttributes{{
    {"n", setNumber},
    {"clear", clearObject},
    {"scale", setScale},
    {"offset", setOffset},
    {"name", setName},
    {"datatype", setDataType},
    {"mask", setMask},
    {"fill", setFill},
    {"modreg", setModreg},
    {"modtype", setModtype},
    {"moddata", setModdata},
    {"slave", setSlave},
    {"poll", setPoll},
    {"writepolled", writeMode<ObjectFlag::WritePeriodic>},
    {"writedelta", writeMode<ObjectFlag::WriteOnUpdate>},
    {"bigend", bigEnd},
    {"pack", flag<ObjectFlag::Packed>},
    {"defPOR", flag<ObjectFlag::DefaultOnPowerUp>},
    {"defFail", flag<ObjectFlag::DefaultOnCommFail>},
    {"defVal", setDefVal},
    {"persistent", flag<ObjectFlag::Persistent>},
    {"lonNVO", setLonNV<ObjectFlag::OutputNV>},
    {"lonNVI", setLonNV<ObjectFlag::InputNV>},
    {"lonstruct", flag<ObjectFlag::Structured>},
    {"lonlock", flag<ObjectFlag::LockField>},
    {"lontype", setLonType},
    {"lonoffset", setLonOffset},
    {"lonscale", setLonScale},
    {"lonalg", setLonAlg},
    {"lonDefFail", flag<ObjectFlag::DefaultOnLonFail>},
}};

static_assert(std::string_view(kObjectAttributes[kClearIndex].name) == "clear");

// After an object was stored: it links to the NV row its NV side names and its register row
// follows its register side. A row it no longer has a side for lets go of it both ways; a
// cleared object that keeps a register side gets its old row back, updated in place.
XmlError settleLinks(ObjectMap& map, const ObjectWork& work, Warnings* warnings) {
    const int n = work.number;
    DataObject& stored = *map.object(n);
    const int linked = linkObjectToNVList(map, n);
    XmlError result = XmlError::Ok;
    if (linked == LinkObjectResult::FieldNotAdded) {
        // The object stays stored either way; a line from the gateway is answered with the
        // refusal, a document goes on and names the object.
        if (warnings)
            warnings->push_back(objectFieldRowNote(n, stored));
        else
            result = XmlError::CannotAddNV;
    }
    if (linked != kOk && stored.nvRow != 0) {
        if (NetVar* row = map.nvAtLink(stored.nvRow); row && row->objectNumber == n) row->objectNumber = 0;
        stored.nvRow = 0;
    }
    if (stored.hasRegister()) {
        if (const RegisterDef* reg = map.registerAtLink(work.clearedRegister);
            reg && reg->objectNumber == 0 && stored.registerRow == 0)
            linkObjectRegister(map, n, work.clearedRegister);
        appendRegisterRow(map, n);
    }
    const RegisterDef* reg = map.registerAtLink(stored.registerRow);
    if (stored.registerRow != 0 && (!stored.hasRegister() || !reg || reg->objectNumber != n)) {
        if (reg && reg->objectNumber == n) map.registers[stored.registerRow - 1].objectNumber = 0;
        stored.registerRow = 0;
    }
    return result;
}

} // namespace

XmlError applyObjectElement(ObjectMap& map, UnitCursor& cursor, Warnings* warnings) {
    ObjectWork work{map};
    int last = -1;
    if (const XmlError code = runAttributeLoop<ObjectWork>(cursor, kObjectAttributes, work, &last);
        code != XmlError::Ok)
        return code;
    if (!ObjectMap::validObject(work.number)) return XmlError::OutOfRange;
    const bool clearing = last == kClearIndex && work.cleared;
    if (work.object.datatype == ObjectDataType::None && !clearing) work.object.datatype = ObjectDataType::FP;
    DataObject* stored = map.object(work.number);
    if (!stored) return XmlError::InvalidObject;
    *stored = work.object;
    stored->syncFlags |= SyncFlag::Configured | SyncFlag::InDevice;
    return settleLinks(map, work, warnings);
}

} // namespace korvex::xml
