#include "device/commission/Commission.h"

#include "device/actions/DeviceActions.h"
#include "device/engine/CommandEngine.h"
#include "device/link/LinkMessages.h"
#include "device/reporting/StatusReporter.h"
#include "model/FixedText.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

namespace korvex::device {

namespace {

using Clock = std::chrono::steady_clock;

// Keeps what the status boxes were told during the current step; its last line says why a
// failed step failed. A compare's differences are kept as they are.
class StepSink : public StatusSink {
public:
    void appendText(Page, std::string_view text) override { text_ += text; }
    void setText(Page, std::string_view text) override { text_ = text; }
    void refresh(Refresh) override {}
    void setConnected(bool) override {}
    void setPortSettingsInSync(bool) override {}
    void setNodeSettingsInSync(bool) override {}
    void showDifferences(Page page, const std::vector<MapDifference>& differences) override {
        differences_ = differences;
        StatusSink::showDifferences(page, differences);
    }

    void clear() {
        text_.clear();
        differences_.clear();
    }
    std::string lastLine() const {
        std::string_view text = text_;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
            text.remove_suffix(1);
        const std::size_t start = text.find_last_of("\r\n");
        return std::string(start == std::string_view::npos ? text : text.substr(start + 1));
    }
    const std::vector<MapDifference>& differences() const { return differences_; }

private:
    std::string text_;
    std::vector<MapDifference> differences_;
};

// Answers the actions' questions for a run without a screen: ranges as offered, a confirmation
// by --yes only (the question is then the step's failure), and waits that drive the engine.
class StepHost : public ActionHost {
public:
    StepHost(bool yes, std::function<void()> drive) : yes_(yes), drive_(std::move(drive)) {}

    bool confirm(const std::string& text) override {
        if (!yes_) message_ = text + " (answer with --yes)";
        return yes_;
    }
    void showMessage(const std::string& text, MessageIcon) override { message_ = text; }
    RangeAnswer chooseObjectRange(ObjectRange&) override { return RangeAnswer::Ok; }
    RangeAnswer chooseNetVarRanges(NetVarRanges&) override { return RangeAnswer::Ok; }
    bool waitUntil(const std::function<bool()>& done, int, int maxMs) override {
        const auto deadline = Clock::now() + std::chrono::milliseconds(maxMs);
        while (!done()) {
            if (Clock::now() >= deadline) return false;
            drive_();
        }
        return true;
    }

    std::string takeMessage() { return std::exchange(message_, {}); }

private:
    bool yes_;
    std::function<void()> drive_;
    std::string message_;
};

// One gateway: its link, engine, reporting pass and front end, all driven by one thread.
class GatewayRun {
public:
    GatewayRun(SerialPortDriver& driver, GatewayRecord& record, const CommissionOptions& options)
        : link_(driver), engine_(link_, *record.map, mapMutex_, values_), reporter_(engine_, sink_),
          host_(options.yes, [this] { drive(); }), record_(record), options_(options) {
        link_.setSilenceOnly(options.silence);
        link_.setPortName(record.port);
        link_.startPumpThread();
    }
    ~GatewayRun() { link_.stopPumpThread(); }
    GatewayRun(const GatewayRun&) = delete;
    GatewayRun& operator=(const GatewayRun&) = delete;

    void run() {
        for (const Step step : kSteps) {
            StepRecord& out = record_.step(step);
            if ((step == Step::Erase && !options_.erase) || (step == Step::Verify && !options_.verify)) {
                out.result = StepResult::NotAsked;
                continue;
            }
            sink_.clear();
            const auto start = Clock::now();
            const bool ok = runStep(step, out.detail);
            out.ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            out.result = ok ? StepResult::Passed : StepResult::Failed;
            if (!ok) break;
        }
    }

private:
    void drive() {
        const std::uint32_t seen = link_.replySequence();
        engine_.tick();
        reporter_.pass();
        if (engine_.busy()) link_.waitForReply(seen, std::chrono::milliseconds(10));
    }
    void runToIdle() {
        while (engine_.busy() || reporter_.pending()) drive();
    }

    bool runStep(Step step, std::string& why) {
        switch (step) {
        case Step::Probe:
            return probe(why);
        case Step::Identity:
            return act(&DeviceActions::getNodeIds, why) && readIdentity();
        case Step::Erase:
            return act(&DeviceActions::eraseDevice, why);
        case Step::NetVars:
            return act(&DeviceActions::sendNetVars, why);
        case Step::Objects:
            return act(&DeviceActions::sendObjects, why);
        case Step::Port:
            return act(&DeviceActions::writePortSettings, why);
        case Step::Location:
            return act(&DeviceActions::setLocation, why);
        case Step::Verify:
            return verify(why);
        }
        return false;
    }

    bool probe(std::string& why) {
        if (!openPortFor(link_, sink_, Page::Connect)) {
            // One line per gateway: the hint follows the failure text on the same line.
            why = openFailedText(kMsgOpenFailedConnect, link_.openError());
            std::replace(why.begin(), why.end(), '\n', ' ');
            return false;
        }
        if (!engine_.startUsage()) {
            why = kMsgBusy;
            return false;
        }
        runToIdle();
        if (engine_.usageResult == DeviceResult::Ok) return true;
        why = engine_.usageResult == DeviceResult::Timeout ? kMsgDeviceTimedOut : kMsgUsageParseError;
        why = trimmedLine(why);
        return false;
    }

    // Runs a page action and the loop after it; a failure reported on the way, a refusal or a
    // question not answered fail the step.
    bool act(ActionOutcome (DeviceActions::*action)(), std::string& why) {
        const int before = reporter_.failuresReported();
        DeviceActions actions(engine_, sink_, host_, actionOptions());
        const ActionOutcome outcome = (actions.*action)();
        runToIdle();
        const std::string message = host_.takeMessage();
        const bool ok = outcome == ActionOutcome::Started && reporter_.failuresReported() == before;
        if (!ok) why = !message.empty() && outcome != ActionOutcome::Started ? message : sink_.lastLine();
        if (!ok && why.empty()) why = "failed";
        // A question's lines make one line of the summary.
        std::replace(why.begin(), why.end(), '\n', ' ');
        return ok;
    }

    bool readIdentity() {
        std::lock_guard lock(mapMutex_);
        record_.programId = programIdText(engine_.identity.programId);
        record_.neuronId = neuronIdText(engine_.identity.neuronId);
        return true;
    }

    bool verify(std::string& why) {
        const int before = reporter_.failuresReported();
        DeviceActions actions(engine_, sink_, host_, actionOptions());
        const ActionOutcome outcome = actions.compareWithDevice(ComparePart::All);
        runToIdle();
        record_.differences = sink_.differences();
        const bool ok = outcome == ActionOutcome::Started && reporter_.failuresReported() == before;
        if (!ok)
            why = record_.differences.empty() ? sink_.lastLine()
                                              : differenceSummary(record_.differences.size());
        return ok;
    }

    // A gateway that is the Modbus slave is never asked about its TCP slaves.
    ActionOptions actionOptions() const {
        ActionOptions options;
        options.gatewaySlave = (record_.map->modbus.flags & PortFlag::GatewayIsSlave) != 0;
        return options;
    }

    static std::string trimmedLine(std::string_view text) {
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
        return std::string(text);
    }

    SerialLink link_;
    std::mutex mapMutex_;
    ValueTable values_;
    CommandEngine engine_;
    StepSink sink_;
    StatusReporter reporter_;
    StepHost host_;
    GatewayRecord& record_;
    const CommissionOptions& options_;
};

} // namespace

const char* stepName(Step step) {
    static constexpr const char* kNames[kStepCount] = {"probe",   "identity", "erase",    "nvs",
                                                       "objects", "port",     "location", "verify"};
    return kNames[static_cast<int>(step)];
}

const char* stepResultName(StepResult result) {
    static constexpr const char* kNames[] = {"not run", "not asked", "passed", "failed"};
    return kNames[static_cast<int>(result)];
}

bool GatewayRecord::passed() const {
    for (const StepRecord& s : steps) {
        if (s.result != StepResult::Passed && s.result != StepResult::NotAsked) return false;
    }
    return true;
}

std::string GatewayRecord::location() const {
    return map ? std::string(textOf(map->node.loc)) : std::string();
}

std::unique_ptr<ObjectMap> gatewayMap(const ObjectMap& map, const GatewayPlan& plan) {
    auto copy = std::make_unique<ObjectMap>(map);
    if (plan.location) setText(copy->node.loc, *plan.location);
    if (plan.ip) copy->tcp.ipaddr = *plan.ip;
    clearNVsInDevice(*copy);
    clearObjectsInDevice(*copy);
    for (int i = 0; i < copy->registerCount; ++i) copy->registers[static_cast<std::size_t>(i)].inDevice = 0;
    // Objects not in use are not sent; they count as empty, as the gateway then holds them.
    fillFreeObjects(*copy);
    return copy;
}

GatewayRecord commissionGateway(std::unique_ptr<ObjectMap> map, const std::string& port,
                                const CommissionOptions& options, SerialPortDriver& driver) {
    GatewayRecord record;
    record.port = port;
    record.map = std::move(map);
    const auto start = Clock::now();
    {
        GatewayRun run(driver, record, options);
        run.run();
    }
    record.ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    return record;
}

std::vector<GatewayRecord> commissionGateways(const ObjectMap& map, const std::vector<GatewayPlan>& plans,
                                              const CommissionOptions& options,
                                              const DriverFactory& makeDriver) {
    std::vector<GatewayRecord> records(plans.size());
    // Everything a gateway's thread uses is made here, before the threads start, and handed to
    // exactly one of them.
    std::vector<std::unique_ptr<ObjectMap>> maps;
    std::vector<std::unique_ptr<SerialPortDriver>> drivers;
    for (const GatewayPlan& plan : plans) {
        maps.push_back(gatewayMap(map, plan));
        drivers.push_back(makeDriver());
    }
    std::vector<std::thread> threads;
    threads.reserve(plans.size());
    for (std::size_t i = 0; i < plans.size(); ++i) {
        threads.emplace_back([&records, &maps, &drivers, &plans, &options, i] {
            records[i] = commissionGateway(std::move(maps[i]), plans[i].port, options, *drivers[i]);
        });
    }
    for (std::thread& thread : threads) thread.join();
    return records;
}

} // namespace korvex::device
