#pragma once
// The map checker: finds what will go wrong with a map before it reaches the gateway (two
// objects writing one register, a write mode on an input, an NV the file will not keep, ...)
// and reports each finding as a problem with a stable rule id, a severity, a place and a
// one-line message. It reads the map only and keeps no state, so any thread that may read the
// map may call it; it is cheap enough to run on every change of the map.
#include "model/ObjectMap.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvex {

enum class Severity : uint8_t { Error, Warning };

// Where a problem sits, in the order problems are listed.
enum class PlaceKind : uint8_t { Object, NV, Register, Port, Tcp, Node };

// One per rule of the table in MapRules.cpp, in table order; problems at one place are listed
// in this order.
enum class Rule : uint8_t {
    RegisterSharedWrite,
    RegisterShared,
    RegisterOverlap,
    WriteToInput,
    RegisterIncomplete,
    RegisterPastEnd,
    SlaveZero,
    SlaveReserved,
    TcpSlaveUnmapped,
    DirectionMismatch,
    ObjectNVMissing,
    ObjectUnlinked,
    ObjectNoRegister,
    ObjectNoNV,
    DefaultClamped,
    DataTypeNarrow,
    DuplicateObjectName,
    NameChangedOnSave,
    NVNotSaved,
    NVFbDuplicate,
    NVNoObject,
    SendTimesInverted,
    RegisterNotSaved,
    PortBaud,
    PortSlaveAddress,
    PortTimeoutZero,
    TcpSettingsMissing,
    TcpEntryRange,
    TcpEntryOverlap,
    TcpEntryNormalised,
    NodePidReserved,
    Count
};

struct RuleInfo {
    Rule rule;
    const char* id;      // stable: scripts and the help topic refer to it
    Severity severity;   // the usual severity; register-overlap is an error only when one writes
    const char* summary; // one line for the help topic
};

// The rule table, in Rule order.
std::span<const RuleInfo> mapRules();
const RuleInfo& ruleInfo(Rule rule);

struct Problem {
    Rule rule = Rule::Count;
    Severity severity = Severity::Warning;
    PlaceKind place = PlaceKind::Object;
    int row = 0; // object number, 1-based NV or register row, TCP entry 1..20; 0 for port and node
    std::string message;

    const char* ruleId() const { return ruleInfo(rule).id; }
    bool operator==(const Problem&) const = default;
};

// Checks the map as the given device model (0..2) would take it. The problems come sorted by
// place (objects, NV rows, register rows, port, TCP entries, node), by number within a kind,
// and by rule at one place.
std::vector<Problem> checkMap(const ObjectMap& map, int deviceModel);

struct ProblemCount {
    int errors = 0;
    int warnings = 0;
};
ProblemCount countProblems(std::span<const Problem> problems);

const char* severityName(Severity severity);   // "error", "warning"
const char* placeKindName(PlaceKind place);    // "object", "nv", "register", "port", "tcp", "node"
bool placeHasRow(PlaceKind place);             // false for port and node
std::string placeText(const Problem& problem); // "object 12", "nv 3", "port"
// "1 error, 0 warnings", "2 errors, 1 warning".
std::string countText(ProblemCount count);

} // namespace korvex
