#pragma once
// The problems grid's model: one row per finding of the map checker, in the checker's order,
// with the columns "Rule", "Severity", "Place" and "Message". It holds its own copy of the
// findings, so it never reads the map. Window thread only.
#include "model/check/MapChecker.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <vector>

namespace korvex::ui::models {

class ProblemsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { RuleColumn, SeverityColumn, PlaceColumn, MessageColumn, ColumnCount };

    explicit ProblemsModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setProblems(std::vector<Problem> problems);
    // The finding of a row; rows are 0-based.
    const Problem& problem(int row) const { return problems_.at(static_cast<std::size_t>(row)); }

private:
    std::vector<Problem> problems_;
    QIcon errorIcon_;
    QIcon warningIcon_;
};

// The style's icon for a severity, as the window's top strip and the problems grid show it.
QIcon severityIcon(Severity severity);

} // namespace korvex::ui::models
