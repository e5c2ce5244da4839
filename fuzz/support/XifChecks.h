#pragma once
// What the XIF reader must leave in an import table, whatever it read.
#include "lonworks/NvImport.h"
#include "lonworks/SnvtCatalogue.h"
#include "support/FuzzChecks.h"

#include <algorithm>

namespace korvex::fuzz {

inline void checkImportTable(const ImportTable& table, int parsed) {
    expect(parsed >= 0, "negative NV count");
    expect(table.count == std::min(parsed, kImportEntries), "table count and parsed count disagree");
    for (const ImportEntry& e : table.entries) {
        expect(terminatedField(e.name), "import name not terminated");
        expect(e.selected == 0 && e.baseType == 0, "reader set a field it leaves alone");
    }
    for (int i = 0; i < table.count; ++i) {
        const ImportEntry& e = table.entries[i];
        if (e.size == 0 && e.typeIndex == 0) continue; // no type line (yet) or a gap in the indices
        const uint8_t size = e.typeIndex == 0 ? 1 : snvt_size(e.typeIndex);
        expect(e.size == size, "size does not match the type");
    }
}

} // namespace korvex::fuzz
