// The checker's pass over each register on its own: the register sides of the objects and the
// register rows that no object keeps (a CSV import before the objects are made).
#include "model/RegisterObjectCopy.h"
#include "model/check/MapCheckSupport.h"
#include "vocab/ObjectValue.h"
#include "vocab/RegisterCodes.h"
#include "vocab/RegisterNames.h"

#include <cmath>
#include <optional>

namespace korvex::check {
namespace {

constexpr int kLastRegister = 65535;

struct RegisterFields {
    int32_t type;
    int32_t format;
    uint16_t number;
    uint8_t slave;
    bool writes;
};

// "a register type or a format": the parts a register lacks, or empty.
std::string missingParts(const RegisterFields& r) {
    std::vector<const char*> parts;
    if (r.type <= RegisterType::None || r.type >= RegisterType::Count) parts.push_back("a register type");
    if (r.number == 0) parts.push_back("a register number");
    if (r.format <= RegisterFormat::None || r.format >= RegisterFormat::Count) parts.push_back("a format");
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += std::string(i == 0 ? "" : i + 1 == parts.size() ? " or " : ", ") + parts[i];
    return text;
}

// write-to-input, register-incomplete and register-past-end, for an object or a register row.
void checkFields(const RegisterFields& r, PlaceKind place, int row, Findings& findings) {
    const std::string where = registerText(r.type, r.number, r.slave);
    if (r.writes && (r.type == RegisterType::Discrete || r.type == RegisterType::Input))
        findings.add(Rule::WriteToInput, place, row,
                     "has a write mode on " + where + ", which cannot be written");
    const std::string missing = missingParts(r);
    if (!missing.empty())
        findings.add(Rule::RegisterIncomplete, place, row, "has a register without " + missing);
    const int last = r.number + registersTaken(r.format) - 1;
    if (r.number != 0 && last > kLastRegister)
        findings.add(Rule::RegisterPastEnd, place, row,
                     textf("%s at %s needs registers up to %d, past the last register %d",
                           register_format_keyword(r.format), where.c_str(), last, kLastRegister));
}

struct ValueRange {
    double low;
    double high;
};

// What a register of this format holds; none for the formats the gateway alone interprets.
std::optional<ValueRange> formatRange(int32_t format) {
    switch (format) {
    case RegisterFormat::S16:
        return ValueRange{-32768.0, 32767.0};
    case RegisterFormat::U16:
        return ValueRange{0.0, 65535.0};
    case RegisterFormat::S32:
        return ValueRange{-2147483648.0, 2147483647.0};
    case RegisterFormat::U32:
        return ValueRange{0.0, 4294967295.0};
    case RegisterFormat::BIT:
        return ValueRange{0.0, 1.0};
    default:
        return std::nullopt;
    }
}

// What an object of this data type holds; a boolean object reading a wider register is usual,
// and floating point holds them all.
std::optional<ValueRange> dataTypeRange(uint8_t datatype) {
    switch (datatype) {
    case ObjectDataType::S16:
        return formatRange(RegisterFormat::S16);
    case ObjectDataType::U16:
        return formatRange(RegisterFormat::U16);
    case ObjectDataType::S32:
        return formatRange(RegisterFormat::S32);
    case ObjectDataType::U32:
        return formatRange(RegisterFormat::U32);
    default:
        return std::nullopt;
    }
}

void checkValues(const DataObject& o, int n, Findings& findings) {
    const std::optional<ValueRange> format = formatRange(o.moddata);
    if (!format) return;
    const char* keyword = register_format_keyword(o.moddata);
    constexpr uint32_t kAnyDefault =
        ObjectFlag::DefaultOnPowerUp | ObjectFlag::DefaultOnCommFail | ObjectFlag::DefaultOnLonFail;
    if ((o.flags & kAnyDefault) && o.datatype != ObjectDataType::None) {
        const double value = object_value_to_number(o.defVal, o.datatype);
        if (value < format->low || value > format->high)
            findings.add(Rule::DefaultClamped, PlaceKind::Object, n,
                         textf("default value %g is outside what a %s register holds (%.0f to %.0f)", value,
                               keyword, format->low, format->high));
        else if (value != std::trunc(value))
            findings.add(Rule::DefaultClamped, PlaceKind::Object, n,
                         textf("default value %g is not a whole number, which a %s register cannot hold",
                               value, keyword));
    }
    const std::optional<ValueRange> held = dataTypeRange(o.datatype);
    if (held && (held->low > format->low || held->high < format->high))
        findings.add(Rule::DataTypeNarrow, PlaceKind::Object, n,
                     textf("holds its value as %s, which cannot hold every value of its %s register",
                           objectDataTypeXmlName(o.datatype), keyword));
}

void checkSlave(const ObjectMap& map, const DataObject& o, int n, Findings& findings) {
    if (!gatewayIsMaster(map)) return;
    if (o.slave == 0)
        findings.add(Rule::SlaveZero, PlaceKind::Object, n,
                     "uses slave address 0, the broadcast address, while the gateway is the Modbus master");
    else if (o.slave > kLastSlaveAddress)
        findings.add(Rule::SlaveReserved, PlaceKind::Object, n,
                     textf("uses slave address %u, which Modbus reserves (slaves answer to 1 to %d)",
                           unsigned(o.slave), kLastSlaveAddress));
}

// As master the gateway moves an input NV's value into the register by writing it, and an
// output NV's value out of the register by reading it.
void checkDirection(const ObjectMap& map, const DataObject& o, int n, Findings& findings) {
    if (!gatewayIsMaster(map) || !o.hasNV()) return;
    const bool input = (o.flags & ObjectFlag::InputNV) != 0;
    const bool writes = writesRegister(o);
    const bool reads = (o.flags & ObjectFlag::ReadPeriodic) != 0 || !writes;
    const std::string where = registerText(o.modtype, o.modreg, o.slave);
    if (input && !writes)
        findings.add(Rule::DirectionMismatch, PlaceKind::Object, n,
                     "is fed by " + nvText(true, o.lonNV) + " but only reads " + where +
                         ", so the NV's value never reaches the register");
    else if (!input && !reads)
        findings.add(Rule::DirectionMismatch, PlaceKind::Object, n,
                     "feeds " + nvText(false, o.lonNV) + " but only writes " + where +
                         ", so the NV gets no value from it");
}

// A register row the map file keeps is the register of an object that points back at it.
bool keptRow(const ObjectMap& map, int link) {
    const RegisterDef& reg = map.registers[static_cast<std::size_t>(link - 1)];
    if (!ObjectMap::validObject(reg.objectNumber)) return false;
    const DataObject& o = *map.object(reg.objectNumber);
    return o.hasRegister() && o.registerRow == link;
}

} // namespace

void checkRegisterFields(const ObjectMap& map, Findings& findings) {
    for (int n = 1; n <= kObjectCount; ++n) {
        const DataObject& o = map.objects[static_cast<std::size_t>(n - 1)];
        if (!hasModbusRegister(o)) continue;
        checkFields({o.modtype, o.moddata, o.modreg, o.slave, writesRegister(o)}, PlaceKind::Object, n,
                    findings);
        checkSlave(map, o, n, findings);
        checkDirection(map, o, n, findings);
        checkValues(o, n, findings);
    }
    for (int link = 1; link <= map.registerCount; ++link) {
        const RegisterDef& reg = map.registers[static_cast<std::size_t>(link - 1)];
        if (!reg.defined || keptRow(map, link)) continue;
        findings.add(Rule::RegisterNotSaved, PlaceKind::Register, link,
                     "has no data object, so the map file does not keep it");
        checkFields({reg.type, reg.format, reg.regNumber, reg.slave, reg.writePeriodic || reg.writeOnUpdate},
                    PlaceKind::Register, link, findings);
    }
}

} // namespace korvex::check
