#pragma once
// The Reg List page: the object map's register list, its row buttons, the register-side list
// building actions run with "Execute", the CSV export and the register editor on a double-click.
// The page has no status box; everything it has to say comes as a message.
#include "ui/pages/ListPage.h"

class QPushButton;

namespace korvex::ui::pages {

enum RegListAction : int {
    kRegListNoAction = 0,
    kCreateNVsFromRegisters = 1,
    kAssignObjectsFromRegisters = 2,
    kRemoveRegisterObjects = 3,
    kRebuildRegisterList = 4,
};

class RegListPage : public ListPage {
    Q_OBJECT
public:
    explicit RegListPage(ConfigTool& tool, QWidget* parent = nullptr);

    void notationChanged() override;
    // The slave-only columns show or go blank.
    void slaveOptionChanged() override { refresh(); }

    QPushButton* insertButton() const { return insert_; }
    QPushButton* appendButton() const { return append_; }
    QPushButton* deleteButton() const { return delete_; }

    QAction* clearAction() const { return clear_; }
    QAction* exportCsvAction() const { return exportCsv_; }

    void execute() override;
    void openEditor() override;

private:
    void buildColumns();

    // RegListPageActions.cpp
    void insertRow();
    void appendRow();
    void deleteRow();
    void clearList();
    void exportCsv();

    QAction* clear_ = nullptr;
    QAction* exportCsv_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPushButton* append_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace korvex::ui::pages
