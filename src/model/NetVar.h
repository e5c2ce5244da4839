#pragma once
// One NV-list row: a simple NV, the header row of a structured NV, or one of its field rows.
#include "model/DataObject.h"

#include <array>
#include <cstdint>

namespace korvex {

// Days, hours, minutes and seconds are kept in this order: seconds first.
struct SendTime {
    uint16_t seconds = 0;
    uint16_t minutes = 0;
    uint16_t hours = 0;
    uint16_t days = 0;
    bool isZero() const { return seconds == 0 && minutes == 0 && hours == 0 && days == 0; }
    bool operator==(const SendTime&) const = default;
};

struct NetVar {
    uint8_t size = 0;
    uint8_t isInput = 0;
    uint8_t snvt = 0;
    uint8_t baseType = 0;
    uint8_t byteOffset = 0;
    uint8_t bitOffset = 0;
    int16_t scaleA = 0;
    int16_t scaleB = 0;
    int16_t scaleC = 0;
    std::array<char, kNameSize> name{};
    uint8_t defined = 0;
    uint8_t isField = 0;
    uint8_t inDevice = 0;
    uint8_t saved = 0;
    uint8_t lock = 0;
    uint8_t method = 0;
    uint8_t formula = 0;
    int16_t fieldName = -1; // index of the field in the type's field table, -1 none
    SendTime minSendTime;
    SendTime maxSendTime;
    uint8_t scope = 0;
    std::array<uint8_t, 8> programId{};
    int32_t fbNumber = 0;
    int32_t objectNumber = 0;
    int32_t registerRow = 0;

    bool isHeader() const { return defined != 0 && isField == 0; }
    bool operator==(const NetVar&) const = default;
};

} // namespace korvex
