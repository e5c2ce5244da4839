// The Reg List page's commands: the row buttons, "Execute" with the action list, clearing the
// list and the CSV export. The map session announces what each changed.
#include "formats/csv/CsvResult.h"
#include "formats/csv/RegisterCsvFile.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "ui/pages/reglist/RegListPage.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/UiTexts.h"

#include <QComboBox>
#include <QFile>

namespace korvex::ui::pages {

namespace text = window::text;
namespace {

constexpr char kCsvSaveFilters[] = "Modbus register list (*.csv);;All files (*.*)";

} // namespace

void RegListPage::insertRow() {
    changeRows(MapPart::RegisterList, selected_, ModelOp::InsertRegister,
               [this](ObjectMap& map) { return insertRegister(map, selected_); });
}

void RegListPage::appendRow() {
    const int end = session_.read([](const ObjectMap& map) { return map.registerCount; });
    changeRows(MapPart::RegisterList, end, ModelOp::InsertRegister, appendRegister);
}

void RegListPage::deleteRow() {
    changeRows(MapPart::RegisterList, selected_, ModelOp::DeleteRegister,
               [this](ObjectMap& map) { return deleteRegister(map, selected_); });
}

// Only the two building actions can be refused.
void RegListPage::execute() {
    constexpr MapParts kLists = MapPart::RegisterList | MapPart::NVList | MapPart::Objects;
    switch (actionList()->currentIndex()) {
    case kCreateNVsFromRegisters:
        changeMap(kLists, ModelOp::NVListFromRegisters, nvListFromRegisters);
        break;
    case kAssignObjectsFromRegisters:
        changeMap(kLists, ModelOp::MasterListFromRegisters, masterListFromRegisters);
        break;
    case kRemoveRegisterObjects:
        changeMap(kLists, std::nullopt, removeRegisterObjectAssignments);
        break;
    case kRebuildRegisterList:
        changeMap(kLists, std::nullopt, rebuildRegisterList);
        break;
    default:
        refresh();
        break;
    }
    tool_.update();
}

void RegListPage::clearList() {
    int rows = 0;
    {
        std::lock_guard lock(session_.mutex());
        rows = session_.map().registerCount;
    }
    const QString question = QString::fromLatin1(kConfirmClearRegisterList);
    if (rows > 0 && !tool_.showMessage(question, MessageButtons::OkCancel, MessageIcon::Error)) return;
    tool_.updateTitle();
    session_.edit(MapPart::RegisterList | MapPart::NVList | MapPart::Objects,
                  [](ObjectMap& map) { clearRegisterList(map); });
}

// A cancelled file dialog or overwrite question ends the export without a word; a written file
// says so, and a file that could not be written says why.
void RegListPage::exportCsv() {
    tool_.updateTitle();
    QString path = tool_.prompter().saveFileName(this, QString::fromLatin1(kCsvSaveFilters));
    if (path.isEmpty()) return;
    path = QFile::decodeName(QByteArray::fromStdString(csvExportPath(QFile::encodeName(path).toStdString())));
    if (!tool_.confirmOverwrite(path)) return;
    CsvFileOutcome outcome;
    {
        std::lock_guard lock(session_.mutex());
        outcome = exportRegisterCsvFile(QFile::encodeName(path).toStdString(), session_.map(),
                                        tool_.options().modicon);
    }
    if (!outcome.ok) {
        tool_.showMessage(QFile::decodeName(QByteArray::fromStdString(outcome.message)), MessageButtons::Ok,
                          MessageIcon::Information);
        tool_.showMessage(QString::fromLatin1(CsvText::FailedToCreate));
        return;
    }
    tool_.showMessage(QString::fromLatin1(text::kFileSaved), MessageButtons::Ok, MessageIcon::Information);
    refresh();
}

} // namespace korvex::ui::pages
