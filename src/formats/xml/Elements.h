#pragma once
// The four element kinds, each applied to the object map as soon as it has been read. The
// cursor stands after the element keyword and its blanks. Used inside src/xml only.
#include "formats/xml/AttributeLoop.h"
#include "model/ObjectMap.h"

#include <array>
#include <string>
#include <vector>

namespace korvex::xml {

// What a document can hold only in part (field rows beyond the NV list's storage) goes in with
// one line each in `warnings`; without a warnings list (an element from the gateway) such an
// element is refused with code 20 instead.
using Warnings = std::vector<std::string>;
XmlError applyObjectElement(ObjectMap& map, UnitCursor& cursor, Warnings* warnings);
XmlError applyNVElement(ObjectMap& map, UnitCursor& cursor, Warnings* warnings);
XmlError applyPortElement(ObjectMap& map, UnitCursor& cursor);
XmlError applyNodeElement(ObjectMap& map, UnitCursor& cursor);

// `lontype` names in code order; the writer falls back to "NULL" for a code beyond them.
inline constexpr std::array<const char*, 14> kLonTypeNames{
    "NULL", "SC", "UC", "SI", "UI", "SL", "UL", "ENUM", "ARRAY", "STRUCT", "UNION", "BIT", "FP", "SQ"};

// Bit offsets within a field go up to 15: the bitfields of a two-byte structure (SNVT_state)
// are laid out in byte 0 with bit offsets 0 to 15, and objects on them must load again.
inline constexpr int kMaxLonBitOffset = 15;
inline constexpr int kMaxLonByteOffset = 31;

} // namespace korvex::xml
