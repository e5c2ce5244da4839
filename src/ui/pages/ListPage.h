#pragma once
// What the NV List and Reg List pages share: the grid of one of the object map's lists with the
// images of its first column, the row that the row buttons act on (kept when the grid is drawn
// anew, moved to the last row when it is gone), and the page's editor on a double-click.
#include "ui/models/MapTableModel.h"
#include "ui/pages/ToolPage.h"

#include <memory>

class QTableView;

namespace korvex::ui::widgets {
struct GridImages;
}

namespace korvex::ui::pages {

using models::MapColumn;
using models::MapTableModel;
using widgets::GridImages;

class ListPage : public ToolPage {
    Q_OBJECT
public:
    ~ListPage() override;

    void refresh() override;

    // 0-based row the buttons act on; 0 at start.
    int selectedRow() const { return selected_; }
    void selectRow(int row);

    QTableView* grid() const { return grid_; }
    MapTableModel* model() const { return model_; }

    // Opens the page's editor on the selected row.
    virtual void openEditor() = 0;
    // A problem of a row of this page's list: the row is selected and its editor opened.
    void showProblem(const Problem& problem) override;

protected:
    ListPage(ConfigTool& tool, Page page, QWidget* parent);

    // The grid over as many rows as `rows` counts in the map, redrawn when the session announces
    // a change of list (MapPart::NVList or MapPart::RegisterList).
    void makeGrid(MapPart list, MapTableModel::RowCount rows, const char* objectName);
    // Entering the tab runs the list's check (its message only advises); coming back redraws.
    void revisited(Revisit why) override;
    void setColumns(std::vector<MapColumn> columns);
    const GridImages& images() const { return *images_; }

    int selected_ = 0;

private:
    void reselect();
    void followList(MapPart list);
    void rowsInserted(int row, int count);
    void rowsRemoved(int row, int count);

    MapPart list_ = MapPart::NVList;
    std::unique_ptr<GridImages> images_;
    QTableView* grid_ = nullptr;
    MapTableModel* model_ = nullptr;
};

} // namespace korvex::ui::pages
