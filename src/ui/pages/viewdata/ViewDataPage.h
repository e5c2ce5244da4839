#pragma once
// The View Data page: reads and writes the live values of the data objects. "Execute" runs the
// chosen transfer over a range of objects; a double-click on a row opens the Object Data Update
// dialog, whose Apply writes that one value. "Watch" reads a range again and again (the interval
// is kept between runs) until "Stop", updating the grid's cells in place, plotting the selected
// objects below it and, when chosen, logging every read to a CSV file.
#include "device/actions/ValueWatch.h"
#include "ui/pages/ToolPage.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QTableView;

namespace korvex::ui::widgets {
class TrendPlot;
}

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

    // "Watch" while no watch runs, "Stop" while one does.
    void toggleWatch();
    QPushButton* watchButton() const { return watchButton_; }
    QDoubleSpinBox* intervalBox() const { return interval_; }
    QCheckBox* logBox() const { return logBox_; }
    QLabel* cycleLabel() const { return cycleLabel_; }
    widgets::TrendPlot* plot() const { return plot_; }

private:
    QLayout* makeWatchRow();
    void startWatch();
    void showReading(const device::WatchReading& reading);
    void showCycle(const device::WatchCycle& cycle);
    void watchEnded(device::WatchEnd why, int succeeded, bool logFailed);
    void plotSelection();

    void applyColumnWidths();
    void reselect();

    QTableView* grid_ = nullptr;
    ViewDataModel* model_ = nullptr;
    int selected_ = 0;
    QPushButton* watchButton_ = nullptr;
    QDoubleSpinBox* interval_ = nullptr;
    QCheckBox* logBox_ = nullptr;
    QLabel* cycleLabel_ = nullptr;
    widgets::TrendPlot* plot_ = nullptr;
    bool watching_ = false;
    QString logPath_;
};

} // namespace korvex::ui::pages
