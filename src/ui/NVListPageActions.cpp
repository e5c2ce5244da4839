// The NV List page's commands: the row buttons, "Execute" with the action list, clearing the
// list and the XIF export. Each ends with a refresh of the NV List grid, refused or not.
#include "device/actions/DeviceActions.h"
#include "formats/xif/XifFile.h"
#include "formats/xif/XifWriter.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "ui/ConfigTool.h"
#include "ui/NVListPage.h"

#include <QComboBox>
#include <QFile>

#include <functional>
#include <optional>

namespace korvex::ui {

namespace {

constexpr char kXifSaveFilters[] = "XIF file (*.xif);;All files (*.*)";

} // namespace

void NVListPage::insertRow() {
    changeMap(ModelOp::InsertNV, [this](ObjectMap& map) { return insertNV(map, selected_); });
    refresh();
}

void NVListPage::appendRow() {
    changeMap(ModelOp::InsertNV, appendNV);
    refresh();
}

void NVListPage::addFieldRow() {
    changeMap(ModelOp::AddField, [this](ObjectMap& map) { return addField(map, selected_); });
    refresh();
}

void NVListPage::deleteRow() {
    changeMap(ModelOp::DeleteNV, [this](ObjectMap& map) { return deleteNVAt(map, selected_); });
    refresh();
}

void NVListPage::execute() {
    const int action = actionList()->currentIndex();
    // The two transfers report in this page's status box.
    if (action == kGetNVDefinitions)
        runDeviceAction([](device::DeviceActions& actions) { actions.getNetVars(); });
    else if (action == kSendNVDefinitions)
        runDeviceAction([](device::DeviceActions& actions) { actions.sendNetVars(); });
    else
        runListAction(action);
    refresh();
}

// The list-building actions: one model operation each, its refusal shown as a message.
void NVListPage::runListAction(int action) {
    struct Step {
        std::optional<ModelOp> op; // none for the actions that never refuse
        std::function<int(ObjectMap&)> run;
        bool refreshesRegisters;
    };
    Step step;
    switch (action) {
    case kAssignFbNumbers:
        step = {ModelOp::AssignFbNumbers, assignFbNumbers, false};
        break;
    case kAssignObjectsFromNVs:
        step = {ModelOp::MasterListFromNVs, masterListFromNVs, false};
        break;
    case kCreateRegistersFromMaster:
        step = {ModelOp::RegisterListFromMaster, registerListFromMaster, true};
        break;
    case kRemoveNVObjects:
        step = {std::nullopt, removeNVObjectAssignments, true};
        break;
    case kRemoveFbNumbers:
        step = {ModelOp::RemoveNVFbAssignments, removeNVFbAssignments, true};
        break;
    default:
        return;
    }
    const int code = changeMap(step.op, step.run);
    // Only a register list that was built is worth redrawing after "Auto-create".
    if (step.refreshesRegisters && !(action == kCreateRegistersFromMaster && code != kOk))
        refreshRegisterList();
}

void NVListPage::command(int number) {
    switch (number) {
    case kClearNVList:
        clearList();
        break;
    case kExportXif:
        exportXif();
        break;
    default:
        ToolPage::command(number);
        break;
    }
}

void NVListPage::clearList() {
    int rows = 0;
    {
        std::lock_guard lock(tool_.mapMutex());
        rows = tool_.map().nvCount;
    }
    const QString question = QString::fromLatin1(kConfirmClearNVList);
    if (rows > 0 && !tool_.showMessage(question, MessageButtons::OkCancel, MessageIcon::Error)) return;
    {
        std::lock_guard lock(tool_.mapMutex());
        clearNVList(tool_.map());
    }
    refresh();
    refreshRegisterList();
}

void NVListPage::exportXif() {
    QString path = tool_.prompter().saveFileName(this, QString::fromLatin1(kXifSaveFilters));
    if (path.isEmpty()) return;
    path = QFile::decodeName(QByteArray::fromStdString(xifExportPath(QFile::encodeName(path).toStdString())));
    if (!tool_.confirmOverwrite(path)) return;
    XifFileOutcome outcome;
    {
        std::lock_guard lock(tool_.mapMutex());
        outcome = exportXifFile(QFile::encodeName(path).toStdString(), tool_.map(),
                                tool_.deviceModelName().toStdString(), xifDateNow());
    }
    const QString text = QFile::decodeName(QByteArray::fromStdString(outcome.message));
    if (outcome.ok)
        setStatus(text);
    else
        tool_.showMessage(text, MessageButtons::Ok, MessageIcon::Information);
    tool_.updateTitle();
    refresh();
}

} // namespace korvex::ui
