#pragma once
// The Reg List page: the object map's register list, its row buttons, the register-side list
// building actions run with "Execute", the CSV export and the register editor on a double-click.
// The page has no status box; everything it has to say comes as a message.
#include "model/ModelMessages.h"
#include "ui/ToolPage.h"

#include <memory>

class QComboBox;
class QPushButton;
class QTableView;

namespace korvex::ui {

class MapTableModel;
struct GridImages;

enum RegListCommand : int { kClearRegList = 1, kExportCsv = 9 };

enum RegListAction : int {
    kRegListNoAction = 0,
    kCreateNVsFromRegisters = 1,
    kAssignObjectsFromRegisters = 2,
    kRemoveRegisterObjects = 3,
    kRebuildRegisterList = 4,
};

class RegListPage : public ToolPage {
    Q_OBJECT
public:
    explicit RegListPage(ConfigTool& tool, QWidget* parent = nullptr);
    ~RegListPage() override;

    void refresh() override;
    void notationChanged() override;

    // 0-based register row the buttons act on; 0 at start.
    int selectedRow() const { return selected_; }
    void selectRow(int row);

    QTableView* grid() const { return grid_; }
    MapTableModel* model() const { return model_; }
    QComboBox* actionList() const { return actions_; }
    QPushButton* executeButton() const { return execute_; }
    QPushButton* insertButton() const { return insert_; }
    QPushButton* appendButton() const { return append_; }
    QPushButton* deleteButton() const { return delete_; }

    // Runs the action chosen in the action list.
    void execute();
    // Opens the register editor on the selected row.
    void openEditor();

protected:
    void command(int number) override;

private:
    QPushButton* makeButton(const char* text, const char* name, void (RegListPage::*slot)());
    void buildColumns();
    void reselect();

    // RegListPageActions.cpp
    void insertRow();
    void appendRow();
    void deleteRow();
    void clearList();
    void exportCsv();
    // Shows the operation's text for a refusal; true when there was one.
    bool report(ModelOp op, int code);

    std::unique_ptr<GridImages> images_;
    QComboBox* actions_ = nullptr;
    QPushButton* execute_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPushButton* append_ = nullptr;
    QPushButton* delete_ = nullptr;
    QTableView* grid_ = nullptr;
    MapTableModel* model_ = nullptr;
    int selected_ = 0;
};

} // namespace korvex::ui
