// The checker's pass over the port settings, the Modbus TCP settings and device map, and the
// node identity.
#include "model/FixedText.h"
#include "model/check/MapCheckSupport.h"

#include <algorithm>
#include <array>

namespace korvex::check {
namespace {

constexpr std::array<uint16_t, 6> kBaudRates{1200, 2400, 4800, 9600, 19200, 38400};
constexpr int kFirstReservedPid = 2, kLastReservedPid = 20; // 1 is the product's own ID

void checkPort(const ObjectMap& map, Findings& findings) {
    const ModbusSettings& m = map.modbus;
    if (m.baud != 0 && std::find(kBaudRates.begin(), kBaudRates.end(), m.baud) == kBaudRates.end())
        findings.add(
            Rule::PortBaud, PlaceKind::Port, 0,
            textf("baud rate %u is not one the gateway offers (1200, 2400, 4800, 9600, 19200 or 38400)",
                  unsigned(m.baud)));
    if (!gatewayIsMaster(map) && (m.slave == 0 || m.slave > kLastSlaveAddress))
        findings.add(Rule::PortSlaveAddress, PlaceKind::Port, 0,
                     textf("the gateway as Modbus slave has address %u; a master reaches slaves 1 to %d only",
                           unsigned(m.slave), kLastSlaveAddress));
    if (gatewayIsMaster(map) && m.timeout == 0)
        findings.add(Rule::PortTimeoutZero, PlaceKind::Port, 0,
                     "the gateway as Modbus master has a time-out of 0 s for the replies of its slaves");
}

void checkTcpSettings(const ObjectMap& map, Findings& findings) {
    std::vector<const char*> missing;
    if (map.tcp.ipaddr[0] == 0) missing.push_back("an IP address");
    if (map.tcp.subnet[0] == 0) missing.push_back("a subnet mask");
    if (map.tcp.port == 0) missing.push_back("a TCP port");
    if (missing.empty()) return;
    std::string text = "the Modbus TCP settings lack ";
    for (std::size_t i = 0; i < missing.size(); ++i)
        text += std::string(i == 0 ? "" : i + 1 == missing.size() ? " and " : ", ") + missing[i];
    findings.add(Rule::TcpSettingsMissing, PlaceKind::Port, 0,
                 text + ", so the port settings cannot be written to the gateway");
}

std::string entryText(const TcpDeviceMap& e) {
    return textf("units %d to %d, map to %d, %d.%d.%d.%d port %u", e.firstUnit, e.lastUnit, e.mapTo,
                 e.ipAddress[0], e.ipAddress[1], e.ipAddress[2], e.ipAddress[3], unsigned(e.port));
}

void checkTcpEntries(const ObjectMap& map, Findings& findings) {
    std::array<TcpDeviceMap, kTcpMapEntries> normal{};
    for (int d = 0; d < kTcpMapEntries; ++d)
        normal[static_cast<std::size_t>(d)] = normalisedEntry(map.tcpMap[static_cast<std::size_t>(d)]);
    for (int d = 0; d < kTcpMapEntries; ++d) {
        const TcpDeviceMap& e = map.tcpMap[static_cast<std::size_t>(d)];
        const TcpDeviceMap& n = normal[static_cast<std::size_t>(d)];
        if (!e.inUse()) continue;
        if (!(n == e))
            findings.add(Rule::TcpEntryNormalised, PlaceKind::Tcp, d + 1,
                         "is saved as " + entryText(n) + " instead of " + entryText(e));
        if (n.firstUnit > n.lastUnit) {
            findings.add(Rule::TcpEntryRange, PlaceKind::Tcp, d + 1,
                         textf("first unit %d is above last unit %d, so the entry maps no unit", n.firstUnit,
                               n.lastUnit));
            continue;
        }
        for (int earlier = 0; earlier < d; ++earlier) {
            const TcpDeviceMap& o = normal[static_cast<std::size_t>(earlier)];
            if (!map.tcpMap[static_cast<std::size_t>(earlier)].inUse() || o.firstUnit > o.lastUnit) continue;
            if (n.firstUnit > o.lastUnit || o.firstUnit > n.lastUnit) continue;
            findings.add(Rule::TcpEntryOverlap, PlaceKind::Tcp, d + 1,
                         textf("units %d to %d overlap units %d to %d of entry %d", n.firstUnit, n.lastUnit,
                               o.firstUnit, o.lastUnit, earlier + 1));
            break;
        }
    }
}

void checkNode(const ObjectMap& map, Findings& findings) {
    const std::string_view loc = textOf(map.node.loc);
    if (loc.find_first_of("\">") != std::string_view::npos) {
        findings.add(Rule::NameChangedOnSave, PlaceKind::Node, 0,
                     "location \"" + std::string(loc) + "\" is saved as \"" + savedText(loc) + "\"");
    }
    if (map.node.pid >= kFirstReservedPid && map.node.pid <= kLastReservedPid)
        findings.add(Rule::NodePidReserved, PlaceKind::Node, 0,
                     textf("program-ID selector %d is reserved (%d to %d); 1 is the product's own ID",
                           map.node.pid, kFirstReservedPid, kLastReservedPid));
}

} // namespace

void checkSettings(const ObjectMap& map, int deviceModel, Findings& findings) {
    checkPort(map, findings);
    if (deviceModel == kTcpDeviceModel) {
        checkTcpSettings(map, findings);
        checkTcpEntries(map, findings);
    }
    checkNode(map, findings);
}

} // namespace korvex::check
