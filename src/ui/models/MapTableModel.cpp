#include "ui/models/MapTableModel.h"

namespace korvex::ui::models {

MapTableModel::MapTableModel(const ObjectMap& map, std::mutex& mapMutex, RowCount rows, QObject* parent)
    : QAbstractTableModel(parent), map_(map), mapMutex_(mapMutex), rows_(std::move(rows)) {
    refresh();
}

void MapTableModel::setColumns(std::vector<MapColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

int MapTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int MapTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant MapTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount_ || index.column() >= columnCount()) return {};
    const MapColumn& column = columns_[index.column()];
    std::lock_guard lock(mapMutex_);
    // The list may have shrunk since the last refresh; rows beyond it show nothing until then.
    if (index.row() >= rows_(map_)) return {};
    if (role == Qt::DisplayRole && column.text) return column.text(map_, index.row());
    if (role == Qt::DecorationRole && column.image) return column.image(map_, index.row());
    return {};
}

QVariant MapTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return columns_[section].title;
}

void MapTableModel::refresh() {
    beginResetModel();
    {
        std::lock_guard lock(mapMutex_);
        rowCount_ = rows_(map_);
    }
    endResetModel();
}

} // namespace korvex::ui::models
