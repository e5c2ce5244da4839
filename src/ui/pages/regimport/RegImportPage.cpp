#include "ui/pages/regimport/RegImportPage.h"

#include "formats/csv/RegisterCsvFile.h"
#include "ui/dialogs/SlaveID.h"
#include "ui/models/ImportGrid.h"
#include "ui/models/RegisterCells.h"
#include "ui/widgets/ListGrid.h"
#include "ui/window/ConfigTool.h"

#include <QPushButton>

namespace korvex::ui::pages {

namespace regcell = models::regcell;
using dialogs::SlaveID;
using widgets::GridImages;

RegImportPage::RegImportPage(ConfigTool& tool, QWidget* parent)
    : ImportPage(tool, Page::RegImport, parent), list_(std::make_unique<RegisterImportList>()) {
    makeImportToolbar("Clear import list", "Import CSV file");
    slave_ = makeButton("Set Slave Addr", "setSlaveAddr", [this] { setSlaveAddress(); });
    build({"CSV files (*.csv);;All files (*.*)", "Add to Reg List", "regImportGrid",
           HeadingToggle::ImageColumnOnly},
          {[this] { return list_->count; }, [this](int i) { return list_->entries[i].defined != 0; },
           [this](int i, bool on) { list_->entries[i].defined = on ? 1 : 0; }},
          {slave_});
    buildColumns();
}

RegImportPage::~RegImportPage() = default;

void RegImportPage::buildColumns() {
    // Captured by the cell functions; the page outlives its model.
    auto images = std::make_shared<GridImages>();
    auto entry = [this](int i) -> const RegisterDef& { return list_->entries[i]; };
    auto cell = [entry](QString (*text)(const RegisterDef&)) {
        return [entry, text](int i) { return text(entry(i)); };
    };
    std::vector<ImportColumn> columns{
        {QString(),
         15,
         {},
         [entry, images](int i) { return entry(i).defined ? images->marked : images->blank; }},
        {QStringLiteral("R/W"), 45, cell(regcell::access)},
    };
    if (tool_.options().modicon) {
        columns.push_back({QStringLiteral("Modicon #"), 120, cell(regcell::modicon)});
    } else {
        columns.push_back({QStringLiteral("Type"), 60, cell(regcell::type)});
        columns.push_back({QStringLiteral("Reg #"), 60, cell(regcell::number)});
    }
    columns.insert(columns.end(), {{QStringLiteral("Bit #"), 60, cell(regcell::bit)},
                                   {QStringLiteral("Format"), 60, cell(regcell::format)},
                                   {QStringLiteral("Slave"), 60, cell(regcell::slave)},
                                   {QStringLiteral("Packed"), 60, cell(regcell::packed)},
                                   {QStringLiteral("High Reg First"), 80, cell(regcell::highRegFirst)},
                                   {QStringLiteral("Name"), 0, cell(regcell::name)}});
    setColumns(std::move(columns));
}

void RegImportPage::notationChanged() {
    buildColumns();
    refresh();
}

void RegImportPage::clearEntries() {
    clearImportList(*list_);
}

ImportOutcome RegImportPage::readFile(const std::string& path) {
    const CsvFileOutcome outcome = importRegisterCsvFile(path, *list_, tool_.options().modicon);
    return {outcome.ok, outcome.message, outcome.fileName};
}

void RegImportPage::addMarked() {
    int added = 0;
    {
        std::lock_guard lock(session_.mutex());
        added = addSelectedRegisters(*list_, session_.map());
    }
    showAdded(entriesAddedText(added), MapPart::RegisterList);
}

void RegImportPage::setSlaveAddress() {
    SlaveID(tool_.editorContext(), *list_, &tool_).exec();
    refresh();
}

} // namespace korvex::ui::pages
