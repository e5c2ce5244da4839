#include "device/link/TraceRecorder.h"

#include <algorithm>
#include <cstring>

namespace korvex::device {

TraceRecorder::TraceRecorder(std::size_t maxEvents, std::size_t maxBytes)
    : maxEvents_(std::max<std::size_t>(1, maxEvents)), maxBytes_(std::max<std::size_t>(1, maxBytes)) {}

// Zeroed here, on the enabling thread, so the pump thread never takes the page faults of
// touching the ring's memory for the first time.
void TraceRecorder::reserve() {
    if (slots_) return;
    slots_.reset(new Slot[maxEvents_]());
    arena_.reset(new char[maxBytes_]());
}

void TraceRecorder::setEnabled(bool on) {
    std::lock_guard lock(mutex_);
    if (on) reserve();
    enabled_.store(on, std::memory_order_release);
}

TraceRecorder::Slot& TraceRecorder::slotOf(std::uint64_t sequence) const {
    return slots_[(sequence - 1) % maxEvents_];
}

void TraceRecorder::dropOldest() {
    ++firstSequence_;
    if (++firstIndex_ == maxEvents_) firstIndex_ = 0;
    ++dropped_;
}

void TraceRecorder::copyIn(std::string_view bytes) {
    const std::size_t first = std::min(bytes.size(), maxBytes_ - writeOffset_);
    std::memcpy(arena_.get() + writeOffset_, bytes.data(), first);
    std::memcpy(arena_.get(), bytes.data() + first, bytes.size() - first);
    writeOffset_ += bytes.size();
    if (writeOffset_ >= maxBytes_) writeOffset_ -= maxBytes_;
}

void TraceRecorder::copyOut(std::uint64_t at, std::size_t count, std::string& out) const {
    const std::size_t offset = static_cast<std::size_t>(at % maxBytes_);
    const std::size_t first = std::min(count, maxBytes_ - offset);
    out.append(arena_.get() + offset, first);
    out.append(arena_.get(), count - first);
}

void TraceRecorder::record(TraceKind kind, std::int64_t micros, std::string_view bytes, int length, int ms) {
    if (!enabled_.load(std::memory_order_relaxed)) return;
    bytes = bytes.substr(0, maxBytes_);
    std::lock_guard lock(mutex_);
    if (!slots_) return;
    if (kind == TraceKind::Open || !haveBase_) {
        baseMicros_ = micros;
        haveBase_ = true;
    }
    // Room for one more event, and for its bytes without overwriting an event still held. The
    // ring is walked by index, not by division, since this runs for every piece on the line.
    while (nextSequence_ - firstSequence_ >= maxEvents_) dropOldest();
    while (firstSequence_ < nextSequence_ &&
           bytesEnd_ + bytes.size() - slots_[firstIndex_].byteStart > maxBytes_)
        dropOldest();
    slots_[nextIndex_] =
        Slot{bytesEnd_, micros - baseMicros_, static_cast<std::uint32_t>(bytes.size()), length, ms, kind};
    ++nextSequence_;
    if (++nextIndex_ == maxEvents_) nextIndex_ = 0;
    if (!bytes.empty()) copyIn(bytes);
    bytesEnd_ += bytes.size();
}

TraceBatch TraceRecorder::since(std::uint64_t after, std::size_t maxEvents) const {
    TraceBatch batch;
    if (after >= lastSequence()) return batch; // a reader that polls often mostly finds nothing new
    // Room set aside before the lock, so the copy under it allocates nothing.
    maxEvents = std::min(maxEvents, kReadBatch);
    std::vector<Slot> slots;
    std::string bytes;
    slots.reserve(maxEvents);
    bytes.reserve(kReadBatchBytes + 1024);
    std::uint64_t from = after + 1;
    {
        std::lock_guard lock(mutex_);
        if (from < firstSequence_) {
            batch.missed = firstSequence_ - from;
            from = firstSequence_;
        }
        for (std::uint64_t s = from; s < nextSequence_ && slots.size() < maxEvents; ++s) {
            if (!slots.empty() && bytes.size() >= kReadBatchBytes) break;
            slots.push_back(slotOf(s));
            copyOut(slots.back().byteStart, slots.back().byteCount, bytes);
        }
    }
    batch.events.resize(slots.size());
    std::size_t at = 0;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        TraceEvent& event = batch.events[i];
        event.sequence = from + i;
        event.micros = slots[i].micros;
        event.kind = slots[i].kind;
        event.length = slots[i].length;
        event.ms = slots[i].ms;
        event.bytes.assign(bytes, at, slots[i].byteCount);
        at += slots[i].byteCount;
    }
    return batch;
}

std::uint64_t TraceRecorder::lastSequence() const {
    std::lock_guard lock(mutex_);
    return nextSequence_ - 1;
}

TraceUsage TraceRecorder::usage() const {
    std::lock_guard lock(mutex_);
    TraceUsage u;
    u.events = static_cast<std::size_t>(nextSequence_ - firstSequence_);
    if (u.events > 0) u.payloadBytes = static_cast<std::size_t>(bytesEnd_ - slots_[firstIndex_].byteStart);
    u.heldBytes = u.events * sizeof(Slot) + u.payloadBytes;
    if (slots_) u.reservedBytes = maxEvents_ * sizeof(Slot) + maxBytes_;
    u.dropped = dropped_;
    return u;
}

std::uint64_t TraceRecorder::clear() {
    std::lock_guard lock(mutex_);
    firstSequence_ = nextSequence_;
    firstIndex_ = nextIndex_;
    dropped_ = 0;
    return nextSequence_ - 1;
}

void TraceRecorder::countFrom(std::int64_t micros) {
    std::lock_guard lock(mutex_);
    baseMicros_ = micros;
    haveBase_ = true;
}

std::uint64_t appendTraceText(const TraceRecorder& recorder, std::uint64_t after, std::string& out) {
    for (;;) {
        const TraceBatch batch = recorder.since(after);
        if (batch.events.empty()) return after;
        // A gap is said where it is, so a trace file never reads as whole when it is not.
        if (batch.missed > 0)
            appendTraceNote(out, batch.events.front().micros,
                            "dropped " + std::to_string(batch.missed) +
                                " events: the recording ran full before they were written");
        for (const TraceEvent& event : batch.events) appendTraceLine(out, event);
        after = batch.events.back().sequence;
    }
}

} // namespace korvex::device
