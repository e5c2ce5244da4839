// Device link timing against the simulated gateway answering at once (run in a child process so
// its own polling does not count): the time per usage command under the silence rule, whose
// floor is the one 100 ms quiet poll that ends every reply, and with replies paced by the
// gateway's prompt; and the processor time the tool uses while idle with the port open.
//   bench_device_link [--commands N] [--idle SECONDS]
#include "device/engine/CommandEngine.h"
#include "device/qt/QtSerialPortDriver.h"
#include "device/reporting/StatusLoop.h"
#include "sim/SimulatedGateway.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace korvex;
using Clock = std::chrono::steady_clock;

double processCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs the gateway in a child process; returns its pid and the slave path.
pid_t startGateway(std::string& path) {
    int out[2];
    if (::pipe(out) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        sim::SimulatedGateway gateway(sim::sampleConfig());
        if (!gateway.start()) ::_exit(1);
        const std::string slave = gateway.slavePath() + "\n";
        if (::write(out[1], slave.data(), slave.size()) < 0) ::_exit(1);
        ::pause(); // until the parent ends it
        ::_exit(0);
    }
    ::close(out[1]);
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') path += c;
    ::close(out[0]);
    return child;
}

// Signals the waiting thread when the status loop has finished a usage query.
struct UsageWatch {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    Clock::time_point at;
};

double measureCommands(device::CommandEngine& engine, UsageWatch& watch, int count, std::vector<double>& ms) {
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        {
            std::lock_guard lock(watch.mutex);
            watch.finished = false;
        }
        const Clock::time_point start = Clock::now();
        if (!engine.startUsage()) return -1;
        std::unique_lock lock(watch.mutex);
        watch.done.wait(lock, [&] { return watch.finished; });
        ms.push_back(std::chrono::duration<double, std::milli>(watch.at - start).count());
        if (engine.usageResult != device::DeviceResult::Ok) ++failures;
    }
    return failures;
}

double idleCpuPercent(int seconds) {
    const double cpu = processCpuSeconds();
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    return 100.0 * (processCpuSeconds() - cpu) / wall;
}

} // namespace

int main(int argc, char** argv) {
    int commands = 50;
    int idleSeconds = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--commands") == 0) commands = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--idle") == 0) idleSeconds = std::max(1, std::atoi(argv[i + 1]));
    }
    std::string path;
    const pid_t gatewayPid = startGateway(path);
    if (gatewayPid < 0 || path.empty()) {
        std::fprintf(stderr, "cannot start the simulated gateway\n");
        return 1;
    }

    device::QtSerialPortDriver driver;
    device::SerialLink link(driver);
    device::CommandEngine engine(link);
    link.startPumpThread();
    link.setPortName(path);
    if (!link.open()) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }

    std::printf("idle, port open, pump thread only: %.3f %% of one core over %d s\n",
                idleCpuPercent(idleSeconds), idleSeconds);

    UsageWatch watch;
    device::StatusLoop loop(engine, [&] {
        if (engine.usageDone.exchange(false)) {
            std::lock_guard lock(watch.mutex);
            watch.finished = true;
            watch.at = Clock::now();
            watch.done.notify_all();
        }
        return false;
    });
    loop.start();

    double silenceMedian = 0;
    for (const bool silence : {true, false}) {
        link.setSilenceOnly(silence);
        std::vector<double> ms;
        const double failures = measureCommands(engine, watch, commands, ms);
        std::sort(ms.begin(), ms.end());
        const double median = ms[ms.size() / 2];
        std::printf("usage commands, %s: %d (%g failed); per command median %.2f ms, min %.2f, p90 %.2f, "
                    "max %.2f\n",
                    silence ? "silence rule" : "prompt paced", commands, failures, median, ms.front(),
                    ms[ms.size() * 9 / 10], ms.back());
        if (silence) {
            silenceMedian = median;
            std::printf("median against the 100 ms quiet floor: +%.2f %%\n", (median / 100.0 - 1.0) * 100.0);
        } else {
            std::printf("median against the silence rule: %.2f %%\n", 100.0 * median / silenceMedian);
        }
    }

    std::printf("idle, port open, pump and status loop threads: %.3f %% of one core over %d s\n",
                idleCpuPercent(idleSeconds), idleSeconds);

    loop.stop();
    link.stopPumpThread();
    ::kill(gatewayPid, SIGTERM);
    ::waitpid(gatewayPid, nullptr, 0);
    return 0;
}
