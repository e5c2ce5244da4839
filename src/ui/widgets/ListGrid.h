#pragma once
// What the grids of the pages share: their look, the small images of their first column, the
// column widths, and the row a page's buttons and editors act on, kept in step with the grid.
#include <QPixmap>

#include <functional>

class QAbstractItemModel;
class QModelIndex;
class QObject;
class QTableView;

namespace korvex::ui::widgets {

// The four small images of the grids' first column.
struct GridImages {
    GridImages();
    QPixmap blank;
    QPixmap marked;
    QPixmap outOfSync;
    QPixmap inSync;
};

// Grid lines, whole-row single selection, no editing in place, 10-pixel images, no row numbers,
// columns as narrow as the 15-pixel image column; the last column takes the rest of the width.
void setUpGrid(QTableView& grid, QAbstractItemModel& model, const char* objectName);

enum class HeadingFit { Widen, Keep };
// Widths in pixels by column; 0 leaves a column to the stretch of the last one. With Widen a
// heading wider than its column (this platform's font) widens the column to fit it.
void applyColumnWidths(QTableView& grid, const std::function<int(int column)>& width,
                       HeadingFit fit = HeadingFit::Widen);

// Selecting a row makes it the page's row (`selected` is the row plus `base`: 1 where rows are
// numbered objects); a double-click does the same and then opens the page's editor on the cell.
void followSelection(QTableView& grid, QObject& page, int& selected, int base,
                     std::function<void(const QModelIndex&)> open);
// Selects the row again (after a refresh) and repaints.
void showSelectedRow(QTableView& grid, int row);
// Grids with a row per data object, numbered from 1: the object `selected` shown selected again,
// when it is one of the grid's.
void showSelectedObject(QTableView& grid, int selected);
// Makes object n the page's selection and scrolls to it; an n that is not one of the grid's
// objects changes nothing.
void selectObjectRow(QTableView& grid, int& selected, int n);

} // namespace korvex::ui::widgets
