#include "model/MapHistory.h"

#include "model/PortSettingsMarks.h"
#include "model/RowMarks.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace korvex {

// Named rather than anonymous: MapHistory::Snapshot, which has external linkage, holds these types.
namespace map_history {

// Small enough that one edited row costs little, large enough that a snapshot is a short array
// of pointers (20 object chunks, 50 of each list).
constexpr std::size_t kChunkRows = 20;

template <typename Row> using Chunk = std::array<Row, kChunkRows>;
template <typename Row> using ChunkPtr = std::shared_ptr<const Chunk<Row>>;
template <typename Row, std::size_t N>
using Chunks = std::array<ChunkPtr<Row>, (N + kChunkRows - 1) / kChunkRows>;

struct Settings {
    ModbusSettings modbus;
    TcpSettings tcp;
    std::array<TcpDeviceMap, kTcpMapEntries> tcpMap{};
    bool tcpConfirmed = false;
    NodeInfo node;
    bool operator==(const Settings&) const = default;
};

Settings settingsOf(const ObjectMap& map) {
    return {map.modbus, map.tcp, map.tcpMap, map.tcpConfirmed, map.node};
}

// The settings as far as they say something, their confirmed marks aside.
bool sameSettingsContent(const Settings& a, const Settings& b) {
    return samePortSettings(a.modbus, b.modbus) && a.tcp == b.tcp && a.tcpMap == b.tcpMap && a.node == b.node;
}

// Row c * kChunkRows + i of rows, which has N rows (the last chunk may run past the end: those
// rows stay as the chunk was made, value-initialised).
template <typename Row, std::size_t N> std::size_t rowsIn(std::size_t c) {
    return std::min(kChunkRows, N - c * kChunkRows);
}

// Chunks of rows, each shared with base's when its rows are all equal, marks included.
template <typename Row, std::size_t N>
void takeChunks(Chunks<Row, N>& out, const std::array<Row, N>& rows, const Chunks<Row, N>* base) {
    for (std::size_t c = 0; c < out.size(); ++c) {
        const Row* first = rows.data() + c * kChunkRows;
        const std::size_t n = rowsIn<Row, N>(c);
        if (base && std::equal(first, first + n, (*base)[c]->begin())) {
            out[c] = (*base)[c];
            continue;
        }
        auto chunk = std::make_shared<Chunk<Row>>();
        std::copy(first, first + n, chunk->begin());
        out[c] = std::move(chunk);
    }
}

// True when some chunk of a, not shared with b, differs from it in content (not marks alone).
template <typename Row, std::size_t N> bool contentDiffers(const Chunks<Row, N>& a, const Chunks<Row, N>& b) {
    for (std::size_t c = 0; c < a.size(); ++c) {
        if (a[c] == b[c]) continue;
        const std::size_t n = rowsIn<Row, N>(c);
        if (!std::equal(a[c]->begin(), a[c]->begin() + n, b[c]->begin(), sameContent<Row>)) return true;
    }
    return false;
}

// Rows of the map that differ in content from the state's take the state's rows; their in-device
// marks stay only when trusted. True when a row changed.
template <typename Row, std::size_t N>
bool restoreRows(std::array<Row, N>& rows, const Chunks<Row, N>& state, bool marksTrusted) {
    bool changed = false;
    for (std::size_t c = 0; c < state.size(); ++c) {
        for (std::size_t i = 0; i < rowsIn<Row, N>(c); ++i) {
            Row& now = rows[c * kChunkRows + i];
            const Row& then = (*state[c])[i];
            if (sameContent(now, then)) continue;
            now = then;
            if (!marksTrusted) clearDeviceMark(now);
            changed = true;
        }
    }
    return changed;
}

template <typename Row, std::size_t C>
void addChunks(std::unordered_set<const void*>& seen, std::size_t& bytes,
               const std::array<ChunkPtr<Row>, C>& chunks) {
    for (const auto& chunk : chunks)
        if (seen.insert(chunk.get()).second) bytes += sizeof(Chunk<Row>);
}

} // namespace map_history

using namespace map_history;

struct MapHistory::Snapshot {
    Chunks<DataObject, kObjectCount> objects;
    Chunks<NetVar, kListCapacity> nvs;
    int nvCount = 0;
    Chunks<RegisterDef, kListCapacity> registers;
    int registerCount = 0;
    Settings settings;
    unsigned markEpoch = 0; // the history's count of mark changes when this state was last current

    Snapshot(const ObjectMap& map, const Snapshot* base, unsigned epoch)
        : nvCount(map.nvCount), registerCount(map.registerCount), settings(settingsOf(map)),
          markEpoch(epoch) {
        takeChunks(objects, map.objects, base ? &base->objects : nullptr);
        takeChunks(nvs, map.nvs, base ? &base->nvs : nullptr);
        takeChunks(registers, map.registers, base ? &base->registers : nullptr);
    }

    bool sameAs(const Snapshot& o) const {
        return objects == o.objects && nvs == o.nvs && registers == o.registers && nvCount == o.nvCount &&
               registerCount == o.registerCount && settings == o.settings;
    }
    bool contentDiffersFrom(const Snapshot& o) const {
        return nvCount != o.nvCount || registerCount != o.registerCount ||
               !sameSettingsContent(settings, o.settings) ||
               contentDiffers<DataObject, kObjectCount>(objects, o.objects) ||
               contentDiffers<NetVar, kListCapacity>(nvs, o.nvs) ||
               contentDiffers<RegisterDef, kListCapacity>(registers, o.registers);
    }
};

MapHistory::MapHistory(int maxSteps, std::size_t byteBudget)
    : maxSteps_(std::max(1, maxSteps)), byteBudget_(byteBudget) {}

MapHistory::~MapHistory() = default;

void MapHistory::reset(const ObjectMap& map) {
    states_.clear();
    states_.push_back(std::make_shared<const Snapshot>(map, nullptr, markEpoch_));
    current_ = 0;
    stepOpen_ = false;
}

MapHistory::Recorded MapHistory::record(const ObjectMap& map) {
    if (states_.empty()) {
        reset(map);
        return Recorded::Nothing;
    }
    const Snapshot& now = *states_[current_];
    auto next = std::make_shared<Snapshot>(map, &now, markEpoch_);
    if (next->sameAs(now)) return Recorded::Nothing;
    if (!next->contentDiffersFrom(now)) {
        next->markEpoch = ++markEpoch_;
        states_[current_] = std::move(next);
        return Recorded::Marks;
    }
    if (stepOpen_) {
        states_[current_] = std::move(next);
    } else {
        states_.resize(current_ + 1);
        states_.push_back(std::move(next));
        ++current_;
        stepOpen_ = true;
        trim();
    }
    return Recorded::Step;
}

unsigned MapHistory::undo(ObjectMap& map) {
    stepOpen_ = false;
    return canUndo() ? moveTo(current_ - 1, map) : 0;
}

unsigned MapHistory::redo(ObjectMap& map) {
    stepOpen_ = false;
    return canRedo() ? moveTo(current_ + 1, map) : 0;
}

unsigned MapHistory::moveTo(std::size_t index, ObjectMap& map) {
    const Snapshot& target = *states_[index];
    const bool trusted = target.markEpoch == markEpoch_;
    unsigned parts = 0;
    if (restoreRows(map.objects, target.objects, trusted)) parts |= HistoryPart::Objects;
    if (restoreRows(map.nvs, target.nvs, trusted) || map.nvCount != target.nvCount)
        parts |= HistoryPart::NVList;
    if (restoreRows(map.registers, target.registers, trusted) || map.registerCount != target.registerCount)
        parts |= HistoryPart::RegisterList;
    map.nvCount = target.nvCount;
    map.registerCount = target.registerCount;

    const Settings& s = target.settings;
    if (!samePortSettings(map.modbus, s.modbus) || map.tcp != s.tcp) {
        map.modbus = s.modbus;
        map.tcp = s.tcp;
        parts |= HistoryPart::PortSettings;
    }
    if (map.tcpMap != s.tcpMap) {
        map.tcpMap = s.tcpMap;
        parts |= HistoryPart::TcpMap;
    }
    // The device was never asked about these settings as they now are.
    if (parts & (HistoryPart::PortSettings | HistoryPart::TcpMap)) clearPortConfirmation(map);
    if (map.node != s.node) {
        map.node = s.node;
        parts |= HistoryPart::Node;
    }
    // The state now holds the marks as they are, so a later change of marks is told apart.
    states_[index] = std::make_shared<const Snapshot>(map, &target, markEpoch_);
    current_ = index;
    return parts;
}

// Oldest steps go first; the current state and one step before it always stay.
void MapHistory::trim() {
    auto drop = [this] {
        states_.erase(states_.begin());
        --current_;
    };
    while (static_cast<int>(states_.size()) - 1 > maxSteps_ && current_ > 0) drop();
    while (current_ > 1 && bytesUsed() > byteBudget_) drop();
}

std::size_t MapHistory::bytesUsed() const {
    std::unordered_set<const void*> seen;
    std::size_t bytes = states_.size() * sizeof(Snapshot);
    for (const SnapshotPtr& s : states_) {
        addChunks(seen, bytes, s->objects);
        addChunks(seen, bytes, s->nvs);
        addChunks(seen, bytes, s->registers);
    }
    return bytes;
}

} // namespace korvex
