// Register list rows: insert, append, delete and clear, with the links of the moved rows
// renumbered and the objects of removed rows stripped of their register side.
#include "model/ModelMessages.h"
#include "model/ObjectLinks.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "model/lists/ListRows.h"
#include "model/lists/NVRows.h"
#include "vocab/Modicon.h"
#include "vocab/RegisterCodes.h"

#include <algorithm>

namespace korvex {

int insertRegister(ObjectMap& map, int r) {
    const int number = nextFreeRegisterNumber(map);
    if (!makeRegisterRoom(map, r, 1)) return kRefused;
    RegisterDef& reg = map.registers[r];
    reg.readPeriodic = 1;
    reg.defined = 1;
    reg.type = RegisterType::Holding;
    reg.format = RegisterFormat::U16;
    reg.regNumber = static_cast<uint16_t>(number);
    reg.modicon = modicon_from_register(reg.regNumber, reg.type);
    reg.slave = 1;
    reg.poll = 1;
    reg.scale = 0.0f;
    renumberRegisterLinks(map, r + 1, 1);
    return kOk;
}

int appendRegister(ObjectMap& map) {
    return insertRegister(map, map.registerCount);
}

int deleteRegister(ObjectMap& map, int r) {
    if (!validRegisterRow(map, r)) return kRefused;
    const int link = r + 1;
    const int n = map.registers[r].objectNumber;
    if (ObjectMap::validObject(n) && map.object(n)->registerRow == link) takeRegisterSide(*map.object(n));
    for (DataObject& object : map.objects)
        if (object.registerRow == link) object.registerRow = 0;
    for (int i = 0; i < map.nvCount; ++i)
        if (map.nvs[i].registerRow == link) map.nvs[i].registerRow = 0;
    removeRegisterRows(map, r, 1);
    renumberRegisterLinks(map, link, -1);
    return kOk;
}

int clearRegisterList(ObjectMap& map) {
    for (int i = 0; i < map.registerCount; ++i) {
        const int n = map.registers[i].objectNumber;
        if (ObjectMap::validObject(n)) takeRegisterSide(*map.object(n));
    }
    std::fill(map.registers.begin(), map.registers.end(), RegisterDef{});
    map.registerCount = 0;
    for (DataObject& object : map.objects) object.registerRow = 0;
    for (int i = 0; i < map.nvCount; ++i) map.nvs[i].registerRow = 0;
    return kOk;
}

} // namespace korvex
