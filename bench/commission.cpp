// Commissioning many gateways at once: the same map (30 NVs, a structured one among them, on 33
// data objects, port and TCP settings, location) sent to 1, 4 and 8 simulated gateways, then read back and
// compared, each gateway in a child process of its own with its line held to 115200 baud, ten bits a byte, as
// a real gateway's is. Each gateway has its own link and thread, so 8 should take about as long as 1: the run
// prints the three times (the best of three runs each) and the ratio 8/1, held against 1.15.
#include "device/commission/Commission.h"
#include "TransferRig.h"
#include "model/FixedText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace bench;

constexpr int kRuns = 3;
constexpr double kTargetRatio = 1.15;

// Seconds of the best of kRuns runs on the first `count` gateways; -1 when a gateway failed.
// Prints why each gateway of a run failed; true when all passed.
bool allPassed(const std::vector<GatewayRecord>& records) {
    bool passed = true;
    for (const GatewayRecord& r : records) {
        for (const device::Step step : kSteps) {
            if (r.step(step).result != StepResult::Failed) continue;
            std::fprintf(stderr, "  %s: %s: %s\n", r.port.c_str(), stepName(step),
                         r.step(step).detail.c_str());
            passed = false;
        }
    }
    return passed;
}

// Seconds of the best of kRuns runs on the first `count` gateways, -1 when none passed. A run in
// which a gateway failed is told and not timed: on a loaded host a simulated gateway held up for
// 100 ms mid-reply ends that reply by silence, which a real gateway never does.
double commissionSeconds(const ObjectMap& map, const std::vector<std::unique_ptr<Gateway>>& gateways,
                         int count) {
    std::vector<GatewayPlan> plans;
    for (int i = 0; i < count; ++i)
        plans.push_back(
            {gateways[static_cast<std::size_t>(i)]->path, "Room " + std::to_string(i + 1), std::nullopt});
    CommissionOptions options;
    options.verify = true;
    double best = -1;
    for (int run = 0; run < kRuns; ++run) {
        const Clock::time_point start = Clock::now();
        const std::vector<GatewayRecord> records =
            commissionGateways(map, plans, options, [] { return std::make_unique<QtSerialPortDriver>(); });
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!allPassed(records)) {
            std::fprintf(stderr, "run %d of %d gateway(s) failed, not timed\n", run + 1, count);
            continue;
        }
        best = best < 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    const bool lineSpeed = !(argc > 1 && std::strcmp(argv[1], "--no-line-speed") == 0);
    std::vector<std::unique_ptr<Gateway>> gateways;
    for (int i = 0; i < 8; ++i) {
        gateways.push_back(std::make_unique<Gateway>(lineSpeed ? kLineBaud : 0));
        if (gateways.back()->path.empty()) {
            std::fprintf(stderr, "the simulated gateway did not start\n");
            return 1;
        }
    }
    auto map = std::make_unique<ObjectMap>();
    sim::DemoMapShape shape;
    shape.structuredInputs = {83};
    shape.userOutputs = 1;
    shape.inputs = 6;
    shape.outputs = 24;
    if (sim::buildDemoMap(*map, shape) < 0) return 1;
    fillFreeObjects(*map);

    double seconds[3] = {};
    const int counts[3] = {1, 4, 8};
    for (int i = 0; i < 3; ++i) {
        seconds[i] = commissionSeconds(*map, gateways, counts[i]);
        if (seconds[i] < 0) return 1;
        std::printf("%d gateway%s  %6.2f s\n", counts[i], counts[i] == 1 ? " " : "s", seconds[i]);
    }
    const double ratio = seconds[2] / seconds[0];
    std::printf("8/1 ratio    %6.3f  (target at most %.2f) %s\n", ratio, kTargetRatio,
                ratio <= kTargetRatio ? "ok" : "OVER");
    return ratio <= kTargetRatio ? 0 : 1;
}
