#pragma once
// The name an NV gets from an `nv` element without a usable name of its own.
#include <string>

namespace korvex::xml {

// "nviActValue_%d" or "nvoSenValue_%d" with the function-block number.
std::string defaultNVName(bool isInput, int fbNumber);

} // namespace korvex::xml
