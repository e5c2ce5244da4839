#include "ui/ImportGrid.h"

#include <QHeaderView>
#include <QTableView>

namespace korvex::ui {

ImportGridModel::ImportGridModel(RowCount rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)) {
    rowCount_ = rows_();
}

void ImportGridModel::setColumns(std::vector<ImportColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    rowCount_ = rows_();
    endResetModel();
}

int ImportGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int ImportGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ImportGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount_ || index.column() >= columnCount()) return {};
    const ImportColumn& column = columns_[index.column()];
    if (role == Qt::DisplayRole && column.text) return column.text(index.row());
    if (role == Qt::DecorationRole && column.image) return column.image(index.row());
    return {};
}

QVariant ImportGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return columns_[section].title;
}

void ImportGridModel::refresh() {
    beginResetModel();
    rowCount_ = rows_();
    endResetModel();
}

void ImportGridModel::redrawRow(int row) {
    if (row < 0 || row >= rowCount_ || columns_.empty()) return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void ImportGridModel::redrawAll() {
    if (rowCount_ == 0 || columns_.empty()) return;
    emit dataChanged(index(0, 0), index(rowCount_ - 1, columnCount() - 1));
}

ImportMarks::ImportMarks(QTableView& grid, ImportGridModel& model, MarkAccess access, HeadingToggle rule)
    : QObject(&grid), grid_(grid), model_(model), access_(std::move(access)), rule_(rule) {
    // Only a row that becomes selected counts: the keyboard focus alone may move the current
    // index without selecting anything.
    connect(grid_.selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (!selected.isEmpty() && !selected.indexes().isEmpty())
                    rowSelected(selected.indexes().first().row());
            });
    connect(&grid_, &QTableView::doubleClicked, this, [this] { toggleLastSelected(); });
    grid_.horizontalHeader()->setSectionsClickable(true);
    connect(grid_.horizontalHeader(), &QHeaderView::sectionClicked, this, &ImportMarks::headingClicked);
}

void ImportMarks::rowSelected(int row) {
    if (guard_) return;
    lastSelected_ = row;
    toggle(row);
}

void ImportMarks::toggle(int row) {
    if (row < 0 || row >= access_.count()) return;
    access_.setMarked(row, !access_.marked(row));
    model_.redrawRow(row);
}

void ImportMarks::toggleLastSelected() {
    toggle(lastSelected_);
}

void ImportMarks::headingClicked(int section) {
    if (rule_ == HeadingToggle::ImageColumnOnly && section != 0) return;
    const bool mark = markAllNext_;
    markAllNext_ = !markAllNext_;
    const int count = access_.count();
    for (int row = 0; row < count; ++row) access_.setMarked(row, mark);
    model_.redrawAll();
}

void ImportMarks::refresh(bool keepSelection) {
    guard_ = true;
    model_.refresh();
    if (!keepSelection || lastSelected_ >= model_.rowCount()) lastSelected_ = -1;
    if (lastSelected_ >= 0)
        grid_.selectionModel()->setCurrentIndex(
            model_.index(lastSelected_, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    guard_ = false;
}

} // namespace korvex::ui
