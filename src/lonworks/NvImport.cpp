#include "lonworks/NvImport.h"

#include "lonworks/SnvtCatalogue.h"
#include "model/FixedText.h"
#include "model/ListEditing.h"

namespace korvex {
namespace {

bool isStructuredStandard(int t) {
    return t >= 1 && t <= SnvtCount && snvt_category(t) == NvtCatStruct;
}

// The row for the whole value takes the entry as read: declared size, no base type and no
// scaling of its own (the catalogue still knows them for a standard type).
void takeEntry(NetVar& row, const ImportEntry& entry) {
    row.size = entry.size;
    row.snvt = entry.typeIndex;
    row.baseType = entry.baseType;
    row.byteOffset = entry.reserved[0];
    row.bitOffset = entry.reserved[1];
    row.scaleA = entry.scaleA;
    row.scaleB = entry.scaleB;
    row.scaleC = entry.scaleC;
    row.defined = entry.selected;
}

// Adds one entry at the end of the list; returns the rows made (0 when none fit).
int addEntry(const ImportEntry& entry, ObjectMap& map) {
    NVAddRequest request;
    request.isInput = !entry.isInput;
    request.name = textOf(entry.name);
    request.rowLimit = kListCapacity;
    request.cutFieldsAtLimit = true;
    if (isStructuredStandard(entry.typeIndex)) {
        request.snvt = entry.typeIndex;
    } else {
        // Anything else is one row; a user type or a type the catalogue lacks goes in as given.
        UserNVType single;
        single.size = entry.size;
        request.userType = single;
    }
    const int first = map.nvCount;
    int rows = 0;
    if (addNV(map, first, request, &rows) != kOk || rows == 0) return 0;
    takeEntry(map.nvs[first], entry);
    for (int k = 1; k < rows; ++k) map.nvs[first + k].defined = entry.selected;
    return rows;
}

} // namespace

void clearImportTable(ImportTable& table) {
    table.entries.fill(ImportEntry{});
    table.count = 0;
}

void selectAllImportEntries(ImportTable& table, bool selected) {
    for (int i = 0; i < table.count && i < kImportEntries; ++i) table.entries[i].selected = selected ? 1 : 0;
}

int selectImportEntries(ImportTable& table, std::span<const int> indices) {
    int marked = 0;
    for (int index : indices) {
        if (index < 0 || index >= table.count || index >= kImportEntries) continue;
        table.entries[index].selected = 1;
        ++marked;
    }
    return marked;
}

int add_selected(const ImportTable& table, ObjectMap& map) {
    const int before = map.nvCount;
    for (int i = 0; i < table.count && i < kImportEntries; ++i) {
        if (map.nvCount >= kListCapacity) break;
        if (table.entries[i].selected) addEntry(table.entries[i], map);
    }
    return map.nvCount - before;
}

} // namespace korvex
