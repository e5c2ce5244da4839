#include "ui/RegListPage.h"

#include "ui/ConfigTool.h"
#include "ui/MapTableModel.h"
#include "ui/ModRegEdit.h"
#include "ui/RegImportPageGrid.h"
#include "ui/RegListPageCells.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace korvex::ui {

namespace {

constexpr const char* kActionTexts[] = {
    "No action",
    "Auto-create NV's and assign FB #'s",
    "Auto-assign data objects",
    "Remove data object assignments",
    "Rebuild Modbus register list from master list",
};

} // namespace

RegListPage::RegListPage(ConfigTool& tool, QWidget* parent)
    : ToolPage(tool, kRegListPage, parent), images_(std::make_unique<GridImages>()) {
    makeToolbar({{kClearRegList, "Clear register list", "cmd_clear"},
                 {kExportCsv, "Export register list as CSV", "cmd_export"},
                 kHelpButton});

    insert_ = makeButton("Insert Reg", "insertReg", &RegListPage::insertRow);
    append_ = makeButton("Append Reg", "appendReg", &RegListPage::appendRow);
    delete_ = makeButton("Delete", "deleteReg", &RegListPage::deleteRow);
    actions_ = new QComboBox;
    actions_->setObjectName(QStringLiteral("actionList"));
    for (const char* text : kActionTexts) actions_->addItem(QString::fromLatin1(text));
    actions_->setCurrentIndex(kRegListNoAction);
    execute_ = makeButton("Execute", "execute", &RegListPage::execute);

    auto* row = new QHBoxLayout;
    for (QWidget* w :
         {static_cast<QWidget*>(insert_), static_cast<QWidget*>(append_), static_cast<QWidget*>(delete_)})
        row->addWidget(w);
    row->addSpacing(12);
    row->addWidget(actions_, 1);
    row->addWidget(execute_);

    model_ = new MapTableModel(
        tool_.map(), tool_.mapMutex(), [](const ObjectMap& map) { return map.registerCount; }, this);
    grid_ = new QTableView;
    setUpListGrid(*grid_, *model_, "regListGrid");
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
    layout->addLayout(row);
    layout->addWidget(grid_, 1);
}

RegListPage::~RegListPage() = default;

QPushButton* RegListPage::makeButton(const char* text, const char* name, void (RegListPage::*slot)()) {
    auto* button = new QPushButton(QString::fromLatin1(text));
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, slot);
    return button;
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
    GridImages* images = images_.get();
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
    model_->setColumns(std::move(columns));
    applyColumnWidths(*grid_, [this](int c) { return model_->column(c).width; });
}

void RegListPage::refresh() {
    model_->refresh();
    tool_.updateInSync();
    reselect();
}

void RegListPage::notationChanged() {
    buildColumns();
    refresh();
}

void RegListPage::reselect() {
    const int rows = model_->rowCount();
    // A row beyond the list (after deleting the last one) moves to the new last row.
    selected_ = std::clamp(selected_, 0, std::max(rows - 1, 0));
    if (rows == 0) return;
    grid_->selectionModel()->setCurrentIndex(model_->index(selected_, 1),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->viewport()->update();
}

void RegListPage::selectRow(int row) {
    if (row < 0) return;
    selected_ = row;
    reselect();
}

void RegListPage::openEditor() {
    if (selected_ < 0 || selected_ >= model_->rowCount()) return;
    ModRegEdit(editorContext(tool_), selected_, RegEditMode::RegisterList, &tool_).exec();
    refresh();
}

} // namespace korvex::ui
