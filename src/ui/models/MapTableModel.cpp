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

int MapTableModel::currentRows() const {
    std::lock_guard lock(mapMutex_);
    return rows_(map_);
}

void MapTableModel::refresh() {
    beginResetModel();
    rowCount_ = currentRows();
    endResetModel();
}

void MapTableModel::insertListRows(int row, int count) {
    const int rows = currentRows();
    if (count <= 0 || row < 0 || row > rowCount_ || rows != rowCount_ + count) return refresh();
    beginInsertRows(QModelIndex(), row, row + count - 1);
    rowCount_ = rows;
    endInsertRows();
    rowsFrom(row + count);
}

void MapTableModel::removeListRows(int row, int count) {
    const int rows = currentRows();
    if (count <= 0 || row < 0 || row + count > rowCount_ || rows != rowCount_ - count) return refresh();
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    rowCount_ = rows;
    endRemoveRows();
    rowsFrom(row);
}

// The rows after an insert or removal may show other links or numbers now.
void MapTableModel::rowsFrom(int row) {
    if (row >= rowCount_ || columns_.empty()) return;
    emit dataChanged(index(row, 0), index(rowCount_ - 1, columnCount() - 1));
}

} // namespace korvex::ui::models
