#pragma once
// The Reg Import page: the registers read from a CSV file, marked one by one (or all at once by
// the image column's heading) and copied to the end of the register list with "Add to Reg List".
// "Set Slave Addr" gives every imported entry one slave address.
#include "modbus/RegisterImport.h"
#include "ui/ToolPage.h"

#include <memory>

class QPushButton;
class QTableView;

namespace korvex::ui {

class ImportGridModel;
class ImportMarks;

enum RegImportCommand : int { kClearRegImport = 1, kImportCsv = 2 };

class RegImportPage : public ToolPage {
    Q_OBJECT
public:
    explicit RegImportPage(ConfigTool& tool, QWidget* parent = nullptr);
    ~RegImportPage() override;

    void refresh() override;
    void notationChanged() override;

    RegisterImportList& importList() { return *list_; }
    // The file name (without directories) of the last successful import; empty when none.
    const QString& importedFileName() const { return fileName_; }

    QTableView* grid() const { return grid_; }
    ImportGridModel* model() const { return model_; }
    ImportMarks* marks() const { return marks_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* slaveButton() const { return slave_; }

    void addToRegisterList();
    void setSlaveAddress();

protected:
    void command(int number) override;

private:
    void buildColumns();
    void clearImport();
    void importCsv();

    std::unique_ptr<RegisterImportList> list_;
    QString fileName_;
    QTableView* grid_ = nullptr;
    ImportGridModel* model_ = nullptr;
    ImportMarks* marks_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* slave_ = nullptr;
};

} // namespace korvex::ui
