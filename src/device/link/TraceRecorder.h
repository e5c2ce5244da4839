#pragma once
// TraceRecorder: what went over the serial line, event by event, in a bounded ring: bytes
// written, each piece of bytes received, a reply complete, a time-out, the port opened, closed
// or lost. Off until enabled; enabling sets aside the whole ring once (about 20 MB with the
// default bounds), so recording allocates nothing. When the ring is full by events or by payload
// bytes the oldest events go first, and are counted.
//
// Threads: the link records on the port pump thread (or on the caller's thread while no pump
// thread runs); any other thread reads. One mutex guards the ring; a recording holds it for a
// copy of at most one reply's bytes, and a read holds it for at most one batch (kReadBatch
// events, kReadBatchBytes of payload), so a reader never holds up the pump thread for long.
// Events are numbered from 1 in recording order; a reader keeps the last number it has seen and
// asks for what came after it.
#include "vocab/TraceLine.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::device {

inline constexpr std::size_t kTraceEvents = 100'000;
inline constexpr std::size_t kTraceBytes = 16u * 1024u * 1024u;

// One event as a reader gets it.
struct TraceEvent {
    std::uint64_t sequence = 0;
    std::int64_t micros = 0; // since the port opened (or since the first event before any open)
    TraceKind kind = TraceKind::Sent;
    int length = 0;    // a complete reply: its length
    int ms = 0;        // a complete reply: whole milliseconds since the command was written
    std::string bytes; // sent or received bytes; the port name of an open
};

struct TraceBatch {
    std::vector<TraceEvent> events;
    std::uint64_t missed = 0; // events after the one asked from that are no longer held
};

struct TraceUsage {
    std::size_t events = 0;        // held now
    std::size_t payloadBytes = 0;  // held now
    std::size_t heldBytes = 0;     // the events and their payload held now, in the ring's own form
    std::size_t reservedBytes = 0; // set aside for the ring (0 until first enabled)
    std::uint64_t dropped = 0;     // dropped since the last clear
};

class TraceRecorder {
public:
    static constexpr std::size_t kReadBatch = 4096;
    static constexpr std::size_t kReadBatchBytes = 256u * 1024u;

    explicit TraceRecorder(std::size_t maxEvents = kTraceEvents, std::size_t maxBytes = kTraceBytes);
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    // Turning it on sets the ring aside on first use; turning it off keeps what was recorded.
    void setEnabled(bool on);
    bool enabled() const { return enabled_.load(std::memory_order_acquire); }

    // Records one event at the steady time `micros` (the recorder's own base is taken from the
    // last open). Does nothing while disabled. Payloads longer than the ring are cut to fit.
    void record(TraceKind kind, std::int64_t micros, std::string_view bytes = {}, int length = 0, int ms = 0);

    // Up to maxEvents of the events numbered after `after`, oldest first.
    TraceBatch since(std::uint64_t after, std::size_t maxEvents = kReadBatch) const;
    // Number of the newest event recorded (0 when none).
    std::uint64_t lastSequence() const;
    TraceUsage usage() const;
    // Forgets every event held and the drop count; numbering goes on. Returns the number of the
    // newest event forgotten, for a reader to take as the last it saw (so the events cleared are
    // not reported to it as missed).
    std::uint64_t clear();
    // The time the events count from until the next open is recorded: for a trace turned on
    // while a port is already open.
    void countFrom(std::int64_t micros);

private:
    struct Slot {
        std::uint64_t byteStart; // position in the endless byte stream the arena wraps
        std::int64_t micros;
        std::uint32_t byteCount;
        std::int32_t length;
        std::int32_t ms;
        TraceKind kind;
    };

    void reserve();
    void dropOldest();
    Slot& slotOf(std::uint64_t sequence) const;
    void copyIn(std::string_view bytes);
    void copyOut(std::uint64_t at, std::size_t count, std::string& out) const;

    const std::size_t maxEvents_;
    const std::size_t maxBytes_;
    std::atomic<bool> enabled_{false};

    mutable std::mutex mutex_;
    std::unique_ptr<Slot[]> slots_;
    std::unique_ptr<char[]> arena_;
    std::uint64_t firstSequence_ = 1; // oldest held
    std::uint64_t nextSequence_ = 1;
    std::size_t firstIndex_ = 0; // slot of the oldest held
    std::size_t nextIndex_ = 0;
    std::uint64_t bytesEnd_ = 0;  // stream position after the newest payload
    std::size_t writeOffset_ = 0; // where bytesEnd_ falls in the arena
    std::uint64_t dropped_ = 0;
    std::int64_t baseMicros_ = 0;
    bool haveBase_ = false;
};

// Appends the trace lines of the events after `after` (all of them, batch by batch) and returns
// the number of the last one appended (`after` when there was none).
std::uint64_t appendTraceText(const TraceRecorder& recorder, std::uint64_t after, std::string& out);

inline void appendTraceLine(std::string& out, const TraceEvent& event) {
    korvex::appendTraceLine(out, event.micros, event.kind, event.bytes, event.length, event.ms);
}

} // namespace korvex::device
