#pragma once
// Everything the simulated gateway remembers: the element lines it was sent (keyed by element
// kind and number), its node identity, domains, live values and Modbus error counters.
#include "sim/ElementLine.h"

#include <array>
#include <map>
#include <string>
#include <utility>

namespace korvex::sim {

inline constexpr int kObjectCount = 400;
inline constexpr int kNetVarNumbers = 120;
inline constexpr int kTcpMapEntries = 20;

struct DomainEntry {
    bool used = false;
    int subnet = 0;
    int node = 0;
    int idLength = 0;
    std::array<int, 6> id{};
};

struct ErrorCounters {
    unsigned exceptionCode = 0;
    unsigned errorBits = 0;
};

struct GatewayConfig {
    // Attributes other than the number and clear, in the order received.
    std::map<int, ElementLine> objects;                  // by object number 1..400
    std::map<std::pair<bool, int>, ElementLine> netVars; // by (input?, function-block number)
    ElementLine portSettings;                            // baud, parity, stop, slavemode, ...
    ElementLine ipSettings;                              // ipaddr, subnet, gateway, port
    std::array<std::string, kTcpMapEntries> tcpMap;      // ipmap values, "" = unused
    std::string location;
    int pid = 0;
    std::array<int, 8> programId{0x9F, 0xFF, 0xFF, 0x05, 0x00, 0x0A, 0x04, 0x02};
    std::array<int, 6> neuronId{0x00, 0x04, 0xA2, 0x3C, 0x51, 0x07};
    std::array<DomainEntry, 2> domains{};
    std::array<double, kObjectCount + 1> values{}; // by object number
    std::map<int, ErrorCounters> errorCounters;    // by Modbus slave address

    GatewayConfig();
    // The numbers of the usage reply: the highest object number in use, the NVs defined per
    // direction, and the TCP device-map entries in use.
    int lastObject() const;
    int netVarCount(bool input) const;
    int tcpMapCount() const;
    bool objectDefined(int number) const { return objects.count(number) != 0; }
    // Forgets objects, NV definitions and the TCP map, as erasing the configuration does.
    void clearConfiguration();
};

// A small configuration to start the program with (--sample).
GatewayConfig sampleConfig();

} // namespace korvex::sim
