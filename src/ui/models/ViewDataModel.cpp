#include "ui/models/ViewDataModel.h"

#include "model/FixedText.h"
#include "ui/models/MasterListModel.h"
#include "ui/window/ConfigTool.h"
#include "vocab/ObjectValue.h"

namespace korvex::ui::models {

namespace {

struct SharedColumn {
    MasterColumn kind;
    const char* title;
    int width;
};

constexpr SharedColumn kFront[] = {{MasterColumn::Number, "Obj #", 40}, {MasterColumn::Access, "R/W", 35}};
constexpr SharedColumn kModicon[] = {{MasterColumn::Modicon, "Modicon #", 120}};
constexpr SharedColumn kTypeAndRegister[] = {{MasterColumn::Type, "Type", 60},
                                             {MasterColumn::Register, "Reg #", 60}};
constexpr SharedColumn kBack[] = {{MasterColumn::Slave, "Slave", 40},
                                  {MasterColumn::Dir, "Dir", 40},
                                  {MasterColumn::Fb, "FB #", 60},
                                  {MasterColumn::Name, "Object Name", 150}};

} // namespace

QString valueText(uint32_t value, int datatype) {
    return QString::fromStdString(object_value_to_text(value, datatype));
}

ViewDataModel::ViewDataModel(const ObjectMap& map, std::mutex& mapMutex, const device::ValueTable& values,
                             const WorkingOptions& options, QObject* parent)
    : MapTableModel(
          map, mapMutex, [](const ObjectMap&) { return kObjectCount; }, parent),
      values_(values), options_(options), inSyncImage_(QStringLiteral(":/korvex/grid_in.png")),
      outOfSyncImage_(QStringLiteral(":/korvex/grid_out.png")) {
    rebuildColumns();
}

void ViewDataModel::rebuildColumns() {
    std::vector<MapColumn> columns;
    columns.push_back({QString(), 15, [](const ObjectMap&, int) { return QString(); },
                       [this](const ObjectMap&, int row) {
                           return values_.slot(row + 1).fresh ? inSyncImage_ : outOfSyncImage_;
                       }});
    const auto add = [&](const auto& shared) {
        for (const SharedColumn& c : shared) {
            const MasterColumn kind = c.kind;
            columns.push_back(
                {QString::fromLatin1(c.title), c.width, [this, kind](const ObjectMap& map, int row) {
                     return MasterListModel::cellText(map, row + 1, kind, options_.gatewaySlave);
                 }});
        }
    };
    add(kFront);
    if (options_.modicon)
        add(kModicon);
    else
        add(kTypeAndRegister);
    add(kBack);
    columns.push_back({QStringLiteral("Data Value"), 0, [this](const ObjectMap& map, int row) {
                           const QString& failure = failures_[static_cast<std::size_t>(row)];
                           if (!failure.isEmpty()) return failure;
                           return valueText(values_.slot(row + 1).value, map.object(row + 1)->datatype);
                       }});
    setColumns(std::move(columns));
}

void ViewDataModel::valueTaken(int n, const QString& failure) {
    if (n < 1 || n > kObjectCount || n > rowCount()) return;
    failures_[static_cast<std::size_t>(n - 1)] = failure;
    emit dataChanged(index(n - 1, 0), index(n - 1, 0), {Qt::DecorationRole});
    emit dataChanged(index(n - 1, valueColumn()), index(n - 1, valueColumn()), {Qt::DisplayRole});
}

void ViewDataModel::clearFailures() {
    for (std::size_t i = 0; i < failures_.size(); ++i) {
        if (failures_[i].isEmpty()) continue;
        failures_[i].clear();
        valueTaken(static_cast<int>(i) + 1);
    }
}

} // namespace korvex::ui::models
