#include "sim/SimulatedGateway.h"

#include <algorithm>
#include <chrono>

namespace korvex::sim {

namespace {

constexpr int kPollMs = 20;
constexpr std::string_view kEraseKind = "clearallconfig";

using Clock = std::chrono::steady_clock;

} // namespace

SimulatedGateway::SimulatedGateway(GatewayConfig config) : console_(std::move(config)) {}

SimulatedGateway::~SimulatedGateway() {
    stop();
}

// ---- the line --------------------------------------------------------------------------------

bool SimulatedGateway::openLine(std::string* error) {
    if (!line_.open(error)) return false;
    {
        std::lock_guard lock(mutex_);
        slavePath_ = line_.slavePath();
    }
    trace_.record(TraceKind::Open, line_.slavePath());
    return true;
}

void SimulatedGateway::closeLine() {
    if (line_.isOpen()) trace_.record(TraceKind::Close); // only a line that was opened whole
    line_.close();
}

bool SimulatedGateway::relink(std::string* error) {
    std::string link, target;
    {
        std::lock_guard lock(mutex_);
        link = linkPath_;
        target = slavePath_;
    }
    return link.empty() || linkLine(target, link, error);
}

bool SimulatedGateway::setLink(const std::string& path, std::string* error) {
    {
        std::lock_guard lock(mutex_);
        linkPath_ = path;
    }
    return relink(error);
}

// ---- life cycle ------------------------------------------------------------------------------

bool SimulatedGateway::start(std::string* error) {
    if (thread_.joinable()) return true;
    if (!openLine(error)) return false;
    {
        std::lock_guard lock(mutex_);
        stopping_ = hangUpRequested_ = comeBackRequested_ = hungUp_ = false;
    }
    thread_ = std::thread([this] { run(); });
    return true;
}

void SimulatedGateway::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    closeLine();
}

std::string SimulatedGateway::slavePath() const {
    std::lock_guard lock(mutex_);
    return slavePath_;
}

void SimulatedGateway::hangUp() {
    std::unique_lock lock(mutex_);
    if (!thread_.joinable() || hungUp_) return;
    hangUpRequested_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return stopping_ || hungUp_; });
}

bool SimulatedGateway::comeBack(std::string* error) {
    std::unique_lock lock(mutex_);
    if (!thread_.joinable()) return false;
    if (!hungUp_ && !hangUpRequested_) return true;
    comeBackRequested_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return stopping_ || (!comeBackRequested_ && !hangUpRequested_); });
    if (error) *error = lineError_;
    return !hungUp_;
}

bool SimulatedGateway::isHungUp() const {
    std::lock_guard lock(mutex_);
    return hungUp_;
}

void SimulatedGateway::setAutoReturn(int ms) {
    std::lock_guard lock(mutex_);
    autoReturnMs_ = ms;
}

void SimulatedGateway::setEraseMs(int ms) {
    std::lock_guard lock(mutex_);
    eraseMs_ = std::max(0, ms);
}

void SimulatedGateway::setPrompt(bool on) {
    std::lock_guard lock(mutex_);
    prompt_ = on;
}

void SimulatedGateway::setValueMotion(ValueMotion motion) {
    std::lock_guard lock(mutex_);
    console_.setValueMotion(motion);
}

bool SimulatedGateway::traceTo(const std::string& path, std::string* error) {
    return trace_.open(path, error);
}

void SimulatedGateway::setBaud(int baud) {
    std::lock_guard lock(mutex_);
    byteTime_ = baud > 0 ? std::chrono::nanoseconds(10'000'000'000LL / baud) : std::chrono::nanoseconds(0);
}

// ---- faults and records ----------------------------------------------------------------------

void SimulatedGateway::setFault(const std::string& kind, const Fault& fault) {
    std::lock_guard lock(mutex_);
    faults_.set(kind, fault);
}

bool SimulatedGateway::addFault(std::string_view spec, std::string* error) {
    std::lock_guard lock(mutex_);
    return faults_.add(spec, error);
}

bool SimulatedGateway::addAlteration(std::string_view spec, std::string* error) {
    Alteration alteration;
    if (!parseAlteration(spec, alteration, error)) return false;
    std::lock_guard lock(mutex_);
    console_.addAlteration(alteration);
    return true;
}

void SimulatedGateway::clearFaults() {
    std::lock_guard lock(mutex_);
    faults_.clear();
    kindCounts_.clear();
}

std::vector<std::string> SimulatedGateway::receivedLines() const {
    std::lock_guard lock(mutex_);
    return received_;
}

int SimulatedGateway::commandCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(received_.size());
}

int SimulatedGateway::answeredCount() const {
    std::lock_guard lock(mutex_);
    return answered_;
}

// ---- the gateway's thread --------------------------------------------------------------------

void SimulatedGateway::run() {
    CommandLineReader lines;
    while (serviceLine()) readCommands(lines);
    closeLine();
}

// Carries out hang-up and come-back requests; false when the thread should end. While hung up
// it waits here.
bool SimulatedGateway::serviceLine() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (stopping_) return false;
        if (hangUpRequested_) {
            lock.unlock();
            hangUpNow();
            lock.lock();
            continue;
        }
        if (!hungUp_) return true;
        const bool autoDue =
            autoReturnMs_ >= 0 && Clock::now() - hungAt_ >= std::chrono::milliseconds(autoReturnMs_);
        if (comeBackRequested_ || autoDue) {
            lock.unlock();
            std::string error;
            const bool ok = openLine(&error) && relink(&error);
            if (!ok) closeLine(); // a line nobody can find stays unplugged, and holds nothing
            lock.lock();
            hungUp_ = !ok;
            lineError_ = error;
            comeBackRequested_ = false;
            if (!ok) hungAt_ = Clock::now();
            changed_.notify_all();
            continue;
        }
        changed_.wait_for(lock, std::chrono::milliseconds(kPollMs));
    }
}

// Closes the line at once, as pulling the cable would (gateway's thread only).
void SimulatedGateway::hangUpNow() {
    {
        std::lock_guard lock(mutex_); // the line is closed and marked so in one step
        closeLine();
        // Like the by-id link of an unplugged device, the link goes with the line (a freed
        // pseudo-terminal number may soon belong to someone else).
        if (!linkPath_.empty()) unlinkLine(linkPath_);
        hangUpRequested_ = false;
        hungUp_ = true;
        hungAt_ = Clock::now();
    }
    changed_.notify_all();
}

void SimulatedGateway::readCommands(CommandLineReader& lines) {
    char buffer[256];
    const int n = line_.read(buffer, sizeof buffer, kPollMs);
    if (n > 0) trace_.record(TraceKind::Received, std::string_view(buffer, static_cast<std::size_t>(n)));
    for (int i = 0; i < n; ++i) {
        if (lines.take(buffer[i]) && !lines.line().empty()) handleLine(lines.line());
        if (!line_.isOpen()) return; // hung up while answering
    }
}

void SimulatedGateway::handleLine(const std::string& line) {
    Fault fault;
    std::string text;
    int workMs = 0; // how long carrying the command out takes
    bool prompt = true;
    Clock::time_point arrived = Clock::now();
    {
        std::unique_lock lock(mutex_);
        received_.push_back(line);
        const std::string kind = commandKind(line);
        std::string key;
        const Fault* found = faults_.find(kind, &key);
        if (found) fault = *found;
        const int seen = ++kindCounts_[found ? key : kind];
        if (fault.hangUpAfter >= 0 && seen > fault.hangUpAfter) hangUpRequested_ = true;
        if (hangUpRequested_) {
            lock.unlock();
            hangUpNow();
            return;
        }
        // The reply switches wait for the commands the fault lets through first.
        if (seen <= fault.after) fault = Fault{};
        // A refused or lost command is not carried out.
        if (!fault.noReply && !fault.garbage && fault.errorText.empty()) {
            text = console_.answer(line);
            if (kind == kEraseKind) workMs = eraseMs_;
        }
        if (!fault.errorText.empty()) text = fault.errorText;
        prompt = prompt_;
        arrived +=
            byteTime_ * static_cast<long long>(line.size() + 2); // the line and its CR LF at line speed
    }
    if (!pauseUntil(arrived) || !pause(workMs + fault.delayMs)) return;
    if (!fault.noReply) {
        std::string bytes = fault.garbage ? std::string(kGarbageReply) : framedReply(text);
        if (!prompt) bytes.resize(bytes.size() - kConsolePrompt.size()); // both end with it
        sendReply(bytes, fault);
    }
    std::lock_guard lock(mutex_);
    ++answered_;
}

void SimulatedGateway::sendReply(const std::string& bytes, const Fault& fault) {
    if (fault.trickleMs >= 0) {
        for (char c : bytes) {
            if (!writeAll(std::string_view(&c, 1)) || !pause(fault.trickleMs)) return;
        }
    } else if (fault.splitGapMs > 0) {
        const std::size_t half = bytes.size() / 2;
        if (writeAll(std::string_view(bytes).substr(0, half)) && pause(fault.splitGapMs))
            writeAll(std::string_view(bytes).substr(half));
    } else if (!writeAll(bytes)) {
        return;
    }
    if (fault.tailMs >= 0 && pause(fault.tailMs)) writeAll(kConsolePrompt);
}

// At a baud rate each byte goes out once its ten bits would have crossed the line, about a
// millisecond's worth of bytes at a time.
bool SimulatedGateway::writeAll(std::string_view bytes) {
    std::chrono::nanoseconds byteTime;
    {
        std::lock_guard lock(mutex_);
        byteTime = byteTime_;
    }
    if (byteTime.count() == 0) return writeNow(bytes);
    const auto chunk =
        std::max<std::size_t>(1, static_cast<std::size_t>(std::chrono::milliseconds(1) / byteTime));
    const Clock::time_point start = Clock::now();
    for (std::size_t sent = 0; sent < bytes.size();) {
        const std::size_t n = std::min(chunk, bytes.size() - sent);
        const auto due = start + byteTime * static_cast<long long>(sent + n);
        if (!pauseUntil(due) || !writeNow(bytes.substr(sent, n))) return false;
        sent += n;
    }
    return true;
}

bool SimulatedGateway::writeNow(std::string_view bytes) {
    while (!bytes.empty()) {
        const long n = line_.write(bytes);
        if (n < 0) return false;
        if (n > 0) {
            trace_.record(TraceKind::Sent, bytes.substr(0, static_cast<std::size_t>(n)));
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (!pause(kPollMs)) { // the line is full for now
            return false;
        }
    }
    return true;
}

bool SimulatedGateway::pause(int ms) {
    if (ms <= 0) return true;
    return pauseUntil(Clock::now() + std::chrono::milliseconds(ms));
}

// Sleeps, but wakes for a stop or a hang-up (which it then carries out). False when cut short.
bool SimulatedGateway::pauseUntil(Clock::time_point until) {
    if (until <= Clock::now()) return true;
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, until, [this] { return stopping_ || hangUpRequested_; });
    if (!stopping_ && !hangUpRequested_) return true;
    if (hangUpRequested_) {
        lock.unlock();
        hangUpNow();
    }
    return false;
}

} // namespace korvex::sim
