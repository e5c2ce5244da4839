#pragma once
// LonWorks base types and NV categories share one numbering: the category of a standard type is
// the base type an NV of that type carries (`baseType`, the object's `lontype`). The base type
// codes stop at 13; categories add "reference" (14), which only user-type descriptions may carry.
#include <cstdint>

namespace korvex {

namespace BaseType {
inline constexpr uint8_t None = 0;
inline constexpr uint8_t SC = 1;
inline constexpr uint8_t UC = 2;
inline constexpr uint8_t SI = 3;
inline constexpr uint8_t UI = 4;
inline constexpr uint8_t SL = 5;
inline constexpr uint8_t UL = 6;
inline constexpr uint8_t ENUM = 7;
inline constexpr uint8_t ARRAY = 8;
inline constexpr uint8_t STRUCT = 9;
inline constexpr uint8_t UNION = 10;
inline constexpr uint8_t BIT = 11;
inline constexpr uint8_t FP = 12;
inline constexpr uint8_t SQ = 13;
inline constexpr uint8_t Count = 14; // codes 0..13
} // namespace BaseType

// Unscoped on purpose: categories are stored in plain integer fields (`baseType`, field rows)
// and compared with the BaseType codes above.
enum NvCategory : uint8_t {
    NvtCatNul = 0,
    NvtCatSignedChar = 1,
    NvtCatUnsignedChar = 2,
    NvtCatSignedShort = 3,
    NvtCatUnsignedShort = 4,
    NvtCatSignedLong = 5,
    NvtCatUnsignedLong = 6,
    NvtCatEnum = 7,
    NvtCatArray = 8,
    NvtCatStruct = 9,
    NvtCatUnion = 10,
    NvtCatBitfield = 11,
    NvtCatFloat = 12,
    NvtCatSignedQuad = 13,
    NvtCatReference = 14,
};
inline constexpr int NvCategoryCount = 15;

static_assert(NvtCatSignedChar == BaseType::SC && NvtCatUnsignedChar == BaseType::UC);
static_assert(NvtCatSignedShort == BaseType::SI && NvtCatUnsignedShort == BaseType::UI);
static_assert(NvtCatSignedLong == BaseType::SL && NvtCatUnsignedLong == BaseType::UL);
static_assert(NvtCatEnum == BaseType::ENUM && NvtCatArray == BaseType::ARRAY);
static_assert(NvtCatStruct == BaseType::STRUCT && NvtCatUnion == BaseType::UNION);
static_assert(NvtCatBitfield == BaseType::BIT && NvtCatFloat == BaseType::FP);
static_assert(NvtCatSignedQuad == BaseType::SQ && NvtCatReference == BaseType::Count);

} // namespace korvex
