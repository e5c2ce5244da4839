#include "ui/pages/ListPage.h"

#include "model/lists/ListEditing.h"
#include "ui/widgets/ListGrid.h"
#include "ui/window/ConfigTool.h"

#include <QTableView>

#include <algorithm>

namespace korvex::ui::pages {

using widgets::applyColumnWidths;
using widgets::followSelection;
using widgets::setUpGrid;
using widgets::showSelectedRow;

ListPage::ListPage(ConfigTool& tool, Page page, QWidget* parent)
    : ToolPage(tool, page, parent), images_(std::make_unique<GridImages>()) {}

ListPage::~ListPage() = default;

void ListPage::makeGrid(MapPart list, MapTableModel::RowCount rows, const char* objectName) {
    model_ = new MapTableModel(session_.map(), session_.mutex(), std::move(rows), this);
    grid_ = new QTableView;
    setUpGrid(*grid_, *model_, objectName);
    followSelection(*grid_, *this, selected_, 0, [this](const QModelIndex&) { openEditor(); });
    followList(list);
}

void ListPage::followList(MapPart list) {
    list_ = list;
    const bool nv = list == MapPart::NVList;
    connect(&session_, nv ? &MapSession::nvListChanged : &MapSession::registerListChanged, this,
            &ListPage::refresh);
    connect(&session_, nv ? &MapSession::nvRowsInserted : &MapSession::registerRowsInserted, this,
            &ListPage::rowsInserted);
    connect(&session_, nv ? &MapSession::nvRowsRemoved : &MapSession::registerRowsRemoved, this,
            &ListPage::rowsRemoved);
    connect(&session_, &MapSession::replaced, this, &ListPage::refresh);
}

void ListPage::rowsInserted(int row, int count) {
    model_->insertListRows(row, count);
    reselect();
}

void ListPage::rowsRemoved(int row, int count) {
    model_->removeListRows(row, count);
    reselect();
}

// Entering the tab: the page is shown whatever the check says. Coming back to the window, the
// grid is redrawn (another program may have been used meanwhile); the NV list is also redrawn
// with the title.
void ListPage::revisited(Revisit why) {
    const bool nv = list_ == MapPart::NVList;
    if (why == Revisit::WindowActivated || (why == Revisit::TitleUpdated && nv)) refresh();
    if (why != Revisit::TabEntered) return;
    const int code =
        session_.read([nv](const ObjectMap& map) { return nv ? checkNVList(map) : checkRegisterList(map); });
    tool_.showRefusal(nv ? ModelOp::CheckNVList : ModelOp::CheckRegisterList, code);
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

void ListPage::showProblem(const Problem& problem) {
    const PlaceKind place = list_ == MapPart::NVList ? PlaceKind::NV : PlaceKind::Register;
    if (problem.place != place || problem.row < 1 || problem.row > model_->rowCount()) return;
    selectRow(problem.row - 1);
    grid_->scrollTo(model_->index(selected_, 0));
    openEditor();
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
