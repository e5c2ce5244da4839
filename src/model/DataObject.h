#pragma once
// One master-list entry: ties one Modbus register to one NV or NV field.
#include <array>
#include <cstdint>

namespace korvex {

inline constexpr int kNameSize = 40; // storage of object, NV and register names

namespace ObjectFlag {
inline constexpr uint32_t InUse = 0x1;          // register fields meaningful (`modreg`)
inline constexpr uint32_t Persistent = 0x2;
inline constexpr uint32_t Packed = 0x4;
inline constexpr uint32_t DefaultOnPowerUp = 0x10;
inline constexpr uint32_t DefaultOnCommFail = 0x20;
inline constexpr uint32_t DefaultOnLonFail = 0x40;
inline constexpr uint32_t ReadPeriodic = 0x80;
inline constexpr uint32_t WritePeriodic = 0x100;
inline constexpr uint32_t WriteOnUpdate = 0x200;
inline constexpr uint32_t HighRegFirst = 0x400;
inline constexpr uint32_t OutputNV = 0x800;
inline constexpr uint32_t InputNV = 0x1000;
inline constexpr uint32_t Structured = 0x2000;
inline constexpr uint32_t LockField = 0x4000;
inline constexpr uint32_t AnyNV = OutputNV | InputNV;
inline constexpr uint32_t NVSide = OutputNV | InputNV | Structured | LockField;
inline constexpr uint32_t ModeBits = ReadPeriodic | WritePeriodic | WriteOnUpdate;
} // namespace ObjectFlag

namespace SyncFlag {
inline constexpr uint32_t Configured = 0x1;
inline constexpr uint32_t InDevice = 0x2;
inline constexpr uint32_t Saved = 0x4;
} // namespace SyncFlag

struct DataObject {
    uint32_t flags = 0;
    uint8_t datatype = 0;
    uint16_t modreg = 0;
    uint32_t mask = 0;
    uint32_t fill = 0;
    int32_t modtype = 0;
    int32_t moddata = 0;
    uint8_t slave = 0;
    float scale = 0.0f;
    float offset = 0.0f;
    uint8_t lonNV = 0;
    uint8_t lontype = 0;
    uint8_t lonByteOffset = 0;
    uint8_t lonBitOffset = 0;
    int16_t lonScaleA = 0;
    int16_t lonScaleB = 0;
    int16_t lonScaleC = 0;
    uint8_t lonMethod = 0;
    uint8_t lonFormula = 0;
    uint16_t poll = 0;
    uint32_t defVal = 0; // the value cell, read as `datatype`
    std::array<char, kNameSize> name{};
    uint32_t syncFlags = 0;
    uint16_t registerRow = 0; // 1-based, 0 none
    uint16_t nvRow = 0;       // 1-based, 0 none

    bool isEmpty() const { return flags == 0 && datatype == 0; }
    bool inUse() const { return (flags & (ObjectFlag::InUse | ObjectFlag::AnyNV)) != 0; }
    bool hasRegister() const { return (flags & ObjectFlag::InUse) != 0; }
    bool hasNV() const { return (flags & ObjectFlag::AnyNV) != 0; }
    bool inDevice() const { return (syncFlags & SyncFlag::InDevice) != 0; }
    bool operator==(const DataObject&) const = default;
};

} // namespace korvex
