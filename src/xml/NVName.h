#pragma once
// NV names as the NV list keeps them: at most 16 characters, letters and digits only (anything
// else becomes '_'), and unique in the list. Used by the NV element reader and by the file
// writer, which writes the name that reading will store.
#include "model/ObjectMap.h"

#include <string>
#include <string_view>

namespace korvex::xml {

inline constexpr std::size_t kNVNameLength = 16;

std::string cleanNVName(std::string_view name);

// "nviActValue_%d" or "nvoSenValue_%d" with the function-block number.
std::string defaultNVName(bool isInput, int fbNumber);

// True when any of the first `rows` rows of the NV list is called exactly `name`.
bool nvNameTaken(const ObjectMap& map, std::string_view name, int rows);

} // namespace korvex::xml
