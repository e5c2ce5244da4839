#pragma once
// Pieces the four list page tests share: the sample files in docs/examples, reading a grid's
// headings and cells, and clicking rows and headings the way a user does.
#include "ui/support/EditorTestSupport.h"
#include "ui/support/UiTestSupport.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

namespace korvex::ui::test {

inline QString examplePath(const char* name) {
    const QByteArray root = qgetenv("KORVEX_TEST_SOURCE_DIR");
    const QString base =
        root.isEmpty() ? QStringLiteral(KORVEX_TEST_SOURCE_DIR) : QString::fromLocal8Bit(root);
    return base + QStringLiteral("/docs/examples/") + QString::fromLatin1(name);
}

inline QStringList headings(const QAbstractItemModel& model) {
    QStringList titles;
    for (int c = 0; c < model.columnCount(); ++c)
        titles << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return titles;
}

// The texts of one row, image column left out.
inline QStringList rowTexts(const QAbstractItemModel& model, int row) {
    QStringList texts;
    for (int c = 1; c < model.columnCount(); ++c) texts << model.index(row, c).data().toString();
    return texts;
}

inline qint64 imageKey(const QAbstractItemModel& model, int row) {
    return model.index(row, 0).data(Qt::DecorationRole).value<QPixmap>().cacheKey();
}

// A window that is shown, so that clicks land where a user's would.
inline void showPage(Tool& tool, Page page) {
    tool.window->show();
    tool.window->selectPage(page);
    QCoreApplication::processEvents();
}

inline QPoint rowPoint(QTableView* grid, int row) {
    grid->scrollTo(grid->model()->index(row, 1));
    return grid->visualRect(grid->model()->index(row, 1)).center();
}

inline void clickRow(QTableView* grid, int row) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(grid, row));
}

// A widget sees a double-click as press, release, then the double-click event in place of the
// second press; QTest sends only the last of these.
inline void doubleClickRow(QTableView* grid, int row) {
    const QPoint at = rowPoint(grid, row);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

inline void clickHeading(QTableView* grid, int section) {
    QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// Hands the next modal dialog to act once its event loop runs; act must close it.
inline void onNextDialog(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!dialog && w->isVisible()) dialog = qobject_cast<QDialog*>(w);
        if (dialog) act(*dialog);
    });
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace korvex::ui::test
