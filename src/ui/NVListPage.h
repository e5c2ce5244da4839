#pragma once
// The NV List page: the object map's NV list (a header row per NV, then a row per field of a
// structured one), the row buttons, the NV-side list building actions and the two NV transfers
// run with "Execute", the XIF export, and the NV editor on a double-click.
#include "model/ModelMessages.h"
#include "ui/ToolPage.h"

#include <memory>

class QComboBox;
class QPushButton;
class QTableView;

namespace korvex::ui {

class MapTableModel;
struct GridImages;

enum NVListCommand : int { kClearNVList = 1, kExportXif = 8 };

enum NVListAction : int {
    kNVListNoAction = 0,
    kAssignFbNumbers = 1,
    kAssignObjectsFromNVs = 2,
    kCreateRegistersFromMaster = 3,
    kRemoveNVObjects = 4,
    kRemoveFbNumbers = 5,
    kGetNVDefinitions = 6,
    kSendNVDefinitions = 7,
};

class NVListPage : public ToolPage {
    Q_OBJECT
public:
    explicit NVListPage(ConfigTool& tool, QWidget* parent = nullptr);
    ~NVListPage() override;

    void refresh() override;

    // 0-based NV list row the buttons act on; 0 at start.
    int selectedRow() const { return selected_; }
    void selectRow(int row);

    QTableView* grid() const { return grid_; }
    MapTableModel* model() const { return model_; }
    QComboBox* actionList() const { return actions_; }
    QPushButton* executeButton() const { return execute_; }
    QPushButton* insertButton() const { return insert_; }
    QPushButton* appendButton() const { return append_; }
    QPushButton* addFieldButton() const { return addField_; }
    QPushButton* deleteButton() const { return delete_; }

    // Runs the action chosen in the action list.
    void execute();
    // Opens the NV editor on the selected row.
    void openEditor();

protected:
    void command(int number) override;

private:
    QPushButton* makeButton(const char* text, const char* name, void (NVListPage::*slot)());
    void buildColumns();
    void reselect();
    void refreshRegisterList();

    // NVListPageActions.cpp
    void insertRow();
    void appendRow();
    void addFieldRow();
    void deleteRow();
    void clearList();
    void exportXif();
    void runListAction(int action);
    void getDefinitions();
    void sendDefinitions();
    bool report(ModelOp op, int code);

    std::unique_ptr<GridImages> images_;
    QComboBox* actions_ = nullptr;
    QPushButton* execute_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPushButton* append_ = nullptr;
    QPushButton* addField_ = nullptr;
    QPushButton* delete_ = nullptr;
    QTableView* grid_ = nullptr;
    MapTableModel* model_ = nullptr;
    int selected_ = 0;
};

} // namespace korvex::ui
