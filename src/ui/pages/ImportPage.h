#pragma once
// What the two import pages share: the clear and import commands of their toolbars, the add
// button with the one-line status box beside it, the grid of imported entries whose rows are
// marked one by one or all at once, and the file name of the last import that succeeded.
#include "ui/pages/ToolPage.h"

#include <string>
#include <vector>

class QPushButton;
class QTableView;

namespace korvex::ui::models {
class ImportGridModel;
class ImportMarks;
struct ImportColumn;
struct MarkAccess;
enum class HeadingToggle;
} // namespace korvex::ui::models

namespace korvex::ui::pages {

using models::HeadingToggle;
using models::ImportColumn;
using models::ImportGridModel;
using models::ImportMarks;
using models::MarkAccess;

// What reading an import file gave: the file name (without directories) on success, and the
// status text on success or the failure text.
struct ImportOutcome {
    bool ok = false;
    std::string message;
    std::string fileName;
};

class ImportPage : public ToolPage {
    Q_OBJECT
public:
    void refresh() override;

    // Empty when the last import failed or the list was cleared.
    const QString& importedFileName() const { return fileName_; }

    QTableView* grid() const { return grid_; }
    ImportGridModel* model() const { return model_; }
    ImportMarks* marks() const { return marks_; }
    QPushButton* addButton() const { return add_; }
    QAction* clearAction() const { return clear_; }
    QAction* importAction() const { return import_; }
    // Reads the file into the list as the import command does once the file is chosen.
    void importPath(const QString& path);

protected:
    struct Setup {
        const char* openFilters; // of the import file dialog
        const char* addText;     // the add button
        const char* gridName;
        HeadingToggle headings;
    };
    ImportPage(ConfigTool& tool, Page page, QWidget* parent);

    // The add row (add button, status line, then `more` at its end), the grid with as many rows
    // as marks.count() gives, and the page's layout. The columns are the page's own.
    void build(const Setup& setup, MarkAccess marks, std::initializer_list<QWidget*> more = {});
    void setColumns(std::vector<ImportColumn> columns);
    // The toolbar: clear, import (with the page's tooltips), help.
    void makeImportToolbar(const char* clearTooltip, const char* importTooltip);
    // After an add: the count text, the title, and the announcement of the list the entries went to.
    void showAdded(const std::string& text, MapParts changed);

private:
    void showStatusLines(const QString& text);

    virtual void clearEntries() = 0;
    virtual ImportOutcome readFile(const std::string& path) = 0;
    virtual void addMarked() = 0;

    void clearImport();
    void importFile();

    const char* openFilters_ = "";
    QString fileName_;
    QPlainTextEdit* status_ = nullptr;
    QTableView* grid_ = nullptr;
    ImportGridModel* model_ = nullptr;
    ImportMarks* marks_ = nullptr;
    QPushButton* add_ = nullptr;
    QAction* clear_ = nullptr;
    QAction* import_ = nullptr;
};

} // namespace korvex::ui::pages
