#include "ui/pages/viewdata/ViewDataPage.h"

#include "ui/dialogs/DataValue.h"
#include "ui/dialogs/EditorContext.h"
#include "ui/models/ViewDataModel.h"
#include "ui/widgets/ListGrid.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"

#include <QComboBox>
#include <QTableView>

namespace korvex::ui::pages {

using dialogs::DataValue;
using widgets::applyColumnWidths;
using widgets::followSelection;
using widgets::HeadingFit;
using widgets::setUpGrid;
using widgets::showSelectedRow;

namespace {

constexpr const char* kActionTexts[] = {"No action", "Get Object data values", "Send Object data values"};

} // namespace

ViewDataPage::ViewDataPage(ConfigTool& tool, QWidget* parent) : ToolPage(tool, Page::ViewData, parent) {
    makeToolbar();
    QLayout* actionRow = makeActionRow(kActionTexts);
    model_ = new ViewDataModel(session_.map(), session_.mutex(), tool_.device().engine().values(),
                               tool_.options(), this);
    grid_ = new QTableView;
    setUpGrid(*grid_, *model_, "dataGrid");
    applyColumnWidths();
    followSelection(*grid_, *this, selected_, 1, [this](const QModelIndex&) { openValueEditor(); });
    layOut({actionRow}, grid_);
    connect(&session_, &MapSession::valuesChanged, this, &ViewDataPage::refresh);
    connect(&session_, &MapSession::replaced, this, &ViewDataPage::refresh);
}

void ViewDataPage::revisited(Revisit why) {
    if (why == Revisit::TabEntered) refresh();
}

void ViewDataPage::applyColumnWidths() {
    widgets::applyColumnWidths(
        *grid_, [this](int c) { return model_->column(c).width; }, HeadingFit::Keep);
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
    if (selected_ >= 1 && selected_ <= kObjectCount) showSelectedRow(*grid_, selected_ - 1);
}

void ViewDataPage::selectObject(int n) {
    if (n < 1 || n > kObjectCount) return;
    selected_ = n;
    reselect();
    grid_->scrollTo(model_->index(n - 1, 1));
}

void ViewDataPage::execute() {
    const int action = actionList()->currentIndex();
    clearStatus();
    if (action == kGetValues) runDeviceAction(&device::DeviceActions::readValues);
    if (action == kSendValues) runDeviceAction(&device::DeviceActions::writeValues);
}

void ViewDataPage::openValueEditor() {
    if (selected_ < 1 || selected_ > kObjectCount) return;
    // Apply stores the value in the object's slot and asks the status loop to write it.
    DataValue(tool_.editorContext(), selected_, tool_.device().engine().values().slot(selected_).value,
              &tool_)
        .exec();
}

} // namespace korvex::ui::pages
