#pragma once
// A commissioning run: the same map sent to many gateways at once, each on its own port with its
// own location and IP address. Each gateway gets a link, an engine, a copy of the map and a
// thread of its own, and nothing mutable is shared between two gateways: a gateway's thread
// drives its engine and reporting pass itself (as the command line does), its link's pump thread
// moves its bytes. The sequence is probe, identity, erase (when asked), NVs, objects, port
// settings, location, verify (when asked); it stops at a gateway's first failed step.
#include "device/link/SerialPortDriver.h"
#include "model/MapCompare.h"
#include "model/ObjectMap.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex::device {

enum class Step : int { Probe, Identity, Erase, NetVars, Objects, Port, Location, Verify };
inline constexpr int kStepCount = 8;
inline constexpr std::array<Step, kStepCount> kSteps = {Step::Probe,    Step::Identity, Step::Erase,
                                                        Step::NetVars,  Step::Objects,  Step::Port,
                                                        Step::Location, Step::Verify};

enum class StepResult : int {
    NotRun,   // an earlier step failed
    NotAsked, // erase or verify without the option
    Passed,
    Failed,
};

// "probe", "identity", "erase", "nvs", "objects", "port", "location", "verify".
const char* stepName(Step step);
// "not run", "not asked", "passed", "failed".
const char* stepResultName(StepResult result);

struct StepRecord {
    StepResult result = StepResult::NotRun;
    std::string detail; // why it failed: the status text or question of the step
    long long ms = 0;
};

// One gateway of the run: its port, and what differs from the map (nullopt: the map's).
struct GatewayPlan {
    std::string port;
    std::optional<std::string> location;
    std::optional<IpAddress> ip;
};

struct CommissionOptions {
    bool erase = false;
    bool verify = false;
    bool yes = false;     // questions are answered OK; without it a question fails its step
    bool silence = false; // replies end by line silence only
};

struct GatewayRecord {
    std::string port;
    std::unique_ptr<ObjectMap> map; // the map as this gateway was given it
    std::string programId;          // as read from the gateway, empty when not read
    std::string neuronId;
    std::array<StepRecord, kStepCount> steps{};
    std::vector<MapDifference> differences; // what the verify found
    long long ms = 0;

    const StepRecord& step(Step s) const { return steps[static_cast<std::size_t>(s)]; }
    StepRecord& step(Step s) { return steps[static_cast<std::size_t>(s)]; }
    // Every step passed or was not asked for.
    bool passed() const;
    // The location this gateway was given.
    std::string location() const;
};

// The map for one gateway: the run's map with the plan's location and IP address, nothing
// marked as in the device.
std::unique_ptr<ObjectMap> gatewayMap(const ObjectMap& map, const GatewayPlan& plan);

// Runs one gateway's sequence on the calling thread over the driver.
GatewayRecord commissionGateway(std::unique_ptr<ObjectMap> map, const std::string& port,
                                const CommissionOptions& options, SerialPortDriver& driver);

using DriverFactory = std::function<std::unique_ptr<SerialPortDriver>()>;

// Every gateway at once, a thread each; the records in the order of the plans. The drivers are
// made on the calling thread before any gateway starts.
std::vector<GatewayRecord> commissionGateways(const ObjectMap& map, const std::vector<GatewayPlan>& plans,
                                              const CommissionOptions& options,
                                              const DriverFactory& makeDriver);

} // namespace korvex::device
