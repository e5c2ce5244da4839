#include "sim/SimulatedGateway.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

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
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        closeLine();
        return false;
    };
    masterFd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (masterFd_ < 0) return fail("posix_openpt");
    if (::grantpt(masterFd_) != 0 || ::unlockpt(masterFd_) != 0) return fail("grantpt/unlockpt");
    char name[128] = {};
    if (::ptsname_r(masterFd_, name, sizeof name) != 0) return fail("ptsname");
    // Holding the slave side open keeps the master readable while the tool has the port closed.
    slaveFd_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slaveFd_ < 0) return fail("open slave");
    termios raw{};
    if (::tcgetattr(slaveFd_, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(slaveFd_, TCSANOW, &raw);
    }
    {
        std::lock_guard lock(mutex_);
        slavePath_ = name;
    }
    trace_.record(TraceKind::Open, name);
    return true;
}

void SimulatedGateway::closeLine() {
    if (slaveFd_ >= 0) trace_.record(TraceKind::Close); // only a line that was opened whole
    if (slaveFd_ >= 0) ::close(slaveFd_);
    if (masterFd_ >= 0) ::close(masterFd_);
    slaveFd_ = masterFd_ = -1;
}

bool SimulatedGateway::relink(std::string* error) {
    std::string link, target;
    {
        std::lock_guard lock(mutex_);
        link = linkPath_;
        target = slavePath_;
    }
    if (link.empty()) return true;
    const std::string temporary = link + ".new";
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), link.c_str()) != 0) {
        if (error) *error = "cannot link " + link + ": " + std::strerror(errno);
        return false;
    }
    return true;
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
        if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
        hangUpRequested_ = false;
        hungUp_ = true;
        hungAt_ = Clock::now();
    }
    changed_.notify_all();
}

void SimulatedGateway::readCommands(CommandLineReader& lines) {
    pollfd fd{masterFd_, POLLIN, 0};
    if (fd.fd < 0 || ::poll(&fd, 1, kPollMs) <= 0 || !(fd.revents & POLLIN)) return;
    char buffer[256];
    const ssize_t n = ::read(masterFd_, buffer, sizeof buffer);
    if (n > 0) trace_.record(TraceKind::Received, std::string_view(buffer, static_cast<std::size_t>(n)));
    for (ssize_t i = 0; i < n; ++i) {
        if (lines.take(buffer[i]) && !lines.line().empty()) handleLine(lines.line());
        if (masterFd_ < 0) return; // hung up while answering
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
        if (masterFd_ < 0) return false;
        const ssize_t n = ::write(masterFd_, bytes.data(), bytes.size());
        if (n > 0) {
            trace_.record(TraceKind::Sent, bytes.substr(0, static_cast<std::size_t>(n)));
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EAGAIN) {
            if (!pause(kPollMs)) return false;
        } else if (n < 0 && errno != EINTR) {
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
