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

template <class Field> XmlError readField(std::string_view v, int64_t high, Field& field) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, 0, high, n); code != XmlError::Ok) return code;
    field = static_cast<Field>(n);
    return XmlError::Ok;
}

XmlError clearPort(PortWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, INT32_MIN, INT32_MAX, n); code != XmlError::Ok) return code;
    if (n != 0) w.port = ModbusSettings{0, 0, 0, 0, 0};
    w.portSeen = true;
    return XmlError::Ok;
}

XmlError setBaud(PortWork& w, std::string_view v) {
    w.portSeen = true;
    return readField(v, 38400, w.port.baud);
}

XmlError setParity(PortWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, INT32_MIN, INT32_MAX, n); code != XmlError::Ok) return code;
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

XmlError setStop(PortWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, INT32_MIN, INT32_MAX, n); code != XmlError::Ok) return code;
    if (n == 2)
        w.port.flags |= PortFlag::TwoStopBits;
    else
        w.port.flags &= static_cast<uint8_t>(~PortFlag::TwoStopBits);
    w.portSeen = true;
    return XmlError::Ok;
}

template <uint8_t Bit> XmlError portFlag(PortWork& w, std::string_view v) {
    w.portSeen = true;
    return readFlag(v, w.port.flags, Bit);
}

XmlError setTimeout(PortWork& w, std::string_view v) {
    w.portSeen = true;
    return readField(v, 0xFFFF, w.port.timeout);
}

XmlError setPredelay(PortWork& w, std::string_view v) {
    w.portSeen = true;
    return readField(v, 0xFFFF, w.port.predelay);
}

XmlError setSlave(PortWork& w, std::string_view v) {
    w.portSeen = true;
    return readField(v, 255, w.port.slave);
}

XmlError readAddress(std::string_view v, IpAddress& out) {
    std::array<int64_t, 4> n{};
    if (const XmlError code =
            readNumbers(v, "d.d.d.d", n, {{kByteRange, kByteRange, kByteRange, kByteRange}});
        code != XmlError::Ok)
        return code;
    for (std::size_t i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(n[i]);
    return XmlError::Ok;
}

XmlError setIpaddr(PortWork& w, std::string_view v) {
    if (const XmlError code = readAddress(v, w.tcp.ipaddr); code != XmlError::Ok) return code;
    w.ipaddrSeen = true;
    return XmlError::Ok;
}

XmlError setSubnet(PortWork& w, std::string_view v) {
    return readAddress(v, w.tcp.subnet);
}
XmlError setGateway(PortWork& w, std::string_view v) {
    return readAddress(v, w.tcp.gateway);
}
XmlError setTcpPort(PortWork& w, std::string_view v) {
    return readField(v, 0xFFFF, w.tcp.port);
}

XmlError setDevice(PortWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, 1, kTcpMapEntries, n); code != XmlError::Ok) return code;
    w.device = static_cast<int>(n);
    return XmlError::Ok;
}

XmlError setIpmap(PortWork& w, std::string_view v) {
    std::array<int64_t, 8> n{};
    const XmlError code = readNumbers(
        v, "d,d,d,d.d.d.d:d", n,
        {{kByteRange, kByteRange, kByteRange, kByteRange, kByteRange, kByteRange, kByteRange, {0, 0xFFFF}}});
    if (code != XmlError::Ok) return code;
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

constexpr std::array<Attribute<PortWork>, 15> kPortAttributes{{
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

XmlError applyPortElement(ObjectMap& map, UnitCursor& cursor) {
    PortWork work{map.modbus, map.tcp, map.tcpMap};
    if (const XmlError code = runAttributeLoop<PortWork>(cursor, kPortAttributes, work); code != XmlError::Ok)
        return code;
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
