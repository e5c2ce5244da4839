#pragma once
// The command engine's states: one per kind of command, each with its time budget (poll limit
// of the link, one poll about 100 ms) and how many reply bytes its handler looks at.
#include <cstdint>
#include <string_view>

namespace korvex::device {

enum class EngineState : std::int32_t {
    Idle = 0,
    Console = 1,
    ReadValues = 2,
    GetNetVars = 3,
    SendNetVars = 4,
    GetObjects = 5,
    SendObjects = 6,
    ClearConfig = 7,
    QueryUsage = 8,
    GetPortSettings = 9,
    SendPortSettings = 10,
    GetErrorInfo = 11,
    WriteValues = 12,
    SetDomain = 13,
    GetDomains = 14,
    GetNodeIds = 15,
    GetNodeInfo = 16,
    SetLocation = 17,
    AlterProgramId = 18,
    ReadBack = 19,
    WatchRead = 20,
};

inline constexpr int kStateCount = 21;

// Budgets in polls.
inline constexpr int kBudgetCommand = 20;  // most commands, about 2 s
inline constexpr int kBudgetSettings = 30; // port, IP and TCP-map elements, location, program ID
inline constexpr int kBudgetConsole = 100; // free-text console lines
inline constexpr int kBudgetErase = 450;   // erasing the whole configuration

struct StateInfo {
    std::string_view name;
    int budget;
    int replyMax;
};

// The entry of a state 0..20; any other value gives the Idle entry.
const StateInfo& stateInfo(int state);
inline const StateInfo& stateInfo(EngineState state) {
    return stateInfo(static_cast<int>(state));
}

} // namespace korvex::device
