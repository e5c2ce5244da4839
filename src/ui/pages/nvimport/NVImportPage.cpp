#include "ui/pages/nvimport/NVImportPage.h"

#include "vocab/SnvtCatalogue.h"
#include "formats/xif/XifFile.h"
#include "model/FixedText.h"
#include "ui/models/ImportGrid.h"
#include "ui/widgets/ListGrid.h"
#include "ui/window/ConfigTool.h"

namespace korvex::ui::pages {

using widgets::GridImages;

NVImportPage::NVImportPage(ConfigTool& tool, QWidget* parent)
    : ImportPage(tool, Page::NVImport, parent), table_(std::make_unique<ImportTable>()) {
    makeImportToolbar("Clear Import list", "Import XIF file");
    build({"XIF files (*.xif);;All files (*.*)", "Add to NV List", "nvImportGrid", HeadingToggle::AnyColumn},
          {[this] { return table_->count; }, [this](int i) { return table_->entries[i].selected != 0; },
           [this](int i, bool on) { table_->entries[i].selected = on ? 1 : 0; }});
    buildColumns();
}

NVImportPage::~NVImportPage() = default;

void NVImportPage::buildColumns() {
    auto images = std::make_shared<GridImages>();
    auto entry = [this](int i) -> const ImportEntry& { return table_->entries[i]; };
    setColumns({
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
}

void NVImportPage::clearEntries() {
    clearImportTable(*table_);
}

namespace {

// The status line, then one line for each NV that went in only in part or not at all.
std::string withNotes(std::string text, const std::vector<std::string>& notes) {
    for (const std::string& note : notes) text += "\n" + note;
    return text;
}

} // namespace

ImportOutcome NVImportPage::readFile(const std::string& path) {
    const XifFileOutcome outcome = importXifFile(path, *table_);
    return {outcome.ok, withNotes(outcome.message, outcome.notes), outcome.fileName};
}

void NVImportPage::addMarked() {
    int added = 0;
    std::vector<std::string> notes;
    {
        std::lock_guard lock(session_.mutex());
        const int before = session_.map().nvCount;
        add_selected(*table_, session_.map(), &notes);
        added = session_.map().nvCount - before;
    }
    showAdded(withNotes(nvEntriesAddedText(added), notes), MapPart::NVList);
}

} // namespace korvex::ui::pages
