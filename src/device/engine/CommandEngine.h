#pragma once
// CommandEngine: runs every conversation with the gateway, one command sequence at a time. A
// start operation (window thread, or the status loop thread for a single value write) claims the
// engine under the start lock, arms the first command line on the link and then publishes its
// state; tick() (status loop thread) runs the handler of the current state once its reply is
// ready. Outcomes are left in each area's AreaResult (AreaFields.h) for the status loop to report.
//
// The object map, the value table and the node identity are shared with the window thread under
// the map's mutex (SharedMap): a handler holds it while it applies a reply, a start operation
// while it renders a command from the map, and the window thread while it reads or edits them.
// Lock order: the start lock before the map mutex; nobody calls a start operation while holding
// the map mutex.
#include "device/engine/AreaFields.h"
#include "device/engine/EngineStates.h"
#include "device/engine/NodeIdentity.h"
#include "device/engine/ReplyText.h"
#include "device/engine/ValueTable.h"
#include "device/link/SerialLink.h"
#include "model/ObjectMap.h"
#include "model/SharedMap.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::device {

class CommandEngine : public NetVarTransferFields,
                      public ObjectTransferFields,
                      public ValueTransferFields,
                      public WatchReadFields,
                      public PortTransferFields,
                      public NodeCommandFields,
                      public ReadBackFields {
public:
    CommandEngine(SerialLink& link, SharedMap& map, ValueTable& values)
        : CommandEngine(link, map.map(), map.mutex(), values) {}
    CommandEngine(SerialLink& link, ObjectMap& map, std::mutex& mapMutex, ValueTable& values);
    // An engine with a map, mutex and value table of its own, for front ends that only use the
    // console and the usage query.
    explicit CommandEngine(SerialLink& link);
    ~CommandEngine();
    CommandEngine(const CommandEngine&) = delete;
    CommandEngine& operator=(const CommandEngine&) = delete;

    // Runs the handler of the current state when its reply is ready; resets an unknown state.
    void tick();
    EngineState state() const { return state_.load(std::memory_order_acquire); }
    bool busy() const { return state() != EngineState::Idle; }
    SerialLink& link() { return link_; }
    ObjectMap& map() { return map_; }
    std::mutex& mapMutex() { return mapMutex_; }
    ValueTable& values() { return values_; }
    // The ending and marks of an area (status loop thread, see AreaFields.h).
    AreaResult& area(Area a) { return areas_[static_cast<std::size_t>(a)]; }
    const AreaResult& area(Area a) const { return areas_[static_cast<std::size_t>(a)]; }

    // Domain table, program ID and Neuron ID (under the map mutex).
    NodeIdentity identity;
    RefreshRequests requests;

    // The transfer now running (or the last one): what it is, items done, items in all. Any
    // thread may read it; a bar polls it.
    TransferProgress progress() const { return progress_.load(); }
    // Asks the running transfer of NVs, objects or values, or a compare or verify, to stop: the
    // command in flight completes and its reply is handled as usual, nothing further is sent,
    // and the area ends Stopped. Any thread; every start clears the request. Other commands
    // are short and run to their end.
    void requestStop() { stopRequested_.store(true, std::memory_order_release); }
    bool stopRequested() const { return stopRequested_.load(std::memory_order_acquire); }

    // ---- console (state 1) -----------------------------------------------------------------
    // Sends the typed line with CR LF (cut to fit 1000 bytes); a CR, LF or CR LF inside the
    // text becomes one blank, so the text is always one command. The first reply replaces what
    // consoleText holds, later pieces are appended, and the prompt ends the command.
    [[nodiscard]] bool startConsole(std::string_view text);
    std::array<char, kLinkBufferSize> consoleLine{};
    std::array<char, kLinkBufferSize> consoleText{}; // status loop thread: shows and clears it
    std::atomic<bool> consoleUpdated{false};
    DeviceResult consoleResult = DeviceResult::Ok; // or Timeout when nothing came back

    // ---- usage query (state 8) -------------------------------------------------------------
    [[nodiscard]] bool startUsage();
    DeviceResult usageResult = DeviceResult::Ok;
    std::atomic<bool> usageDone{false}; // published after usageResult and the numbers
    int deviceLastObject = 0;
    int deviceInputCount = 0;
    int deviceOutputCount = 0;
    int deviceTcpMapCount = 0;
    bool deviceLastObjectKnown = false;

    // ---- configuration transfer (states 3 to 7) --------------------------------------------
    // Function-block ranges per direction; a first number of 0 leaves that direction out. With
    // nothing to transfer the state stays 0 and true is returned.
    // A fetch that replaces a list gets the emptying step as `replace`: it runs under the map
    // mutex only once the engine is claimed and the first request is due, so a list is never
    // emptied for a transfer that does not start, and no reply can land before it.
    using MapStep = std::function<void(ObjectMap&)>;
    [[nodiscard]] bool startGetNetVars(int firstInput, int lastInput, int firstOutput, int lastOutput,
                                       const MapStep& replace = {});
    [[nodiscard]] bool startSendNetVars(int firstInput, int lastInput, int firstOutput, int lastOutput);
    [[nodiscard]] bool startGetObjects(int first, int last, const MapStep& replace = {});
    [[nodiscard]] bool startSendObjects(int first, int last);
    [[nodiscard]] bool startClearConfig();

    // ---- live values (states 2 and 12) -----------------------------------------------------
    [[nodiscard]] bool startReadValues(int first, int last);
    [[nodiscard]] bool startWriteValues(int first, int last);
    // One "pr" for object n on behalf of a watch (state 20): the value goes into the slot as a
    // range read puts it, a failure clears the slot's fresh flag, and the ending is left in the
    // watch fields (AreaFields.h), not in the values area, so the View Data box stays quiet.
    [[nodiscard]] bool startWatchRead(int n);

    // Command sequences ended so far. A thread that does not tick the engine sleeps until the
    // count moves past `seen` or the time is up.
    std::uint32_t sequencesEnded() const;
    void waitForSequenceEnd(std::uint32_t seen, std::chrono::milliseconds max);

    // ---- Modbus port settings and error counters (states 9 to 11) --------------------------
    [[nodiscard]] bool startGetPortSettings();
    [[nodiscard]] bool startSendPortSettings();
    [[nodiscard]] bool startGetErrorInfo(int slave);

    // ---- node management (states 13 to 18) -------------------------------------------------
    [[nodiscard]] bool startSetDomain(int index);
    [[nodiscard]] bool startGetDomains();
    [[nodiscard]] bool startGetNodeIds();
    [[nodiscard]] bool startGetNodeInfo();
    [[nodiscard]] bool startSetLocation();
    [[nodiscard]] bool startAlterProgramId();

    // ---- reading the gateway back: compare and verify (state 19) ----------------------------
    // Reads the parts (ComparePart) of the gateway's configuration into a scratch map that starts
    // from defaults with the map's device model, and compares it with the map, which it never
    // changes. A usage query comes first: its counts give the NVs, objects and TCP entries to
    // read; what the gateway holds above them counts as empty.
    [[nodiscard]] bool startCompare(unsigned parts = ComparePart::All);
    // With verifyAfterSend on, every send reads back what it wrote once it has ended well and
    // compares it; only then are the items that match marked as in the device (the port
    // settings' completion is raised then too). Taken at the start of each send.

protected:
    // Claims the engine and arms one command line (with its CR LF) for the state, with the
    // state's budget unless one is given. False when busy. Under the start lock; the state is
    // published after the transfer is armed.
    [[nodiscard]] bool startCommand(EngineState state, std::string_view line, int budget = 0);
    // The same, with the line made by prepare under the start lock once the engine is known to
    // be free (prepare stores the arguments in the progress fields). An empty line starts
    // nothing: the state stays 0 and the start still counts as done.
    [[nodiscard]] bool startSequence(EngineState state, const std::function<std::string()>& prepare,
                                     int budget = 0);
    // What a range start gives startSequence when its range holds nothing: the area's flag is
    // raised for the reporting pass, and the empty line starts nothing.
    static std::string nothingToTransfer(std::atomic<bool>& flag) {
        flag.store(true, std::memory_order_release);
        return {};
    }
    // Arms the next command of a running sequence (handlers only).
    void sendNext(std::string_view line, int budget);
    void sendNext(std::string_view line) { sendNext(line, stateBudget()); }
    // Ends the sequence: back to Idle, and whoever waits for an end is woken.
    void finish();
    // Notes in the area how far the stopped transfer got (handlers only).
    void noteStop(Area a, bool unverified = false);

private:
    using Handler = void (CommandEngine::*)(const Reply&);
    struct StateEntry {
        EngineState state;
        Handler handler;
    };
    static const StateEntry kHandlers[kStateCount];
    struct OwnedData;
    CommandEngine(SerialLink& link, std::unique_ptr<OwnedData> owned);

    int stateBudget() const;

    void onIdle(const Reply&) {}
    void onConsoleReply(const Reply& reply);
    void onUsageReply(const Reply& reply);
    bool consolePromptSeen(std::string_view piece);
    void appendConsole(std::string_view piece);

    // NV definitions.
    void onGetNetVarsReply(const Reply& reply);
    void onSendNetVarsReply(const Reply& reply);
    bool advanceNetVarNumber();
    std::string nextNetVarToSend();
    void endNetVars(DeviceResult result);
    // Data objects and erase.
    void onGetObjectsReply(const Reply& reply);
    void onSendObjectsReply(const Reply& reply);
    void onClearConfigReply(const Reply& reply);
    void endObjects(DeviceResult result);
    // Values.
    void onReadValuesReply(const Reply& reply);
    void onWriteValuesReply(const Reply& reply);
    void onWatchReadReply(const Reply& reply);
    DeviceResult takeReadValue(const Reply& reply, int n);
    void endWatchRead(DeviceResult result);
    std::string valueWriteLine(int n);
    void endValues(DeviceResult result);
    // Port settings.
    void onGetPortReply(const Reply& reply);
    void onSendPortReply(const Reply& reply);
    void onErrorInfoReply(const Reply& reply);
    bool takePortElement(const Reply& reply);
    bool takeTcpReply(const Reply& reply);
    void takeOverTcpRead();
    bool readUsageStep(const Reply& reply, bool raiseToMapInUse);
    void endPort(DeviceResult result, bool done);
    // Node management.
    void onSetDomainReply(const Reply& reply);
    void onGetDomainsReply(const Reply& reply);
    void onGetNodeIdsReply(const Reply& reply);
    void onGetNodeInfoReply(const Reply& reply);
    void onSetLocationReply(const Reply& reply);
    void onAlterProgramIdReply(const Reply& reply);
    void endNode(const Reply& reply, std::atomic<bool>& done);
    // Reading back.
    enum class ReadItemKind : std::uint8_t {
        Usage,
        NetVarIn,
        NetVarOut,
        Object,
        Port,
        IpSettings,
        TcpEntry,
        Node
    };
    struct ReadItem {
        ReadItemKind kind;
        int number;
    };
    void onReadBackReply(const Reply& reply);
    DeviceResult takeReadBackItem(const ReadItem& item, const Reply& reply);
    void planCompare(const std::array<int, 4>& counts);
    void armVerify(unsigned parts);
    void beginVerify(ReadBackKind kind);
    void launchReadBack();
    void endReadBack(DeviceResult result);
    void markVerified();
    static std::string itemRequest(const ReadItem& item);

    // Read-back progress (the start or the handler that begins it, then the handlers).
    std::vector<ReadItem> readItems_;
    std::size_t readIndex_ = 0;
    ReadBackKind readKind_ = ReadBackKind::Compare;
    CompareScope readScope_;
    std::unique_ptr<ObjectMap> scratch_;
    bool verifyThisSend_ = false; // verifyAfterSend as it was when the running send started
    ProgressCounter progress_;
    std::atomic<bool> stopRequested_{false};

    std::unique_ptr<OwnedData> owned_;
    SerialLink& link_;
    ObjectMap& map_;
    std::mutex& mapMutex_;
    ValueTable& values_;
    std::mutex startLock_;
    std::atomic<EngineState> state_{EngineState::Idle};
    std::atomic<std::uint32_t> ended_{0};
    std::mutex endMutex_;
    std::condition_variable endWake_;
    std::array<AreaResult, kAreaCount> areas_;

    bool consoleHeard_ = false;
    int consoleBudgetLeft_ = 0;
    std::array<char, 2> consoleTail_{};
};

// How a usage reply reads ("Last Obj" then, from its 23rd character, "%d,%d,%d,%d").
enum class UsageParse { NotUsage, Incomplete, Complete };
UsageParse parseUsageReply(std::string_view text, std::array<int, 4>& numbers);

} // namespace korvex::device
