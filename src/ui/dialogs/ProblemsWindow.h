#pragma once
// ProblemsWindow ("Check map"): the non-modal list of what the map checker found in the map, one
// row per problem with its rule, severity, place and message, and the count above it. The main
// window keeps it current while it is open; a double-click on a row asks to go to the problem's
// place. Window thread only.
#include "model/check/MapChecker.h"

#include <QDialog>

#include <vector>

class QLabel;
class QTableView;

namespace korvex::ui::models {
class ProblemsModel;
}

namespace korvex::ui::dialogs {

class ProblemsWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProblemsWindow(QWidget* parent = nullptr);

    void showProblems(std::vector<Problem> problems);

    QTableView* grid() const { return grid_; }
    models::ProblemsModel* model() const { return model_; }
    QString countShown() const;

signals:
    // The user double-clicked the problem's row.
    void placeChosen(const korvex::Problem& problem);

private:
    QLabel* count_ = nullptr;
    QTableView* grid_ = nullptr;
    models::ProblemsModel* model_ = nullptr;
};

} // namespace korvex::ui::dialogs
