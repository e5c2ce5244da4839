#include "ui/ViewDataPage.h"

#include "ui/ConfigTool.h"
#include "ui/DataValue.h"
#include "ui/DeviceSession.h"
#include "ui/EditorContext.h"
#include "ui/GuiActionHost.h"
#include "ui/ViewDataModel.h"

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

constexpr const char* kActionTexts[] = {"No action", "Get Object data values", "Send Object data values"};

} // namespace

ViewDataPage::ViewDataPage(ConfigTool& tool, QWidget* parent) : ToolPage(tool, kViewDataPage, parent) {
    makeToolbar({kHelpButton});
    actions_ = new QComboBox;
    actions_->setObjectName(QStringLiteral("actionList"));
    for (const char* text : kActionTexts) actions_->addItem(QString::fromLatin1(text));
    actions_->setCurrentIndex(kNoValueAction);
    execute_ = new QPushButton(QStringLiteral("Execute"));
    execute_->setObjectName(QStringLiteral("execute"));
    connect(execute_, &QPushButton::clicked, this, &ViewDataPage::execute);
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

void ViewDataPage::buildGrid() {
    model_ = new ViewDataModel(tool_.map(), tool_.mapMutex(), tool_.device().engine().values(),
                               tool_.options(), this);
    grid_ = new QTableView;
    grid_->setObjectName(QStringLiteral("dataGrid"));
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
        openValueEditor();
    });
}

void ViewDataPage::applyColumnWidths() {
    grid_->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int width = model_->column(c).width;
        if (width > 0) grid_->setColumnWidth(c, width);
    }
}

void ViewDataPage::refresh() {
    model_->refresh();
    reselect();
}

void ViewDataPage::notationChanged() {
    model_->rebuildColumns();
    applyColumnWidths();
    refresh();
}

void ViewDataPage::reselect() {
    if (selected_ < 1 || selected_ > kObjectCount) return;
    const QModelIndex index = model_->index(selected_ - 1, 1);
    grid_->selectionModel()->setCurrentIndex(index,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->viewport()->update();
}

void ViewDataPage::selectObject(int n) {
    if (n < 1 || n > kObjectCount) return;
    selected_ = n;
    reselect();
    grid_->scrollTo(model_->index(n - 1, 1));
}

void ViewDataPage::execute() {
    const int action = actions_->currentIndex();
    clearStatus();
    if (action != kGetValues && action != kSendValues) return;
    GuiActionHost host(tool_, this);
    device::DeviceActions actions = tool_.device().actions(host);
    if (action == kGetValues)
        actions.readValues();
    else
        actions.writeValues();
}

void ViewDataPage::openValueEditor() {
    if (selected_ < 1 || selected_ > kObjectCount) return;
    // Apply stores the value in the object's slot and asks the status loop to write it.
    DataValue(editorContext(tool_), selected_, tool_.device().engine().values().slot(selected_).value, &tool_)
        .exec();
}

} // namespace korvex::ui
