#include "ui/models/TrafficModel.h"

#include "vocab/TextFormat.h"

#include <algorithm>
#include <array>

namespace korvex::ui::models {

namespace {

constexpr std::array<const char*, TrafficModel::ColumnCount> kTitles{"Time", "Tag", "Length", "Text"};

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A line is "<time> <tag> <text>"; the time never holds a blank.
std::size_t timeEnd(const std::string& line) {
    const std::size_t blank = line.find(' ');
    return blank == std::string::npos ? line.size() : blank;
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

int lengthOf(const device::TraceEvent& event) {
    switch (event.kind) {
    case TraceKind::Sent:
    case TraceKind::Received:
        return static_cast<int>(event.bytes.size());
    case TraceKind::Reply:
        return event.length;
    default:
        return -1;
    }
}

} // namespace

TrafficModel::TrafficModel(QObject* parent, std::size_t maxLines)
    : QAbstractTableModel(parent), maxLines_(std::max<std::size_t>(1, maxLines)) {}

int TrafficModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int TrafficModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const TrafficModel::Line& TrafficModel::lineOf(std::uint64_t number) const {
    return lines_[static_cast<std::size_t>(number - firstNumber_)];
}

const TrafficModel::Line& TrafficModel::lineAt(int row) const {
    return lineOf(shown_[static_cast<std::size_t>(row)]);
}

QVariant TrafficModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const int column = index.column();
    if (role == Qt::TextAlignmentRole && (column == TimeColumn || column == LengthColumn))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && !(role == Qt::ToolTipRole && column == TextColumn)) return {};
    const Line& line = lineAt(index.row());
    const std::string_view text = line.text;
    const std::size_t time = timeEnd(line.text);
    switch (column) {
    case TimeColumn:
        return latin1(text.substr(0, time));
    case TagColumn:
        return latin1(text.substr(std::min(time + 1, text.size()), 1));
    case LengthColumn:
        return line.length < 0 ? QVariant() : QVariant(line.length);
    default:
        return latin1(text.substr(std::min(time + 3, text.size())));
    }
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(kTitles[static_cast<std::size_t>(section)]);
}

bool TrafficModel::passes(const Line& line) const {
    if (filter_.empty()) return true;
    const auto at = std::search(line.text.begin(), line.text.end(), filter_.begin(), filter_.end(),
                                [](char a, char b) { return lower(a) == b; });
    return at != line.text.end();
}

void TrafficModel::push(std::string text, int length) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    lines_.push_back(Line{std::move(text), length});
}

void TrafficModel::append(const device::TraceBatch& batch) {
    if (batch.missed > 0 && !batch.events.empty()) {
        pushNote(batch.events.front().micros,
                 formatText("dropped {} events: the recording ran full before the window read them",
                            batch.missed));
    }
    for (const device::TraceEvent& event : batch.events) {
        std::string line;
        device::appendTraceLine(line, event);
        push(std::move(line), lengthOf(event));
    }
    dropOldest();
    showWaiting();
}

void TrafficModel::appendNote(std::int64_t micros, std::string_view words) {
    pushNote(micros, words);
    dropOldest();
    showWaiting();
}

void TrafficModel::pushNote(std::int64_t micros, std::string_view words) {
    std::string line;
    appendTraceNote(line, micros, words);
    push(std::move(line), -1);
}

// The lines over the bound go, and with them their rows, in one removal.
void TrafficModel::dropOldest() {
    if (lines_.size() <= maxLines_) return;
    const std::size_t excess = lines_.size() - maxLines_;
    lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(excess));
    firstNumber_ += excess;
    shownUpTo_ = std::max(shownUpTo_, firstNumber_);
    const auto gone =
        std::find_if(shown_.begin(), shown_.end(), [&](std::uint64_t n) { return n >= firstNumber_; });
    const int rows = static_cast<int>(gone - shown_.begin());
    if (rows == 0) return;
    beginRemoveRows(QModelIndex(), 0, rows - 1);
    shown_.erase(shown_.begin(), gone);
    endRemoveRows();
}

// The lines taken in since the last showing that pass the filter become rows, in one insertion.
void TrafficModel::showWaiting() {
    if (paused_) return;
    const std::uint64_t end = firstNumber_ + lines_.size();
    std::vector<std::uint64_t> rows;
    for (std::uint64_t n = shownUpTo_; n < end; ++n)
        if (passes(lineOf(n))) rows.push_back(n);
    shownUpTo_ = end;
    if (rows.empty()) return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    shown_.insert(shown_.end(), rows.begin(), rows.end());
    endInsertRows();
}

void TrafficModel::setPaused(bool paused) {
    paused_ = paused;
    showWaiting();
}

std::size_t TrafficModel::waitingLines() const {
    return static_cast<std::size_t>(firstNumber_ + lines_.size() - shownUpTo_);
}

void TrafficModel::setFilter(const QString& text) {
    std::string filter = text.toLatin1().toStdString();
    std::transform(filter.begin(), filter.end(), filter.begin(), lower);
    if (filter == filter_) return;
    beginResetModel();
    filter_ = std::move(filter);
    shown_.clear();
    for (std::uint64_t n = firstNumber_; n < shownUpTo_; ++n)
        if (passes(lineOf(n))) shown_.push_back(n);
    endResetModel();
}

void TrafficModel::clear() {
    beginResetModel();
    firstNumber_ += lines_.size();
    lines_.clear();
    shown_.clear();
    shownUpTo_ = firstNumber_;
    endResetModel();
}

QString TrafficModel::lineText(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return latin1(lineAt(row).text);
}

std::string TrafficModel::text() const {
    std::size_t size = 0;
    for (const Line& line : lines_) size += line.text.size() + 1;
    std::string out;
    out.reserve(size);
    for (const Line& line : lines_) {
        out += line.text;
        out += '\n';
    }
    return out;
}

} // namespace korvex::ui::models
