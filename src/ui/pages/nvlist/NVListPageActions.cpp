// The NV List page's commands: the row buttons, "Execute" with the action list, clearing the
// list and the XIF export. The map session announces what each changed.
#include "device/actions/DeviceActions.h"
#include "formats/xif/XifFile.h"
#include "formats/xif/XifWriter.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "ui/pages/nvlist/NVListPage.h"
#include "ui/window/ConfigTool.h"

#include <QComboBox>
#include <QFile>

#include <functional>
#include <optional>

namespace korvex::ui::pages {

namespace {

constexpr char kXifSaveFilters[] = "XIF file (*.xif);;All files (*.*)";

} // namespace

void NVListPage::insertRow() {
    changeRows(MapPart::NVList, selected_, ModelOp::InsertNV,
               [this](ObjectMap& map) { return insertNV(map, selected_); });
}

void NVListPage::appendRow() {
    const int end = session_.read([](const ObjectMap& map) { return map.nvCount; });
    changeRows(MapPart::NVList, end, ModelOp::InsertNV, appendNV);
}

// The field row comes after the NV's fields; the rows from the NV on are read anew.
void NVListPage::addFieldRow() {
    changeRows(MapPart::NVList, selected_, ModelOp::AddField,
               [this](ObjectMap& map) { return addField(map, selected_); });
}

void NVListPage::deleteRow() {
    changeRows(MapPart::NVList, selected_, ModelOp::DeleteNV,
               [this](ObjectMap& map) { return deleteNVAt(map, selected_); });
}

void NVListPage::execute() {
    const int action = actionList()->currentIndex();
    // The two transfers report in this page's status box.
    if (action == kGetNVDefinitions)
        runDeviceAction([](device::DeviceActions& actions) { actions.getNetVars(); });
    else if (action == kSendNVDefinitions) {
        if (sendDespiteErrors())
            runDeviceAction([](device::DeviceActions& actions) { actions.sendNetVars(); });
    } else
        return runListAction(action);
    refresh();
}

// The list-building actions: one model operation each, its refusal shown as a message.
void NVListPage::runListAction(int action) {
    struct Step {
        std::optional<ModelOp> op; // none for the actions that never refuse
        std::function<int(ObjectMap&)> run;
        bool changesRegisters;
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
        refresh();
        return;
    }
    const int code = session_.edit(MapPart::NVList | MapPart::Objects, step.run);
    // Only a register list that was built is worth redrawing after "Auto-create".
    if (step.changesRegisters && !(action == kCreateRegistersFromMaster && code != kOk))
        session_.announceWhole(MapPart::RegisterList);
    if (step.op) tool_.showRefusal(*step.op, code);
}

void NVListPage::clearList() {
    int rows = 0;
    {
        std::lock_guard lock(session_.mutex());
        rows = session_.map().nvCount;
    }
    const QString question = QString::fromLatin1(kConfirmClearNVList);
    if (rows > 0 && !tool_.showMessage(question, MessageButtons::OkCancel, MessageIcon::Error)) return;
    session_.edit(MapPart::NVList | MapPart::Objects | MapPart::RegisterList,
                  [](ObjectMap& map) { clearNVList(map); });
}

void NVListPage::exportXif() {
    QString path = tool_.prompter().saveFileName(this, QString::fromLatin1(kXifSaveFilters));
    if (path.isEmpty()) return;
    path = QFile::decodeName(QByteArray::fromStdString(xifExportPath(QFile::encodeName(path).toStdString())));
    if (!tool_.confirmOverwrite(path)) return;
    const std::string model = tool_.deviceModelName().toStdString();
    // The export makes the NV names safe for the file, in the map too.
    const XifFileOutcome outcome = session_.edit(MapPart::NVList, [&](ObjectMap& map) {
        return exportXifFile(QFile::encodeName(path).toStdString(), map, model, xifDateNow());
    });
    const QString text = QFile::decodeName(QByteArray::fromStdString(outcome.message));
    if (outcome.ok)
        setStatus(text);
    else
        tool_.showMessage(text, MessageButtons::Ok, MessageIcon::Information);
    tool_.updateTitle();
}

} // namespace korvex::ui::pages
