// Refresh cost of the GUI grids: the 400-row master list and a 1000-row list grid. A refresh is
// a model reset followed by the view repainting the rows in view; the repaint is forced by
// rendering the view offscreen. Also measured: reading every cell once (the worst case, when
// something asks the whole model, e.g. a column resize to contents). A frame is 16.7 ms.
#include "model/FixedText.h"
#include "ui/models/MapTableModel.h"
#include "ui/models/MasterListModel.h"
#include "ui/window/ConfigTool.h"

#include <QApplication>
#include <QHeaderView>
#include <QPixmap>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>
#include <mutex>

namespace {

using namespace korvex;

QApplication& app() {
    static int argc = 1;
    static char name[] = "bench_ui_refresh";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *instance;
}

std::unique_ptr<ObjectMap> filledMap() {
    auto map = std::make_unique<ObjectMap>();
    for (int n = 1; n <= kObjectCount; ++n) {
        DataObject& o = *map->object(n);
        o.flags = ObjectFlag::InUse | ObjectFlag::ReadPeriodic |
                  (n % 2 ? ObjectFlag::InputNV : ObjectFlag::OutputNV);
        o.modtype = 4;
        o.modreg = static_cast<uint16_t>(n);
        o.slave = 1;
        o.lonNV = static_cast<uint8_t>(n % 120 + 1);
        o.nvRow = static_cast<uint16_t>(n);
        o.syncFlags = SyncFlag::Configured | (n % 3 ? SyncFlag::InDevice : 0);
        setText(o.name, "Object name " + std::to_string(n));
    }
    map->nvCount = kListCapacity;
    for (int r = 0; r < kListCapacity; ++r) {
        NetVar& nv = map->nvs[r];
        nv.defined = 1;
        nv.snvt = static_cast<uint8_t>(r % 170 + 1);
        nv.isInput = r % 2;
        nv.fbNumber = r % 120 + 1;
        setText(nv.name, "nvoValue_" + std::to_string(r));
    }
    return map;
}

QTableView* viewOf(QAbstractItemModel* model) {
    auto* view = new QTableView;
    view->setModel(model);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->resize(710, 380);
    view->show();
    return view;
}

void renderView(QTableView* view) {
    QPixmap target(view->viewport()->size());
    view->viewport()->render(&target);
}

struct MasterFixture {
    std::unique_ptr<ObjectMap> map = filledMap();
    std::mutex mutex;
    ui::window::WorkingOptions options;
    ui::models::MasterListModel model{*map, mutex, options};
};

void BM_MasterListRefreshAndRepaint(benchmark::State& state) {
    app();
    MasterFixture f;
    std::unique_ptr<QTableView> view(viewOf(&f.model));
    for (auto _ : state) {
        f.model.refresh();
        view->selectRow(41);
        renderView(view.get());
    }
}
BENCHMARK(BM_MasterListRefreshAndRepaint)->Unit(benchmark::kMicrosecond);

void BM_MasterListEveryCell(benchmark::State& state) {
    app();
    MasterFixture f;
    for (auto _ : state) {
        f.model.refresh();
        for (int r = 0; r < f.model.rowCount(); ++r)
            for (int c = 0; c < f.model.columnCount(); ++c)
                benchmark::DoNotOptimize(f.model.index(r, c).data());
    }
}
BENCHMARK(BM_MasterListEveryCell)->Unit(benchmark::kMicrosecond);

struct ListFixture {
    std::unique_ptr<ObjectMap> map = filledMap();
    std::mutex mutex;
    ui::models::MapTableModel model{*map, mutex, [](const ObjectMap& m) { return m.nvCount; }};
    ListFixture() {
        model.setColumns({
            {QStringLiteral("Dir"), 40,
             [](const ObjectMap& m, int r) {
                 return m.nvs[r].isInput ? QStringLiteral("NVI") : QStringLiteral("NVO");
             }},
            {QStringLiteral("FB #"), 60,
             [](const ObjectMap& m, int r) {
                 return QStringLiteral("%1 %2").arg(m.nvs[r].isInput ? "OLA" : "OLS").arg(m.nvs[r].fbNumber);
             }},
            {QStringLiteral("Obj #"), 40,
             [](const ObjectMap& m, int r) { return QString::number(m.nvs[r].objectNumber); }},
            {QStringLiteral("Name"), 0,
             [](const ObjectMap& m, int r) { return QString::fromLatin1(textOf(m.nvs[r].name)); }},
        });
    }
};

void BM_ThousandRowListRefreshAndRepaint(benchmark::State& state) {
    app();
    ListFixture f;
    std::unique_ptr<QTableView> view(viewOf(&f.model));
    for (auto _ : state) {
        f.model.refresh();
        view->selectRow(500);
        renderView(view.get());
    }
}
BENCHMARK(BM_ThousandRowListRefreshAndRepaint)->Unit(benchmark::kMicrosecond);

void BM_ThousandRowListEveryCell(benchmark::State& state) {
    app();
    ListFixture f;
    for (auto _ : state) {
        f.model.refresh();
        for (int r = 0; r < f.model.rowCount(); ++r)
            for (int c = 0; c < f.model.columnCount(); ++c)
                benchmark::DoNotOptimize(f.model.index(r, c).data());
    }
}
BENCHMARK(BM_ThousandRowListEveryCell)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
