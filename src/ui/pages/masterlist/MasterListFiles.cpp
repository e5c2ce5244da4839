// The Master List toolbar's file commands: new, open, save and save as.
#include "formats/xml/MapFile.h"
#include "ui/pages/lonworks/LonWorksFields.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/FileOpening.h"
#include "ui/window/MapFileAccess.h"
#include "ui/window/StoredOptions.h"
#include "ui/window/UiTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace korvex::ui::pages {

using window::hasXmlExtension;
using window::withXmlExtension;
namespace text = window::text;
namespace stored = window::stored;
using window::FileResult;
using window::loadObjectMapFile;
using window::saveObjectMapFile;

namespace {

// Port settings as they now are count as the file's (and, after a load, as the page's).
void takePortSnapshots(ObjectMap& map, bool alsoPage) {
    notePortSettingsSaved(map);
    if (alsoPage) map.pageSnapshot = map.modbus;
}

} // namespace

// A blank map is the map of start-up, "Unassigned" location included. New clears the undo
// history, so unsaved work would be gone for good: it asks first.
void MasterListPage::newMap() {
    if (!session_.isSaved() && !tool_.showMessage(QString::fromLatin1(text::kDiscardForBlankMap),
                                                  MessageButtons::OkCancel, MessageIcon::Warning))
        return;
    session_.setFileName(QString());
    tool_.updateTitle();
    {
        std::lock_guard lock(session_.mutex());
        newObjectMap(session_.map());
        giveDefaultLocation(session_.map().node);
    }
    session_.markSaved();
    showLoadedMap();
}

// A file that fails to load leaves everything as it was: the map, its file name and its saved
// marks (the map may hold unsaved work the close guard must still ask about). Unsaved work is
// given up only when the user says so once the file is chosen; a No keeps the file name too.
void MasterListPage::openMap() {
    const QString previous = session_.fileName();
    session_.setFileName(QString());
    tool_.updateTitle();
    const QString path = tool_.prompter().openFileName(this, QString::fromLatin1(text::kMapFilters));
    if (!path.isEmpty() && !hasXmlExtension(path)) {
        tool_.showMessage(QString::fromLatin1(text::kNeedXml), MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    if (!path.isEmpty() && !window::mayReplaceMap(tool_, path)) {
        session_.setFileName(previous);
        tool_.updateTitle();
        return;
    }
    if (!path.isEmpty() && !loadMap(path, previous)) return;
    afterFileOpen();
}

// A map named without the dialog (recent maps, the command line, a drop): as Open with that
// file chosen.
bool MasterListPage::openMapFile(const QString& path) {
    clearStatus();
    if (!hasXmlExtension(path)) {
        tool_.showMessage(QString::fromLatin1(text::kNeedXml), MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    const QString previous = session_.fileName();
    session_.setFileName(QString());
    if (!loadMap(path, previous)) return false;
    afterFileOpen();
    return true;
}

void MasterListPage::fillRecentMenu() {
    recent_->clear();
    const QStringList maps = stored::recentMaps();
    if (maps.isEmpty()) recent_->addAction(QString::fromLatin1(text::kNoRecentMaps))->setEnabled(false);
    for (const QString& path : maps)
        recent_->addAction(QDir::toNativeSeparators(path), this, [this, path] { openRecent(path); });
}

// A map that is gone is said so and leaves the list; unsaved work is given up only when the user
// says so.
void MasterListPage::openRecent(const QString& path) {
    clearStatus();
    if (!QFileInfo::exists(path)) {
        stored::removeRecentMap(path);
        tool_.showMessage(QString::fromLatin1(text::kRecentMapGone).arg(QDir::toNativeSeparators(path)),
                          MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    if (window::mayReplaceMap(tool_, path)) openMapFile(path);
}

bool MasterListPage::loadMap(const QString& path, const QString& previous) {
    FileResult result;
    {
        std::lock_guard lock(session_.mutex());
        result = loadObjectMapFile(session_.map(), path);
    }
    if (!result.ok) {
        session_.setFileName(previous);
        tool_.updateTitle();
        tool_.showMessage(result.error, MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    session_.markSaved();
    session_.setFileName(path);
    stored::addRecentMap(path);
    tool_.updateTitle();
    setStatus((QStringList(QString::fromLatin1(text::kFileLoaded)) << result.warnings).join(u'\n'));
    return true;
}

void MasterListPage::afterFileOpen() {
    {
        std::lock_guard lock(session_.mutex());
        takePortSnapshots(session_.map(), true);
    }
    showLoadedMap();
}

// Every page shows the map that is now loaded: no field keeps a value of the map before.
void MasterListPage::showLoadedMap() {
    session_.announceReplaced();
}

void MasterListPage::saveMap() {
    if (session_.fileName().isEmpty()) {
        saveMapAs();
        return;
    }
    FileResult result;
    {
        std::lock_guard lock(session_.mutex());
        result = saveObjectMapFile(session_.map(), session_.fileName());
    }
    if (result.ok) session_.markSaved();
    if (!result.ok) {
        session_.setFileName(QString());
        tool_.updateTitle();
        tool_.showMessage(result.error, MessageButtons::Ok, MessageIcon::Information);
    }
    afterFileSave(result.ok);
}

// A cancelled save changes nothing: the current file name (and the title with it) is given up
// only once another file is being written.
void MasterListPage::saveMapAs() {
    QString path = tool_.prompter().saveFileName(this, QString::fromLatin1(text::kMapFilters));
    if (path.isEmpty()) return;
    path = withXmlExtension(path);
    if (!tool_.confirmOverwrite(path)) return;
    FileResult result;
    {
        std::lock_guard lock(session_.mutex());
        result = saveObjectMapFile(session_.map(), path);
    }
    if (result.ok) session_.markSaved();
    session_.setFileName(result.ok ? path : QString());
    tool_.updateTitle();
    if (!result.ok) tool_.showMessage(result.error, MessageButtons::Ok, MessageIcon::Information);
    afterFileSave(result.ok);
}

// Only a file that was written takes the port settings as saved: a cancelled or failed save
// leaves the close guard asking.
void MasterListPage::afterFileSave(bool saved) {
    if (!saved) return;
    stored::addRecentMap(session_.fileName());
    setStatus(QString::fromLatin1(text::kFileSaved));
    {
        std::lock_guard lock(session_.mutex());
        takePortSnapshots(session_.map(), false);
    }
    tool_.updateInSync();
}

} // namespace korvex::ui::pages
