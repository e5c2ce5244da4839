#pragma once
// The NV Import page: the network variables read from another device's XIF file, marked one by
// one (or all at once by any heading) and added to the NV list with "Add to NV List", each with
// its direction reversed.
#include "lonworks/NvImport.h"
#include "ui/ToolPage.h"

#include <memory>

class QPushButton;
class QTableView;

namespace korvex::ui {

class ImportGridModel;
class ImportMarks;

enum NVImportCommand : int { kClearNVImport = 1, kImportXif = 2 };

class NVImportPage : public ToolPage {
    Q_OBJECT
public:
    explicit NVImportPage(ConfigTool& tool, QWidget* parent = nullptr);
    ~NVImportPage() override;

    void refresh() override;

    ImportTable& importTable() { return *table_; }
    const QString& importedFileName() const { return fileName_; }

    QTableView* grid() const { return grid_; }
    ImportGridModel* model() const { return model_; }
    ImportMarks* marks() const { return marks_; }
    QPushButton* addButton() const { return add_; }

    void addToNVList();

protected:
    void command(int number) override;

private:
    void buildColumns();
    void clearImport();
    void importXif();

    std::unique_ptr<ImportTable> table_;
    QString fileName_;
    QTableView* grid_ = nullptr;
    ImportGridModel* model_ = nullptr;
    ImportMarks* marks_ = nullptr;
    QPushButton* add_ = nullptr;
};

} // namespace korvex::ui
