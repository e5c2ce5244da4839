// The checker's rule table, its entry point and the texts shared by the CLI and the window.
#include "model/check/MapCheckSupport.h"

#include "vocab/RegisterCodes.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>

namespace korvex {
namespace {

using enum Rule;
constexpr Severity E = Severity::Error;
constexpr Severity W = Severity::Warning;

constexpr std::array<RuleInfo, static_cast<std::size_t>(Rule::Count)> kRules{{
    {RegisterSharedWrite, "register-shared-write", E,
     "Two or more objects write the same register (same slave, register family and number, and for "
     "bits the same bit)."},
    {RegisterShared, "register-shared", W,
     "Objects share one register: one writes it and others read it, or all only read it."},
    {RegisterOverlap, "register-overlap", E,
     "A format spanning several registers covers a register another object uses (an error when one "
     "of them writes, else a warning)."},
    {WriteToInput, "write-to-input", E, "A write mode on a discrete input or an input register."},
    {RegisterIncomplete, "register-incomplete", E,
     "A register without a register type, a register number or a format."},
    {RegisterPastEnd, "register-past-end", E,
     "A format spanning several registers runs past register 65535."},
    {SlaveZero, "slave-zero", E, "Slave address 0 (broadcast) while the gateway is the Modbus master."},
    {SlaveReserved, "slave-reserved", W,
     "Slave address 248 to 255, reserved by Modbus, while the gateway is the Modbus master."},
    {TcpSlaveUnmapped, "tcp-slave-unmapped", W,
     "Korvex-C as master with a TCP device map: a slave address that no TCP device entry maps."},
    {DirectionMismatch, "direction-mismatch", W,
     "Gateway as master: an input NV on a register that is only read, or an output NV on a register "
     "that is only written, so no value moves."},
    {ObjectNVMissing, "object-nv-missing", E,
     "An object tied to an NV that the NV list does not hold, or without a function-block number."},
    {ObjectUnlinked, "object-unlinked", W, "A configured object with neither NV nor register."},
    {ObjectNoRegister, "object-no-register", W, "An object with an NV but no register: no data moves."},
    {ObjectNoNV, "object-no-nv", W, "An object with a register but no NV: no data moves."},
    {DefaultClamped, "default-clamped", W, "A default value that the object's register format cannot hold."},
    {DataTypeNarrow, "data-type-narrow", W,
     "An object data type that cannot hold every value of its register format."},
    {DuplicateObjectName, "duplicate-object-name", W,
     "Two objects with the same name (the fields of one structured NV excepted)."},
    {NameChangedOnSave, "name-changed-on-save", W,
     "A name that the map file cuts or whose characters it replaces."},
    {NVNotSaved, "nv-not-saved", E,
     "An NV that the map file does not keep: no function-block number, or a type of size 0."},
    {NVFbDuplicate, "nv-fb-duplicate", E, "Two NVs of one direction with the same function-block number."},
    {NVNoObject, "nv-no-object", W, "An NV sent to the gateway that no data object feeds or is fed by."},
    {SendTimesInverted, "send-times-inverted", W,
     "An output NV whose minimum send time is above its maximum."},
    {RegisterNotSaved, "register-not-saved", W,
     "A register row without a data object, which the map file does not keep."},
    {PortBaud, "port-baud", E, "A baud rate the gateway does not offer."},
    {PortSlaveAddress, "port-slave-address", E, "The gateway as Modbus slave with address 0 or above 247."},
    {PortTimeoutZero, "port-timeout-zero", W, "The gateway as Modbus master with a time-out of 0."},
    {TcpSettingsMissing, "tcp-settings-missing", W,
     "Korvex-C without an IP address, subnet mask or TCP port: its port settings cannot be written."},
    {TcpEntryRange, "tcp-entry-range", E, "A TCP device entry whose first unit is above its last unit."},
    {TcpEntryOverlap, "tcp-entry-overlap", E, "Two TCP device entries that map the same unit."},
    {TcpEntryNormalised, "tcp-entry-normalised", W,
     "A TCP device entry that saving changes: a unit of 0 or above 246, port 0, or an address "
     "without its first or last byte."},
    {NodePidReserved, "node-pid-reserved", W, "A program-ID selector of 2 to 20, which are reserved."},
}};

constexpr bool rulesInOrder() {
    for (std::size_t i = 0; i < kRules.size(); ++i)
        if (static_cast<std::size_t>(kRules[i].rule) != i) return false;
    return true;
}
static_assert(rulesInOrder(), "the rule table follows the Rule enumeration");

} // namespace

std::span<const RuleInfo> mapRules() {
    return kRules;
}

const RuleInfo& ruleInfo(Rule rule) {
    const auto index = static_cast<std::size_t>(rule);
    return kRules[index < kRules.size() ? index : 0];
}

std::vector<Problem> checkMap(const ObjectMap& map, int deviceModel) {
    std::vector<Problem> problems;
    check::Findings findings(problems);
    check::checkRegisterUse(map, deviceModel, findings);
    check::checkRegisterFields(map, findings);
    check::checkObjects(map, findings);
    check::checkNVs(map, findings);
    check::checkSettings(map, deviceModel, findings);
    std::stable_sort(problems.begin(), problems.end(), [](const Problem& a, const Problem& b) {
        if (a.place != b.place) return a.place < b.place;
        if (a.row != b.row) return a.row < b.row;
        return a.rule < b.rule;
    });
    return problems;
}

ProblemCount countProblems(std::span<const Problem> problems) {
    ProblemCount count;
    for (const Problem& p : problems) ++(p.severity == Severity::Error ? count.errors : count.warnings);
    return count;
}

const char* severityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

const char* placeKindName(PlaceKind place) {
    static constexpr std::array<const char*, 6> kNames{"object", "nv", "register", "port", "tcp", "node"};
    const auto index = static_cast<std::size_t>(place);
    return index < kNames.size() ? kNames[index] : kNames[0];
}

bool placeHasRow(PlaceKind place) {
    return place != PlaceKind::Port && place != PlaceKind::Node;
}

std::string placeText(const Problem& problem) {
    std::string text = placeKindName(problem.place);
    if (placeHasRow(problem.place)) text += " " + std::to_string(problem.row);
    return text;
}

std::string countText(ProblemCount count) {
    return check::textf("%d error%s, %d warning%s", count.errors, count.errors == 1 ? "" : "s",
                        count.warnings, count.warnings == 1 ? "" : "s");
}

namespace check {

void Findings::add(Rule rule, PlaceKind place, int row, std::string message) {
    add(rule, ruleInfo(rule).severity, place, row, std::move(message));
}

void Findings::add(Rule rule, Severity severity, PlaceKind place, int row, std::string message) {
    out_.push_back(Problem{rule, severity, place, placeHasRow(place) ? row : 0, std::move(message)});
}

std::string textf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

std::string objectsText(std::span<const int> objects) {
    constexpr std::size_t kNamed = 6;
    if (objects.empty()) return {};
    if (objects.size() == 1) return "object " + std::to_string(objects[0]);
    std::string text = "objects ";
    const std::size_t named = objects.size() > kNamed ? kNamed - 1 : objects.size() - 1;
    for (std::size_t i = 0; i < named; ++i) text += (i ? ", " : "") + std::to_string(objects[i]);
    if (objects.size() > kNamed) return text + " and " + std::to_string(objects.size() - named) + " others";
    return text + " and " + std::to_string(objects.back());
}

std::string registerText(int32_t type, unsigned number, unsigned slave) {
    const char* kind = "register";
    if (type == RegisterType::Coil || type == RegisterType::Coil1) kind = "coil";
    if (type == RegisterType::Discrete) kind = "discrete input";
    if (type == RegisterType::Input) kind = "input register";
    if (type == RegisterType::Holding || type == RegisterType::Holding1) kind = "holding register";
    return textf("%s %u of slave %u", kind, number, slave);
}

std::string nvText(bool input, int fbNumber) {
    return (input ? "NVI " : "NVO ") + std::to_string(fbNumber);
}

std::string savedText(std::string_view text) {
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '"' || c == '>'; }, '_');
    return out;
}

TcpDeviceMap normalisedEntry(const TcpDeviceMap& entry) {
    std::array<TcpDeviceMap, kTcpMapEntries> one{};
    one[0] = entry;
    normaliseTcpMap(one);
    return one[0];
}

bool gatewayIsMaster(const ObjectMap& map) {
    return (map.modbus.flags & PortFlag::GatewayIsSlave) == 0;
}

bool hasModbusRegister(const DataObject& object) {
    return object.hasRegister() && (object.modtype != 0 || object.modreg != 0);
}

bool writesRegister(const DataObject& object) {
    return (object.flags & (ObjectFlag::WritePeriodic | ObjectFlag::WriteOnUpdate)) != 0;
}

} // namespace check
} // namespace korvex
