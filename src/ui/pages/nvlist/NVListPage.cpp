#include "ui/pages/nvlist/NVListPage.h"

#include "ui/dialogs/NVEdit.h"
#include "ui/models/MapTableModel.h"
#include "ui/models/NVCells.h"
#include "ui/widgets/ListGrid.h"
#include "ui/window/ConfigTool.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>

namespace korvex::ui::pages {

namespace nvcell = models::nvcell;
using dialogs::NVEdit;

namespace {

constexpr const char* kActionTexts[] = {
    "No action",
    "Auto-assign new NV function blocks",
    "Auto-assign new data objects",
    "Auto-create Modbus register list",
    "Remove data object assignments",
    "Remove NV function block assignments",
    "Get NV definitions from device",
    "Send NV definitions to device",
};

} // namespace

NVListPage::NVListPage(ConfigTool& tool, QWidget* parent) : ListPage(tool, Page::NVList, parent) {
    clear_ = makeCommand("Clear NV list", "cmd_clear", "clearNVList", [this] { clearList(); });
    exportXif_ =
        makeCommand("Export this NV List as XIF file", "cmd_export", "exportXif", [this] { exportXif(); });
    makeToolbar({clear_, exportXif_});
    QLayout* actionRow = makeActionRow(kActionTexts);

    insert_ = makeButton("Insert NV", "insertNV", [this] { insertRow(); });
    append_ = makeButton("Append NV", "appendNV", [this] { appendRow(); });
    addField_ = makeButton("Add Field", "addField", [this] { addFieldRow(); });
    delete_ = makeButton("Delete", "deleteNV", [this] { deleteRow(); });
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* b : {insert_, append_, addField_, delete_}) buttonRow->addWidget(b);
    buttonRow->addStretch(1);

    makeGrid(
        MapPart::NVList, [](const ObjectMap& map) { return map.nvCount; }, "nvListGrid");
    buildColumns();
    layOut({actionRow, makeProgressRow(), buttonRow}, grid());
}

void NVListPage::buildColumns() {
    using Text = QString (*)(const NetVar&);
    auto cell = [](Text text) {
        return [text](const ObjectMap& map, int row) { return text(map.nvs[row]); };
    };
    const GridImages* images = &this->images();
    // Field rows show whether they are in use, header rows whether the NV is in the device.
    auto image = [images](const ObjectMap& map, int row) {
        const NetVar& nv = map.nvs[row];
        if (nv.isField) return nv.defined ? images->marked : images->blank;
        return nv.inDevice ? images->inSync : images->outOfSync;
    };
    setColumns({
        {QString(), 15, {}, image},
        {QStringLiteral("Dir"), 40, cell(nvcell::direction)},
        {QStringLiteral("FB #"), 60, cell(nvcell::fbNumber)},
        {QStringLiteral("Obj #"), 40, cell(nvcell::object)},
        {QStringLiteral("SNVT Type"), 150, nvcell::type},
        {QStringLiteral("SNVT Category"), 150, cell(nvcell::category)},
        {QStringLiteral("NV Name"), 0, cell(nvcell::name)},
    });
}

void NVListPage::openEditor() {
    if (selected_ < 0 || selected_ >= model()->rowCount()) return;
    NVEdit(tool_.editorContext(), selected_, &tool_).exec();
    refresh();
}

} // namespace korvex::ui::pages
