#pragma once
// Opens the help topic of a page ("korvex-section-N.html") without waiting for the viewer. The
// topics are looked for in a "help" folder beside the program (the build tree), then in the
// installed data folder found from the program's own folder (<prefix>/bin ->
// <prefix>/share/korvex/help), then in the start directory's "help" folder. Where the compiled help file lies
// in the start directory on Windows, the system help viewer is started on it instead.
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

namespace korvex::ui::window {

class HelpLauncher {
public:
    using Opener = std::function<void(const QUrl&)>;

    explicit HelpLauncher(QString startDirectory);

    static QString topicName(int section);
    // The folders searched for the topics, in order.
    static QStringList topicFolders(const QString& programDir, const QString& startDirectory);
    // Where the topic of the section is found, or empty when it is nowhere.
    QString topicPath(int section) const;
    void open(int section) const;

    // Tests record what would be opened instead of starting a viewer.
    void setOpener(Opener opener) { opener_ = std::move(opener); }

private:
    QString startDirectory_;
    Opener opener_;
};

} // namespace korvex::ui::window
