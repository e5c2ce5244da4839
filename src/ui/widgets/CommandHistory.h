#pragma once
// The lines typed on the terminal, oldest first, walked with Up and Down as a shell does: the
// line being typed is kept while the user looks back and comes back below the newest. Bounded;
// a line sent twice in a row is kept once. Window thread only.
#include <QString>
#include <QStringList>

#include <optional>

namespace korvex::ui::widgets {

class CommandHistory {
public:
    CommandHistory(QStringList lines, int bound);

    // A sent line; the walk starts again below the newest.
    void add(const QString& line);
    // The line before the one shown; typed is what the box holds (kept when the walk starts).
    // Nothing once at the oldest.
    std::optional<QString> older(const QString& typed);
    // The line after the one shown, then the line that was being typed; nothing below that.
    std::optional<QString> newer();
    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
    int bound_;
    qsizetype position_; // lines_.size(): below the newest, showing the typed line
    QString typed_;
};

} // namespace korvex::ui::widgets
