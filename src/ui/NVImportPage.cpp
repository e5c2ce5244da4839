#include "ui/NVImportPage.h"

#include "lonworks/SnvtCatalogue.h"
#include "lonworks/XifFile.h"
#include "model/FixedText.h"
#include "ui/ConfigTool.h"
#include "ui/RegImportPageGrid.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace korvex::ui {

namespace {

constexpr char kXifOpenFilters[] = "XIF files (*.xif);;All files (*.*)";

QString shown(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

} // namespace

NVImportPage::NVImportPage(ConfigTool& tool, QWidget* parent)
    : ToolPage(tool, kNVImportPage, parent), table_(std::make_unique<ImportTable>()) {
    makeToolbar({{kClearNVImport, "Clear Import list", "cmd_clear"},
                 {kImportXif, "Import XIF file", "cmd_import"},
                 kHelpButton});

    add_ = new QPushButton(QStringLiteral("Add to NV List"));
    add_->setObjectName(QStringLiteral("addToList"));
    connect(add_, &QPushButton::clicked, this, &NVImportPage::addToNVList);
    QPlainTextEdit* status = makeStatusBox(1);
    status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    status->setLineWrapMode(QPlainTextEdit::NoWrap);
    setStatusBox(status);

    auto* row = new QHBoxLayout;
    row->addWidget(add_);
    row->addWidget(status, 1);

    model_ = new ImportGridModel([this] { return table_->count; }, this);
    grid_ = new QTableView;
    setUpListGrid(*grid_, *model_, "nvImportGrid");
    marks_ = new ImportMarks(*grid_, *model_,
                             {[this] { return table_->count; },
                              [this](int i) { return table_->entries[i].selected != 0; },
                              [this](int i, bool on) { table_->entries[i].selected = on ? 1 : 0; }},
                             HeadingToggle::AnyColumn);
    buildColumns();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(toolbar());
    layout->addLayout(row);
    layout->addWidget(grid_, 1);
}

NVImportPage::~NVImportPage() = default;

void NVImportPage::buildColumns() {
    auto images = std::make_shared<GridImages>();
    auto entry = [this](int i) -> const ImportEntry& { return table_->entries[i]; };
    model_->setColumns({
        {QString(),
         15,
         {},
         [entry, images](int i) { return entry(i).selected ? images->marked : images->blank; }},
        {QStringLiteral("Dir"), 45,
         [entry](int i) { return entry(i).isInput ? QStringLiteral("NVI") : QStringLiteral("NVO"); }},
        {QStringLiteral("Index"), 80, [](int i) { return QString::number(i); }},
        {QStringLiteral("SNVT Type"), 200,
         [entry](int i) { return QString::fromLatin1(snvt_name(entry(i).typeIndex)); }},
        {QStringLiteral("Name"), 0, [entry](int i) { return QString::fromLatin1(textOf(entry(i).name)); }},
    });
    applyColumnWidths(*grid_, [this](int c) { return model_->columnWidth(c); });
}

void NVImportPage::refresh() {
    marks_->refresh(true);
}

void NVImportPage::command(int number) {
    switch (number) {
    case kClearNVImport:
        clearImport();
        break;
    case kImportXif:
        importXif();
        break;
    default:
        ToolPage::command(number);
        break;
    }
}

void NVImportPage::clearImport() {
    clearImportTable(*table_);
    fileName_.clear();
    marks_->refresh(false);
    clearStatus();
}

void NVImportPage::importXif() {
    const QString path = tool_.prompter().openFileName(this, QString::fromLatin1(kXifOpenFilters));
    if (path.isEmpty()) return;
    const XifFileOutcome outcome = importXifFile(QFile::encodeName(path).toStdString(), *table_);
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

void NVImportPage::addToNVList() {
    int added = 0;
    {
        std::lock_guard lock(tool_.mapMutex());
        const int before = tool_.map().nvCount;
        add_selected(*table_, tool_.map());
        added = tool_.map().nvCount - before;
    }
    setStatus(QString::fromStdString(nvEntriesAddedText(added)));
    tool_.updateTitle();
    tool_.page(kNVListPage)->refresh();
}

} // namespace korvex::ui
