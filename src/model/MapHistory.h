#pragma once
// MapHistory: the undo and redo steps of the object map. Each state of the map is kept as a
// snapshot cut into chunks of rows; a snapshot shares every chunk that did not change with the
// state before it, so a step that edits one NV costs one chunk of NVs (and of whatever its links
// touched), not a copy of the map. The history is bounded in steps and in bytes; the oldest
// steps go first.
//
// What counts as a step is a change of what the map says: its three lists, the port and TCP
// settings, the TCP device map and the node's location and program-ID selector. A change of the
// marks alone (the device or the file catching up with the map: a send, a save, an erase) is no
// step; it is folded into the current state, and because the device may now hold something else
// than an older state's rows, rows that an undo or redo brings back keep their in-device marks
// only while no mark changed since their state was current. Rows an undo leaves alone keep the
// marks they have. The live values and the device model are not part of the map's history.
//
// Plain C++; the caller holds the map's lock around every call that takes the map.
#include "model/ObjectMap.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace korvex {

// The parts of the map an undo or redo changed.
namespace HistoryPart {
inline constexpr unsigned Objects = 0x01;
inline constexpr unsigned NVList = 0x02;
inline constexpr unsigned RegisterList = 0x04;
inline constexpr unsigned PortSettings = 0x08; // Modbus port and TCP/IP settings
inline constexpr unsigned TcpMap = 0x10;
inline constexpr unsigned Node = 0x20;
} // namespace HistoryPart

class MapHistory {
public:
    static constexpr int kDefaultSteps = 100;
    static constexpr std::size_t kDefaultBudget = std::size_t{64} << 20;

    explicit MapHistory(int maxSteps = kDefaultSteps, std::size_t byteBudget = kDefaultBudget);
    ~MapHistory();
    MapHistory(const MapHistory&) = delete;
    MapHistory& operator=(const MapHistory&) = delete;

    // Forgets every step: the map as it now is becomes the only state.
    void reset(const ObjectMap& map);

    enum class Recorded { Nothing, Marks, Step };
    // Takes the map after a change. A change of content opens a step (dropping what could be
    // redone), or joins the step still open; a change of marks alone updates the current state.
    Recorded record(const ObjectMap& map);
    // The open step is complete: the next change of content starts a new one.
    void closeStep() { stepOpen_ = false; }
    bool stepOpen() const { return stepOpen_; }

    bool canUndo() const { return current_ > 0; }
    bool canRedo() const { return current_ + 1 < states_.size(); }
    int undoSteps() const { return static_cast<int>(current_); }
    int redoSteps() const { return static_cast<int>(states_.size() - current_ - 1); }

    // Puts the map back one step or forward one step; returns the HistoryPart bits it changed
    // (0 when there was nothing to do). The step still open is closed first. Port, TCP and node
    // settings that change lose their confirmed-in-device marks.
    unsigned undo(ObjectMap& map);
    unsigned redo(ObjectMap& map);

    // Bytes held by the snapshots, every shared chunk counted once.
    std::size_t bytesUsed() const;

private:
    struct Snapshot;
    using SnapshotPtr = std::shared_ptr<const Snapshot>;

    unsigned moveTo(std::size_t index, ObjectMap& map);
    void trim();

    int maxSteps_;
    std::size_t byteBudget_;
    std::vector<SnapshotPtr> states_;
    std::size_t current_ = 0;
    bool stepOpen_ = false;
    unsigned markEpoch_ = 0; // counts changes of marks alone
};

} // namespace korvex
