#pragma once
// A grid model read straight from the object map: a column table (title, width, cell text) and a
// row count, no per-cell items. A refresh is a model reset, so redrawing a 1000-row list costs
// only the cells in view; rows that came or went are told to the view as such. The list pages
// build their grids from this.
#include "model/ObjectMap.h"

#include <QAbstractTableModel>
#include <QPixmap>

#include <functional>
#include <mutex>
#include <vector>

namespace korvex::ui::models {

struct MapColumn {
    QString title;
    int width; // pixels; 0 = the rest of the grid
    std::function<QString(const ObjectMap&, int row)> text;
    // Optional image for the column (the status images of the list grids).
    std::function<QPixmap(const ObjectMap&, int row)> image = {};
};

class MapTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using RowCount = std::function<int(const ObjectMap&)>;

    MapTableModel(const ObjectMap& map, std::mutex& mapMutex, RowCount rows, QObject* parent = nullptr);

    void setColumns(std::vector<MapColumn> columns);
    const MapColumn& column(int c) const { return columns_.at(c); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Takes the row count anew and redraws every cell.
    void refresh();
    // count rows came at row, or went from there: the rows from there on are read anew. A count
    // that does not match the list any more is a refresh.
    void insertListRows(int row, int count);
    void removeListRows(int row, int count);

private:
    int currentRows() const;
    void rowsFrom(int row);

    const ObjectMap& map_;
    std::mutex& mapMutex_;
    RowCount rows_;
    int rowCount_ = 0;
    std::vector<MapColumn> columns_;
};

} // namespace korvex::ui::models
