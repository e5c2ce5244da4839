#include "ui/models/DifferencesModel.h"

#include <array>

namespace korvex::ui::models {

namespace {

constexpr std::array<const char*, DifferencesModel::ColumnCount> kTitles{"Place", "Field", "Map value",
                                                                         "Gateway value"};

const std::string& cellText(const MapDifference& d, int column) {
    switch (column) {
    case DifferencesModel::PlaceColumn:
        return d.place;
    case DifferencesModel::FieldColumn:
        return d.field;
    case DifferencesModel::MapValueColumn:
        return d.mapValue;
    default:
        return d.gatewayValue;
    }
}

} // namespace

DifferencesModel::DifferencesModel(QObject* parent) : QAbstractTableModel(parent) {}

int DifferencesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(differences_.size());
}

int DifferencesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

// A value the column cuts is shown whole in its tooltip.
QVariant DifferencesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const MapDifference& d = differences_[static_cast<std::size_t>(index.row())];
    return QString::fromLatin1(cellText(d, index.column()));
}

QVariant DifferencesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(kTitles[static_cast<std::size_t>(section)]);
}

void DifferencesModel::setDifferences(std::vector<MapDifference> differences) {
    beginResetModel();
    differences_ = std::move(differences);
    endResetModel();
}

} // namespace korvex::ui::models
