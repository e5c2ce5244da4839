#include "formats/csv/RegisterImport.h"

namespace korvex {

void clearImportList(RegisterImportList& list) {
    list.entries.fill(RegisterDef{});
    list.count = 0;
}

void selectAllImported(RegisterImportList& list, bool selected) {
    for (int i = 0; i < list.count && i < kListCapacity; ++i) list.entries[i].defined = selected ? 1 : 0;
}

int selectImported(RegisterImportList& list, std::span<const int> indices) {
    int marked = 0;
    for (int index : indices) {
        if (index < 0 || index >= list.count || index >= kListCapacity) continue;
        list.entries[index].defined = 1;
        ++marked;
    }
    return marked;
}

int addSelectedRegisters(const RegisterImportList& list, ObjectMap& map) {
    int added = 0;
    for (int i = 0; i < list.count && i < kListCapacity; ++i) {
        if (!list.entries[i].defined) continue;
        if (map.registerCount >= kListCapacity) break;
        map.registers[map.registerCount++] = list.entries[i];
        ++added;
    }
    return added;
}

} // namespace korvex
