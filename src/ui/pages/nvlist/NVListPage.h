#pragma once
// The NV List page: the object map's NV list (a header row per NV, then a row per field of a
// structured one), the row buttons, the NV-side list building actions and the two NV transfers
// run with "Execute", the XIF export, and the NV editor on a double-click.
#include "ui/pages/ListPage.h"

class QPushButton;

namespace korvex::ui::pages {

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

class NVListPage : public ListPage {
    Q_OBJECT
public:
    explicit NVListPage(ConfigTool& tool, QWidget* parent = nullptr);

    QPushButton* insertButton() const { return insert_; }
    QPushButton* appendButton() const { return append_; }
    QPushButton* addFieldButton() const { return addField_; }
    QPushButton* deleteButton() const { return delete_; }

    QAction* clearAction() const { return clear_; }
    QAction* exportXifAction() const { return exportXif_; }

    void execute() override;
    void openEditor() override;

private:
    void buildColumns();

    // NVListPageActions.cpp
    void insertRow();
    void appendRow();
    void addFieldRow();
    void deleteRow();
    void clearList();
    void exportXif();
    void runListAction(int action);

    QAction* clear_ = nullptr;
    QAction* exportXif_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPushButton* append_ = nullptr;
    QPushButton* addField_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace korvex::ui::pages
