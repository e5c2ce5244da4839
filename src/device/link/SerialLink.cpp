#include "device/link/SerialLink.h"

#include "device/link/ConsolePrompt.h"
#include "device/link/PortName.h"

#include <algorithm>
#include <cstring>

namespace korvex::device {

namespace {

constexpr std::int64_t kPollUs = std::int64_t{kPollWaitMs} * 1000;

std::int64_t steadyMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

SerialLink::SerialLink(SerialPortDriver& driver, Clock clock)
    : driver_(driver), clock_(clock ? std::move(clock) : Clock(steadyMicros)) {}

SerialLink::~SerialLink() {
    stopPumpThread();
}

std::int64_t SerialLink::now() const {
    return clock_();
}

void SerialLink::note(TraceKind kind, std::string_view bytes, int length, int ms) {
    if (trace_.enabled()) trace_.record(kind, now(), bytes, length, ms);
}

// For the bytes moved, at the time the link has just read anyway.
void SerialLink::noteAt(std::int64_t at, TraceKind kind, std::string_view bytes) {
    if (trace_.enabled()) trace_.record(kind, at, bytes);
}

// ---- pump thread ---------------------------------------------------------------------------

void SerialLink::startPumpThread() {
    {
        std::lock_guard lock(mutex_);
        if (pumpRunning_) return;
        pumpRunning_ = true;
        stopping_ = false;
    }
    pumpThread_ = driver_.startThread([this] { pumpLoop(); });
}

void SerialLink::stopPumpThread() {
    {
        std::lock_guard lock(mutex_);
        if (!pumpRunning_) return;
        stopping_ = true;
    }
    pumpWake_.notify_all();
    requestDone_.notify_all();
    pumpThread_->join();
    pumpThread_.reset();
    {
        std::lock_guard lock(mutex_);
        pumpRunning_ = false;
        stopping_ = false;
    }
    requestDone_.notify_all();
}

// A request made while the pump thread stops (mutex held): a close is answered once the thread
// has ended, which closes the port; an open is refused.
bool SerialLink::waitForStop(std::unique_lock<std::mutex>& lock, RequestKind kind) {
    if (kind != RequestKind::Close) return false;
    requestDone_.wait(lock, [this] { return !stopping_; });
    return true;
}

bool SerialLink::hasWork() const {
    return receiving_ || txLength_.load(std::memory_order_acquire) != 0 ||
           listenPending_.load(std::memory_order_acquire);
}

// Blocks while nothing is pending, so an open but idle port costs no processor time.
void SerialLink::pumpLoop() {
    for (;;) {
        RequestKind kind = RequestKind::None;
        std::string name;
        {
            std::unique_lock lock(mutex_);
            pumpWake_.wait(lock,
                           [this] { return stopping_ || requestKind_ != RequestKind::None || hasWork(); });
            if (stopping_) break;
            kind = requestKind_;
            name = requestName_;
        }
        if (kind == RequestKind::Open) {
            answerRequest(openNow(name));
        } else if (kind == RequestKind::Close) {
            closeNow();
            answerRequest(true);
        } else {
            pump();
        }
    }
    // Whatever was still pending ends as a time-out, so no handler waits on a stopped pump.
    closeNow();
    if (hasWork()) {
        txLength_.store(0, std::memory_order_relaxed);
        listenPending_.store(false, std::memory_order_relaxed);
        finishReply(0);
    }
    answerRequest(false);
}

void SerialLink::answerRequest(bool result) {
    {
        std::lock_guard lock(mutex_);
        if (requestKind_ == RequestKind::None) return;
        requestKind_ = RequestKind::None;
        requestResult_ = result;
        ++requestsAnswered_;
    }
    requestDone_.notify_all();
}

// Hands an open or close to the pump thread and waits for its answer; acts directly when no
// pump thread runs. While the thread is stopping the driver stays its own: an open is refused,
// and a close waits until the thread has closed the port on its way out.
bool SerialLink::request(RequestKind kind, std::string name) {
    std::unique_lock lock(mutex_);
    if (!pumpRunning_) {
        lock.unlock();
        if (kind == RequestKind::Open) return openNow(name);
        closeNow();
        return true;
    }
    requestDone_.wait(lock, [this] { return stopping_ || requestKind_ == RequestKind::None; });
    if (stopping_) return waitForStop(lock, kind);
    requestKind_ = kind;
    requestName_ = std::move(name);
    const std::uint64_t ticket = requestsAnswered_ + 1;
    pumpWake_.notify_all();
    requestDone_.wait(lock, [&] { return requestsAnswered_ >= ticket; });
    return requestResult_;
}

// ---- port ----------------------------------------------------------------------------------

void SerialLink::setPortName(std::string name) {
    std::lock_guard lock(mutex_);
    portName_ = std::move(name);
}

std::string SerialLink::portName() const {
    std::lock_guard lock(mutex_);
    return portName_;
}

std::string SerialLink::openPortName() const {
    std::lock_guard lock(mutex_);
    return openName_;
}

void SerialLink::setOpenName(std::string name) {
    std::lock_guard lock(mutex_);
    openName_ = std::move(name);
    portOpen_.store(!openName_.empty(), std::memory_order_release);
}

bool SerialLink::open() {
    const std::string name = portName();
    const bool reused = isOpen() && openPortName() == name;
    if (request(RequestKind::Open, name)) {
        if (!reused) rememberPort(name);
        return true;
    }
    return openMoved(name);
}

// The port's record, looked up while it is there: once unplugged it is no longer listed.
void SerialLink::rememberPort(const std::string& name) {
    if (!lister_) return;
    const std::vector<PortRecord> records = lister_();
    const PortRecord* record = findPort(records, name);
    std::lock_guard lock(mutex_);
    openRecord_.reset();
    if (record) openRecord_ = *record;
    recordName_ = name;
}

// A failed open keeps its own reason when the port is not found elsewhere either.
bool SerialLink::openMoved(const std::string& name) {
    std::optional<PortRecord> gone;
    {
        std::lock_guard lock(mutex_);
        if (recordName_ == name) gone = openRecord_;
    }
    if (!gone || !lister_) return false;
    const std::vector<PortRecord> records = lister_();
    const PortRecord* back = findReturned(records, *gone);
    if (!back || back->name == name) return false;
    const OpenError why = openError();
    if (!request(RequestKind::Open, back->name)) {
        openError_.store(why, std::memory_order_release);
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        portName_ = back->name;
        openRecord_ = *back;
        recordName_ = back->name;
    }
    portMoved_.fetch_add(1, std::memory_order_acq_rel);
    return true;
}

void SerialLink::close() {
    request(RequestKind::Close, {});
}

// A port opened afresh may have another gateway behind it: its pacing is learned anew. A port
// the line took away while idle is only noticed here.
bool SerialLink::openNow(const std::string& name) {
    if (name.empty()) {
        openError_.store(OpenError::NotFound, std::memory_order_release);
        return false;
    }
    const std::string current = openPortName();
    if (!current.empty()) {
        if (current == name && driver_.isOpen()) {
            openError_.store(OpenError::None, std::memory_order_release);
            return true;
        }
        // The driver opening another port closes this one; the same port gone is a lost line.
        note(current == name ? TraceKind::Lost : TraceKind::Close);
    }
    promptSeen_.store(false, std::memory_order_release);
    const bool opened = driver_.open(resolvePortName(name));
    const bool ok = opened && driver_.isOpen();
    openError_.store(ok       ? OpenError::None
                     : opened ? OpenError::Other
                              : driver_.openError(),
                     std::memory_order_release);
    if (!ok) {
        setOpenName({});
        return false;
    }
    const std::int64_t at = now();
    openedAtUs_.store(at, std::memory_order_release);
    setOpenName(name);
    noteAt(at, TraceKind::Open, name);
    return true;
}

void SerialLink::enableTrace() {
    if (trace_.enabled()) return;
    if (isOpen()) trace_.countFrom(openedAtUs_.load(std::memory_order_acquire));
    trace_.setEnabled(true);
}

std::int64_t SerialLink::microsSinceOpen() const {
    if (!isOpen()) return -1;
    return now() - openedAtUs_.load(std::memory_order_acquire);
}

// A command still receiving ends as a time-out; closing on purpose is not a lost port.
void SerialLink::closeNow() {
    if (isOpen()) {
        driver_.close();
        note(TraceKind::Close);
    }
    setOpenName({});
    promptSeen_.store(false, std::memory_order_release);
    if (receiving_) finishReply(0);
}

// A port that fails under a command is closed and the command ends as a time-out, so nothing
// waits on a line that is gone; the next open() tries the port afresh.
void SerialLink::portFailed() {
    driver_.close();
    setOpenName({});
    promptSeen_.store(false, std::memory_order_release);
    portLost_.fetch_add(1, std::memory_order_acq_rel);
    note(TraceKind::Lost);
    if (receiving_) finishReply(0);
}

// ---- commands ------------------------------------------------------------------------------

int SerialLink::startTransfer(std::string_view text, int pollLimit) {
    const std::size_t length = std::min<std::size_t>(text.size(), kLinkBufferSize - 1);
    if (length == 0) return 0;
    std::memcpy(txBuffer_.data(), text.data(), length);
    txBuffer_[length] = '\0';
    replyLength_ = 0;
    rxCount_ = 0;
    rxBuffer_.fill('\0');
    pollLimit_ = std::max(1, pollLimit);
    replyReady_.store(false, std::memory_order_relaxed);
    txLength_.store(static_cast<std::uint32_t>(length), std::memory_order_release);
    { std::lock_guard lock(mutex_); }
    pumpWake_.notify_all();
    return static_cast<int>(length);
}

void SerialLink::startListening(int pollLimit) {
    replyLength_ = 0;
    rxCount_ = 0;
    rxBuffer_.fill('\0');
    pollLimit_ = std::max(1, pollLimit);
    replyReady_.store(false, std::memory_order_relaxed);
    listenPending_.store(true, std::memory_order_release);
    { std::lock_guard lock(mutex_); }
    pumpWake_.notify_all();
}

int SerialLink::takeReply(char* dest, int maxLength) {
    if (!replyReady_.load(std::memory_order_acquire)) return -1;
    maxLength = std::clamp(maxLength, 0, kLinkBufferSize);
    if (replyLength_ > maxLength) replyLength_ = maxLength;
    if (replyLength_ > 0) std::memcpy(dest, rxBuffer_.data(), static_cast<std::size_t>(replyLength_));
    return replyLength_;
}

void SerialLink::waitForReply(std::uint32_t seen, std::chrono::milliseconds max) {
    std::unique_lock lock(mutex_);
    replyWake_.wait_for(lock, max, [&] { return replySequence_.load(std::memory_order_acquire) != seen; });
}

// ---- receive step --------------------------------------------------------------------------

void SerialLink::pump() {
    if (beginCommand()) readStep();
}

// Starts a newly armed command (or listen). A command armed while no port is open ends at once
// as a time-out. Returns whether a reply is being received.
bool SerialLink::beginCommand() {
    const std::uint32_t length = txLength_.load(std::memory_order_acquire);
    const bool listen = length == 0 && listenPending_.load(std::memory_order_acquire);
    if (length == 0 && !listen) return receiving_;
    rxCount_ = 0;
    pollCount_ = 0;
    budgetUsedUs_ = 0;
    receiving_ = true;
    if (!isOpen()) {
        txLength_.store(0, std::memory_order_relaxed);
        listenPending_.store(false, std::memory_order_relaxed);
        finishReply(0);
        return false;
    }
    if (listen) {
        listenPending_.store(false, std::memory_order_relaxed);
        lastPollEndUs_ = now();
        commandAtUs_ = lastPollEndUs_;
        return true;
    }
    // Input waiting before a command means the last reply did not end where the prompt said.
    if (driver_.flushInput() > 0) promptSeen_.store(false, std::memory_order_release);
    const bool written = driver_.write(txBuffer_.data(), length);
    lastPollEndUs_ = now();
    commandAtUs_ = lastPollEndUs_;
    txLength_.store(0, std::memory_order_relaxed);
    if (!written) {
        portFailed();
        return false;
    }
    noteAt(lastPollEndUs_, TraceKind::Sent, std::string_view(txBuffer_.data(), length));
    return true;
}

// One timed read. A paced reply ends with the read that brings the prompt; otherwise the first
// quiet poll after data ends it, and that reply tells whether the gateway ends its replies with
// the prompt (a split prompt is found too, since the whole text so far is looked at).
void SerialLink::readStep() {
    const int space = kLinkBufferSize - rxCount_;
    int n = 0;
    if (space > 0)
        n = driver_.read(rxBuffer_.data() + rxCount_, static_cast<std::size_t>(space), kPollWaitMs);
    if (n < 0) {
        portFailed();
        return;
    }
    n = std::min(n, space);
    countPoll(n);
    if (n > 0)
        noteAt(lastPollEndUs_, TraceKind::Received,
               std::string_view(rxBuffer_.data() + rxCount_, static_cast<std::size_t>(n)));
    rxCount_ += n;
    const std::string_view received(rxBuffer_.data(), static_cast<std::size_t>(rxCount_));
    if (n > 0 && replyEnd() == ReplyEnd::Prompt && endsWithPrompt(received)) {
        finishReply(rxCount_);
    } else if (rxCount_ != 0 && n == 0) {
        promptSeen_.store(endsWithPrompt(received), std::memory_order_release);
        finishReply(rxCount_);
    } else if (budgetUsedUs_ >= std::int64_t{pollLimit_} * kPollUs) {
        finishReply(0);
    }
}

// The budget is the time since the command was written (a quiet poll counts at least a full
// poll), so a reply that arrives in many small pieces gets the same time as any other, and time
// the pump thread waits for the processor between reads counts too.
void SerialLink::countPoll(int n) {
    ++pollCount_;
    const std::int64_t at = now();
    const std::int64_t took = std::max<std::int64_t>(0, at - lastPollEndUs_);
    lastPollEndUs_ = at;
    budgetUsedUs_ += n == 0 ? std::max(kPollUs, took) : took;
}

void SerialLink::finishReply(int length) {
    if (trace_.enabled()) {
        const std::int64_t at = now();
        if (length > 0)
            trace_.record(TraceKind::Reply, at, {}, length, static_cast<int>((at - commandAtUs_) / 1000));
        else
            trace_.record(TraceKind::Timeout, at);
    }
    replyLength_ = length;
    replyPolls_ = static_cast<int>((budgetUsedUs_ + kPollUs - 1) / kPollUs);
    rxCount_ = 0;
    receiving_ = false;
    replyReady_.store(true, std::memory_order_release);
    {
        std::lock_guard lock(mutex_);
        replySequence_.fetch_add(1, std::memory_order_acq_rel);
    }
    replyWake_.notify_all();
}

} // namespace korvex::device
