// The generic map grid model the list pages use: rows follow the list at each refresh, cells come
// from the column table, and a list that shrank before the refresh shows empty cells, not stale or
// out-of-range rows.
#include "ui/support/UiTestSupport.h"

#include "model/FixedText.h"
#include "model/lists/ListEditing.h"
#include "ui/models/MapTableModel.h"
#include "ui/window/MapSession.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace korvex::ui::test {
namespace {

TEST(MapTableModel, RowsAndCellsFollowTheMap) {
    app();
    auto map = std::make_unique<ObjectMap>();
    std::mutex mutex;
    MapTableModel model(*map, mutex, [](const ObjectMap& m) { return m.nvCount; });
    model.setColumns(
        {{QStringLiteral("#"), 40, [](const ObjectMap&, int row) { return QString::number(row + 1); }},
         {QStringLiteral("Name"), 0,
          [](const ObjectMap& m, int row) { return QString::fromLatin1(textOf(m.nvs[row].name)); }}});
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Name"));

    map->nvCount = 3;
    setText(map->nvs[2].name, "nvoTemp");
    EXPECT_EQ(model.rowCount(), 0); // until refreshed
    model.refresh();
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.index(2, 0).data().toString(), QStringLiteral("3"));
    EXPECT_EQ(model.index(2, 1).data().toString(), QStringLiteral("nvoTemp"));

    map->nvCount = 1; // shrunk by another thread before the refresh arrived
    EXPECT_FALSE(model.index(2, 1).data().isValid());
    EXPECT_FALSE(model.index(5, 1).data().isValid());
    model.refresh();
    EXPECT_EQ(model.rowCount(), 1);
}

// A row edit through the map session reaches the grid as rows that came or went, not as a reset;
// a refused edit announces nothing.
TEST(MapSession, RowEditsReachTheGridAsRows) {
    app();
    auto map = std::make_unique<ObjectMap>();
    MapSession session(*map);
    MapTableModel model(session.map(), session.mutex(), [](const ObjectMap& m) { return m.nvCount; });
    model.setColumns(
        {{QStringLiteral("#"), 40, [](const ObjectMap&, int row) { return QString::number(row); }}});
    QObject::connect(&session, &MapSession::nvRowsInserted, &model, &MapTableModel::insertListRows);
    QObject::connect(&session, &MapSession::nvRowsRemoved, &model, &MapTableModel::removeListRows);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changes(&session, &MapSession::changed);

    for (int i = 0; i < 3; ++i) session.editNVRows(i, [](ObjectMap& m) { return appendNV(m); });
    EXPECT_EQ(model.rowCount(), 3);
    session.editNVRows(1, [](ObjectMap& m) { return deleteNVAt(m, 1); });
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(inserted.count(), 3);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(resets.count(), 0);

    const int before = changes.count();
    EXPECT_NE(session.editNVRows(9, [](ObjectMap& m) { return deleteNVAt(m, 9); }), kOk);
    EXPECT_EQ(changes.count(), before);

    // A count that no longer matches the list (changed behind the session) is a reset.
    map->nvCount = 5;
    model.insertListRows(0, 1);
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(resets.count(), 1);
}

} // namespace
} // namespace korvex::ui::test
