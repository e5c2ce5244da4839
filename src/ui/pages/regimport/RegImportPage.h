#pragma once
// The Reg Import page: the registers read from a CSV file, marked one by one (or all at once by
// the image column's heading) and copied to the end of the register list with "Add to Reg List".
// "Set Slave Addr" gives every imported entry one slave address.
#include "formats/csv/RegisterImport.h"
#include "ui/pages/ImportPage.h"

#include <memory>

namespace korvex::ui::pages {

class RegImportPage : public ImportPage {
    Q_OBJECT
public:
    explicit RegImportPage(ConfigTool& tool, QWidget* parent = nullptr);
    ~RegImportPage() override;

    void notationChanged() override;
    // Back in the window: the grid is redrawn.
    void revisited(Revisit why) override {
        if (why == Revisit::WindowActivated) refresh();
    }

    RegisterImportList& importList() { return *list_; }
    QPushButton* slaveButton() const { return slave_; }

    void setSlaveAddress();

private:
    void buildColumns();
    void clearEntries() override;
    ImportOutcome readFile(const std::string& path) override;
    void addMarked() override;

    std::unique_ptr<RegisterImportList> list_;
    QPushButton* slave_ = nullptr;
};

} // namespace korvex::ui::pages
