#pragma once
// Numeric codes of register types, register formats and data-object types.
// The two format code sets are never interchanged: FP is 5 as a register format but 1 as a data type.
#include <cstdint>

namespace korvex {

namespace RegisterType {
inline constexpr int32_t None = 0;
inline constexpr int32_t Coil = 1;     // 0X, write fc 15
inline constexpr int32_t Discrete = 2; // 1X, read only
inline constexpr int32_t Input = 3;    // 3X, read only
inline constexpr int32_t Holding = 4;  // 4X, write fc 16
inline constexpr int32_t Coil1 = 5;    // 0XS, write fc 5
inline constexpr int32_t Holding1 = 6; // 4XS, write fc 6
inline constexpr int32_t Count = 7;
} // namespace RegisterType

namespace RegisterFormat {
inline constexpr int32_t None = 0;
inline constexpr int32_t S16 = 1;
inline constexpr int32_t U16 = 2;
inline constexpr int32_t S32 = 3;
inline constexpr int32_t U32 = 4;
inline constexpr int32_t FP = 5;
inline constexpr int32_t BIT = 6;
inline constexpr int32_t M102 = 7;
inline constexpr int32_t M103 = 8;
inline constexpr int32_t M104 = 9;
inline constexpr int32_t S64 = 10;
inline constexpr int32_t Count = 11;
} // namespace RegisterFormat

namespace ObjectDataType {
inline constexpr uint8_t None = 0;
inline constexpr uint8_t FP = 1;
inline constexpr uint8_t U32 = 2;
inline constexpr uint8_t S32 = 3;
inline constexpr uint8_t U16 = 4;
inline constexpr uint8_t S16 = 5;
inline constexpr uint8_t BIT = 6;
inline constexpr uint8_t Count = 7;
} // namespace ObjectDataType

// Copying a register to an object and back. The Mod10 and 64-bit formats have no integer
// data type wide enough, so they travel as floating point.
constexpr uint8_t dataTypeFromFormat(int32_t format) {
    switch (format) {
    case RegisterFormat::S16:
        return ObjectDataType::S16;
    case RegisterFormat::S32:
        return ObjectDataType::S32;
    case RegisterFormat::U32:
        return ObjectDataType::U32;
    case RegisterFormat::FP:
    case RegisterFormat::M102:
    case RegisterFormat::M103:
    case RegisterFormat::M104:
    case RegisterFormat::S64:
        return ObjectDataType::FP;
    case RegisterFormat::BIT:
        return ObjectDataType::BIT;
    default:
        return ObjectDataType::U16;
    }
}

constexpr int32_t formatFromDataType(uint8_t datatype) {
    switch (datatype) {
    case ObjectDataType::FP:
        return RegisterFormat::FP;
    case ObjectDataType::U32:
        return RegisterFormat::U32;
    case ObjectDataType::S32:
        return RegisterFormat::S32;
    case ObjectDataType::S16:
        return RegisterFormat::S16;
    case ObjectDataType::BIT:
        return RegisterFormat::BIT;
    default:
        return RegisterFormat::U16;
    }
}

} // namespace korvex
