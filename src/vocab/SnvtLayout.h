#pragma once
// Byte and bit offsets of the fields of a structured standard type, used when an NV is
// expanded into one row per field.
#include "vocab/SnvtCatalogue.h"

#include <array>
#include <span>

namespace korvex {

struct SnvtFieldPlacement {
    const SnvtField* field = nullptr;
    int32_t byteOffset = 0;
    int32_t bitOffset = 0;
};

struct SnvtLayout {
    std::array<SnvtFieldPlacement, SnvtMaxFields> fields{};
    int count = 0;
};

// Lays out rows in order until a category-0 row or 16 rows. Consecutive bitfields share a byte;
// a non-bitfield after them starts on the next byte.
SnvtLayout layoutFields(std::span<const SnvtField> rows);
// Layout of a catalogue type's field table; count 0 when it has none.
SnvtLayout snvt_layout(int index);

} // namespace korvex
