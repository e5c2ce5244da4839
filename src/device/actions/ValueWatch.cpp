#include "device/actions/ValueWatch.h"

#include "model/FixedText.h"
#include "vocab/ObjectValue.h"

#include <limits>

namespace korvex::device {

namespace {

using Steady = std::chrono::steady_clock;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

// While another command holds the engine the watch looks again this often (and sees a Stop).
constexpr milliseconds kBusyLook{100};
// Beyond a read's own budget: a read that has not ended by then means nothing ticks the engine.
constexpr milliseconds kEndMargin{5000};

milliseconds since(Steady::time_point from) {
    return duration_cast<milliseconds>(Steady::now() - from);
}

} // namespace

std::string_view failureWord(DeviceResult result) {
    switch (result) {
    case DeviceResult::NotDefined:
        return "Undef";
    case DeviceResult::Timeout:
        return "timeout";
    default:
        return "unreadable";
    }
}

ValueWatch::~ValueWatch() {
    stop();
}

bool ValueWatch::start(WatchPlan plan) {
    if (plan.objects.empty()) return false;
    std::lock_guard lock(mutex_);
    if (running_) return false;
    if (thread_.joinable()) thread_.join(); // the last watch has ended; its thread is done
    stop_ = false;
    running_ = true;
    thread_ = std::thread([this, plan = std::move(plan)] { run(plan); });
    return true;
}

void ValueWatch::requestStop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
}

void ValueWatch::stop() {
    requestStop();
    std::thread ending;
    {
        std::lock_guard lock(mutex_);
        ending.swap(thread_);
    }
    if (ending.joinable()) ending.join();
}

bool ValueWatch::running() const {
    std::lock_guard lock(mutex_);
    return running_;
}

bool ValueWatch::waitEnded(milliseconds max) {
    std::unique_lock lock(mutex_);
    return wake_.wait_for(lock, max, [this] { return !running_; });
}

bool ValueWatch::stopRequested() {
    std::lock_guard lock(mutex_);
    return stop_;
}

void ValueWatch::run(const WatchPlan& plan) {
    WatchEnd why = WatchEnd::Stopped;
    int succeeded = 0;
    Steady::time_point previous{};
    for (int number = 1;; ++number) {
        const Steady::time_point started = Steady::now();
        WatchCycle cycle;
        cycle.number = number;
        cycle.period = number == 1 ? milliseconds(0) : duration_cast<milliseconds>(started - previous);
        previous = started;
        bool goOn = true;
        for (const int n : plan.objects) {
            if (stopRequested()) {
                goOn = false;
                break;
            }
            if (!readOne(n, cycle, succeeded, why)) {
                goOn = false;
                break;
            }
        }
        cycle.took = since(started);
        if (cycle.reads > 0) sink_.cycleEnded(cycle);
        if (!goOn) break;
        if (plan.cycles > 0 && number >= plan.cycles) {
            why = WatchEnd::Counted;
            break;
        }
        std::unique_lock lock(mutex_);
        if (wake_.wait_until(lock, started + plan.interval, [this] { return stop_; })) break;
    }
    sink_.ended(why, succeeded);
    {
        std::lock_guard lock(mutex_);
        running_ = false;
    }
    wake_.notify_all();
}

// Claims the engine for the next read; while another command holds it, waits for that one.
bool ValueWatch::waitForEngine(WatchEnd& why) {
    for (;;) {
        if (stopRequested()) {
            why = WatchEnd::Stopped;
            return false;
        }
        const std::uint32_t seen = engine_.sequencesEnded();
        if (!engine_.busy()) return true;
        engine_.waitForSequenceEnd(seen, kBusyLook);
    }
}

bool ValueWatch::readOne(int n, WatchCycle& cycle, int& succeeded, WatchEnd& why) {
    const std::uint32_t before = engine_.watchReadsDone.load(std::memory_order_acquire);
    do {
        if (!engine_.link().isOpen()) {
            why = WatchEnd::PortClosed;
            return false;
        }
        if (!waitForEngine(why)) return false;
    } while (!engine_.startWatchRead(n));
    const Steady::time_point deadline =
        Steady::now() + milliseconds(stateInfo(EngineState::WatchRead).budget * kPollWaitMs) + kEndMargin;
    while (engine_.watchReadsDone.load(std::memory_order_acquire) == before) {
        const std::uint32_t seen = engine_.sequencesEnded();
        if (engine_.watchReadsDone.load(std::memory_order_acquire) != before) break;
        const Steady::time_point now = Steady::now();
        if (now >= deadline) {
            why = WatchEnd::NoEngine;
            return false;
        }
        engine_.waitForSequenceEnd(seen, duration_cast<milliseconds>(deadline - now) + milliseconds(1));
    }
    const WatchReading read = reading(n, engine_.watchResult);
    ++cycle.reads;
    if (read.result == DeviceResult::Ok)
        ++succeeded;
    else
        ++cycle.failed;
    sink_.reading(read);
    return true;
}

WatchReading ValueWatch::reading(int n, DeviceResult result) {
    WatchReading read;
    read.time = WallClock::now();
    read.object = n;
    read.result = result;
    std::lock_guard lock(engine_.mapMutex());
    const DataObject& object = *engine_.map().object(n);
    read.name = std::string(textOf(object.name));
    if (result == DeviceResult::Ok) {
        const std::uint32_t slot = engine_.values().slot(n).value;
        read.text = object_value_to_text(slot, object.datatype);
        read.number = object_value_to_number(slot, object.datatype);
    } else {
        read.text = std::string(failureWord(result));
        read.number = std::numeric_limits<double>::quiet_NaN();
    }
    return read;
}

} // namespace korvex::device
