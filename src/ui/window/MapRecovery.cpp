#include "ui/window/MapRecovery.h"

#include "formats/AtomicFile.h"
#include "formats/xml/MapDocument.h"
#include "ui/window/MapFileAccess.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

namespace korvex::ui::window {

namespace {

std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

void removeIn(const QString& folder) {
    QFile::remove(MapRecovery::mapPathIn(folder));
    QFile::remove(MapRecovery::namePathIn(folder));
}

// Beside the map: the file name it had (line 1) and the gateway model it was for (line 2), which
// the map file format does not keep.
struct KeptName {
    QString fileName;
    int deviceModel = -1; // -1: not kept
};

KeptName keptNameIn(const QString& folder) {
    QFile file(MapRecovery::namePathIn(folder));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    KeptName kept{lines.value(0), -1};
    bool ok = false;
    const int model = lines.value(1).toInt(&ok);
    if (ok && model >= 0 && model < kDeviceModelCount) kept.deviceModel = model;
    return kept;
}

// Nothing of a restored map is in a file yet: every saved mark goes.
void clearSavedMarks(ObjectMap& map) {
    for (DataObject& o : map.objects) o.syncFlags &= ~SyncFlag::Saved;
    for (NetVar& nv : map.nvs) nv.saved = 0;
    map.saveIndicators = SaveIndicators{false, false, false};
}

} // namespace

MapRecovery::MapRecovery(MapSession& session, Prompter& prompter, QWidget& owner)
    : QObject(nullptr), session_(session), prompter_(prompter), owner_(owner) {
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, &MapRecovery::writeNow);
    connect(&session_, &MapSession::changed, this, [this](const MapChange& change) {
        if (change.parts.testAnyFlags(~MapParts(MapPart::Values))) unwritten_ = true;
    });
    connect(&session_, &MapSession::savedMarked, this, &MapRecovery::discard);
}

MapRecovery::~MapRecovery() = default;

QString MapRecovery::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

int MapRecovery::intervalFromEnvironment() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("KORVEX_RECOVERY_INTERVAL_MS", &ok);
    return ok && ms > 0 ? ms : kDefaultIntervalMs;
}

QString MapRecovery::mapPathIn(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("recovery.xml"));
}

QString MapRecovery::namePathIn(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("recovery-name.txt"));
}

QString MapRecovery::mapPath() const {
    return mapPathIn(folder_);
}

QString MapRecovery::namePath() const {
    return namePathIn(folder_);
}

// A lock left by a process that no longer runs is taken over.
bool MapRecovery::claim(const QString& folder) {
    QDir().mkpath(folder);
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(QStringLiteral("recovery.lock")));
    if (!lock->tryLock(0)) return false;
    lock_ = std::move(lock);
    folder_ = folder;
    return true;
}

void MapRecovery::start(int intervalMs) {
    if (!folder_.isEmpty()) timer_->start(intervalMs);
}

bool MapRecovery::writeNow() {
    if (folder_.isEmpty()) return true;
    if (session_.isSaved()) {
        discard();
        return true;
    }
    if (!unwritten_ && QFile::exists(mapPath())) return true;
    // Rendering normalises the TCP device map in the map it is given: a copy, not the user's.
    auto copy = std::make_unique<ObjectMap>();
    session_.read([&copy](const ObjectMap& map) { *copy = map; });
    const RenderedMap rendered = renderObjectMap(*copy);
    const std::string kept = session_.fileName().toStdString() + '\n' + std::to_string(copy->deviceModel);
    // The name first: a map file is only ever there with its name beside it.
    const bool ok = replaceFileAtomically(native(namePath()), kept) &&
                    replaceFileAtomically(native(mapPath()), rendered.text);
    if (ok)
        unwritten_ = false;
    else
        qWarning("korvex-config: could not write the recovery file %s", qPrintable(mapPath()));
    return ok;
}

void MapRecovery::discard() {
    unwritten_ = false;
    if (!folder_.isEmpty()) removeIn(folder_);
}

bool MapRecovery::offer() {
    if (folder_.isEmpty() || !QFile::exists(mapPath())) return false;
    const KeptName kept = keptNameIn(folder_);
    const QString& original = kept.fileName;
    const QString what = original.isEmpty() ? QStringLiteral("a new map") : fileNamePart(original);
    const QString question =
        QStringLiteral("The program did not end normally last time; unsaved changes to %1 "
                       "were kept.\nClick OK to restore them, or Cancel to discard them.")
            .arg(what);
    if (!prompter_.message(&owner_, question, MessageButtons::OkCancel, MessageIcon::Warning)) {
        discard();
        return false;
    }
    return restore(original, kept.deviceModel);
}

// A recovery file that cannot be read stays where it is, so nothing is lost by trying.
bool MapRecovery::restore(const QString& originalName, int deviceModel) {
    auto copy = std::make_unique<ObjectMap>();
    session_.read([&copy](const ObjectMap& map) { *copy = map; });
    if (deviceModel >= 0) copy->deviceModel = deviceModel;
    const FileResult result = loadObjectMapFile(*copy, mapPath());
    if (!result.ok) {
        prompter_.message(&owner_,
                          QStringLiteral("The kept changes could not be read (%1):\n%2")
                              .arg(QDir::toNativeSeparators(mapPath()), result.error),
                          MessageButtons::Ok, MessageIcon::Information);
        return false;
    }
    clearSavedMarks(*copy);
    copy->pageSnapshot = copy->modbus;
    {
        std::lock_guard lock(session_.mutex());
        session_.map() = *copy;
    }
    session_.setFileName(originalName);
    session_.announceReplaced();
    unwritten_ = true;
    return true;
}

} // namespace korvex::ui::window
