#include "ui/NVListPage.h"

#include "ui/ConfigTool.h"
#include "ui/MapTableModel.h"
#include "ui/NVEdit.h"
#include "ui/NVListPageCells.h"
#include "ui/RegImportPageGrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace korvex::ui {

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

NVListPage::NVListPage(ConfigTool& tool, QWidget* parent)
    : ToolPage(tool, kNVListPage, parent), images_(std::make_unique<GridImages>()) {
    makeToolbar({{kClearNVList, "Clear NV list", "cmd_clear"},
                 {kExportXif, "Export this NV List as XIF file", "cmd_export"},
                 kHelpButton});

    actions_ = new QComboBox;
    actions_->setObjectName(QStringLiteral("actionList"));
    for (const char* text : kActionTexts) actions_->addItem(QString::fromLatin1(text));
    actions_->setCurrentIndex(kNVListNoAction);
    execute_ = makeButton("Execute", "execute", &NVListPage::execute);
    QPlainTextEdit* status = makeStatusBox(3);
    setStatusBox(status);
    auto* actionRow = new QHBoxLayout;
    actionRow->addWidget(actions_, 0, Qt::AlignTop);
    actionRow->addWidget(execute_, 0, Qt::AlignTop);
    actionRow->addWidget(status, 1);

    insert_ = makeButton("Insert NV", "insertNV", &NVListPage::insertRow);
    append_ = makeButton("Append NV", "appendNV", &NVListPage::appendRow);
    addField_ = makeButton("Add Field", "addField", &NVListPage::addFieldRow);
    delete_ = makeButton("Delete", "deleteNV", &NVListPage::deleteRow);
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* b : {insert_, append_, addField_, delete_}) buttonRow->addWidget(b);
    buttonRow->addStretch(1);

    model_ = new MapTableModel(
        tool_.map(), tool_.mapMutex(), [](const ObjectMap& map) { return map.nvCount; }, this);
    grid_ = new QTableView;
    setUpListGrid(*grid_, *model_, "nvListGrid");
    buildColumns();
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) selected_ = current.row();
            });
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) return;
        selected_ = index.row();
        openEditor();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(toolbar());
    layout->addLayout(actionRow);
    layout->addLayout(buttonRow);
    layout->addWidget(grid_, 1);
}

NVListPage::~NVListPage() = default;

QPushButton* NVListPage::makeButton(const char* text, const char* name, void (NVListPage::*slot)()) {
    auto* button = new QPushButton(QString::fromLatin1(text));
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}

void NVListPage::buildColumns() {
    using Text = QString (*)(const NetVar&);
    auto cell = [](Text text) {
        return [text](const ObjectMap& map, int row) { return text(map.nvs[row]); };
    };
    GridImages* images = images_.get();
    // Field rows show whether they are in use, header rows whether the NV is in the device.
    auto image = [images](const ObjectMap& map, int row) {
        const NetVar& nv = map.nvs[row];
        if (nv.isField) return nv.defined ? images->marked : images->blank;
        return nv.inDevice ? images->inSync : images->outOfSync;
    };
    model_->setColumns({
        {QString(), 15, {}, image},
        {QStringLiteral("Dir"), 40, cell(nvcell::direction)},
        {QStringLiteral("FB #"), 60, cell(nvcell::fbNumber)},
        {QStringLiteral("Obj #"), 40, cell(nvcell::object)},
        {QStringLiteral("SNVT Type"), 150, nvcell::type},
        {QStringLiteral("SNVT Category"), 150, cell(nvcell::category)},
        {QStringLiteral("NV Name"), 0, cell(nvcell::name)},
    });
    applyColumnWidths(*grid_, [this](int c) { return model_->column(c).width; });
}

void NVListPage::refresh() {
    model_->refresh();
    tool_.updateInSync();
    reselect();
}

void NVListPage::refreshRegisterList() {
    tool_.page(kRegListPage)->refresh();
}

void NVListPage::reselect() {
    const int rows = model_->rowCount();
    // A row beyond the list (after deleting the last one) moves to the new last row.
    selected_ = std::clamp(selected_, 0, std::max(rows - 1, 0));
    if (rows == 0) return;
    grid_->selectionModel()->setCurrentIndex(model_->index(selected_, 1),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->viewport()->update();
}

void NVListPage::selectRow(int row) {
    if (row < 0) return;
    selected_ = row;
    reselect();
}

void NVListPage::openEditor() {
    if (selected_ < 0 || selected_ >= model_->rowCount()) return;
    NVEdit(editorContext(tool_), selected_, &tool_).exec();
    refresh();
}

} // namespace korvex::ui
