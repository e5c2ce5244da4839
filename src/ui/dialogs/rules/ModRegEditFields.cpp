#include "ui/dialogs/rules/ModRegEditFields.h"

#include "vocab/Modicon.h"
#include "vocab/ModiconHint.h"
#include "vocab/ObjectValue.h"
#include "vocab/RegisterCodes.h"
#include "model/ObjectLinks.h"
#include "model/RegisterObjectCopy.h"
#include "ui/widgets/NumberText.h"

#include <algorithm>
#include <cfloat>

namespace korvex::ui::dialogs {

using widgets::decimalIn;
using widgets::scanDecimal;
using widgets::scanFraction;
using widgets::scanHex;
namespace {

void setAccess(RegisterDef& copy, Access access) {
    copy.readPeriodic = access == Access::Read ? 1 : 0;
    copy.writePeriodic = access == Access::Write ? 1 : 0;
    copy.writeOnUpdate = access == Access::WriteOnUpdate ? 1 : 0;
}

bool writes(const RegisterDef& copy) {
    return copy.writePeriodic != 0 || copy.writeOnUpdate != 0;
}

// The object's default value keeps its number when its data type changes with the format.
void followFormat(DataObject& object, int32_t format) {
    const uint8_t datatype = dataTypeFromFormat(format);
    if (datatype == object.datatype) return;
    const double value = object_value_to_number(object.defVal, object.datatype);
    object.datatype = datatype;
    object.defVal = object_value_from_number(value, datatype);
}

} // namespace

bool isInputType(int32_t type) {
    return type == RegisterType::Discrete || type == RegisterType::Input;
}

bool chooseAccess(RegisterDef& copy, Access access) {
    if (access != Access::Read && isInputType(copy.type)) return false;
    setAccess(copy, access);
    return true;
}

std::optional<std::string> takeRegisterNumber(RegisterDef& copy, const QString& text, bool modicon,
                                              ModiconHint* hint) {
    const int number = std::max(scanDecimal(text), 0);
    if (modicon) {
        copy.modicon = number;
        copy.regNumber = register_from_modicon(number, copy.type);
        if (isInputType(copy.type)) setAccess(copy, Access::Read);
        return std::nullopt;
    }
    std::optional<std::string> message;
    if (hint) message = hint->check(number, copy.type);
    copy.regNumber = static_cast<uint16_t>(std::min(number, 65535));
    copy.modicon = modicon_from_register(copy.regNumber, copy.type);
    return message;
}

void chooseRegisterType(RegisterDef& copy, int type) {
    if (type < 0 || type >= RegisterType::Count) return;
    copy.type = type;
    if (isInputType(type)) setAccess(copy, Access::Read);
    copy.modicon = modicon_from_register(copy.regNumber, copy.type);
}

uint8_t slaveFrom(const QString& text) {
    return static_cast<uint8_t>(std::clamp(scanDecimal(text), 1, 255));
}

uint16_t pollFrom(const QString& text) {
    return static_cast<uint16_t>(std::clamp(scanDecimal(text), 1, 65535));
}

void takeBitNumber(RegisterDef& copy, const QString& text) {
    const std::optional<int> bit = decimalIn(text);
    if (!bit || *bit < 0) {
        copy.bitNumber = 0;
        copy.mask = 0;
        return;
    }
    copy.bitNumber = static_cast<uint16_t>(std::min(*bit, 31) + 1);
    copy.mask = mask_from_bit(copy.bitNumber);
}

void takeMask(RegisterDef& copy, const QString& text) {
    copy.mask = scanHex(text);
    copy.bitNumber = bit_from_mask(copy.mask);
}

float fractionFrom(const QString& text) {
    return static_cast<float>(
        std::clamp(scanFraction(text), -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

QString bitNumberText(const RegisterDef& copy) {
    return copy.bitNumber == 0 ? QString() : QString::number(copy.bitNumber - 1);
}

QString hexText(uint32_t value) {
    return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

RegEditEnabling regEditEnabling(const RegisterDef& copy, std::optional<bool> linkedInput, bool gatewaySlave) {
    RegEditEnabling e;
    if (copy.fbNumber != 0) {
        const bool inputSide = linkedInput.value_or(writes(copy));
        if (inputSide)
            e.read = false;
        else
            e.write = e.writeOnUpdate = false;
    }
    if (gatewaySlave) {
        e.read = e.write = e.writeOnUpdate = false;
        e.slave = e.bitNumber = e.mask = e.fill = e.packed = false;
    }
    return e;
}

const char* registerFbLabel(const RegisterDef& copy, std::optional<bool> linkedInput) {
    return linkedInput.value_or(writes(copy)) ? "FB (OLA)#" : "FB (OLS)#";
}

int applyRegisterEdit(ObjectMap& map, int row, const RegisterDef& copy) {
    if (row < 0 || row >= map.registerCount) return 0;
    RegisterDef& target = map.registers[row];
    const int32_t oldFormat = target.format;
    RegisterDef stored = copy;
    stored.fbNumber = target.fbNumber;
    stored.objectNumber = target.objectNumber;
    stored.nvRow = target.nvRow;
    stored.defined = target.defined;
    stored.inDevice = 0;
    target = stored;

    const int n = target.objectNumber;
    if (!ObjectMap::validObject(n) || !linkObjectRegister(map, n, row + 1)) return 0;
    DataObject& object = *map.object(n);
    copyRegisterValuesToObject(target, object);
    if (target.format != oldFormat) followFormat(object, target.format);
    object.syncFlags &= ~(SyncFlag::InDevice | SyncFlag::Saved);
    return n;
}

} // namespace korvex::ui::dialogs
