// The Master List toolbar's file commands: new, open, save and save as.
#include "ui/ConfigTool.h"
#include "ui/MapFileAccess.h"
#include "ui/MasterListPage.h"
#include "ui/UiTexts.h"
#include "xml/MapFile.h"

namespace korvex::ui {

namespace {

// Port settings as they now are count as the file's (and, after a load, as the page's).
void takePortSnapshots(ObjectMap& map, bool alsoPage) {
    notePortSettingsSaved(map);
    if (alsoPage) map.pageSnapshot = map.modbus;
}

} // namespace

void MasterListPage::newMap() {
    tool_.setFileName(QString());
    tool_.updateTitle();
    {
        std::lock_guard lock(tool_.mapMutex());
        newObjectMap(tool_.map());
    }
    refresh();
    tool_.page(kRegListPage)->refresh();
    tool_.page(kNVListPage)->refresh();
}

// A file that fails to load leaves everything as it was: the map, its file name and its saved
// marks (the map may hold unsaved work the close guard must still ask about).
void MasterListPage::openMap() {
    const QString previous = tool_.fileName();
    tool_.setFileName(QString());
    tool_.updateTitle();
    const QString path = tool_.prompter().openFileName(this, QString::fromLatin1(text::kMapFilters));
    if (!path.isEmpty() && !hasXmlExtension(path)) {
        tool_.showMessage(QString::fromLatin1(text::kNeedXml), MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    if (!path.isEmpty()) {
        FileResult result;
        {
            std::lock_guard lock(tool_.mapMutex());
            result = loadObjectMapFile(tool_.map(), path);
        }
        if (!result.ok) {
            tool_.setFileName(previous);
            tool_.updateTitle();
            tool_.showMessage(result.error, MessageButtons::Ok, MessageIcon::Information);
            return;
        }
        tool_.setFileName(path);
        tool_.updateTitle();
        setStatus((QStringList(QString::fromLatin1(text::kFileLoaded)) << result.warnings).join(u'\n'));
    }
    afterFileOpen();
}

void MasterListPage::afterFileOpen() {
    {
        std::lock_guard lock(tool_.mapMutex());
        takePortSnapshots(tool_.map(), true);
    }
    tool_.page(kModbusPortPage)->refresh();
    tool_.page(kRegListPage)->refresh();
    tool_.page(kNVListPage)->refresh();
    tool_.page(kLonWorksPage)->refresh();
    refresh();
}

void MasterListPage::saveMap() {
    if (tool_.fileName().isEmpty()) {
        saveMapAs();
        return;
    }
    FileResult result;
    {
        std::lock_guard lock(tool_.mapMutex());
        result = saveObjectMapFile(tool_.map(), tool_.fileName());
    }
    if (!result.ok) {
        tool_.setFileName(QString());
        tool_.updateTitle();
        tool_.showMessage(result.error, MessageButtons::Ok, MessageIcon::Information);
    }
    afterFileSave(result.ok);
}

void MasterListPage::saveMapAs() {
    tool_.setFileName(QString());
    tool_.updateTitle();
    QString path = tool_.prompter().saveFileName(this, QString::fromLatin1(text::kMapFilters));
    if (path.isEmpty()) return;
    path = withXmlExtension(path);
    if (!tool_.confirmOverwrite(path)) return;
    FileResult result;
    {
        std::lock_guard lock(tool_.mapMutex());
        result = saveObjectMapFile(tool_.map(), path);
    }
    if (result.ok) {
        tool_.setFileName(path);
        tool_.updateTitle();
    } else {
        tool_.showMessage(result.error, MessageButtons::Ok, MessageIcon::Information);
    }
    afterFileSave(result.ok);
}

// Only a file that was written takes the port settings as saved: a cancelled or failed save
// leaves the close guard asking.
void MasterListPage::afterFileSave(bool saved) {
    if (!saved) return;
    setStatus(QString::fromLatin1(text::kFileSaved));
    {
        std::lock_guard lock(tool_.mapMutex());
        takePortSnapshots(tool_.map(), false);
    }
    tool_.updateInSync();
}

} // namespace korvex::ui
