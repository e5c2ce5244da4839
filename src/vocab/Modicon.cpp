#include "vocab/Modicon.h"

#include <cstdio>

#include "vocab/RegisterCodes.h"
#include "vocab/RegisterNames.h"

namespace korvex {

int32_t modicon_from_register(uint32_t regNumber, int32_t type) {
    const int32_t digit = registerTypeModiconDigit(type);
    const int32_t n = static_cast<int32_t>(regNumber & 0xFFFFu);
    return n < 10000 ? digit * 10000 + n : digit * 100000 + n;
}

uint16_t register_from_modicon(int32_t modicon, int32_t& type) {
    const int32_t scale = modicon < 50000 ? 10000 : 100000;
    const int32_t digit = modicon / scale;
    const int32_t n = modicon - digit * scale;
    switch (digit) {
    case 0:
        type = RegisterType::Coil;
        break;
    case 1:
        type = RegisterType::Discrete;
        break;
    case 3:
        type = RegisterType::Input;
        break;
    case 4:
        type = RegisterType::Holding;
        break;
    default:
        break;
    }
    return static_cast<uint16_t>(n);
}

std::string modiconText(int32_t modicon) {
    char text[16];
    std::snprintf(text, sizeof text, modicon <= 49999 ? "%06d" : "%05d", modicon);
    return text;
}

uint32_t mask_from_bit(uint32_t storedBit) {
    if (storedBit == 0 || storedBit > 32) return 0;
    return 1u << (storedBit - 1);
}

uint16_t bit_from_mask(uint32_t mask) {
    if (mask == 0) return 0;
    uint16_t bit = 0;
    while (((mask >> bit) & 1u) == 0) ++bit;
    return mask == (1u << bit) ? static_cast<uint16_t>(bit + 1) : 0;
}

} // namespace korvex
