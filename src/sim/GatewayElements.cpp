// How the simulated gateway takes in the element lines and domain settings it is sent.
#include "sim/Alteration.h"
#include "sim/GatewayConsole.h"

#include <cstdio>
#include <set>
#include <sstream>

namespace korvex::sim {

namespace {

bool clears(const ElementLine& element) {
    return intAttribute(element, "clear", 0) != 0;
}

// Applies the attributes other than the skipped ones to stored; a non-zero clear empties it first.
void mergeInto(ElementLine& stored, const ElementLine& element,
               const std::set<std::string, std::less<>>& skip) {
    if (clears(element)) stored.attributes.clear();
    for (const auto& [name, value] : element.attributes) {
        if (!skip.count(name)) stored.set(name, value);
    }
}

std::string domainText(int index, const DomainEntry& entry) {
    if (!entry.used) return "Domain " + std::to_string(index) + " unused";
    char text[128];
    std::snprintf(text, sizeof text, "Domain %d: Subnet: %d Node: %d Len: %d Id: ", index, entry.subnet,
                  entry.node, entry.idLength);
    std::string reply = text;
    for (int i = 0; i < entry.idLength; ++i) {
        std::snprintf(text, sizeof text, i == 0 ? "%02x" : " %02x", entry.id[static_cast<std::size_t>(i)]);
        reply += text;
    }
    return reply;
}

} // namespace

std::string GatewayConsole::answerElement(std::string_view line) {
    ElementLine element;
    std::string error;
    if (!parseElementLine(line, element, &error)) return error;
    if (element.kind == "obj") return applyObject(element);
    if (element.kind == "nv") return applyNetVar(element);
    if (element.kind == "mod") return applyPort(element);
    if (element.kind == "nd") return applyNode(element);
    if (element.kind == "clearallconfig") {
        config_.clearConfiguration();
        return "Ok";
    }
    return "Unrecognized tag name";
}

std::string GatewayConsole::applyObject(const ElementLine& element) {
    const int n = intAttribute(element, "n", 0);
    if (n < 1 || n > kObjectCount) return "Parameter out of range";
    ElementLine stored = config_.objects.count(n) ? config_.objects[n] : ElementLine{"obj", {}};
    mergeInto(stored, element, {"n", "clear"});
    if (stored.empty()) {
        config_.objects.erase(n);
        config_.values[static_cast<std::size_t>(n)] = 0;
    } else {
        config_.objects[n] = stored;
    }
    return "Ok";
}

std::string GatewayConsole::applyNetVar(const ElementLine& element) {
    const bool input = element.find("nvi") != nullptr;
    const int n = intAttribute(element, input ? "nvi" : "nvo", 0);
    if (n < 1 || n > kNetVarNumbers) return "Parameter out of range";
    ElementLine stored =
        config_.netVars.count({input, n}) ? config_.netVars[{input, n}] : ElementLine{"nv", {}};
    mergeInto(stored, element, {"nvi", "nvo", "clear"});
    config_.netVars[{input, n}] = stored;
    return "Ok";
}

std::string GatewayConsole::applyPort(const ElementLine& element) {
    ElementLine port{"mod", {}}, ip{"mod", {}};
    int dev = 0;
    const std::string* ipmap = nullptr;
    for (const auto& [name, value] : element.attributes) {
        if (isPortAttribute(name))
            port.set(name, value);
        else if (isIpAttribute(name))
            ip.set(name, value);
        else if (name == "dev")
            dev = intAttribute(element, "dev", 0);
        else if (name == "ipmap")
            ipmap = &value;
        else
            return "Unrecognized tag name";
    }
    if (ipmap && (dev < 1 || dev > kTcpMapEntries)) return "Parameter out of range";
    if (!port.empty()) mergeInto(config_.portSettings, port, {"clear"});
    if (!ip.empty()) mergeInto(config_.ipSettings, ip, {});
    if (ipmap) config_.tcpMap[static_cast<std::size_t>(dev - 1)] = *ipmap;
    return "Ok";
}

std::string GatewayConsole::applyNode(const ElementLine& element) {
    for (const auto& [name, value] : element.attributes) {
        if (name == "loc")
            config_.location = value.substr(0, 31);
        else if (name == "pid")
            config_.pid = intAttribute(element, "pid", config_.pid);
        else
            return "Unrecognized tag name";
    }
    return "Ok";
}

// "ndomain I" reads entry I; "ndomain I SUBNET NODE LEN ID.." sets it.
std::string GatewayConsole::domain(std::string_view args) {
    std::istringstream in{std::string(args)};
    int index = -1;
    if (!(in >> index) || index < 0 || index > 1) return "Bad domain index";
    DomainEntry& entry = config_.domains[static_cast<std::size_t>(index)];
    DomainEntry next{true};
    if (!(in >> next.subnet)) return domainText(index, entry);
    if (!(in >> next.node >> next.idLength)) return "Bad domain";
    if (next.idLength != 0 && next.idLength != 1 && next.idLength != 3 && next.idLength != 6)
        return "Bad domain";
    for (int i = 0; i < next.idLength; ++i) {
        if (!(in >> std::hex >> next.id[static_cast<std::size_t>(i)])) return "Bad domain";
    }
    entry = next;
    return "Ok";
}

} // namespace korvex::sim
