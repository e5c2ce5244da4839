#pragma once
// The Traffic window's model: the lines of the wire trace the window has taken from the link's
// recorder, one row per line with the columns "Time", "Tag", "Length" and "Text". Each line is
// held in the trace's one text form, so what is shown, filtered and saved is the same text. At
// most maxLines are held (the oldest go first, also from the rows shown); a filter shows only the
// lines that contain its text (any case); paused, the model takes lines in without showing them
// until it resumes. Rows come and go in one insertion or removal per batch, never a reset, so a
// view keeps up with a busy line. Window thread only.
#include "device/link/TraceRecorder.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace korvex::ui::models {

class TrafficModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TimeColumn, TagColumn, LengthColumn, TextColumn, ColumnCount };
    static constexpr std::size_t kMaxLines = 100'000;

    explicit TrafficModel(QObject* parent = nullptr, std::size_t maxLines = kMaxLines);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The events of a batch, after a line of our own for the events it missed.
    void append(const device::TraceBatch& batch);
    // A line of the window's own: "!" and the words, at micros (since the port opened).
    void appendNote(std::int64_t micros, std::string_view words);

    void setPaused(bool paused);
    bool paused() const { return paused_; }
    void setFilter(const QString& text);
    // Forgets every line.
    void clear();

    // The line of a row as the trace writes it, without its line end.
    QString lineText(int row) const;
    // Every line held, shown or not, each ending in "\n": the trace as its file holds it.
    std::string text() const;
    std::size_t heldLines() const { return lines_.size(); }
    // Lines taken in while paused, not yet shown (whether or not they pass the filter).
    std::size_t waitingLines() const;

private:
    struct Line {
        std::string text; // the trace line without its "\n"
        int length = -1;  // the length column; -1 for none
    };

    const Line& lineOf(std::uint64_t number) const;
    const Line& lineAt(int row) const;
    bool passes(const Line& line) const;
    void push(std::string text, int length);
    void pushNote(std::int64_t micros, std::string_view words);
    void dropOldest();
    void showWaiting();

    const std::size_t maxLines_;
    std::deque<Line> lines_;
    std::uint64_t firstNumber_ = 0;   // number of lines_.front(); lines are numbered as taken in
    std::deque<std::uint64_t> shown_; // numbers of the lines that are rows, oldest first
    std::uint64_t shownUpTo_ = 0;     // lines numbered below it have been shown or filtered out
    std::string filter_;              // lower case
    bool paused_ = false;
};

} // namespace korvex::ui::models
