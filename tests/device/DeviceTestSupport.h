#pragma once
// Test support for the transfers: a recording status sink, an action host with scripted
// answers, a serial driver that answers through the simulated gateway's console at once (fake
// clock, no threads, no waiting), and a harness that runs the engine and the reporting pass the
// way the status loop does.
#include "FakeDriver.h"
#include "device/actions/ActionHost.h"
#include "device/actions/DeviceActions.h"
#include "device/engine/CommandEngine.h"
#include "device/reporting/StatusReporter.h"
#include "device/reporting/StatusSink.h"
#include "sim/GatewayConsole.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace korvex::device::test {

// ---- sink ------------------------------------------------------------------------------------

class RecordingSink : public StatusSink {
public:
    struct Event {
        enum Kind { Append, Set } kind;
        Page page;
        std::string text;
    };

    void appendText(Page page, std::string_view text) override {
        add({Event::Append, page, std::string(text)});
    }
    void setText(Page page, std::string_view text) override { add({Event::Set, page, std::string(text)}); }
    void refresh(Refresh what) override {
        std::lock_guard lock(mutex_);
        refreshes_.push_back(what);
    }
    void setConnected(bool on) override { connected = on; }
    void setPortSettingsInSync(bool on) override { portInSync = on; }
    void setNodeSettingsInSync(bool on) override { nodeInSync = on; }

    // The page's box as the user would see it now.
    std::string box(Page page) const {
        std::lock_guard lock(mutex_);
        std::string text;
        for (const Event& e : events_) {
            if (e.page != page) continue;
            if (e.kind == Event::Set) text.clear();
            text += e.text;
        }
        return text;
    }
    std::vector<Event> events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    std::vector<Refresh> refreshes() const {
        std::lock_guard lock(mutex_);
        return refreshes_;
    }
    int refreshCount(Refresh what) const {
        int n = 0;
        for (Refresh r : refreshes())
            if (r == what) ++n;
        return n;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        events_.clear();
        refreshes_.clear();
    }

    std::atomic<bool> connected{false};
    std::atomic<bool> portInSync{false};
    std::atomic<bool> nodeInSync{true};

private:
    void add(Event e) {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(e));
    }
    mutable std::mutex mutex_;
    std::vector<Event> events_;
    std::vector<Refresh> refreshes_;
};

// ---- host ------------------------------------------------------------------------------------

class ScriptedHost : public ActionHost {
public:
    struct RangeReply {
        RangeAnswer answer = RangeAnswer::Ok;
        std::optional<ObjectRange> objects; // entered numbers, else the offered ones
        std::optional<NetVarRanges> netVars;
    };

    bool confirm(const std::string& text) override {
        questions.push_back(text);
        return confirmAnswer;
    }
    void showMessage(const std::string& text, MessageIcon icon) override {
        messages.push_back(text);
        icons.push_back(icon);
    }
    RangeAnswer chooseObjectRange(ObjectRange& range) override {
        offeredObjects.push_back(range);
        const RangeReply reply = nextReply();
        if (reply.answer == RangeAnswer::Ok && reply.objects) range = *reply.objects;
        return reply.answer;
    }
    RangeAnswer chooseNetVarRanges(NetVarRanges& ranges) override {
        offeredNetVars.push_back(ranges);
        const RangeReply reply = nextReply();
        if (reply.answer == RangeAnswer::Ok && reply.netVars) ranges = *reply.netVars;
        return reply.answer;
    }
    bool waitUntil(const std::function<bool()>& done, int, int) override {
        ++waits;
        for (int i = 0; i < 100000 && !done(); ++i) {
            if (whileWaiting) whileWaiting();
        }
        return done();
    }
    void flush() override { ++flushes; }

    bool confirmAnswer = true;
    std::deque<RangeReply> rangeReplies; // Ok with the offered range when empty
    std::function<void()> whileWaiting;

    std::vector<std::string> questions;
    std::vector<std::string> messages;
    std::vector<MessageIcon> icons;
    std::vector<ObjectRange> offeredObjects;
    std::vector<NetVarRanges> offeredNetVars;
    int waits = 0;
    int flushes = 0;

private:
    RangeReply nextReply() {
        if (rangeReplies.empty()) return {};
        RangeReply reply = rangeReplies.front();
        rangeReplies.pop_front();
        return reply;
    }
};

// ---- driver ----------------------------------------------------------------------------------

// Answers each command line through the simulated gateway's console, framed as the gateway
// frames it, as one piece. A hook may replace the reply of a line: nullopt keeps the console's
// answer, an empty string means no reply at all, anything else is sent framed as it is.
class ConsoleDriver : public SerialPortDriver {
public:
    using Hook = std::function<std::optional<std::string>(const std::string& line)>;

    explicit ConsoleDriver(FakeClock& clock) : clock_(clock) {}

    sim::GatewayConsole console;
    Hook hook;

    std::vector<std::string> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    void clearLines() {
        std::lock_guard lock(mutex_);
        lines_.clear();
    }

    bool open(const std::string&) override { return open_ = !refuseOpen; }
    bool isOpen() override { return open_; }
    void close() override { open_ = false; }
    int flushInput() override {
        std::lock_guard lock(mutex_);
        const int dropped = static_cast<int>(pending_.size());
        pending_.clear();
        return dropped;
    }
    bool write(const char* data, std::size_t length) override {
        std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < length; ++i) {
            if (incoming_.take(data[i]) && !incoming_.line().empty()) answer(incoming_.line());
        }
        return true;
    }
    int read(char* dest, std::size_t capacity, int) override {
        std::lock_guard lock(mutex_);
        if (pending_.empty()) {
            clock_.advanceMs(100);
            return 0;
        }
        const std::size_t n = std::min(capacity, pending_.size());
        std::memcpy(dest, pending_.data(), n);
        pending_.erase(0, n);
        return static_cast<int>(n);
    }

    bool refuseOpen = false;

private:
    void answer(const std::string& line) {
        lines_.push_back(line);
        std::optional<std::string> replaced = hook ? hook(line) : std::nullopt;
        if (replaced) {
            if (!replaced->empty()) pending_ += sim::framedReply(*replaced);
            return;
        }
        pending_ += sim::framedReply(console.answer(line));
    }

    FakeClock& clock_;
    mutable std::mutex mutex_;
    sim::CommandLineReader incoming_; // as the gateway reads them: only CR LF ends a line
    std::string pending_;
    std::vector<std::string> lines_;
    std::atomic<bool> open_{false};
};

// ---- harness ---------------------------------------------------------------------------------

// The engine over the console driver, with a map, a recording sink and a reporter; run() does
// what the status loop does (tick, then the reporting pass) until nothing is left to do.
struct Harness {
    FakeClock clock;
    ConsoleDriver driver{clock};
    SerialLink link{driver, [this] { return clock.now(); }};
    std::unique_ptr<ObjectMap> mapStore = std::make_unique<ObjectMap>();
    ObjectMap& map = *mapStore;
    std::mutex mapMutex;
    ValueTable values;
    CommandEngine engine{link, map, mapMutex, values};
    RecordingSink sink;
    StatusReporter reporter{engine, sink};
    ScriptedHost host;
    ActionOptions options;

    Harness() {
        useRunLinkMode(link);
        link.setPortName("/dev/ttyFAKE");
        host.whileWaiting = [this] { step(); };
    }

    void step() {
        link.pump();
        engine.tick();
        reporter.pass();
    }
    void run() {
        for (int i = 0; i < 200000 && (engine.busy() || reporter.pending()); ++i) step();
        ASSERT_FALSE(engine.busy());
    }
    DeviceActions actions() { return DeviceActions(engine, sink, host, options); }
    // Runs an action and then the status loop until it is done.
    ActionOutcome act(ActionOutcome (DeviceActions::*action)()) {
        DeviceActions a = actions();
        const ActionOutcome outcome = (a.*action)();
        run();
        return outcome;
    }
    sim::GatewayConfig& gateway() { return driver.console.config(); }
};

} // namespace korvex::device::test
