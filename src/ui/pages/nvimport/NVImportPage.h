#pragma once
// The NV Import page: the network variables read from another device's XIF file, marked one by
// one (or all at once by any heading) and added to the NV list with "Add to NV List", each with
// its direction reversed.
#include "formats/xif/NvImport.h"
#include "ui/pages/ImportPage.h"

#include <memory>

namespace korvex::ui::pages {

class NVImportPage : public ImportPage {
    Q_OBJECT
public:
    explicit NVImportPage(ConfigTool& tool, QWidget* parent = nullptr);
    ~NVImportPage() override;

    ImportTable& importTable() { return *table_; }

private:
    void buildColumns();
    void clearEntries() override;
    ImportOutcome readFile(const std::string& path) override;
    void addMarked() override;

    std::unique_ptr<ImportTable> table_;
};

} // namespace korvex::ui::pages
