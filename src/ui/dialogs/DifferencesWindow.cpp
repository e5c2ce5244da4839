#include "ui/dialogs/DifferencesWindow.h"

#include "formats/AtomicFile.h"
#include "ui/models/DifferencesModel.h"
#include "ui/widgets/ListGrid.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/UiTexts.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace korvex::ui::dialogs {

using models::DifferencesModel;
using window::MessageButtons;
using window::MessageIcon;
namespace text = window::text;

namespace {

constexpr int kColumnWidths[] = {110, 110, 220, 0};

} // namespace

DifferencesWindow::DifferencesWindow(window::ConfigTool& tool) : QDialog(&tool), tool_(tool) {
    setWindowTitle(QString::fromLatin1(text::kDifferencesTitle));
    setModal(false);
    resize(760, 320);
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("differenceSummary"));
    model_ = new DifferencesModel(this);
    grid_ = new QTableView;
    widgets::setUpGrid(*grid_, *model_, "differencesGrid");
    widgets::applyColumnWidths(*grid_, [](int c) { return kColumnWidths[c]; });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    save_ = buttons->addButton(QStringLiteral("Save report…"), QDialogButtonBox::ActionRole);
    save_->setObjectName(QStringLiteral("saveReport"));
    connect(save_, &QPushButton::clicked, this, &DifferencesWindow::saveReport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(grid_, 1);
    layout->addWidget(buttons);
}

void DifferencesWindow::showDifferences(std::vector<MapDifference> differences) {
    summary_->setText(QString::fromLatin1(differenceSummary(differences.size())));
    model_->setDifferences(std::move(differences));
}

QString DifferencesWindow::summaryShown() const {
    return summary_->text();
}

// The report is a text file of the tool's, with CR LF line ends, replaced whole or not at all.
void DifferencesWindow::saveReport() {
    const QString path = tool_.prompter().saveFileName(this, QString::fromLatin1(text::kReportFilters));
    if (path.isEmpty() || !tool_.confirmOverwrite(path, this)) return;
    const std::string report = differenceReport(model_->differences(), "\r\n");
    const bool saved = replaceFileAtomically(QFile::encodeName(path).toStdString(), report);
    tool_.prompter().message(this, QString::fromLatin1(saved ? text::kFileSaved : text::kReportNotSaved),
                             MessageButtons::Ok, saved ? MessageIcon::Information : MessageIcon::Error);
}

} // namespace korvex::ui::dialogs
