#pragma once
// What the XIF reader must leave in an import table, whatever it read.
#include "formats/xif/NvImport.h"
#include "support/FuzzChecks.h"
#include "vocab/SnvtCatalogue.h"

#include <algorithm>

namespace korvex::fuzz {

inline void checkImportTable(const ImportTable& table, int parsed) {
    expect(parsed >= 0, "negative NV count");
    expect(table.count == std::min(parsed, kImportEntries), "table count and parsed count disagree");
    for (const ImportEntry& e : table.entries) {
        expect(terminatedField(e.name), "import name not terminated");
        expect(e.selected == 0, "reader set a field it leaves alone");
        expect(e.layout == ImportLayout::File || (e.baseType == 0 && e.fieldCount == 0),
               "a type from the catalogue came with a layout of its own");
    }
    for (int i = 0; i < table.count; ++i) {
        const ImportEntry& e = table.entries[i];
        if (e.size == 0 && e.typeIndex == 0) continue; // no type line (yet) or a gap in the indices
        if (e.layout == ImportLayout::File) {
            // A type the catalogue lacks, laid out by the file: it fits an NV and its field rows
            // lie inside it.
            expect(snvt_find(e.typeIndex) == 0 && e.size >= 1 && e.size <= 31, "file layout of a bad size");
            expect(e.fieldCount <= kMaxFields, "too many field rows");
            for (int k = 0; k < e.fieldCount; ++k)
                expect(e.fields[k].byteOffset < e.size && e.fields[k].bitOffset < 8, "field outside the NV");
            continue;
        }
        if (e.layout == ImportLayout::Missing) {
            expect(snvt_find(e.typeIndex) == 0 && e.size == 0, "a type without layout has a size");
            continue;
        }
        const uint8_t size = e.typeIndex == 0 ? 1 : snvt_size(e.typeIndex);
        expect(e.size == size, "size does not match the type");
        expect(e.typeIndex == 0 || snvt_find(e.typeIndex) != 0,
               "a type the catalogue lacks was taken as known");
    }
}

} // namespace korvex::fuzz
