#include "ui/pages/ImportPage.h"

#include <algorithm>

#include "ui/models/ImportGrid.h"
#include "ui/widgets/ListGrid.h"
#include "ui/window/ConfigTool.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace korvex::ui::pages {

using widgets::applyColumnWidths;
using widgets::setUpGrid;

namespace {

QString shown(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

} // namespace

ImportPage::ImportPage(ConfigTool& tool, Page page, QWidget* parent) : ToolPage(tool, page, parent) {
    connect(&session_, &MapSession::replaced, this, &ImportPage::refresh);
}

void ImportPage::build(const Setup& setup, MarkAccess marks, std::initializer_list<QWidget*> more) {
    openFilters_ = setup.openFilters;
    add_ = makeButton(setup.addText, "addToList", [this] { addMarked(); });
    QPlainTextEdit* status = makeStatusBox(1);
    status->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    status->setLineWrapMode(QPlainTextEdit::NoWrap);
    setStatusBox(status);
    status_ = status;
    auto* row = new QHBoxLayout;
    row->addWidget(add_);
    row->addWidget(status, 1);
    for (QWidget* w : more) row->addWidget(w);

    model_ = new ImportGridModel(marks.count, this);
    grid_ = new QTableView;
    setUpGrid(*grid_, *model_, setup.gridName);
    marks_ = new ImportMarks(*grid_, *model_, std::move(marks), setup.headings);
    layOut({row}, grid_);
}

void ImportPage::setColumns(std::vector<ImportColumn> columns) {
    model_->setColumns(std::move(columns));
    applyColumnWidths(*grid_, [this](int c) { return model_->columnWidth(c); });
}

void ImportPage::refresh() {
    marks_->refresh(true);
}

void ImportPage::makeImportToolbar(const char* clearTooltip, const char* importTooltip) {
    clear_ = makeCommand(clearTooltip, "cmd_clear", "clearImport", [this] { clearImport(); });
    import_ = makeCommand(importTooltip, "cmd_import", "importFile", [this] { importFile(); });
    makeToolbar({clear_, import_});
}

void ImportPage::clearImport() {
    clearEntries();
    fileName_.clear();
    marks_->refresh(false);
    showStatusLines(QString());
}

// A cancelled dialog keeps the list that is shown.
void ImportPage::importFile() {
    const QString path = tool_.prompter().openFileName(this, QString::fromLatin1(openFilters_));
    if (!path.isEmpty()) importPath(path);
}

void ImportPage::importPath(const QString& path) {
    const ImportOutcome outcome = readFile(QFile::encodeName(path).toStdString());
    if (outcome.ok) {
        fileName_ = shown(outcome.fileName);
        showStatusLines(shown(outcome.message));
    } else {
        fileName_.clear();
        showStatusLines(QString());
    }
    marks_->refresh(false);
    tool_.updateTitle();
    if (!outcome.ok) tool_.showMessage(shown(outcome.message), MessageButtons::Ok, MessageIcon::Information);
}

// The status line grows to show the lines under it (the NVs an import names), up to a few.
void ImportPage::showStatusLines(const QString& text) {
    constexpr int kMostLines = 4;
    setStatusBoxLines(status_, std::min<int>(text.count(u'\n') + 1, kMostLines));
    setStatus(text);
}

void ImportPage::showAdded(const std::string& text, MapParts changed) {
    showStatusLines(QString::fromStdString(text));
    tool_.updateTitle();
    session_.announceWhole(changed);
}

} // namespace korvex::ui::pages
