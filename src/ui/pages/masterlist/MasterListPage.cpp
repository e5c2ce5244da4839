#include "ui/pages/masterlist/MasterListPage.h"

#include "model/lists/ListBuilding.h"
#include "ui/dialogs/EditorContext.h"
#include "ui/dialogs/ModRegEdit.h"
#include "ui/dialogs/NVEdit.h"
#include "ui/dialogs/ObjEdit.h"
#include "ui/widgets/ListGrid.h"
#include "ui/widgets/TransferProgress.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QProgressBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <iterator>

namespace korvex::ui::pages {

using dialogs::EditorContext;
using dialogs::ModRegEdit;
using dialogs::NVEdit;
using dialogs::ObjEdit;
using dialogs::RegEditMode;
using models::EditZone;
using models::editZoneOf;
using widgets::applyColumnWidths;
using widgets::followSelection;
using widgets::HeadingFit;
using widgets::setUpGrid;

namespace {

constexpr const char* kActionTexts[] = {
    "No action",
    "Get NV definitions from device",
    "Send NV definitions to device",
    "Get Object maps from device",
    "Send Object maps to device",
    "Completely unconfigure device",
    "Compare map with device",
};

} // namespace

MasterListPage::MasterListPage(ConfigTool& tool, QWidget* parent) : ToolPage(tool, Page::MasterList, parent) {
    connect(&session_, &MapSession::objectsChanged, this, &MasterListPage::objectsChanged);
    connect(&session_, &MapSession::replaced, this, &MasterListPage::refresh);
    // Every toolbar command, help too, starts with an empty status box.
    const auto command = [this](const char* tooltip, const char* image, const char* name,
                                void (MasterListPage::*run)()) {
        return makeCommand(tooltip, image, name, [this, run] {
            clearStatus();
            (this->*run)();
        });
    };
    newMap_ = command("Create blank object map", "cmd_new", "newMap", &MasterListPage::newMap);
    openMap_ = command("Open object map XML file", "cmd_open", "openMap", &MasterListPage::openMap);
    saveMap_ = command("Save object map XML file", "cmd_save", "saveMap", &MasterListPage::saveMap);
    saveMapAs_ =
        command("Save copy of object map XML file", "cmd_savecopy", "saveMapAs", &MasterListPage::saveMapAs);
    // Looking at the map's problems leaves the status box as it is.
    checkMap_ = makeCommand("Check map", "cmd_check", "checkMap", [this] { tool_.showProblemsWindow(); });
    exportAsBuilt_ =
        command("Export as-built report", "cmd_export", "exportAsBuilt", &MasterListPage::exportAsBuilt);
    makeToolbar({newMap_, openMap_, saveMap_, saveMapAs_, checkMap_, exportAsBuilt_});
    if (auto* open = qobject_cast<QToolButton*>(toolbar()->widgetForAction(openMap_))) {
        recent_ = new QMenu(open);
        recent_->setObjectName(QStringLiteral("recentMaps"));
        connect(recent_, &QMenu::aboutToShow, this, &MasterListPage::fillRecentMenu);
        open->setMenu(recent_);
        open->setPopupMode(QToolButton::MenuButtonPopup);
    }
    connect(helpAction(), &QAction::triggered, this, &ToolPage::clearStatus);
    QLayout* actionRow = makeActionRow(kActionTexts);
    model_ = new MasterListModel(session_.map(), session_.mutex(), tool_.options(), this);
    grid_ = new QTableView;
    setUpGrid(*grid_, *model_, "masterGrid");
    applyColumnWidths();
    followSelection(*grid_, *this, selected_, 1,
                    [this](const QModelIndex& cell) { openEditorFor(cell.column()); });
    layOut({actionRow, makeProgressRow()}, grid_);
}

QProgressBar* MasterListPage::compareProgress() const {
    return transferProgress()->bar();
}

void MasterListPage::applyColumnWidths() {
    widgets::applyColumnWidths(
        *grid_, [this](int c) { return model_->columnWidth(c); }, HeadingFit::Keep);
}

void MasterListPage::refresh() {
    model_->refresh();
    tool_.updateInSync();
    reselect();
}

// A few objects are read anew in place; all of them is a redraw.
void MasterListPage::objectsChanged(int first, int last) {
    if (first <= 1 && last >= kObjectCount) return refresh();
    model_->objectsChanged(first, last);
}

void MasterListPage::revisited(Revisit why) {
    if (why == Revisit::TabEntered) refresh();
}

void MasterListPage::notationChanged() {
    model_->rebuildColumns();
    applyColumnWidths();
    refresh();
}

void MasterListPage::reselect() {
    widgets::showSelectedObject(*grid_, selected_);
}

void MasterListPage::selectObject(int n) {
    widgets::selectObjectRow(*grid_, selected_, n);
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
        [](DeviceActions& a) { return a.compareWithDevice(); },
    };
    static_assert(std::size(kActions) == std::size(kActionTexts));
    const int action = actionList()->currentIndex();
    if ((action == kSendNVs || action == kSendObjects) && !sendDespiteErrors()) return;
    if (action > kNoAction && action < static_cast<int>(std::size(kActions)))
        runDeviceAction(kActions[action]);
}

void MasterListPage::openEditorFor(int column) {
    if (column < 0 || column >= model_->columnCount()) return;
    openEditor(editZoneOf(model_->columnKind(column)));
}

namespace {

// Where a problem of an object is mended: its register, its NV, or the object itself. An object
// without a register opens the object editor, as a register row made for it would stay unasked.
EditZone zoneOfRule(Rule rule) {
    switch (rule) {
    case Rule::RegisterSharedWrite:
    case Rule::RegisterShared:
    case Rule::RegisterOverlap:
    case Rule::WriteToInput:
    case Rule::RegisterIncomplete:
    case Rule::RegisterPastEnd:
    case Rule::SlaveZero:
    case Rule::SlaveReserved:
    case Rule::TcpSlaveUnmapped:
    case Rule::DirectionMismatch:
        return EditZone::Register;
    case Rule::ObjectNVMissing:
        return EditZone::NetVar;
    default:
        return EditZone::Object;
    }
}

} // namespace

void MasterListPage::showProblem(const Problem& problem) {
    if (problem.place != PlaceKind::Object) return;
    selectObject(problem.row);
    if (selected_ != problem.row) return;
    const EditZone zone = zoneOfRule(problem.rule);
    // A zone whose editor does not open for this object falls back to the object editor.
    bool linked = true;
    {
        std::lock_guard lock(session_.mutex());
        ObjectMap& map = session_.map();
        const DataObject& object = *map.object(problem.row);
        if (zone == EditZone::Register) linked = map.registerAtLink(object.registerRow) != nullptr;
        if (zone == EditZone::NetVar) linked = map.nvAtLink(object.nvRow) != nullptr;
    }
    openEditor(linked ? zone : EditZone::Object);
}

void MasterListPage::openEditor(EditZone zone) {
    if (selected_ < 1) return;
    const int n = selected_;
    int registerRow = -1;
    int nvRow = -1;
    int made = kOk;
    {
        std::lock_guard lock(session_.mutex());
        ObjectMap& map = session_.map();
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
    const EditorContext context = tool_.editorContext();
    MapParts changed = MapPart::Objects;
    if (zone == EditZone::Register && registerRow >= 0) {
        ModRegEdit(context, registerRow, RegEditMode::MasterList, &tool_).exec();
        changed |= MapPart::RegisterList;
    } else if (zone == EditZone::NetVar && nvRow >= 0) {
        NVEdit(context, nvRow, &tool_).exec();
        changed |= MapPart::NVList;
    } else if (zone == EditZone::Object) {
        ObjEdit(context, n, &tool_).exec();
    }
    session_.announceWhole(changed);
}

} // namespace korvex::ui::pages
