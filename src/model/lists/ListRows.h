#pragma once
// Opening and closing gaps in the NV and register lists. These move rows only; the caller
// renumbers the links (renumberNVLinks / renumberRegisterLinks) for the rows that moved.
#include "model/ObjectMap.h"

namespace korvex {

// Inserts n zeroed rows at p (0..count), moving rows p and after down by n. Refused when p is
// outside 0..count, n < 1, or the list would hold more than rowLimit rows (never more than the
// storage holds, whatever the limit asked for).
bool makeNVRoom(ObjectMap& map, int p, int n, int rowLimit = kEditRowLimit);
bool makeRegisterRoom(ObjectMap& map, int p, int n, int rowLimit = kEditRowLimit);

// Removes n rows at p (all within the list), moving the following rows up and zeroing the rows
// freed at the end.
bool removeNVRows(ObjectMap& map, int p, int n);
bool removeRegisterRows(ObjectMap& map, int p, int n);

} // namespace korvex
