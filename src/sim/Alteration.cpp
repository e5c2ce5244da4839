#include "sim/Alteration.h"
#include "sim/ParseFailure.h"

#include <array>
#include <cctype>
#include <charconv>

namespace korvex::sim {

namespace {

constexpr std::array<std::string_view, 9> kPortAttributes = {
    "clear", "baud", "parity", "stop", "bigend", "slavemode", "timeout", "predelay", "slave"};
constexpr std::array<std::string_view, 4> kIpAttributes = {"ipaddr", "subnet", "gateway", "port"};

bool isName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_') return false;
    }
    return true;
}

// The highest item number of the kind; -1 for a kind the gateway does not have.
int highestNumber(std::string_view kind) {
    if (kind == "obj") return kObjectCount;
    if (kind == "nvi" || kind == "nvo") return kNetVarNumbers;
    if (kind == "mod") return kTcpMapEntries;
    if (kind == "nd") return 0;
    return -1;
}

// Whether the item holds the attribute: numbers and clear stay the tool's, a "mod" item takes
// only its element's attributes and the node only its two.
bool holdsAttribute(const Alteration& a) {
    if (a.attribute == "clear" || a.attribute == "n" || a.attribute == "nvi" || a.attribute == "nvo")
        return false;
    if (a.kind == "mod" && a.number == 0) return isPortAttribute(a.attribute) || isIpAttribute(a.attribute);
    if (a.kind == "mod") return a.attribute == "ipmap";
    if (a.kind == "nd") return a.attribute == "loc" || a.attribute == "pid";
    return isName(a.attribute);
}

} // namespace

bool isPortAttribute(std::string_view name) {
    for (std::string_view known : kPortAttributes)
        if (known == name) return true;
    return false;
}

bool isIpAttribute(std::string_view name) {
    for (std::string_view known : kIpAttributes)
        if (known == name) return true;
    return false;
}

bool parseAlteration(std::string_view spec, Alteration& alteration, std::string* error) {
    const std::size_t colon1 = spec.find(':');
    const std::size_t colon2 = colon1 == std::string_view::npos ? colon1 : spec.find(':', colon1 + 1);
    const std::size_t equals = colon2 == std::string_view::npos ? colon2 : spec.find('=', colon2 + 1);
    if (equals == std::string_view::npos) return fail(error, "takes KIND:N:ATTR=VALUE");
    Alteration a;
    a.kind = spec.substr(0, colon1);
    const int highest = highestNumber(a.kind);
    if (highest < 0) return fail(error, "kind \"" + a.kind + "\" is none of obj, nvi, nvo, mod, nd");
    const std::string_view number = spec.substr(colon1 + 1, colon2 - colon1 - 1);
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), a.number);
    const int lowest = a.kind == "mod" || a.kind == "nd" ? 0 : 1;
    if (number.empty() || ec != std::errc() || end != number.data() + number.size() || a.number < lowest ||
        a.number > highest)
        return fail(error, a.kind + " takes a number from " + std::to_string(lowest) + " to " +
                               std::to_string(highest));
    a.attribute = spec.substr(colon2 + 1, equals - colon2 - 1);
    a.value = spec.substr(equals + 1);
    if (!holdsAttribute(a))
        return fail(error,
                    a.kind + " " + std::to_string(a.number) + " has no attribute \"" + a.attribute + "\"");
    if (a.value.find('"') != std::string::npos) return fail(error, "a value cannot hold '\"'");
    if (a.kind == "nd" && a.attribute == "pid") {
        int pid = -1;
        const auto [pidEnd, pidEc] = std::from_chars(a.value.data(), a.value.data() + a.value.size(), pid);
        if (pidEc != std::errc() || pidEnd != a.value.data() + a.value.size() || pid < 0 || pid > 255)
            return fail(error, "pid takes a number from 0 to 255");
    }
    alteration = a;
    return true;
}

void applyAlteration(GatewayConfig& config, const Alteration& a) {
    if (a.kind == "obj") {
        if (auto found = config.objects.find(a.number); found != config.objects.end())
            found->second.set(a.attribute, a.value);
    } else if (a.kind == "nvi" || a.kind == "nvo") {
        if (auto found = config.netVars.find({a.kind == "nvi", a.number}); found != config.netVars.end())
            found->second.set(a.attribute, a.value);
    } else if (a.kind == "mod" && a.number == 0) {
        (isPortAttribute(a.attribute) ? config.portSettings : config.ipSettings).set(a.attribute, a.value);
    } else if (a.kind == "mod") {
        config.tcpMap[static_cast<std::size_t>(a.number - 1)] = a.value;
    } else if (a.attribute == "loc") {
        config.location = a.value.substr(0, 31);
    } else {
        config.pid = std::stoi(a.value);
    }
}

} // namespace korvex::sim
