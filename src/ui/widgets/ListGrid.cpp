#include "ui/widgets/ListGrid.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace korvex::ui::widgets {

GridImages::GridImages()
    : blank(QStringLiteral(":/korvex/grid_blank.png")), marked(QStringLiteral(":/korvex/grid_marked.png")),
      outOfSync(QStringLiteral(":/korvex/grid_out.png")), inSync(QStringLiteral(":/korvex/grid_in.png")) {}

void setUpGrid(QTableView& grid, QAbstractItemModel& model, const char* objectName) {
    grid.setObjectName(QString::fromLatin1(objectName));
    grid.setModel(&model);
    grid.setShowGrid(true);
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setWordWrap(false);
    grid.setIconSize(QSize(10, 10));
    grid.verticalHeader()->hide();
    grid.verticalHeader()->setDefaultSectionSize(grid.fontMetrics().height() + 4);
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.horizontalHeader()->setHighlightSections(false);
    grid.horizontalHeader()->setStretchLastSection(true);
    // The style's minimum would widen the image column to about 25 pixels.
    grid.horizontalHeader()->setMinimumSectionSize(15);
}

void applyColumnWidths(QTableView& grid, const std::function<int(int column)>& width, HeadingFit fit) {
    QAbstractItemModel* model = grid.model();
    const int columns = model ? model->columnCount() : 0;
    const QFontMetrics metrics(grid.horizontalHeader()->font());
    for (int c = 0; c < columns; ++c) {
        if (width(c) <= 0) continue;
        const QString title = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        const bool widen = fit == HeadingFit::Widen && !title.isEmpty();
        const int needed = widen ? metrics.horizontalAdvance(title) + 12 : 0;
        grid.setColumnWidth(c, std::max(width(c), needed));
    }
}

void followSelection(QTableView& grid, QObject& page, int& selected, int base,
                     std::function<void(const QModelIndex&)> open) {
    QObject::connect(grid.selectionModel(), &QItemSelectionModel::currentRowChanged, &page,
                     [&selected, base](const QModelIndex& current) {
                         if (current.isValid()) selected = current.row() + base;
                     });
    QObject::connect(&grid, &QTableView::doubleClicked, &page,
                     [&selected, base, open = std::move(open)](const QModelIndex& index) {
                         if (!index.isValid()) return;
                         selected = index.row() + base;
                         open(index);
                     });
}

void showSelectedRow(QTableView& grid, int row) {
    grid.selectionModel()->setCurrentIndex(grid.model()->index(row, 1),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid.viewport()->update();
}

void showSelectedObject(QTableView& grid, int selected) {
    if (selected >= 1 && selected <= grid.model()->rowCount()) showSelectedRow(grid, selected - 1);
}

void selectObjectRow(QTableView& grid, int& selected, int n) {
    if (n < 1 || n > grid.model()->rowCount()) return;
    selected = n;
    showSelectedRow(grid, n - 1);
    grid.scrollTo(grid.model()->index(n - 1, 1));
}

} // namespace korvex::ui::widgets
