#include "ui/models/NVCells.h"

#include "model/FixedText.h"
#include "model/lists/NVRows.h"
#include "vocab/SnvtCatalogue.h"

namespace korvex::ui::models::nvcell {

namespace {

const QString kNone = QStringLiteral("---");

// The catalogue name of a field row's field: the field table is the one of its header's type.
const char* fieldNameOf(const ObjectMap& map, int r) {
    const NetVar& nv = map.nvs[r];
    const int header = nvHeaderRow(map, r);
    if (header < 0 || nv.fieldName < 0) return nullptr;
    const auto fields = snvt_fields(map.nvs[header].snvt);
    if (nv.fieldName >= static_cast<int>(fields.size())) return nullptr;
    return fields[nv.fieldName].name;
}

} // namespace

QString direction(const NetVar& nv) {
    return nv.isInput ? QStringLiteral("NVI") : QStringLiteral("NVO");
}

QString fbNumber(const NetVar& nv) {
    if (nv.fbNumber == 0) return kNone;
    return (nv.isInput ? QStringLiteral("OLA %1") : QStringLiteral("OLS %1")).arg(nv.fbNumber);
}

QString object(const NetVar& nv) {
    return nv.objectNumber == 0 ? kNone : QString::number(nv.objectNumber);
}

QString type(const ObjectMap& map, int r) {
    const NetVar& nv = map.nvs[r];
    if (!nv.isField) return QString::fromLatin1(snvt_name(nv.snvt));
    const char* field = fieldNameOf(map, r);
    return field ? QStringLiteral(":: %1").arg(QString::fromLatin1(field)) : kNone;
}

QString category(const NetVar& nv) {
    return nv.isField ? QString::fromLatin1(category_name(nv.baseType)) : kNone;
}

QString name(const NetVar& nv) {
    return QString::fromLatin1(textOf(nv.name));
}

} // namespace korvex::ui::models::nvcell
