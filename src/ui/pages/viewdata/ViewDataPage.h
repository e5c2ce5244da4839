#pragma once
// The View Data page: reads and writes the live values of the data objects. "Execute" runs the
// chosen transfer over a range of objects; a double-click on a row opens the Object Data Update
// dialog, whose Apply writes that one value.
#include "ui/pages/ToolPage.h"

class QTableView;

namespace korvex::ui::models {
class ViewDataModel;
}

namespace korvex::ui::pages {

using models::ViewDataModel;

enum ViewDataAction : int { kNoValueAction = 0, kGetValues = 1, kSendValues = 2 };

class ViewDataPage : public ToolPage {
    Q_OBJECT
public:
    explicit ViewDataPage(ConfigTool& tool, QWidget* parent = nullptr);

    void refresh() override;
    void notationChanged() override;
    void revisited(Revisit why) override;

    // Object number of the selected row (row + 1), 0 before any selection.
    int selectedObject() const { return selected_; }
    void selectObject(int n);

    QTableView* grid() const { return grid_; }
    ViewDataModel* model() const { return model_; }

    void execute() override;
    // The double-click: the Object Data Update dialog for the selected object.
    void openValueEditor();

private:
    void applyColumnWidths();
    void reselect();

    QTableView* grid_ = nullptr;
    ViewDataModel* model_ = nullptr;
    int selected_ = 0;
};

} // namespace korvex::ui::pages
