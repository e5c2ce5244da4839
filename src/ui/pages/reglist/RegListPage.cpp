#include "ui/pages/reglist/RegListPage.h"

#include "ui/dialogs/ModRegEdit.h"
#include "ui/models/MapTableModel.h"
#include "ui/models/RegisterCells.h"
#include "ui/widgets/ListGrid.h"
#include "ui/window/ConfigTool.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>

namespace korvex::ui::pages {

using window::WorkingOptions;
namespace regcell = models::regcell;
using dialogs::ModRegEdit;
using dialogs::RegEditMode;

namespace {

constexpr const char* kActionTexts[] = {
    "No action",
    "Auto-create NV's and assign FB #'s",
    "Auto-assign data objects",
    "Remove data object assignments",
    "Rebuild Modbus register list from master list",
};

} // namespace

RegListPage::RegListPage(ConfigTool& tool, QWidget* parent) : ListPage(tool, Page::RegList, parent) {
    clear_ = makeCommand("Clear register list", "cmd_clear", "clearRegList", [this] { clearList(); });
    exportCsv_ =
        makeCommand("Export register list as CSV", "cmd_export", "exportCsv", [this] { exportCsv(); });
    makeToolbar({clear_, exportCsv_});

    insert_ = makeButton("Insert Reg", "insertReg", [this] { insertRow(); });
    append_ = makeButton("Append Reg", "appendReg", [this] { appendRow(); });
    delete_ = makeButton("Delete", "deleteReg", [this] { deleteRow(); });
    makeActions(kActionTexts);
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {insert_, append_, delete_}) row->addWidget(b);
    row->addSpacing(12);
    row->addWidget(actionList(), 1);
    row->addWidget(executeButton());

    makeGrid(
        MapPart::RegisterList, [](const ObjectMap& map) { return map.registerCount; }, "regListGrid");
    buildColumns();
    layOut({row}, grid());
}

void RegListPage::buildColumns() {
    using Text = QString (*)(const RegisterDef&);
    const WorkingOptions* options = &tool_.options();
    auto cell = [](Text text) {
        return [text](const ObjectMap& map, int row) { return text(map.registers[row]); };
    };
    // What a gateway working as Modbus slave does not use shows as "-".
    auto masterOnly = [options](Text text) {
        return [text, options](const ObjectMap& map, int row) {
            return options->gatewaySlave ? QStringLiteral("-") : text(map.registers[row]);
        };
    };
    const GridImages* images = &this->images();
    std::vector<MapColumn> columns{
        {QString(),
         15,
         {},
         [images](const ObjectMap& map, int row) {
             return map.registers[row].inDevice ? images->inSync : images->outOfSync;
         }},
        {QStringLiteral("FB #"), 60, cell(regcell::fbNumber)},
        {QStringLiteral("Obj #"), 40, cell(regcell::object)},
        {QStringLiteral("R/W"), 35, masterOnly(regcell::access)},
    };
    if (options->modicon) {
        columns.push_back({QStringLiteral("Modicon #"), 120, cell(regcell::modicon)});
    } else {
        columns.push_back({QStringLiteral("Type"), 60, cell(regcell::type)});
        columns.push_back({QStringLiteral("Reg #"), 60, cell(regcell::number)});
    }
    columns.insert(columns.end(), {{QStringLiteral("Bit #"), 40, masterOnly(regcell::bit)},
                                   {QStringLiteral("Format"), 50, cell(regcell::format)},
                                   {QStringLiteral("Slave"), 40, masterOnly(regcell::slave)},
                                   {QStringLiteral("Packed"), 50, masterOnly(regcell::packed)},
                                   {QStringLiteral("Hi reg 1st"), 60, cell(regcell::highRegFirst)},
                                   {QStringLiteral("Reg. Name"), 0, cell(regcell::name)}});
    setColumns(std::move(columns));
}

void RegListPage::notationChanged() {
    buildColumns();
    refresh();
}

void RegListPage::openEditor() {
    if (selected_ < 0 || selected_ >= model()->rowCount()) return;
    ModRegEdit(tool_.editorContext(), selected_, RegEditMode::RegisterList, &tool_).exec();
    refresh();
}

} // namespace korvex::ui::pages
