#include "ui/models/RegisterCells.h"

#include "model/FixedText.h"
#include "vocab/RegisterNames.h"

namespace korvex::ui::models::regcell {

namespace {

QString yesNo(uint8_t flag) {
    return flag ? QStringLiteral("Y") : QStringLiteral("N");
}

const QString kNone = QStringLiteral("---");

} // namespace

QString access(const RegisterDef& r) {
    if (r.writePeriodic) return QStringLiteral("W");
    if (r.writeOnUpdate) return QStringLiteral("W+");
    return QStringLiteral("R");
}

QString modicon(const RegisterDef& r) {
    return QString::number(r.modicon);
}

QString type(const RegisterDef& r) {
    return QString::fromLatin1(register_type_keyword(r.type));
}

QString number(const RegisterDef& r) {
    return QString::number(r.regNumber);
}

QString bit(const RegisterDef& r) {
    return r.bitNumber == 0 ? QStringLiteral("-") : QString::number(r.bitNumber - 1);
}

QString format(const RegisterDef& r) {
    return QString::fromLatin1(register_format_keyword(r.format));
}

QString slave(const RegisterDef& r) {
    return QString::number(r.slave);
}

QString packed(const RegisterDef& r) {
    return yesNo(r.packed);
}

QString highRegFirst(const RegisterDef& r) {
    return yesNo(r.highRegFirst);
}

QString name(const RegisterDef& r) {
    return QString::fromLatin1(textOf(r.name));
}

QString fbNumber(const RegisterDef& r) {
    if (r.fbNumber == 0) return kNone;
    if (r.readPeriodic) return QStringLiteral("OLS %1").arg(r.fbNumber);
    if (r.writePeriodic || r.writeOnUpdate) return QStringLiteral("OLA %1").arg(r.fbNumber);
    return kNone;
}

QString object(const RegisterDef& r) {
    return r.objectNumber == 0 ? kNone : QString::number(r.objectNumber);
}

} // namespace korvex::ui::models::regcell
