#include "vocab/SnvtLayout.h"

namespace korvex {

SnvtLayout layoutFields(std::span<const SnvtField> rows) {
    SnvtLayout layout;
    int32_t byteOffset = 0;
    int32_t bit = 0;
    for (const SnvtField& row : rows) {
        if (layout.count >= SnvtMaxFields || row.category == NvtCatNul) break;
        const bool isBitfield = row.category == NvtCatBitfield;
        if (isBitfield) {
            bit = row.sizeOrBit;
        } else {
            // A run of bitfields occupies one byte; the next whole field starts after it.
            if (bit != 0) ++byteOffset;
            bit = 0;
        }
        layout.fields[layout.count++] = SnvtFieldPlacement{&row, byteOffset, bit};
        if (isBitfield) {
            ++bit;
        } else {
            byteOffset += row.sizeOrBit;
        }
    }
    return layout;
}

SnvtLayout snvt_layout(int index) {
    return layoutFields(snvt_fields(index));
}

} // namespace korvex
