#pragma once
// One Modbus register-list row.
#include "model/DataObject.h"

#include <array>
#include <cstdint>

namespace korvex {

struct RegisterDef {
    uint8_t readPeriodic = 0;
    uint8_t writePeriodic = 0;
    uint8_t writeOnUpdate = 0;
    uint8_t packed = 0;
    uint8_t highRegFirst = 0;
    uint8_t defined = 0;
    uint8_t inDevice = 0;
    int32_t modicon = 0;
    uint16_t regNumber = 0;
    uint16_t bitNumber = 0; // bit + 1, 0 none
    int32_t type = 0;
    int32_t format = 0;
    uint8_t slave = 0;
    uint16_t poll = 0;
    uint32_t mask = 0;
    uint32_t fill = 0;
    float scale = 0.0f;
    float offset = 0.0f;
    std::array<char, kNameSize> name{};
    int32_t fbNumber = 0;
    int32_t objectNumber = 0;
    int32_t nvRow = 0;

    bool operator==(const RegisterDef&) const = default;
};

} // namespace korvex
