#include "ui/widgets/CommandHistory.h"

namespace korvex::ui::widgets {

CommandHistory::CommandHistory(QStringList lines, int bound) : lines_(std::move(lines)), bound_(bound) {
    if (lines_.size() > bound_) lines_ = lines_.mid(lines_.size() - bound_);
    position_ = lines_.size();
}

void CommandHistory::add(const QString& line) {
    if (!line.isEmpty() && (lines_.isEmpty() || lines_.last() != line)) lines_ << line;
    if (lines_.size() > bound_) lines_.removeFirst();
    position_ = lines_.size();
    typed_.clear();
}

std::optional<QString> CommandHistory::older(const QString& typed) {
    if (position_ == 0) return std::nullopt;
    if (position_ == lines_.size()) typed_ = typed;
    return lines_.at(--position_);
}

std::optional<QString> CommandHistory::newer() {
    if (position_ >= lines_.size()) return std::nullopt;
    ++position_;
    return position_ == lines_.size() ? typed_ : lines_.at(position_);
}

} // namespace korvex::ui::widgets
