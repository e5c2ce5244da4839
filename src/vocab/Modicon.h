#pragma once
// Modicon notation: register type and number folded into one number whose leading digit is the
// type (0 coil, 1 discrete input, 3 input register, 4 holding register).
#include <cstdint>
#include <string>

namespace korvex {

// Register numbers below 10000 give the five-digit form (40001), larger ones the six-digit
// form (410000).
int32_t modicon_from_register(uint32_t regNumber, int32_t type);

// Returns the register number (kept in 16 bits). The digits 0, 1, 3 and 4 set `type` to COIL,
// DISC, INPUT or HOLD; any other digit leaves it as it was. Numbers below 50000 are read as
// five-digit forms, from 50000 up as six-digit forms.
uint16_t register_from_modicon(int32_t modicon, int32_t& type);

// Text for the CSV register list: "%06d" up to 49999, "%05d" from 50000.
std::string modiconText(int32_t modicon);

// `storedBit` is the bit + 1; 0 means no bit. Values above 32 have no mask and give 0.
uint32_t mask_from_bit(uint32_t storedBit);
// The stored bit (bit + 1) when exactly one bit is set, else 0.
uint16_t bit_from_mask(uint32_t mask);

} // namespace korvex
