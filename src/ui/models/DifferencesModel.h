#pragma once
// The differences grid's model: one row per difference a compare of the map with the gateway
// found, in the compare's order, with the columns "Place", "Field", "Map value" and "Gateway
// value". It holds its own copy of the differences, so it never reads the map. Window thread only.
#include "model/MapCompare.h"

#include <QAbstractTableModel>

#include <vector>

namespace korvex::ui::models {

class DifferencesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { PlaceColumn, FieldColumn, MapValueColumn, GatewayValueColumn, ColumnCount };

    explicit DifferencesModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setDifferences(std::vector<MapDifference> differences);
    const std::vector<MapDifference>& differences() const { return differences_; }

private:
    std::vector<MapDifference> differences_;
};

} // namespace korvex::ui::models
