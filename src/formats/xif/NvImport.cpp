#include "formats/xif/NvImport.h"

#include "model/FixedText.h"
#include "model/lists/ListEditing.h"
#include "model/lists/ListNotes.h"
#include "model/lists/ListRows.h"
#include "model/lists/NVRows.h"
#include "vocab/SnvtCatalogue.h"

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

// The field rows of a type laid out by the file, below its header row at h, as far as the list
// holds them. Returns the rows made.
int addFileFields(const ImportEntry& entry, ObjectMap& map, int h) {
    int made = 0;
    for (int k = 0; k < entry.fieldCount && k < kMaxFields; ++k) {
        if (!makeNVRoom(map, map.nvCount, 1, kListCapacity)) break;
        const ImportField& field = entry.fields[static_cast<std::size_t>(k)];
        const NetVar& header = map.nvs[static_cast<std::size_t>(h)];
        NetVar& row = map.nvs[static_cast<std::size_t>(map.nvCount - 1)];
        row.baseType = field.baseType;
        row.size = field.size;
        row.byteOffset = field.byteOffset;
        row.bitOffset = field.bitOffset;
        row.isInput = header.isInput;
        row.name = header.name;
        row.defined = entry.selected;
        row.isField = 1;
        ++made;
    }
    return made;
}

// Adds one entry at the end of the list; returns the rows made (0 when none fit). A type laid
// out by the file is a user-defined one: snvt 0, the file's size and base type, its field rows.
int addEntry(const ImportEntry& entry, ObjectMap& map, std::vector<std::string>* notes) {
    NVAddRequest request;
    request.isInput = !entry.isInput;
    request.name = textOf(entry.name);
    request.rowLimit = kListCapacity;
    request.cutFieldsAtLimit = true;
    const bool fromFile = entry.layout == ImportLayout::File;
    if (isStructuredStandard(entry.typeIndex) && !fromFile) {
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
    NetVar& header = map.nvs[static_cast<std::size_t>(first)];
    takeEntry(header, entry);
    if (fromFile) header.snvt = 0;
    for (int k = 1; k < rows; ++k) map.nvs[first + k].defined = entry.selected;
    int fields = request.snvt != 0 ? standardTypeRowCount(request.snvt) - 1 : 0;
    if (fromFile) {
        rows += addFileFields(entry, map, first);
        fields = entry.fieldCount;
    }
    if (notes && rows - 1 < fields) notes->push_back(nvFieldsLeftOutNote(header, rows - 1, fields));
    return rows;
}

// Why a marked entry cannot go in at all; empty when it can.
std::string leftOutNote(const ImportEntry& entry, const ObjectMap& map) {
    const std::string name(textOf(entry.name));
    if (entry.layout == ImportLayout::Missing)
        return name + ": not added; standard type " + std::to_string(entry.typeIndex) +
               " has no layout the file makes usable";
    if (map.nvCount >= kListCapacity) return name + ": not added; the NV list is full";
    return {};
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

int add_selected(const ImportTable& table, ObjectMap& map, std::vector<std::string>* notes) {
    const int before = map.nvCount;
    for (int i = 0; i < table.count && i < kImportEntries; ++i) {
        const ImportEntry& entry = table.entries[i];
        if (!entry.selected) continue;
        if (std::string note = leftOutNote(entry, map); !note.empty()) {
            if (notes) notes->push_back(std::move(note));
            continue;
        }
        addEntry(entry, map, notes);
    }
    return map.nvCount - before;
}

} // namespace korvex
