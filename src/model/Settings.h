#pragma once
// Port settings, Modbus TCP settings and device map, node identity and device model.
#include <array>
#include <cstdint>

namespace korvex {

namespace PortFlag {
inline constexpr uint8_t HighRegFirst = 0x1;
inline constexpr uint8_t GatewayIsSlave = 0x2;
inline constexpr uint8_t Parity = 0x4;
inline constexpr uint8_t OddParity = 0x8;
inline constexpr uint8_t TwoStopBits = 0x10;
inline constexpr uint8_t ConfirmedInDevice = 0x20; // kept by the device link, never written to files
} // namespace PortFlag

struct ModbusSettings {
    uint8_t slave = 1;
    uint16_t timeout = 10; // tenths of a second
    uint16_t baud = 19200;
    uint8_t flags = 3;
    uint16_t predelay = 50;
    bool operator==(const ModbusSettings&) const = default;
};

using IpAddress = std::array<uint8_t, 4>;

struct TcpSettings {
    IpAddress ipaddr{0, 0, 0, 0};
    IpAddress subnet{255, 255, 255, 0};
    IpAddress gateway{0, 0, 0, 0};
    uint16_t port = 502;
    bool operator==(const TcpSettings&) const = default;
};

inline constexpr int kTcpMapEntries = 20;
inline constexpr uint8_t kMaxUnit = 246;

struct TcpDeviceMap {
    uint8_t firstUnit = 0;
    uint8_t lastUnit = 0;
    uint8_t mapTo = 0;
    IpAddress ipAddress{0, 0, 0, 0};
    uint16_t port = 0;
    bool inUse() const { return firstUnit != 0 || lastUnit != 0 || mapTo != 0; }
    bool operator==(const TcpDeviceMap&) const = default;
};

inline constexpr int kLocationLength = 31;

struct NodeInfo {
    std::array<char, kLocationLength + 1> loc{};
    uint8_t pid = 0;
    bool operator==(const NodeInfo&) const = default;
};

inline constexpr int kDeviceModelCount = 3;
inline constexpr int kTcpDeviceModel = 2; // only this model has Modbus TCP
const char* deviceModelName(int index);   // "Korvex-A".."Korvex-C", nullptr outside 0..2
int deviceModelFromName(const char* name); // -1 when unknown

} // namespace korvex
