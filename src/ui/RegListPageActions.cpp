// The Reg List page's commands: the row buttons, "Execute" with the action list, clearing the
// list and the CSV export. Each ends with a grid refresh, refused or not.
#include "formats/csv/CsvResult.h"
#include "formats/csv/RegisterCsvFile.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "ui/ConfigTool.h"
#include "ui/RegListPage.h"
#include "ui/UiTexts.h"

#include <QComboBox>
#include <QFile>

namespace korvex::ui {

namespace {

constexpr char kCsvSaveFilters[] = "Modbus register list (*.csv);;All files (*.*)";

} // namespace

void RegListPage::insertRow() {
    changeMap(ModelOp::InsertRegister, [this](ObjectMap& map) { return insertRegister(map, selected_); });
    refresh();
}

void RegListPage::appendRow() {
    changeMap(ModelOp::InsertRegister, appendRegister);
    refresh();
}

void RegListPage::deleteRow() {
    changeMap(ModelOp::DeleteRegister, [this](ObjectMap& map) { return deleteRegister(map, selected_); });
    refresh();
}

// Only the two building actions can be refused.
void RegListPage::execute() {
    switch (actionList()->currentIndex()) {
    case kCreateNVsFromRegisters:
        changeMap(ModelOp::NVListFromRegisters, nvListFromRegisters);
        break;
    case kAssignObjectsFromRegisters:
        changeMap(ModelOp::MasterListFromRegisters, masterListFromRegisters);
        break;
    case kRemoveRegisterObjects:
        changeMap(std::nullopt, removeRegisterObjectAssignments);
        break;
    case kRebuildRegisterList:
        changeMap(std::nullopt, rebuildRegisterList);
        break;
    default:
        break;
    }
    refresh();
    tool_.update();
}

void RegListPage::command(int number) {
    switch (number) {
    case kClearRegList:
        clearList();
        break;
    case kExportCsv:
        exportCsv();
        break;
    default:
        ToolPage::command(number);
        break;
    }
}

void RegListPage::clearList() {
    int rows = 0;
    {
        std::lock_guard lock(tool_.mapMutex());
        rows = tool_.map().registerCount;
    }
    const QString question = QString::fromLatin1(kConfirmClearRegisterList);
    if (rows > 0 && !tool_.showMessage(question, MessageButtons::OkCancel, MessageIcon::Error)) return;
    tool_.updateTitle();
    {
        std::lock_guard lock(tool_.mapMutex());
        clearRegisterList(tool_.map());
    }
    refresh();
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
        std::lock_guard lock(tool_.mapMutex());
        outcome = exportRegisterCsvFile(QFile::encodeName(path).toStdString(), tool_.map(),
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

} // namespace korvex::ui
