// The entry points of support/Oracle.h. This file is compiled only into the uninstrumented copy
// of the core, where every name below "korvex" carries that copy's own namespace.
#include "formats/xif/XifReader.h"
#include "formats/xif/XifWriter.h"
#include "support/FuzzChecks.h"
#include "support/Oracle.h"
#include "support/XifChecks.h"

#include <cstring>
#include <memory>
#include <sstream>
#include <type_traits>

namespace {

using korvex::ObjectMap;

static_assert(std::is_trivially_copyable_v<ObjectMap>, "maps cross between the copies as bytes");

// The caller's map, copied into storage kept from run to run.
ObjectMap& copyIn(const void* bytes, std::size_t size) {
    if (size != sizeof(ObjectMap)) korvex::fuzz::fail("the two copies of the core disagree on the map");
    static const auto map = std::make_unique<ObjectMap>();
    std::memcpy(static_cast<void*>(map.get()), bytes, size);
    return *map;
}

void copyOut(const ObjectMap& map, void* bytes) {
    std::memcpy(bytes, static_cast<const void*>(&map), sizeof map);
}

} // namespace

namespace korvex_fuzz_oracle {

void checkMap(const void* map, std::size_t size) {
    korvex::fuzz::checkMapHere(copyIn(map, size));
}

std::string checkSavesAndReloadsIdentically(void* map, std::size_t size) {
    ObjectMap& copy = copyIn(map, size);
    std::string text = korvex::fuzz::checkSavesAndReloadsHere(copy);
    copyOut(copy, map);
    return text;
}

int exportedXifNVs(void* map, std::size_t size) {
    ObjectMap& copy = copyIn(map, size);
    const korvex::XifHeaderInfo header{"fuzz.xif", "Korvex-C", korvex::kXifToolVersion,
                                       "Mon Jan 6 09:03:07 2025"};
    const std::string exported = korvex::XifWriter().text(copy, header);
    korvex::fuzz::checkMapHere(copy);
    copyOut(copy, map);
    static const auto table = std::make_unique<korvex::ImportTable>();
    *table = korvex::ImportTable{};
    std::istringstream in(exported);
    const int parsed = korvex::XifReader().read(in, *table);
    korvex::fuzz::checkImportTable(*table, parsed);
    return parsed;
}

} // namespace korvex_fuzz_oracle
