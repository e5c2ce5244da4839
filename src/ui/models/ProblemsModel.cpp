#include "ui/models/ProblemsModel.h"

#include <QApplication>
#include <QStyle>

#include <array>

namespace korvex::ui::models {

namespace {

constexpr std::array<const char*, ProblemsModel::ColumnCount> kTitles{"Rule", "Severity", "Place", "Message"};

QString cellText(const Problem& problem, int column) {
    switch (column) {
    case ProblemsModel::RuleColumn:
        return QString::fromLatin1(problem.ruleId());
    case ProblemsModel::SeverityColumn:
        return QString::fromLatin1(severityName(problem.severity));
    case ProblemsModel::PlaceColumn:
        return QString::fromStdString(placeText(problem));
    default:
        return QString::fromStdString(problem.message);
    }
}

} // namespace

QIcon severityIcon(Severity severity) {
    return QApplication::style()->standardIcon(severity == Severity::Error ? QStyle::SP_MessageBoxCritical
                                                                           : QStyle::SP_MessageBoxWarning);
}

ProblemsModel::ProblemsModel(QObject* parent)
    : QAbstractTableModel(parent), errorIcon_(severityIcon(Severity::Error)),
      warningIcon_(severityIcon(Severity::Warning)) {}

int ProblemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(problems_.size());
}

int ProblemsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProblemsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Problem& p = problem(index.row());
    if (role == Qt::DisplayRole) return cellText(p, index.column());
    // The rule's summary, and the whole message where the column cuts it.
    if (role == Qt::ToolTipRole)
        return index.column() == RuleColumn ? QString::fromLatin1(ruleInfo(p.rule).summary)
                                            : cellText(p, index.column());
    if (role == Qt::DecorationRole && index.column() == SeverityColumn)
        return p.severity == Severity::Error ? errorIcon_ : warningIcon_;
    return {};
}

QVariant ProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(kTitles[static_cast<std::size_t>(section)]);
}

void ProblemsModel::setProblems(std::vector<Problem> problems) {
    beginResetModel();
    problems_ = std::move(problems);
    endResetModel();
}

} // namespace korvex::ui::models
