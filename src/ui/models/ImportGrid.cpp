#include "ui/models/ImportGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

namespace korvex::ui::models {

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
    // A click is a press and a release on one row; the release that ends a double-click is not
    // one, so a double-click toggles once. Selection changes (arrows, redraws) toggle nothing.
    connect(&grid_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) toggle(index.row());
    });
    connect(grid_.selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) lastSelected_ = current.row();
            });
    grid_.installEventFilter(this);
    grid_.horizontalHeader()->setSectionsClickable(true);
    connect(grid_.horizontalHeader(), &QHeaderView::sectionClicked, this, &ImportMarks::headingClicked);
}

bool ImportMarks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &grid_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            const QModelIndex current = grid_.currentIndex();
            if (current.isValid()) toggle(current.row());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ImportMarks::toggle(int row) {
    if (row < 0 || row >= access_.count()) return;
    access_.setMarked(row, !access_.marked(row));
    model_.redrawRow(row);
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
    model_.refresh();
    if (!keepSelection || lastSelected_ >= model_.rowCount()) lastSelected_ = -1;
    if (lastSelected_ >= 0)
        grid_.selectionModel()->setCurrentIndex(
            model_.index(lastSelected_, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

} // namespace korvex::ui::models
