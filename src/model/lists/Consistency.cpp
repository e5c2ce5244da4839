// The tests run before the Reg List and NV List pages are shown: every link a row holds must be
// answered by the record it points at.
#include "model/ModelMessages.h"
#include "model/lists/ListEditing.h"

namespace korvex {

int checkRegisterList(const ObjectMap& map) {
    for (int i = 0; i < map.registerCount; ++i) {
        const RegisterDef& reg = map.registers[i];
        const int link = i + 1;
        if (reg.objectNumber != 0 &&
            (!ObjectMap::validObject(reg.objectNumber) || map.object(reg.objectNumber)->registerRow != link))
            return kRefused;
        if (reg.nvRow != 0 &&
            (reg.nvRow > map.nvCount || reg.nvRow < 0 || map.nvs[reg.nvRow - 1].registerRow != link))
            return kRefused;
        if (reg.fbNumber != 0 && reg.nvRow == 0) return kRefused;
    }
    return kOk;
}

int checkNVList(const ObjectMap& map) {
    for (int r = 0; r < map.nvCount; ++r) {
        const NetVar& row = map.nvs[r];
        const int link = r + 1;
        if (row.objectNumber != 0 &&
            (!ObjectMap::validObject(row.objectNumber) || map.object(row.objectNumber)->nvRow != link))
            return kRefused;
        if (row.registerRow != 0 && (row.registerRow > map.registerCount || row.registerRow < 0 ||
                                     map.registers[row.registerRow - 1].nvRow != link))
            return kRefused;
    }
    return kOk;
}

} // namespace korvex
