#pragma once
// The progress and result fields of each command area. Progress fields are written by a start
// operation before it publishes the engine's state and read by the handlers after it. Each
// area's ending and marks sit in one AreaResult, written by the handlers and taken (read and
// cleared in one step) by the status loop's reporting pass, both on the status loop thread, as
// are the completion flags. A start never resets them: a command the window thread starts
// between a handler's end and the next reporting pass must not erase the ending that pass has
// yet to report. The "nothing to transfer" flags are the one thing a start operation (window
// thread) raises itself, hence the atomics.
#include "device/engine/DeviceResult.h"
#include "model/MapCompare.h"
#include "model/Settings.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvex::device {

inline constexpr std::size_t kErrorTextSize = 100;
using ErrorText = std::array<char, kErrorTextSize>;

// What the transfer now running is, for its progress bar and for the words of a stopped one.
enum class TransferKind : std::uint8_t {
    None, // no transfer of several items has started since the last command began
    GetNetVars,
    SendNetVars,
    GetObjects,
    SendObjects,
    ReadValues,
    WriteValues,
    Compare,
    VerifyNetVars,
    VerifyObjects,
    VerifyPort,
};

struct TransferProgress {
    TransferKind kind = TransferKind::None;
    int done = 0;  // items whose reply was handled
    int total = 0; // items the transfer will ask for or send, as far as known
};

// The progress of the transfer now running, kept in one word so that a reader on another thread
// never pairs the count of one transfer with the total of the next. A start operation begins it
// under the start lock before it publishes the engine's state; after that only the handlers
// (status loop thread) move it. It keeps its last value once the transfer has ended.
class ProgressCounter {
public:
    TransferProgress load() const { return unpack(word_.load(std::memory_order_acquire)); }
    void begin(TransferKind kind, int total) { store({kind, 0, total}); }
    void setTotal(int total) {
        TransferProgress p = load();
        p.total = total;
        store(p);
    }
    void advance() {
        TransferProgress p = load();
        ++p.done;
        store(p);
    }

private:
    static constexpr std::uint64_t kCountMask = 0xFFFFFF; // 24 bits each for done and total
    static std::uint64_t pack(const TransferProgress& p) {
        return static_cast<std::uint64_t>(p.kind) << 48 |
               (static_cast<std::uint64_t>(p.total) & kCountMask) << 24 |
               (static_cast<std::uint64_t>(p.done) & kCountMask);
    }
    static TransferProgress unpack(std::uint64_t w) {
        return {static_cast<TransferKind>(w >> 48), static_cast<int>(w & kCountMask),
                static_cast<int>((w >> 24) & kCountMask)};
    }
    void store(const TransferProgress& p) { word_.store(pack(p), std::memory_order_release); }

    std::atomic<std::uint64_t> word_{0};
};

// The areas that report an ending, each with its AreaResult.
enum class Area : int { NetVars, Objects, Erase, Values, Port, Domains, NodeIds, Node, ReadBack };
inline constexpr int kAreaCount = 9;

// How an area's last command sequence ended, and how far it got since the last reporting pass.
struct AreaResult {
    std::atomic<DeviceResult> result{DeviceResult::Ok};
    int number = 0;        // the NV, object or value number a failure names
    bool input = false;    // an NV failure: the NV is an input
    int parseCode = 0;     // BadReply of an element: the element reader's code
    ErrorText errorText{}; // ErrorText: the gateway's own words
    // Marks: the number last read and last written (for NVs with their direction), 0 when none.
    // The node areas mark an entry as its index + 1: domain 0 or 1, program ID or Neuron ID.
    int lastRead = 0;
    bool lastReadInput = false;
    int lastWritten = 0;
    bool lastWrittenInput = false;
    std::atomic<bool> nothingToTransfer{false}; // a range start found nothing to ask for or send
    // A Stopped ending: which transfer, how far it got, and whether the items it sent were left
    // unmarked because they were to be verified.
    TransferKind stopped = TransferKind::None;
    int done = 0;
    int total = 0;
    bool unverified = false;

    void fail(DeviceResult code) { result.store(code, std::memory_order_release); }
};

// NV definitions (states 3 and 4).
struct NetVarTransferFields {
    int nvFirstInput = 0;
    int nvLastInput = 0;
    int nvFirstOutput = 0;
    int nvLastOutput = 0;
    int nvNumber = 0;
    bool nvInputPhase = false;
    int nvListPosition = -1; // row of the definition being sent, -1 none
};

// Data objects (states 5 and 6) and erasing the configuration (state 7).
struct ObjectTransferFields {
    int objFirst = 0;
    int objLast = 0;
    int objNumber = 0;
    std::atomic<bool> clearDone{false};
};

// Live values (states 2 and 12).
struct ValueTransferFields {
    int valueFirst = 0;
    int valueLast = 0;
    int valueNumber = 0;
};

// One read of a watch (state 20): its ending is kept here for the watch, which alone starts
// such reads, and never goes to the reporting pass. The handler writes the result, then raises
// the count (release); the watch reads the result once it sees the count move (acquire).
struct WatchReadFields {
    int watchNumber = 0;
    DeviceResult watchResult = DeviceResult::Ok;
    std::atomic<std::uint32_t> watchReadsDone{0};
};

// Modbus port settings (states 9 and 10) and error counters (state 11).
struct PortTransferFields {
    int portStep = 0;
    int portMapIndex = 0;
    bool portHasTcp = false; // the device model has Modbus TCP (taken at the start)
    // A read gathers the gateway's TCP settings and device map here and takes them over only
    // once it has completed.
    TcpSettings portTcpRead;
    std::array<TcpDeviceMap, kTcpMapEntries> portMapRead{};
    std::atomic<bool> portIpDiffers{false}; // a completed read kept IP settings unlike the gateway's
    std::atomic<bool> portGetDone{false};
    std::atomic<bool> portSendDone{false};
    std::atomic<bool> errorInfoDone{false};
    unsigned exceptionCode = 0;
    unsigned errorBits = 0;
};

// Node management (states 13 to 18).
struct NodeCommandFields {
    int domainIndex = 0;
    int idStep = 0;
    std::atomic<bool> nodeInfoDone{false};
    std::atomic<bool> locationDone{false};
    std::atomic<bool> alterDone{false};
};

// Reading the gateway back into a scratch map (state 19): a compare, or the verify that follows
// a send. Its progress is the engine's transfer progress.
enum class ReadBackKind : int { Compare, VerifyNetVars, VerifyObjects, VerifyPort };

struct ReadBackFields {
    // Reading back after every send (the Connect page's option, --verify on the command line).
    std::atomic<bool> verifyAfterSend{false};
    // The ending of the last read-back: its kind, the number of items it compared and what
    // differed. Written by the handler, then readBackDone raised; the reporting pass takes them
    // (both on the status loop thread).
    ReadBackKind readBackResultKind = ReadBackKind::Compare;
    int readBackCompared = 0;
    std::vector<MapDifference> readBackDifferences;
    std::atomic<bool> readBackDone{false};
};

// Requests the status loop carries out and clears; raising one is a single store of a non-zero
// value, by a dialog on the window thread or by a handler.
struct RefreshRequests {
    std::atomic<int> masterListRefresh{0};
    std::atomic<int> nvListRefresh{0};
    std::atomic<int> registerListRefresh{0};
    std::atomic<int> valuesRefresh{0};
    std::atomic<int> valueWriteRequest{0}; // the object number to write
    std::atomic<int> tcpMapChanged{0};
    std::atomic<int> nodePageRefresh{0};
};

inline void raiseRequest(std::atomic<int>& request, int value = 1) {
    request.store(value, std::memory_order_release);
}

} // namespace korvex::device
