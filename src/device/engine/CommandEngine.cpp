#include "device/engine/CommandEngine.h"

#include <algorithm>

namespace korvex::device {

namespace {

using S = EngineState;

// The state table: name, budget in polls, reply max in bytes.
constexpr StateInfo kStateInfo[kStateCount] = {
    {"Idle", 0, 0},
    {"Console", kBudgetConsole, 1000},
    {"ReadValues", kBudgetCommand, 100},
    {"GetNetVars", kBudgetCommand, 500},
    {"SendNetVars", kBudgetCommand, 100},
    {"GetObjects", kBudgetCommand, 500},
    {"SendObjects", kBudgetCommand, 100},
    {"ClearConfig", kBudgetErase, 100},
    {"QueryUsage", kBudgetCommand, 100},
    {"GetPortSettings", kBudgetCommand, 200},
    {"SendPortSettings", kBudgetSettings, 200},
    {"GetErrorInfo", kBudgetCommand, 200},
    {"WriteValues", kBudgetCommand, 100},
    {"SetDomain", kBudgetCommand, 100},
    {"GetDomains", kBudgetCommand, 100},
    {"GetNodeIds", kBudgetCommand, 100},
    {"GetNodeInfo", kBudgetCommand, 200},
    {"SetLocation", kBudgetSettings, 200},
    {"AlterProgramId", kBudgetSettings, 200},
    {"ReadBack", kBudgetCommand, 500},
    {"WatchRead", kBudgetCommand, 100},
};

} // namespace

const StateInfo& stateInfo(int state) {
    if (state < 0 || state >= kStateCount) return kStateInfo[0];
    return kStateInfo[state];
}

const CommandEngine::StateEntry CommandEngine::kHandlers[kStateCount] = {
    {S::Idle, &CommandEngine::onIdle},
    {S::Console, &CommandEngine::onConsoleReply},
    {S::ReadValues, &CommandEngine::onReadValuesReply},
    {S::GetNetVars, &CommandEngine::onGetNetVarsReply},
    {S::SendNetVars, &CommandEngine::onSendNetVarsReply},
    {S::GetObjects, &CommandEngine::onGetObjectsReply},
    {S::SendObjects, &CommandEngine::onSendObjectsReply},
    {S::ClearConfig, &CommandEngine::onClearConfigReply},
    {S::QueryUsage, &CommandEngine::onUsageReply},
    {S::GetPortSettings, &CommandEngine::onGetPortReply},
    {S::SendPortSettings, &CommandEngine::onSendPortReply},
    {S::GetErrorInfo, &CommandEngine::onErrorInfoReply},
    {S::WriteValues, &CommandEngine::onWriteValuesReply},
    {S::SetDomain, &CommandEngine::onSetDomainReply},
    {S::GetDomains, &CommandEngine::onGetDomainsReply},
    {S::GetNodeIds, &CommandEngine::onGetNodeIdsReply},
    {S::GetNodeInfo, &CommandEngine::onGetNodeInfoReply},
    {S::SetLocation, &CommandEngine::onSetLocationReply},
    {S::AlterProgramId, &CommandEngine::onAlterProgramIdReply},
    {S::ReadBack, &CommandEngine::onReadBackReply},
    {S::WatchRead, &CommandEngine::onWatchReadReply},
};

struct CommandEngine::OwnedData {
    ObjectMap map;
    std::mutex mutex;
    ValueTable values;
};

CommandEngine::CommandEngine(SerialLink& link, ObjectMap& map, std::mutex& mapMutex, ValueTable& values)
    : link_(link), map_(map), mapMutex_(mapMutex), values_(values) {}

CommandEngine::CommandEngine(SerialLink& link) : CommandEngine(link, std::make_unique<OwnedData>()) {}

CommandEngine::CommandEngine(SerialLink& link, std::unique_ptr<OwnedData> owned)
    : owned_(std::move(owned)), link_(link), map_(owned_->map), mapMutex_(owned_->mutex),
      values_(owned_->values) {}

CommandEngine::~CommandEngine() = default;

bool CommandEngine::startCommand(EngineState state, std::string_view line, int budget) {
    std::lock_guard lock(startLock_);
    if (busy()) return false;
    stopRequested_.store(false, std::memory_order_release);
    progress_.begin(TransferKind::None, 0);
    link_.startTransfer(line, budget > 0 ? budget : stateInfo(state).budget);
    state_.store(state, std::memory_order_release);
    return true;
}

bool CommandEngine::startSequence(EngineState state, const std::function<std::string()>& prepare,
                                  int budget) {
    std::lock_guard lock(startLock_);
    if (busy()) return false;
    stopRequested_.store(false, std::memory_order_release);
    progress_.begin(TransferKind::None, 0);
    const std::string line = prepare();
    if (line.empty()) return true;
    link_.startTransfer(line, budget > 0 ? budget : stateInfo(state).budget);
    state_.store(state, std::memory_order_release);
    return true;
}

void CommandEngine::finish() {
    state_.store(EngineState::Idle, std::memory_order_release);
    {
        std::lock_guard lock(endMutex_);
        ended_.fetch_add(1, std::memory_order_release);
    }
    endWake_.notify_all();
}

void CommandEngine::noteStop(Area a, bool unverified) {
    const TransferProgress p = progress_.load();
    AreaResult& ending = area(a);
    ending.stopped = p.kind;
    ending.done = p.done;
    ending.total = std::max(p.total, p.done);
    ending.unverified = unverified;
    ending.fail(DeviceResult::Stopped);
}

std::uint32_t CommandEngine::sequencesEnded() const {
    return ended_.load(std::memory_order_acquire);
}

void CommandEngine::waitForSequenceEnd(std::uint32_t seen, std::chrono::milliseconds max) {
    std::unique_lock lock(endMutex_);
    endWake_.wait_for(lock, max, [&] { return ended_.load(std::memory_order_acquire) != seen; });
}

int CommandEngine::stateBudget() const {
    return stateInfo(state()).budget;
}

void CommandEngine::sendNext(std::string_view line, int budget) {
    link_.startTransfer(line, budget);
}

// The reply-handler skeleton: wait for the reply, take at most the state's reply max into a
// zero-filled buffer, and hand it to the state's handler.
void CommandEngine::tick() {
    const int current = static_cast<int>(state());
    if (current == 0) return;
    if (current < 0 || current >= kStateCount) {
        finish();
        return;
    }
    if (!link_.replyReady()) return;
    char buffer[kLinkBufferSize + 1] = {};
    const int length = link_.takeReply(buffer, kStateInfo[current].replyMax);
    if (length < 0) return;
    (this->*kHandlers[current].handler)(Reply{buffer, length});
}

} // namespace korvex::device
