#pragma once
// A data object's value lives in one 32-bit cell whose meaning follows the object's data type:
// a float for FP, a 32-bit integer for U32/S32, the low 16 bits for U16/S16, the low byte as a
// boolean for BIT. These conversions never fail: bad text gives 0, numbers are clamped.
#include <cstdint>
#include <string>
#include <string_view>

namespace korvex {

// Halves go away from zero (2.5 -> 3, -2.5 -> -3, -1 -> -1). Used wherever a typed or read value
// is stored as an integer, so negative values keep their sign and size.
double roundHalfAwayFromZero(double value);

std::string object_value_to_text(uint32_t cell, int32_t datatype);
// The number of 16-bit registers that the type spans on the console: 2 for FP, U32 and S32,
// 1 for all others.
int object_value_width(int32_t datatype);

uint32_t object_value_from_text(std::string_view text, int32_t datatype);
double object_value_to_number(uint32_t cell, int32_t datatype);
uint32_t object_value_from_number(double number, int32_t datatype);

} // namespace korvex
