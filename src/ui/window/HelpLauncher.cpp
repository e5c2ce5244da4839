#include "ui/window/HelpLauncher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace korvex::ui::window {

HelpLauncher::HelpLauncher(QString startDirectory)
    : startDirectory_(std::move(startDirectory)),
      opener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {}

QString HelpLauncher::topicName(int section) {
    return QStringLiteral("korvex-section-%1.html").arg(section);
}

QString HelpLauncher::topicPath(int section) const {
    const QString name = topicName(section);
    const QStringList folders{QCoreApplication::applicationDirPath() + QStringLiteral("/help"),
                              startDirectory_ + QStringLiteral("/help")};
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path)) return QDir::cleanPath(path);
    }
    return QString();
}

void HelpLauncher::open(int section) const {
#ifdef Q_OS_WIN
    const QString chm = QDir(startDirectory_).filePath(QStringLiteral("korvex-mod.chm"));
    if (QFileInfo::exists(chm)) {
        QProcess::startDetached(QStringLiteral("hh.exe"),
                                {QDir::toNativeSeparators(chm) + QStringLiteral("::") + topicName(section)});
        return;
    }
#endif
    // A missing topic still goes to the viewer, which says that the file is not there; a viewer
    // that cannot be started is not reported.
    QString path = topicPath(section);
    if (path.isEmpty())
        path = QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/help"))
                   .filePath(topicName(section));
    if (opener_) opener_(QUrl::fromLocalFile(path));
}

} // namespace korvex::ui::window
