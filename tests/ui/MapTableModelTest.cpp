// The generic map grid model the list pages use: rows follow the list at each refresh, cells come
// from the column table, and a list that shrank before the refresh shows empty cells, not stale or
// out-of-range rows.
#include "ui/support/UiTestSupport.h"

#include "model/FixedText.h"
#include "ui/models/MapTableModel.h"

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

} // namespace
} // namespace korvex::ui::test
