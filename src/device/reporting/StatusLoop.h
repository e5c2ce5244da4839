#pragma once
// The status loop thread: advances the command engine about every 10 ms (sooner when a reply
// has just become ready) and, after each tick, runs the reporting pass that turns the engine's
// result fields into page texts. It ends on its stop request and then reports that it ended.
#include "device/engine/CommandEngine.h"
#include "device/link/SerialLink.h"

#include <atomic>
#include <functional>
#include <thread>

namespace korvex::device {

class StatusLoop {
public:
    // Runs after each tick on the loop's thread; returns true when it showed console text, in
    // which case the loop goes straight on without its 10 ms pause.
    using Pass = std::function<bool()>;

    StatusLoop(CommandEngine& engine, Pass pass = {});
    ~StatusLoop();
    StatusLoop(const StatusLoop&) = delete;
    StatusLoop& operator=(const StatusLoop&) = delete;

    void start();
    void requestStop() { stopRequested_.store(true, std::memory_order_release); }
    // Set by the thread as the last thing it does.
    bool hasEnded() const { return ended_.load(std::memory_order_acquire); }
    // Requests the stop and waits for the thread.
    void stop();

private:
    void run();

    CommandEngine& engine_;
    Pass pass_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> ended_{false};
    std::thread thread_;
};

} // namespace korvex::device
