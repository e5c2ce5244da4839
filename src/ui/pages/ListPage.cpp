#include "ui/pages/ListPage.h"

#include "ui/widgets/ListGrid.h"
#include "ui/window/ConfigTool.h"

#include <QTableView>

#include <algorithm>

namespace korvex::ui::pages {

using widgets::applyColumnWidths;
using widgets::followSelection;
using widgets::setUpGrid;
using widgets::showSelectedRow;

ListPage::ListPage(ConfigTool& tool, int index, QWidget* parent)
    : ToolPage(tool, index, parent), images_(std::make_unique<GridImages>()) {}

ListPage::~ListPage() = default;

void ListPage::makeGrid(MapTableModel::RowCount rows, const char* objectName) {
    model_ = new MapTableModel(tool_.map(), tool_.mapMutex(), std::move(rows), this);
    grid_ = new QTableView;
    setUpGrid(*grid_, *model_, objectName);
    followSelection(*grid_, *this, selected_, 0, [this](const QModelIndex&) { openEditor(); });
}

void ListPage::setColumns(std::vector<MapColumn> columns) {
    model_->setColumns(std::move(columns));
    applyColumnWidths(*grid_, [this](int c) { return model_->column(c).width; });
}

void ListPage::refresh() {
    model_->refresh();
    tool_.updateInSync();
    reselect();
}

void ListPage::selectRow(int row) {
    if (row < 0) return;
    selected_ = row;
    reselect();
}

// A row beyond the list (after deleting the last one) moves to the new last row.
void ListPage::reselect() {
    const int rows = model_->rowCount();
    selected_ = std::clamp(selected_, 0, std::max(rows - 1, 0));
    if (rows > 0) showSelectedRow(*grid_, selected_);
}

} // namespace korvex::ui::pages
