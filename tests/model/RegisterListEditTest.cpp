// Register list row edits (insert, append, delete, clear) with renumbered links, and the two
// consistency tests run before the list pages are shown.
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"

#include "model/ModelMessages.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvex {
namespace {

using testing::addRegisterRow;
using testing::addStandardNV;
using testing::checkLinks;
using testing::newMap;

// Three registers, each with an NV and an object, linked all ways.
std::unique_ptr<ObjectMap> linkedMap() {
    auto map = newMap();
    addRegisterRow(*map, RegisterFormat::U16, 1, false, "r1");
    addRegisterRow(*map, RegisterFormat::FP, 10, true, "r2");
    addRegisterRow(*map, RegisterFormat::S16, 4, false, "r3");
    EXPECT_EQ(nvListFromRegisters(*map), kOk);
    EXPECT_EQ(masterListFromRegisters(*map), kOk);
    EXPECT_TRUE(checkLinks(*map));
    return map;
}

TEST(InsertRegister, AfterHighestNumber10OfFormatFPTheNewNumberIs12) {
    auto map = linkedMap();
    ASSERT_EQ(insertRegister(*map, 1), kOk);
    const RegisterDef& reg = map->registers[1];
    EXPECT_EQ(reg.regNumber, 12);
    EXPECT_EQ(reg.modicon, 40012);
    EXPECT_EQ(reg.readPeriodic, 1);
    EXPECT_EQ(reg.defined, 1);
    EXPECT_EQ(reg.type, RegisterType::Holding);
    EXPECT_EQ(reg.format, RegisterFormat::U16);
    EXPECT_EQ(reg.slave, 1);
    EXPECT_EQ(reg.poll, 1);
    EXPECT_EQ(reg.scale, 0.0f);
    EXPECT_EQ(reg.objectNumber, 0);
    EXPECT_EQ(map->object(1)->registerRow, 1);
    EXPECT_EQ(map->object(2)->registerRow, 3);
    EXPECT_EQ(map->object(3)->registerRow, 4);
    EXPECT_EQ(map->nvs[2].registerRow, 4);
    EXPECT_TRUE(checkLinks(*map));
    ASSERT_EQ(insertRegister(*map, 0), kOk);
    EXPECT_EQ(map->registers[0].regNumber, 13) << "the blank U16 row numbered 12 now decides";
    EXPECT_EQ(map->object(1)->registerRow, 2);
    EXPECT_TRUE(checkLinks(*map));
    ASSERT_EQ(appendRegister(*map), kOk);
    EXPECT_EQ(map->registerCount, 6);
    EXPECT_EQ(map->registers[5].regNumber, 14);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(InsertRegister, RefusedOn999RowsInsideAndAtTheEnd) {
    auto map = newMap();
    testing::fillPlainRegisterRows(*map, kEditRowLimit);
    for (int r : {0, 500, kEditRowLimit, kEditRowLimit + 1, -1}) {
        const int code = insertRegister(*map, r);
        EXPECT_EQ(code, kRefused) << r;
        EXPECT_STREQ(modelMessage(ModelOp::InsertRegister, code), "Could not insert register.");
    }
    EXPECT_EQ(map->registerCount, kEditRowLimit);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(DeleteRegister, TheObjectLosesItsRegisterSideAndLaterLinksMoveUp) {
    auto map = linkedMap();
    map->object(2)->syncFlags |= SyncFlag::InDevice;
    ASSERT_EQ(deleteRegister(*map, 1), kOk);
    EXPECT_EQ(map->registerCount, 2);
    const DataObject& o = *map->object(2);
    EXPECT_EQ(o.registerRow, 0);
    EXPECT_EQ(o.modreg, 0);
    EXPECT_EQ(o.flags & ObjectFlag::InUse, 0u);
    EXPECT_TRUE(o.flags & ObjectFlag::InputNV) << "the NV side stays";
    EXPECT_EQ(o.syncFlags & SyncFlag::InDevice, 0u);
    EXPECT_EQ(map->nvs[1].registerRow, 0);
    EXPECT_EQ(map->object(3)->registerRow, 2);
    EXPECT_EQ(map->nvs[2].registerRow, 2);
    EXPECT_EQ(map->registers[1].regNumber, 4);
    EXPECT_TRUE(checkLinks(*map));
    EXPECT_EQ(deleteRegister(*map, 2), kRefused);
    EXPECT_STREQ(modelMessage(ModelOp::DeleteRegister, kRefused), "Unable to delete this line.");
}

TEST(ClearRegisterList, ObjectsLoseTheirRegisterSideAndNVRowsTheirRegister) {
    auto map = linkedMap();
    clearRegisterList(*map);
    EXPECT_EQ(map->registerCount, 0);
    const int fbNumbers[] = {1, 1, 2}; // output, input, output
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(map->object(n)->registerRow, 0);
        EXPECT_EQ(map->object(n)->flags & ObjectFlag::InUse, 0u);
        EXPECT_EQ(map->object(n)->nvRow, n);
        EXPECT_EQ(map->nvs[n - 1].registerRow, 0);
        EXPECT_EQ(map->nvs[n - 1].fbNumber, fbNumbers[n - 1]);
    }
    EXPECT_TRUE(checkLinks(*map));
}

TEST(ConsistencyTests, AnyLinkThatDoesNotPointBackIsReported) {
    struct Case {
        const char* what;
        std::function<void(ObjectMap&)> breakIt;
        bool registerListBad;
        bool nvListBad;
    };
    const Case cases[] = {
        {"nothing", [](ObjectMap&) {}, false, false},
        {"object forgets its register", [](ObjectMap& m) { m.object(1)->registerRow = 0; }, true, false},
        {"register names a wrong object", [](ObjectMap& m) { m.registers[0].objectNumber = 2; }, true, false},
        {"register names an object beyond 400", [](ObjectMap& m) { m.registers[0].objectNumber = 401; }, true,
         false},
        {"NV row forgets its register", [](ObjectMap& m) { m.nvs[0].registerRow = 0; }, true, false},
        {"register without NV keeps its number",
         [](ObjectMap& m) {
             m.registers[2].nvRow = 0;
             m.nvs[2].registerRow = 0;
         },
         true, false},
        {"object forgets its NV row", [](ObjectMap& m) { m.object(2)->nvRow = 0; }, false, true},
        {"register forgets its NV row",
         [](ObjectMap& m) {
             m.registers[1].nvRow = 0;
             m.registers[1].fbNumber = 0;
         },
         false, true},
        {"NV row names a register beyond the list", [](ObjectMap& m) { m.nvs[1].registerRow = 9; }, true,
         true},
    };
    for (const Case& c : cases) {
        auto map = linkedMap();
        c.breakIt(*map);
        EXPECT_EQ(checkRegisterList(*map), c.registerListBad ? kRefused : kOk) << c.what;
        EXPECT_EQ(checkNVList(*map), c.nvListBad ? kRefused : kOk) << c.what;
    }
    EXPECT_STREQ(modelMessage(ModelOp::CheckRegisterList, kRefused),
                 "Register list invalid due to changes in other tabs.\nConsider rebuild from Master List.");
    EXPECT_STREQ(modelMessage(ModelOp::CheckNVList, kRefused),
                 "NV list invalid due to changes in other tabs.\nConsider rebuild from Master List.");
}

} // namespace
} // namespace korvex
