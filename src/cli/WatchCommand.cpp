// korvex-cli device read-values --watch: reads the range cycle after cycle and prints a line per
// cycle, "TIME N=VALUE N=VALUE ...", logging every read to the --csv file as it goes. It runs
// --count cycles, or until Ctrl+C, which ends it after the read in flight. While it runs the
// engine is ticked by a status loop thread and the watch reads on a thread of its own; the
// program's thread only waits and looks for the interrupt.
#include "cli/DeviceCli.h"
#include "cli/InterruptCatcher.h"
#include "cli/TraceFile.h"
#include "device/actions/WatchLog.h"
#include "device/reporting/StatusLoop.h"

#include <atomic>
#include <cstdio>

namespace korvex::cli {

using namespace korvex::device;

namespace {

// Called on the watch's thread; the program's thread reads the ending after the watch ended.
class PrintingWatch : public WatchSink {
public:
    PrintingWatch(WatchLog& log, const std::string& logPath, ValueWatch*& watch)
        : log_(log), logPath_(logPath), watch_(watch) {}

    void reading(const WatchReading& r) override {
        if (line_.empty()) line_ = isoUtcTime(r.time);
        line_ += " " + std::to_string(r.object) + "=" + r.text;
        if (!log_.isOpen() || log_.write(r)) return;
        if (!logFailed_)
            std::fprintf(stderr, "korvex-cli device: the log %s could not be written; the watch ends\n",
                         logPath_.c_str());
        logFailed_ = true;
        watch_->requestStop();
    }
    void cycleEnded(const WatchCycle&) override {
        std::printf("%s\n", line_.c_str());
        std::fflush(stdout);
        line_.clear();
    }
    void ended(WatchEnd why, int succeeded) override {
        why_ = why;
        succeeded_ = succeeded;
    }

    int status() const {
        if (why_ == WatchEnd::PortClosed) std::fprintf(stderr, "korvex-cli device: the port closed\n");
        if (why_ == WatchEnd::NoEngine) std::fprintf(stderr, "korvex-cli device: the link stopped\n");
        const bool failed = why_ == WatchEnd::PortClosed || why_ == WatchEnd::NoEngine;
        return failed || logFailed_ || succeeded_ == 0 ? kExitFailed : kExitOk;
    }

private:
    WatchLog& log_;
    const std::string& logPath_;
    ValueWatch*& watch_;
    std::string line_;
    WatchEnd why_ = WatchEnd::Stopped;
    int succeeded_ = 0;
    bool logFailed_ = false;
};

} // namespace

int runWatch(DeviceRun& run, const DeviceCommand& command) {
    RangeChoice choice;
    readRangeChoice(command.args, false, choice);
    run.host.setRange(choice);
    WatchLog log;
    std::string error;
    if (!run.setup.csv.empty() && !log.open(run.setup.csv, &error))
        return badDeviceArguments("cannot write " + run.setup.csv + ": " + error);
    ValueWatch* current = nullptr;
    PrintingWatch printing(log, run.setup.csv, current);
    ValueWatch watch(run.engine, printing);
    current = &watch;
    InterruptCatcher interrupt;
    WatchPlan plan;
    plan.interval = run.setup.watchInterval;
    plan.cycles = run.setup.watchCount;
    DeviceActions actions = run.actions();
    // Started on this thread before the status loop runs, so the two never print at once.
    const ActionOutcome outcome = actions.watchValues(watch, plan);
    {
        StatusLoop loop(run.engine, [&run] {
            run.reporter.pass();
            if (run.trace) run.trace->collect();
            return false;
        });
        loop.start();
        while (!watch.waitEnded(std::chrono::milliseconds(100)))
            if (interrupt.caught()) watch.requestStop();
        watch.stop();
    }
    run.runToIdle();
    if (outcome != ActionOutcome::Started) return kExitFailed;
    return printing.status();
}

} // namespace korvex::cli
