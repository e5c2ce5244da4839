#include "device/reporting/StatusLoop.h"

#include <chrono>

namespace korvex::device {

namespace {
constexpr std::chrono::milliseconds kPassPause{10};
}

StatusLoop::StatusLoop(CommandEngine& engine, Pass pass) : engine_(engine), pass_(std::move(pass)) {}

StatusLoop::~StatusLoop() {
    stop();
}

void StatusLoop::start() {
    if (thread_.joinable()) return;
    stopRequested_.store(false, std::memory_order_relaxed);
    ended_.store(false, std::memory_order_relaxed);
    thread_ = std::thread([this] { run(); });
}

void StatusLoop::stop() {
    requestStop();
    if (thread_.joinable()) thread_.join();
}

void StatusLoop::run() {
    SerialLink& link = engine_.link();
    while (!stopRequested_.load(std::memory_order_acquire)) {
        // Read the sequence before ticking so a reply that lands during the pass wakes the wait.
        const std::uint32_t seen = link.replySequence();
        engine_.tick();
        const bool shownConsole = pass_ ? pass_() : false;
        if (!shownConsole) link.waitForReply(seen, kPassPause);
    }
    ended_.store(true, std::memory_order_release);
}

} // namespace korvex::device
