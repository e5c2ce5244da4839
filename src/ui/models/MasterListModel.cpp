#include "ui/models/MasterListModel.h"

#include "vocab/SnvtCatalogue.h"
#include "vocab/Modicon.h"
#include "vocab/RegisterNames.h"
#include "model/FixedText.h"
#include "model/lists/NVRows.h"
#include "ui/window/ConfigTool.h"

namespace korvex::ui::models {

namespace {

struct ColumnInfo {
    MasterColumn kind;
    const char* title;
    int width; // pixels; 0 = the rest of the grid
};

constexpr ColumnInfo kColumnInfo[] = {
    {MasterColumn::Image, "", 15},          {MasterColumn::Number, "Obj #", 40},
    {MasterColumn::Access, "R/W", 35},      {MasterColumn::Modicon, "Modicon #", 120},
    {MasterColumn::Type, "Type", 60},       {MasterColumn::Register, "Reg #", 60},
    {MasterColumn::Slave, "Slave", 40},     {MasterColumn::Dir, "Dir", 40},
    {MasterColumn::Fb, "FB #", 60},         {MasterColumn::Snvt, "SNVT Type", 150},
    {MasterColumn::Name, "Object Name", 0},
};

const ColumnInfo& info(MasterColumn kind) {
    return kColumnInfo[static_cast<int>(kind)];
}

QString accessText(uint32_t flags) {
    if (flags & ObjectFlag::ReadPeriodic) return QStringLiteral("R");
    if (flags & ObjectFlag::WritePeriodic) return QStringLiteral("W");
    if (flags & ObjectFlag::WriteOnUpdate) return QStringLiteral("W+");
    return QStringLiteral("-");
}

// The type of the linked NV; a field row shows its NV's type and the field's name.
QString snvtText(const ObjectMap& map, const DataObject& object) {
    const int row = object.nvRow - 1;
    if (object.nvRow == 0 || row >= map.nvCount) return QStringLiteral("---");
    const NetVar& nv = map.nvs[row];
    if (!nv.isField) return QString::fromLatin1(snvt_name(nv.snvt));
    const int header = nvHeaderRow(map, row);
    const auto fields = snvt_fields(header >= 0 ? map.nvs[header].snvt : 0);
    if (header < 0 || nv.fieldName < 0 || nv.fieldName >= static_cast<int>(fields.size()) ||
        !fields[nv.fieldName].name)
        return QStringLiteral("---");
    return QStringLiteral("%1.%2").arg(QString::fromLatin1(snvt_name(map.nvs[header].snvt)),
                                       QString::fromLatin1(fields[nv.fieldName].name));
}

} // namespace

EditZone editZoneOf(MasterColumn column) {
    switch (column) {
    case MasterColumn::Access:
    case MasterColumn::Modicon:
    case MasterColumn::Type:
    case MasterColumn::Register:
    case MasterColumn::Slave:
        return EditZone::Register;
    case MasterColumn::Dir:
    case MasterColumn::Fb:
    case MasterColumn::Snvt:
        return EditZone::NetVar;
    default:
        return EditZone::Object;
    }
}

MasterListModel::MasterListModel(const ObjectMap& map, std::mutex& mapMutex, const WorkingOptions& options,
                                 QObject* parent)
    : QAbstractTableModel(parent), map_(map), mapMutex_(mapMutex), options_(options),
      inSyncImage_(QStringLiteral(":/korvex/grid_in.png")),
      outOfSyncImage_(QStringLiteral(":/korvex/grid_out.png")) {
    rebuildColumns();
}

int MasterListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kObjectCount;
}

int MasterListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

int MasterListModel::columnWidth(int column) const {
    return info(columns_.at(column)).width;
}

bool MasterListModel::objectInSync(const DataObject& object) {
    const uint32_t both = SyncFlag::Configured | SyncFlag::InDevice;
    return (object.syncFlags & both) == both;
}

QString MasterListModel::cellText(const ObjectMap& map, int n, MasterColumn column, bool gatewaySlave) {
    const DataObject& o = *map.object(n);
    const bool input = o.flags & ObjectFlag::InputNV;
    const bool output = o.flags & ObjectFlag::OutputNV;
    switch (column) {
    case MasterColumn::Image:
        return QString();
    case MasterColumn::Number:
        return QString::number(n);
    case MasterColumn::Access:
        return accessText(o.flags);
    case MasterColumn::Modicon:
        return QString::number(modicon_from_register(o.modreg, o.modtype));
    case MasterColumn::Type:
        return QString::fromLatin1(register_type_keyword(o.modtype));
    case MasterColumn::Register:
        return QString::number(o.modreg);
    case MasterColumn::Slave:
        return gatewaySlave ? QStringLiteral("-") : QString::number(o.slave);
    case MasterColumn::Dir:
        return input ? QStringLiteral("NVI") : output ? QStringLiteral("NVO") : QStringLiteral("---");
    case MasterColumn::Fb:
        if (input) return QStringLiteral("OLA %1").arg(o.lonNV);
        return output ? QStringLiteral("OLS %1").arg(o.lonNV) : QStringLiteral("---");
    case MasterColumn::Snvt:
        return snvtText(map, o);
    case MasterColumn::Name:
        return QString::fromLatin1(textOf(o.name));
    }
    return QString();
}

QVariant MasterListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= kObjectCount || index.column() >= columnCount()) return {};
    const MasterColumn column = columns_[index.column()];
    const int n = index.row() + 1;
    if (role == Qt::DecorationRole && column == MasterColumn::Image) {
        std::lock_guard lock(mapMutex_);
        return objectInSync(*map_.object(n)) ? inSyncImage_ : outOfSyncImage_;
    }
    if (role != Qt::DisplayRole) return {};
    std::lock_guard lock(mapMutex_);
    return cellText(map_, n, column, options_.gatewaySlave);
}

QVariant MasterListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return QString::fromLatin1(info(columns_[section]).title);
}

void MasterListModel::refresh() {
    beginResetModel();
    endResetModel();
}

void MasterListModel::objectsChanged(int first, int last) {
    if (first < 1 || last > kObjectCount || first > last || columns_.empty()) return refresh();
    emit dataChanged(index(first - 1, 0), index(last - 1, columnCount() - 1));
}

void MasterListModel::rebuildColumns() {
    beginResetModel();
    columns_ = {MasterColumn::Image, MasterColumn::Number, MasterColumn::Access};
    if (options_.modicon)
        columns_.push_back(MasterColumn::Modicon);
    else
        columns_.insert(columns_.end(), {MasterColumn::Type, MasterColumn::Register});
    columns_.insert(columns_.end(), {MasterColumn::Slave, MasterColumn::Dir, MasterColumn::Fb,
                                     MasterColumn::Snvt, MasterColumn::Name});
    endResetModel();
}

} // namespace korvex::ui::models
