#pragma once
// DifferencesWindow ("Compare map with device"): the non-modal table of what the last compare of
// the map with the gateway found, one row per difference with its place, field, map value and
// gateway value, the count above it, and "Save report…", which writes the same lines korvex-cli
// prints (then the count) as a text file. Window thread only.
#include "model/MapCompare.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace korvex::ui::models {
class DifferencesModel;
}

namespace korvex::ui::window {
class ConfigTool;
}

namespace korvex::ui::dialogs {

class DifferencesWindow : public QDialog {
    Q_OBJECT
public:
    explicit DifferencesWindow(window::ConfigTool& tool);

    void showDifferences(std::vector<MapDifference> differences);

    QTableView* grid() const { return grid_; }
    models::DifferencesModel* model() const { return model_; }
    QString summaryShown() const;
    QPushButton* saveButton() const { return save_; }
    // Asks for a file and writes the report to it; a cancelled dialog writes nothing.
    void saveReport();

private:
    window::ConfigTool& tool_;
    QLabel* summary_ = nullptr;
    QTableView* grid_ = nullptr;
    models::DifferencesModel* model_ = nullptr;
    QPushButton* save_ = nullptr;
};

} // namespace korvex::ui::dialogs
