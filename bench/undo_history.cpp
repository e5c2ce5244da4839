// Cost of the map's undo history on a full map (400 objects, 1000 NV rows, 1000 register rows,
// every row distinct): the memory of 50 steps of three kinds (one row edited, a row inserted at
// the top of the NV list so every row after it moves, everything changed at once as a device
// refresh of every list would), against 51 plain copies of the map; and the time of one undo and
// one redo, against the floor of one plain copy of the map. Target: an undo or redo under 5 ms.
#include "model/FixedText.h"
#include "model/MapHistory.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <memory>
#include <string>

namespace {

using namespace korvex;

constexpr int kSteps = 50;

std::unique_ptr<ObjectMap> fullMap() {
    auto map = std::make_unique<ObjectMap>();
    for (int n = 1; n <= kObjectCount; ++n) setText(map->object(n)->name, "Object " + std::to_string(n));
    map->nvCount = map->registerCount = kListCapacity;
    for (int r = 0; r < kListCapacity; ++r) {
        NetVar& nv = map->nvs[static_cast<std::size_t>(r)];
        nv.defined = 1;
        setText(nv.name, "nvoPoint" + std::to_string(r));
        RegisterDef& reg = map->registers[static_cast<std::size_t>(r)];
        reg.defined = 1;
        reg.regNumber = static_cast<uint16_t>(r);
    }
    return map;
}

void oneRow(ObjectMap& map, int step) {
    map.nvs[static_cast<std::size_t>(step * 19 % kListCapacity)].fbNumber = step + 1;
}

void insertAtTop(ObjectMap& map, int step) {
    std::copy_backward(map.nvs.begin(), map.nvs.end() - 1, map.nvs.end());
    setText(map.nvs[0].name, "nviNew" + std::to_string(step));
}

void everything(ObjectMap& map, int step) {
    for (DataObject& o : map.objects) o.poll = static_cast<uint16_t>(step + 1);
    for (NetVar& nv : map.nvs) nv.scope = static_cast<uint8_t>(step + 1);
    for (RegisterDef& r : map.registers) r.poll = static_cast<uint16_t>(step + 1);
}

// 50 steps of the kind on the map, each closed as the window closes a user's action.
template <typename Change> void takeSteps(ObjectMap& map, MapHistory& history, Change change) {
    history.reset(map);
    for (int step = 0; step < kSteps; ++step) {
        change(map, step);
        history.record(map);
        history.closeStep();
    }
}

template <typename Change> void memoryOf(benchmark::State& state, Change change) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto map = fullMap();
        MapHistory history;
        takeSteps(*map, history, change);
        bytes = history.bytesUsed();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["MiB"] = static_cast<double>(bytes) / (1 << 20);
    state.counters["vs_51_copies"] = static_cast<double>(bytes) / (51.0 * sizeof(ObjectMap));
}

void BM_Memory50OneRowEdits(benchmark::State& state) {
    memoryOf(state, oneRow);
}
BENCHMARK(BM_Memory50OneRowEdits)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Memory50InsertsAtTop(benchmark::State& state) {
    memoryOf(state, insertAtTop);
}
BENCHMARK(BM_Memory50InsertsAtTop)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Memory50WholeMapChanges(benchmark::State& state) {
    memoryOf(state, everything);
}
BENCHMARK(BM_Memory50WholeMapChanges)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor: one plain copy of the map.
void BM_CopyOfTheMap(benchmark::State& state) {
    const auto map = fullMap();
    auto copy = std::make_unique<ObjectMap>();
    for (auto _ : state) {
        *copy = *map;
        benchmark::DoNotOptimize(copy.get());
    }
}
BENCHMARK(BM_CopyOfTheMap)->Unit(benchmark::kMicrosecond);

// One undo and one redo (the time shown is both together) of a step of the given kind, 50 steps
// deep.
template <typename Change> void undoRedo(benchmark::State& state, Change change) {
    auto map = fullMap();
    MapHistory history;
    takeSteps(*map, history, change);
    for (auto _ : state) {
        benchmark::DoNotOptimize(history.undo(*map));
        benchmark::DoNotOptimize(history.redo(*map));
    }
}

void BM_UndoRedoOneRowEdit(benchmark::State& state) {
    undoRedo(state, oneRow);
}
BENCHMARK(BM_UndoRedoOneRowEdit)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoWholeMapChange(benchmark::State& state) {
    undoRedo(state, everything);
}
BENCHMARK(BM_UndoRedoWholeMapChange)->Unit(benchmark::kMicrosecond);

// What each announcement of a change costs: taking the map with one row changed.
void BM_RecordOneRowEdit(benchmark::State& state) {
    auto map = fullMap();
    MapHistory history;
    history.reset(*map);
    int step = 0;
    for (auto _ : state) {
        oneRow(*map, step++ % 1000);
        benchmark::DoNotOptimize(history.record(*map));
    }
}
BENCHMARK(BM_RecordOneRowEdit)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
