#include "ui/MasterListPage.h"

#include "model/ListBuilding.h"
#include "ui/ConfigTool.h"
#include "ui/EditorContext.h"
#include "ui/MasterListActions.h"
#include "ui/ModRegEdit.h"
#include "ui/NVEdit.h"
#include "ui/ObjEdit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace korvex::ui {

namespace {

constexpr const char* kActionTexts[] = {
    "No action",
    "Get NV definitions from device",
    "Send NV definitions to device",
    "Get Object maps from device",
    "Send Object maps to device",
    "Completely unconfigure device",
};

} // namespace

MasterListPage::MasterListPage(ConfigTool& tool, QWidget* parent) : ToolPage(tool, kMasterListPage, parent) {
    makeToolbar({{kNewMap, "Create blank object map", "cmd_new"},
                 {kOpenMap, "Open object map XML file", "cmd_open"},
                 {kSaveMap, "Save object map XML file", "cmd_save"},
                 {kSaveMapAs, "Save copy of object map XML file", "cmd_savecopy"},
                 kHelpButton});

    actions_ = new QComboBox;
    actions_->setObjectName(QStringLiteral("actionList"));
    for (const char* text : kActionTexts) actions_->addItem(QString::fromLatin1(text));
    actions_->setCurrentIndex(kNoAction);
    execute_ = new QPushButton(QStringLiteral("Execute"));
    execute_->setObjectName(QStringLiteral("execute"));
    connect(execute_, &QPushButton::clicked, this, &MasterListPage::execute);
    QPlainTextEdit* status = makeStatusBox(3);
    setStatusBox(status);

    auto* actionRow = new QHBoxLayout;
    actionRow->addWidget(actions_, 0, Qt::AlignTop);
    actionRow->addWidget(execute_, 0, Qt::AlignTop);
    actionRow->addWidget(status, 1);

    buildGrid();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(toolbar());
    layout->addLayout(actionRow);
    layout->addWidget(grid_, 1);
}

void MasterListPage::buildGrid() {
    model_ = new MasterListModel(tool_.map(), tool_.mapMutex(), tool_.options(), this);
    grid_ = new QTableView;
    grid_->setObjectName(QStringLiteral("masterGrid"));
    grid_->setModel(model_);
    grid_->setShowGrid(true);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);
    grid_->setIconSize(QSize(10, 10));
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setHighlightSections(false);
    applyColumnWidths();
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) selected_ = current.row() + 1;
            });
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) return;
        selected_ = index.row() + 1;
        openEditorFor(index.column());
    });
}

void MasterListPage::applyColumnWidths() {
    QHeaderView* header = grid_->horizontalHeader();
    header->setStretchLastSection(true);
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int width = model_->columnWidth(c);
        if (width > 0) grid_->setColumnWidth(c, width);
    }
}

void MasterListPage::refresh() {
    model_->refresh();
    tool_.updateInSync();
    reselect();
}

void MasterListPage::notationChanged() {
    model_->rebuildColumns();
    applyColumnWidths();
    refresh();
}

void MasterListPage::reselect() {
    if (selected_ < 1 || selected_ > kObjectCount) return;
    const QModelIndex index = model_->index(selected_ - 1, 1);
    grid_->selectionModel()->setCurrentIndex(index,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->viewport()->update();
}

void MasterListPage::selectObject(int n) {
    if (n < 1 || n > kObjectCount) return;
    selected_ = n;
    reselect();
    grid_->scrollTo(model_->index(n - 1, 1));
}

void MasterListPage::command(int number) {
    clearStatus();
    switch (number) {
    case kNewMap:
        newMap();
        break;
    case kOpenMap:
        openMap();
        break;
    case kSaveMap:
        saveMap();
        break;
    case kSaveMapAs:
        saveMapAs();
        break;
    default:
        ToolPage::command(number);
        break;
    }
}

void MasterListPage::execute() {
    MasterListActions actions(tool_, *this);
    actions.run(actions_->currentIndex());
}

void MasterListPage::openEditorFor(int column) {
    if (selected_ < 1 || column < 0 || column >= model_->columnCount()) return;
    const int n = selected_;
    const EditZone zone = editZoneOf(model_->columnKind(column));
    int registerRow = -1;
    int nvRow = -1;
    int made = kOk;
    {
        std::lock_guard lock(tool_.mapMutex());
        ObjectMap& map = tool_.map();
        const DataObject& object = map.object(n);
        if (map.registerAtLink(object.registerRow)) registerRow = object.registerRow - 1;
        if (map.nvAtLink(object.nvRow)) nvRow = object.nvRow - 1;
        // An object with only an NV gets its register row first, then the editor opens on it.
        if (zone == EditZone::Register && registerRow < 0 && nvRow >= 0) {
            made = makeRegisterRow(map, n);
            if (made == kOk) registerRow = map.registerCount - 1;
        }
    }
    if (made == MakeRegisterRowResult::ListFull)
        tool_.showMessage(QString::fromLatin1(modelMessage(ModelOp::MakeRegisterRow, made)));
    const EditorContext context = editorContext(tool_);
    if (zone == EditZone::Register && registerRow >= 0) {
        ModRegEdit(context, registerRow, RegEditMode::MasterList, &tool_).exec();
    } else if (zone == EditZone::NetVar && nvRow >= 0) {
        NVEdit(context, nvRow, &tool_).exec();
    } else if (zone == EditZone::Object) {
        ObjEdit(context, n, &tool_).exec();
    }
    refresh();
}

} // namespace korvex::ui
