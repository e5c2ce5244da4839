#pragma once
// Opens the help topic of a page ("korvex-section-N.html") without waiting for the viewer. The
// topics are installed in a "help" folder beside the program; the start directory's "help" folder
// is the fallback. Where the compiled help file lies in the start directory on Windows, the
// system help viewer is started on it instead.
#include <QString>
#include <QUrl>

#include <functional>

namespace korvex::ui::window {

class HelpLauncher {
public:
    using Opener = std::function<void(const QUrl&)>;

    explicit HelpLauncher(QString startDirectory);

    static QString topicName(int section);
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
