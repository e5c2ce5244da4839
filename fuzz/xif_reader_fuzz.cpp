// Dictionary: xif.dict
// XIF files of other devices: the import table stays within its storage with terminated names
// and sizes that match the types; the NVs added to a map (function blocks and objects assigned)
// keep the map consistent, save and reload to the same bytes, and export an XIF file that reads
// back whole.
#include "lonworks/NvImport.h"
#include "lonworks/SnvtCatalogue.h"
#include "lonworks/XifReader.h"
#include "lonworks/XifWriter.h"
#include "model/FixedText.h"
#include "model/ListBuilding.h"
#include "support/FuzzChecks.h"

#include <memory>
#include <sstream>

namespace {

using namespace korvex;

constexpr int kGatewayNVs = 243; // node object NVs and the 240 blocks of the gateway's own file

void checkTable(const ImportTable& table, int parsed) {
    fuzz::expect(parsed >= 0, "negative NV count");
    fuzz::expect(table.count == std::min(parsed, kImportEntries), "table count and parsed count disagree");
    for (const ImportEntry& e : table.entries) {
        fuzz::expect(fuzz::terminatedField(e.name), "import name not terminated");
        fuzz::expect(e.selected == 0 && e.baseType == 0, "reader set a field it leaves alone");
    }
    for (int i = 0; i < table.count; ++i) {
        const ImportEntry& e = table.entries[i];
        if (e.size == 0 && e.typeIndex == 0) continue; // no type line (yet) or a gap in the indices
        const uint8_t size = e.typeIndex == 0 ? 1 : snvt_size(e.typeIndex);
        fuzz::expect(e.size == size, "size does not match the type");
    }
}

// What the map is built from: every field of the entries read.
std::string tableKey(const ImportTable& table) {
    std::string key;
    for (int i = 0; i < table.count; ++i) {
        const ImportEntry& e = table.entries[i];
        key += static_cast<char>(e.size);
        key += static_cast<char>(e.isInput);
        key += static_cast<char>(e.typeIndex);
        key += textOf(e.name);
        key += '\n';
    }
    return key;
}

std::unique_ptr<ImportTable> readTable(const std::string& text, int& parsed) {
    auto table = std::make_unique<ImportTable>();
    std::istringstream in(text);
    parsed = XifReader().read(in, *table);
    checkTable(*table, parsed);
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int parsed = 0;
    auto table = readTable(std::string(reinterpret_cast<const char*>(data), size), parsed);
    if (parsed == 0 || fuzz::seenBefore(tableKey(*table))) return 0;
    ObjectMap& map = fuzz::freshMap(0);
    map.deviceModel = kTcpDeviceModel;
    selectAllImportEntries(*table);
    add_selected(*table, map);
    fuzz::checkMap(map);
    assignFbNumbers(map);
    masterListFromNVs(map);
    fuzz::checkMap(map);
    fuzz::checkSavesAndReloadsIdentically(map);

    XifHeaderInfo header{"fuzz.xif", "Korvex-C", kXifToolVersion, "Mon Jan 6 09:03:07 2025"};
    const std::string exported = XifWriter().text(map, header);
    fuzz::checkMap(map);
    int again = 0;
    readTable(exported, again);
    if (again != kGatewayNVs) fuzz::fail("the exported file reads back " + std::to_string(again) + " NVs");
    return 0;
}
