#pragma once
// What the two import pages (Reg Import and NV Import) share: a grid model read straight from a
// page's import list, and the mark toggling of its rows. A click on a row, or Space on the
// current row, toggles that row's mark once; a double-click is one click (its second half does
// nothing); the arrow keys only move; a heading click marks every entry and the next one clears
// them all. The grid's own redraws never toggle anything.
#include <QAbstractTableModel>
#include <QObject>
#include <QPixmap>

#include <functional>
#include <vector>

class QTableView;

namespace korvex::ui::models {

struct ImportColumn {
    QString title;
    int width; // pixels; 0 = the rest of the grid
    std::function<QString(int row)> text;
    std::function<QPixmap(int row)> image = {};
};

class ImportGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using RowCount = std::function<int()>;
    explicit ImportGridModel(RowCount rows, QObject* parent = nullptr);

    void setColumns(std::vector<ImportColumn> columns);
    int columnWidth(int c) const { return columns_.at(c).width; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Takes the entry count anew (the view loses its selection).
    void refresh();
    // Redraws rows in place; the selection stays.
    void redrawRow(int row);
    void redrawAll();

private:
    RowCount rows_;
    int rowCount_ = 0;
    std::vector<ImportColumn> columns_;
};

// Which heading clicks mark or clear all entries.
enum class HeadingToggle { ImageColumnOnly, AnyColumn };

struct MarkAccess {
    std::function<int()> count;
    std::function<bool(int)> marked;
    std::function<void(int, bool)> setMarked;
};

class ImportMarks : public QObject {
    Q_OBJECT
public:
    ImportMarks(QTableView& grid, ImportGridModel& model, MarkAccess access, HeadingToggle rule);

    // The grid shows the list anew. keepSelection selects the last selected row again (when the
    // list still has it) without toggling it; otherwise nothing stays selected.
    void refresh(bool keepSelection);
    int lastSelected() const { return lastSelected_; }
    // True when the next heading click marks every entry.
    bool marksAllNext() const { return markAllNext_; }

    void toggle(int row);
    void headingClicked(int section);

protected:
    // Space on the grid toggles the current row.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView& grid_;
    ImportGridModel& model_;
    MarkAccess access_;
    HeadingToggle rule_;
    bool markAllNext_ = true;
    int lastSelected_ = -1;
};

} // namespace korvex::ui::models
