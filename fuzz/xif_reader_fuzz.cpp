// Dictionary: xif.dict
// Long run: -max_len=8192
// XIF files of other devices: the import table stays within its storage with terminated names
// and sizes that match the types; the NVs added to a map (function blocks and objects assigned)
// keep the map consistent, save and reload to the same bytes, and export an XIF file that reads
// back whole.
#include "formats/xif/XifReader.h"
#include "model/FixedText.h"
#include "model/lists/ListBuilding.h"
#include "support/Oracle.h"
#include "support/XifChecks.h"

#include <memory>
#include <sstream>

namespace {

using namespace korvex;

constexpr int kGatewayNVs = 243; // node object NVs and the 240 blocks of the gateway's own file

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
    fuzz::checkImportTable(*table, parsed);
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

    const int again = korvex_fuzz_oracle::exportedXifNVs(&map, sizeof map);
    if (again != kGatewayNVs) fuzz::fail("the exported file reads back " + std::to_string(again) + " NVs");
    return 0;
}
