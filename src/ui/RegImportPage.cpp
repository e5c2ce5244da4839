#include "ui/RegImportPage.h"

#include "modbus/RegisterCsvFile.h"
#include "ui/ConfigTool.h"
#include "ui/RegImportPageGrid.h"
#include "ui/RegListPageCells.h"
#include "ui/SlaveID.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace korvex::ui {

namespace {

constexpr char kCsvOpenFilters[] = "CSV files (*.csv);;All files (*.*)";

std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString shown(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

} // namespace

RegImportPage::RegImportPage(ConfigTool& tool, QWidget* parent)
    : ToolPage(tool, kRegImportPage, parent), list_(std::make_unique<RegisterImportList>()) {
    makeToolbar({{kClearRegImport, "Clear import list", "cmd_clear"},
                 {kImportCsv, "Import CSV file", "cmd_import"},
                 kHelpButton});

    add_ = new QPushButton(QStringLiteral("Add to Reg List"));
    add_->setObjectName(QStringLiteral("addToList"));
    connect(add_, &QPushButton::clicked, this, &RegImportPage::addToRegisterList);
    slave_ = new QPushButton(QStringLiteral("Set Slave Addr"));
    slave_->setObjectName(QStringLiteral("setSlaveAddr"));
    connect(slave_, &QPushButton::clicked, this, &RegImportPage::setSlaveAddress);
    QPlainTextEdit* status = makeStatusBox(1);
    status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    status->setLineWrapMode(QPlainTextEdit::NoWrap);
    setStatusBox(status);

    auto* row = new QHBoxLayout;
    row->addWidget(add_);
    row->addWidget(status, 1);
    row->addWidget(slave_);

    model_ = new ImportGridModel([this] { return list_->count; }, this);
    grid_ = new QTableView;
    setUpListGrid(*grid_, *model_, "regImportGrid");
    marks_ = new ImportMarks(*grid_, *model_,
                             {[this] { return list_->count; },
                              [this](int i) { return list_->entries[i].defined != 0; },
                              [this](int i, bool on) { list_->entries[i].defined = on ? 1 : 0; }},
                             HeadingToggle::ImageColumnOnly);
    buildColumns();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(toolbar());
    layout->addLayout(row);
    layout->addWidget(grid_, 1);
}

RegImportPage::~RegImportPage() = default;

void RegImportPage::buildColumns() {
    // Captured by the cell functions; the page outlives its model.
    auto images = std::make_shared<GridImages>();
    auto entry = [this](int i) -> const RegisterDef& { return list_->entries[i]; };
    auto cell = [entry](QString (*text)(const RegisterDef&)) {
        return [entry, text](int i) { return text(entry(i)); };
    };
    std::vector<ImportColumn> columns{
        {QString(),
         15,
         {},
         [entry, images](int i) { return entry(i).defined ? images->marked : images->blank; }},
        {QStringLiteral("R/W"), 45, cell(regcell::access)},
    };
    if (tool_.options().modicon) {
        columns.push_back({QStringLiteral("Modicon #"), 120, cell(regcell::modicon)});
    } else {
        columns.push_back({QStringLiteral("Type"), 60, cell(regcell::type)});
        columns.push_back({QStringLiteral("Reg #"), 60, cell(regcell::number)});
    }
    columns.insert(columns.end(), {{QStringLiteral("Bit #"), 60, cell(regcell::bit)},
                                   {QStringLiteral("Format"), 60, cell(regcell::format)},
                                   {QStringLiteral("Slave"), 60, cell(regcell::slave)},
                                   {QStringLiteral("Packed"), 60, cell(regcell::packed)},
                                   {QStringLiteral("High Reg First"), 80, cell(regcell::highRegFirst)},
                                   {QStringLiteral("Name"), 0, cell(regcell::name)}});
    model_->setColumns(std::move(columns));
    applyColumnWidths(*grid_, [this](int c) { return model_->columnWidth(c); });
}

void RegImportPage::refresh() {
    marks_->refresh(true);
}

void RegImportPage::notationChanged() {
    buildColumns();
    refresh();
}

void RegImportPage::command(int number) {
    switch (number) {
    case kClearRegImport:
        clearImport();
        break;
    case kImportCsv:
        importCsv();
        break;
    default:
        ToolPage::command(number);
        break;
    }
}

void RegImportPage::clearImport() {
    clearImportList(*list_);
    fileName_.clear();
    marks_->refresh(false);
    clearStatus();
}

void RegImportPage::importCsv() {
    const QString path = tool_.prompter().openFileName(this, QString::fromLatin1(kCsvOpenFilters));
    // A cancelled dialog keeps the list that is shown, as the NV Import page does.
    if (path.isEmpty()) return;
    const CsvFileOutcome outcome = importRegisterCsvFile(native(path), *list_, tool_.options().modicon);
    if (outcome.ok) {
        fileName_ = shown(outcome.fileName);
        setStatus(shown(outcome.message));
    } else {
        fileName_.clear();
        clearStatus();
    }
    marks_->refresh(false);
    tool_.updateTitle();
    if (!outcome.ok) tool_.showMessage(shown(outcome.message), MessageButtons::Ok, MessageIcon::Information);
}

void RegImportPage::addToRegisterList() {
    int added = 0;
    {
        std::lock_guard lock(tool_.mapMutex());
        added = addSelectedRegisters(*list_, tool_.map());
    }
    setStatus(QString::fromStdString(entriesAddedText(added)));
    tool_.updateTitle();
    tool_.page(kRegListPage)->refresh();
}

void RegImportPage::setSlaveAddress() {
    SlaveID(editorContext(tool_), *list_, &tool_).exec();
    refresh();
}

} // namespace korvex::ui
