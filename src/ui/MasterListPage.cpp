#include "ui/MasterListPage.h"

#include "model/lists/ListBuilding.h"
#include "ui/ConfigTool.h"
#include "ui/DeviceSession.h"
#include "ui/EditorContext.h"
#include "ui/ListGrid.h"
#include "ui/ModRegEdit.h"
#include "ui/NVEdit.h"
#include "ui/ObjEdit.h"

#include <QComboBox>
#include <QTableView>

#include <iterator>

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
    QLayout* actionRow = makeActionRow(kActionTexts);
    model_ = new MasterListModel(tool_.map(), tool_.mapMutex(), tool_.options(), this);
    grid_ = new QTableView;
    setUpGrid(*grid_, *model_, "masterGrid");
    applyColumnWidths();
    followSelection(*grid_, *this, selected_, 1,
                    [this](const QModelIndex& cell) { openEditorFor(cell.column()); });
    layOut({actionRow}, grid_);
}

void MasterListPage::applyColumnWidths() {
    ui::applyColumnWidths(
        *grid_, [this](int c) { return model_->columnWidth(c); }, HeadingFit::Keep);
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
    if (selected_ >= 1 && selected_ <= kObjectCount) showSelectedRow(*grid_, selected_ - 1);
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

// The NV transfers are those of the NV List page: they report in both boxes, and a port that
// does not open or a busy link is told here, where the user asked.
void MasterListPage::execute() {
    using device::ActionOutcome;
    using device::DeviceActions;
    using device::Page;
    using Action = std::function<ActionOutcome(DeviceActions&)>;
    static const Action kActions[] = {
        nullptr,
        [](DeviceActions& a) { return a.getNetVars(Page::MasterList); },
        [](DeviceActions& a) { return a.sendNetVars(Page::MasterList); },
        &DeviceActions::getObjects,
        &DeviceActions::sendObjects,
        &DeviceActions::eraseDevice,
    };
    static_assert(std::size(kActions) == std::size(kActionTexts));
    const int action = actionList()->currentIndex();
    if (action > kNoAction && action < static_cast<int>(std::size(kActions)))
        runDeviceAction(kActions[action]);
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
        const DataObject& object = *map.object(n);
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
