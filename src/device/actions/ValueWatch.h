#pragma once
// Watching live values: the chosen objects are read one "pr" at a time, cycle after cycle, until
// Stop or the count of cycles is reached. A cycle starts every interval (a cycle that takes
// longer starts the next one at once); a read that fails is told as such and the cycle goes on.
// The watch runs on a thread of its own and only starts the engine's single reads; whoever ticks
// the engine (the status loop, or the command line's loop) must keep doing so while it runs.
// Between cycles the thread sleeps on a condition variable that Stop wakes; Stop takes effect
// after the read in flight. Each reading, each cycle's timing and the end go to the WatchSink, on
// the watch's thread: a window posts them to its own thread.
#include "device/engine/CommandEngine.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace korvex::device {

using WallClock = std::chrono::system_clock;

// One read of one object.
struct WatchReading {
    WallClock::time_point time;
    int object = 0;
    std::string name;                       // the object's name in the map
    DeviceResult result = DeviceResult::Ok; // Ok, Timeout, NotDefined or BadReply
    std::string text;                       // the value as the grid shows it, or failureWord(result)
    double number = 0;                      // the value as a number (not a number for a failure)
};

struct WatchCycle {
    int number = 0;                      // 1, 2, ...
    std::chrono::milliseconds took{0};   // from the first read's start to the last read's end
    std::chrono::milliseconds period{0}; // from the previous cycle's start (0 for the first)
    int reads = 0;
    int failed = 0;
};

enum class WatchEnd {
    Stopped,    // Stop was asked for
    Counted,    // the count of cycles was reached
    PortClosed, // the port went away
    NoEngine,   // the engine stopped answering within any budget (nothing ticks it)
};

class WatchSink {
public:
    virtual ~WatchSink() = default;
    virtual void reading(const WatchReading& reading) = 0;
    virtual void cycleEnded(const WatchCycle& cycle) = 0;
    // Last call of a watch; `succeeded` counts the reads that brought a value.
    virtual void ended(WatchEnd why, int succeeded) = 0;
};

struct WatchPlan {
    std::vector<int> objects;                 // object numbers, read in this order
    std::chrono::milliseconds interval{2000}; // between cycle starts
    int cycles = 0;                           // 0: until stopped
};

// The word a failed read is logged and shown as: "Undef", "timeout" or "unreadable".
std::string_view failureWord(DeviceResult result);

class ValueWatch {
public:
    ValueWatch(CommandEngine& engine, WatchSink& sink) : engine_(engine), sink_(sink) {}
    ~ValueWatch();
    ValueWatch(const ValueWatch&) = delete;
    ValueWatch& operator=(const ValueWatch&) = delete;

    // Starts the thread; false while a watch runs or for a plan without objects.
    bool start(WatchPlan plan);
    // Asks the watch to end after the read in flight; returns at once.
    void requestStop();
    // Asks it to end and waits for its thread.
    void stop();
    bool running() const;
    // Sleeps until the watch has ended or the time is up; true when it has ended.
    bool waitEnded(std::chrono::milliseconds max);

private:
    void run(const WatchPlan& plan);
    // One read; false when the watch must end (why says so).
    bool readOne(int n, WatchCycle& cycle, int& succeeded, WatchEnd& why);
    bool waitForEngine(WatchEnd& why);
    WatchReading reading(int n, DeviceResult result);
    bool stopRequested();

    CommandEngine& engine_;
    WatchSink& sink_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool running_ = false;
    std::thread thread_;
};

} // namespace korvex::device
