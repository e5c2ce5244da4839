#include "ui/window/FileOpening.h"

#include "ui/pages/ImportPage.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/UiTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace korvex::ui::window {

namespace {

enum class FileKind { Map, RegisterCsv, NetVarXif, Other };

FileKind kindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xml") return FileKind::Map;
    if (suffix == u"csv") return FileKind::RegisterCsv;
    if (suffix == u"xif") return FileKind::NetVarXif;
    return FileKind::Other;
}

void importInto(ConfigTool& tool, Page page, const QString& path) {
    tool.selectPage(page);
    static_cast<pages::ImportPage*>(tool.page(page))->importPath(path);
}

} // namespace

QStringList droppableFiles(const QMimeData& data) {
    QStringList files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile() && kindOf(url.toLocalFile()) != FileKind::Other) files << url.toLocalFile();
    return files;
}

void openNamedFile(ConfigTool& tool, const QString& path) {
    switch (kindOf(path)) {
    case FileKind::RegisterCsv:
        return importInto(tool, Page::RegImport, path);
    case FileKind::NetVarXif:
        return importInto(tool, Page::NVImport, path);
    case FileKind::Map:
    case FileKind::Other:
        break;
    }
    auto* list = static_cast<pages::MasterListPage*>(tool.page(Page::MasterList));
    if (kindOf(path) == FileKind::Map && !mayReplaceMap(tool, path)) return;
    if (list->openMapFile(path)) tool.selectPage(Page::MasterList);
}

bool mayReplaceMap(ConfigTool& tool, const QString& path) {
    if (tool.session().isSaved()) return true;
    return tool.showMessage(QString::fromLatin1(text::kDiscardAndOpen).arg(QDir::toNativeSeparators(path)),
                            MessageButtons::OkCancel, MessageIcon::Warning);
}

} // namespace korvex::ui::window
