// The `mod` element: Modbus port settings, the Modbus TCP settings and the TCP device map.
#include "formats/xml/ElementValues.h"
#include "formats/xml/Elements.h"
#include "model/FixedText.h"

namespace korvex::xml {
namespace {

struct PortWork {
    ModbusSettings port;
    TcpSettings tcp;
    std::array<TcpDeviceMap, kTcpMapEntries> devices{};
    int device = 0; // entry chosen by `dev`, 1..20
    bool portSeen = false;
    bool ipaddrSeen = false;
    bool ipmapSeen = false;
};

using Attr = Attribute<PortWork>;

template <class Field> int readField(std::string_view v, int64_t high, Field& field) {
    int64_t n = 0;
    if (const int code = readInteger(v, 0, high, n)) return code;
    field = static_cast<Field>(n);
    return XmlError::Ok;
}

int clearPort(PortWork& w, std::string_view v) {
    int64_t n = 0;
    if (const int code = readInteger(v, INT32_MIN, INT32_MAX, n)) return code;
    if (n != 0) w.port = ModbusSettings{0, 0, 0, 0, 0};
    w.portSeen = true;
    return XmlError::Ok;
}

int setBaud(PortWork& w, std::string_view v) {
    w.portSeen = true;
    return readField(v, 38400, w.port.baud);
}

int setParity(PortWork& w, std::string_view v) {
    int64_t n = 0;
    if (const int code = readInteger(v, INT32_MIN, INT32_MAX, n)) return code;
    auto& flags = w.port.flags;
    switch (n) {
    case 0:
        flags &= static_cast<uint8_t>(~PortFlag::Parity);
        break;
    case 1:
        flags |= PortFlag::Parity | PortFlag::OddParity;
        break;
    case 2:
        flags |= PortFlag::Parity;
        flags &= static_cast<uint8_t>(~PortFlag::OddParity);
        break;
    default:
        return XmlError::BadOption;
    }
    w.portSeen = true;
    return XmlError::Ok;
}

int setStop(PortWork& w, std::string_view v) {
    int64_t n = 0;
    if (const int code = readInteger(v, INT32_MIN, INT32_MAX, n)) return code;
    if (n == 2)
        w.port.flags |= PortFlag::TwoStopBits;
    else
        w.port.flags &= static_cast<uint8_t>(~PortFlag::TwoStopBits);
    w.portSeen = true;
    return XmlError::Ok;
}

template <uint8_t Bit> int portFlag(PortWork& w, std::string_view v) {
    w.portSeen = true;
    return readFlag(v, w.port.flags, Bit);
}

int setTimeout(PortWork& w, std::string_view v) {
    w.portSeen = true;
    return readField(v, 0xFFFF, w.port.timeout);
}

int setPredelay(PortWork& w, std::string_view v) {
    w.portSeen = true;
    return readField(v, 0xFFFF, w.port.predelay);
}

int setSlave(PortWork& w, std::string_view v) {
    w.portSeen = true;
    return readField(v, 255, w.port.slave);
}

int readAddress(std::string_view v, IpAddress& out) {
    std::array<int64_t, 4> n{};
    if (const int code = readNumbers(v, "d.d.d.d", n, {{kByteRange, kByteRange, kByteRange, kByteRange}}))
        return code;
    for (std::size_t i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(n[i]);
    return XmlError::Ok;
}

int setIpaddr(PortWork& w, std::string_view v) {
    if (const int code = readAddress(v, w.tcp.ipaddr)) return code;
    w.ipaddrSeen = true;
    return XmlError::Ok;
}

int setSubnet(PortWork& w, std::string_view v) {
    return readAddress(v, w.tcp.subnet);
}
int setGateway(PortWork& w, std::string_view v) {
    return readAddress(v, w.tcp.gateway);
}
int setTcpPort(PortWork& w, std::string_view v) {
    return readField(v, 0xFFFF, w.tcp.port);
}

int setDevice(PortWork& w, std::string_view v) {
    int64_t n = 0;
    if (const int code = readInteger(v, 1, kTcpMapEntries, n)) return code;
    w.device = static_cast<int>(n);
    return XmlError::Ok;
}

int setIpmap(PortWork& w, std::string_view v) {
    std::array<int64_t, 8> n{};
    const int code = readNumbers(
        v, "d,d,d,d.d.d.d:d", n,
        {{kByteRange, kByteRange, kByteRange, kByteRange, kByteRange, kByteRange, kByteRange, {0, 0xFFFF}}});
    if (code) return code;
    if (w.device < 1 || w.device > kTcpMapEntries) return XmlError::OutOfRange;
    TcpDeviceMap& entry = w.devices[static_cast<std::size_t>(w.device - 1)];
    entry.firstUnit = static_cast<uint8_t>(n[0]);
    entry.lastUnit = static_cast<uint8_t>(n[1]);
    entry.mapTo = static_cast<uint8_t>(n[2]);
    for (std::size_t i = 0; i < 4; ++i) entry.ipAddress[i] = static_cast<uint8_t>(n[3 + i]);
    entry.port = static_cast<uint16_t>(n[7]);
    w.ipmapSeen = true;
    return XmlError::Ok;
}

constexpr std::array<Attr, 15> kPortAttributes{{
    {"clear", clearPort},
    {"baud", setBaud},
    {"parity", setParity},
    {"stop", setStop},
    {"bigend", portFlag<PortFlag::HighRegFirst>},
    {"slavemode", portFlag<PortFlag::GatewayIsSlave>},
    {"timeout", setTimeout},
    {"predelay", setPredelay},
    {"slave", setSlave},
    {"ipaddr", setIpaddr},
    {"subnet", setSubnet},
    {"gateway", setGateway},
    {"port", setTcpPort},
    {"dev", setDevice},
    {"ipmap", setIpmap},
}};

} // namespace

int applyPortElement(ObjectMap& map, UnitCursor& cursor) {
    PortWork work{map.modbus, map.tcp, map.tcpMap};
    if (const int code = runAttributeLoop<PortWork>(cursor, kPortAttributes, work)) return code;
    if (work.portSeen) map.modbus = work.port;
    if (work.ipmapSeen) {
        map.tcpMap = work.devices;
        normaliseTcpMap(map.tcpMap);
    }
    // TCP settings already in place (a gateway that has an address) are not overwritten.
    if (work.ipaddrSeen && map.tcp.ipaddr == IpAddress{0, 0, 0, 0}) map.tcp = work.tcp;
    return XmlError::Ok;
}

} // namespace korvex::xml
