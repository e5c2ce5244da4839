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

protected:
    ListPage(ConfigTool& tool, int index, QWidget* parent);

    // The grid over as many rows as `rows` counts in the map.
    void makeGrid(MapTableModel::RowCount rows, const char* objectName);
    void setColumns(std::vector<MapColumn> columns);
    const GridImages& images() const { return *images_; }

    int selected_ = 0;

private:
    void reselect();

    std::unique_ptr<GridImages> images_;
    QTableView* grid_ = nullptr;
    MapTableModel* model_ = nullptr;
};

} // namespace korvex::ui::pages
