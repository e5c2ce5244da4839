#include "sim/GatewayConfig.h"

#include <cstdio>

namespace korvex::sim {

namespace {

// An ipmap entry is in use when any of its first unit, last unit or map-to unit is not 0.
bool ipmapInUse(const std::string& ipmap) {
    int first = 0, last = 0, mapTo = 0;
    if (std::sscanf(ipmap.c_str(), "%d,%d,%d", &first, &last, &mapTo) != 3) return false;
    return first != 0 || last != 0 || mapTo != 0;
}

} // namespace

GatewayConfig::GatewayConfig() {
    portSettings.kind = "mod";
    portSettings.set("baud", "19200");
    portSettings.set("slavemode", "0");
    portSettings.set("timeout", "1000");
    ipSettings.kind = "mod";
    ipSettings.set("ipaddr", "0.0.0.0");
    ipSettings.set("subnet", "0.0.0.0");
    ipSettings.set("gateway", "0.0.0.0");
    ipSettings.set("port", "502");
}

int GatewayConfig::lastObject() const {
    return objects.empty() ? 0 : objects.rbegin()->first;
}

int GatewayConfig::netVarCount(bool input) const {
    int count = 0;
    for (const auto& [key, element] : netVars) {
        if (key.first == input) ++count;
    }
    return count;
}

int GatewayConfig::tcpMapCount() const {
    int count = 0;
    for (const std::string& ipmap : tcpMap) {
        if (ipmapInUse(ipmap)) ++count;
    }
    return count;
}

void GatewayConfig::clearConfiguration() {
    objects.clear();
    netVars.clear();
    tcpMap.fill(std::string());
    values.fill(0.0);
}

GatewayConfig sampleConfig() {
    GatewayConfig config;
    const char* objectLines[][2] = {{"datatype", "FP"}, {"datatype", "U16"}, {"datatype", "S32"}};
    for (int n = 1; n <= 3; ++n) {
        ElementLine& object = config.objects[n];
        object.kind = "obj";
        object.set(objectLines[n - 1][0], objectLines[n - 1][1]);
        object.set("modreg", std::to_string(40000 + n));
        object.set("modtype", "4X");
        object.set("moddata", "S16");
        object.set("slave", "1");
        object.set("poll", "1000");
        object.set("lonNVO", std::to_string(n));
        config.values[static_cast<std::size_t>(n)] = 10.5 * n;
    }
    for (int n = 1; n <= 3; ++n) {
        ElementLine& nv = config.netVars[{false, n}];
        nv.kind = "nv";
        nv.set("snvt", "105");
    }
    ElementLine& input = config.netVars[{true, 1}];
    input.kind = "nv";
    input.set("snvt", "95");
    config.location = "Plant room";
    config.domains[0] = DomainEntry{true, 1, 12, 1, {0xA5}};
    return config;
}

} // namespace korvex::sim
