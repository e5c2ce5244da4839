// The full checks of FuzzChecks.h, handed to the uninstrumented copy of the core.
#include "support/FuzzChecks.h"
#include "support/Oracle.h"

namespace korvex::fuzz {

void checkMap(const ObjectMap& map) {
    korvex_fuzz_oracle::checkMap(&map, sizeof map);
}

std::string checkSavesAndReloadsIdentically(ObjectMap& map) {
    return korvex_fuzz_oracle::checkSavesAndReloadsIdentically(&map, sizeof map);
}

} // namespace korvex::fuzz
