#pragma once
// The NV editor's field rules, applied to the editor's private copy of one row when a field is
// left. Each returns 0 or a code for modelMessage with the ModelOp of the same name.
#include "model/ModelMessages.h"
#include "model/ObjectMap.h"

#include <string>
#include <string_view>

namespace korvex {

inline constexpr int kNVNameLength = 16;

// The first 40 bytes of the text, cut to 16 characters, every character other than an ASCII
// letter or digit replaced by '_'.
std::string cleanNVName(std::string_view text);

// True when a row of another NV has exactly this name (case-sensitive). ownRow (0-based, -1 for
// none) and the rows of its NV are left out: field rows repeat their header's name.
bool nvNameTaken(const ObjectMap& map, std::string_view name, int ownRow);

// Name: cleaned; a name another NV already has is refused and the copy's name emptied.
int editNVName(const ObjectMap& map, int ownRow, std::string_view text, NetVar& copy);

// "[S] PID": "[%d] %x:%x:%x:%x:%x:%x:%x:%x", scope 0..6, each byte taken modulo 256. Anything
// else is refused and the copy keeps its values.
int editScopePid(std::string_view text, NetVar& copy);
std::string scopePidText(const NetVar& row);

// Function-block number: not a number or 0 clears it; otherwise 1..120 (code 1) and not held by
// any row of the same direction, the edited one included (code 2).
int editFbNumber(const ObjectMap& map, std::string_view text, NetVar& copy);

// Object number: not a number or 0 clears it; otherwise 1..400 (code 1) and not linked from any
// NV row (code 2).
int editObjectNumber(const ObjectMap& map, std::string_view text, NetVar& copy);

// Conversion method 0..2 for an NV of standard type snvt (a field row passes its header's type).
// Method 2 has a formula for SNVT_switch (1) and SNVT_elapsed_tm (2) only; for any other type the
// method is kept, the formula is 0 and the result is kRefused ("No algorithm available.").
int editMethod(int method, int snvt, NetVar& copy);

} // namespace korvex
