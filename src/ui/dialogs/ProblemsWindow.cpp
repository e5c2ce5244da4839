#include "ui/dialogs/ProblemsWindow.h"

#include "ui/models/ProblemsModel.h"
#include "ui/widgets/ListGrid.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace korvex::ui::dialogs {

using models::ProblemsModel;

namespace {

constexpr int kColumnWidths[] = {160, 90, 80, 0};

} // namespace

ProblemsWindow::ProblemsWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Check map"));
    setModal(false);
    resize(860, 320);
    count_ = new QLabel;
    count_->setObjectName(QStringLiteral("problemCount"));
    model_ = new ProblemsModel(this);
    grid_ = new QTableView;
    widgets::setUpGrid(*grid_, *model_, "problemsGrid");
    grid_->setIconSize(QSize(16, 16));
    widgets::applyColumnWidths(*grid_, [](int c) { return kColumnWidths[c]; });
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) emit placeChosen(model_->problem(index.row()));
    });
    auto* hint = new QLabel(QStringLiteral("Double-click a problem to go to its place and edit it."));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(count_);
    layout->addWidget(grid_, 1);
    layout->addWidget(hint);
    layout->addWidget(buttons);
}

void ProblemsWindow::showProblems(std::vector<Problem> problems) {
    count_->setText(QString::fromStdString(countText(countProblems(problems))));
    model_->setProblems(std::move(problems));
}

QString ProblemsWindow::countShown() const {
    return count_->text();
}

} // namespace korvex::ui::dialogs
