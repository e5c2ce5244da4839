#pragma once
// Text of floating-point numbers, independent of the process locale (the GUI toolkit may set
// one with a decimal comma; files and the gateway always use a point).
#include <string>

namespace korvex {

// "%.<precision>f"
std::string formatFixed(double value, int precision);
// "%.<precision>e", exponent of at least two digits
std::string formatScientific(double value, int precision);

// The register editor's scale and offset: fewer decimals the longer the integer part,
// "%.5f" for one digit down to "%.f" for six or seven, "%.3e" from eight.
std::string displayReal(double value);

} // namespace korvex
