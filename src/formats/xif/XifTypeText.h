#pragma once
// The type description lines of one NV block of the XIF file and its 19-byte type value.
#include "model/ObjectMap.h"

#include <string>

namespace korvex {

// "t * n" and the member lines, each ending in '\n'. Row r (0-based) is the NV's header row.
std::string xifTypeDescription(const ObjectMap& map, int r);
// Program ID, scope, type, category, size and scaling as three lines of "\xNN" bytes.
std::string xifTypeValue(const NetVar& nv);
// Seven "\xNN" bytes: days (high, low), hours, minutes, seconds, 0, 0.
std::string xifSendTime(const SendTime& time);
// "\xNN" for each byte, separated by blanks.
std::string xifBytes(const uint8_t* bytes, int count);

} // namespace korvex
