// NV list row edits: make room and remove rows at their limits, add NV (standard, structured,
// user), insert/append, add field, delete by base type, type change with and without restored
// links, clear, and the renumbering of links after each of them.
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"

#include "model/ModelMessages.h"
#include "model/ObjectLinks.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "model/lists/ListRows.h"
#include "vocab/BaseType.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

using testing::addStandardNV;
using testing::addUserNV;
using testing::checkLinks;
using testing::kCount;
using testing::kElapsedTm;
using testing::kSwitch;
using testing::newMap;

constexpr int kCountInc = 9;

// Register i and object i tied to NV row i (a whole NV list built the usual way).
void linkEverything(ObjectMap& map) {
    ASSERT_EQ(assignFbNumbers(map), kOk);
    ASSERT_EQ(masterListFromNVs(map), kOk);
    ASSERT_EQ(registerListFromMaster(map), kOk);
    ASSERT_TRUE(checkLinks(map));
}

TEST(ListRows, MakeRoomRefusesOutsideTheListAndBeyond999Rows) {
    struct Case {
        int rows;
        int p;
        int n;
        bool ok;
    };
    const Case cases[] = {{0, 0, 1, true},      {5, 5, 1, true},     {5, 6, 1, false},   {5, -1, 1, false},
                          {5, 2, 0, false},     {998, 998, 1, true}, {998, 0, 2, false}, {999, 999, 1, false},
                          {999, 500, 1, false}, {0, 0, 999, true},   {0, 0, 1000, false}};
    for (const Case& c : cases) {
        auto map = newMap();
        testing::fillPlainNVRows(*map, c.rows);
        testing::fillPlainRegisterRows(*map, c.rows);
        EXPECT_EQ(makeNVRoom(*map, c.p, c.n), c.ok) << c.rows << " " << c.p << " " << c.n;
        EXPECT_EQ(makeRegisterRoom(*map, c.p, c.n), c.ok) << c.rows << " " << c.p << " " << c.n;
        EXPECT_EQ(map->nvCount, c.ok ? c.rows + c.n : c.rows);
    }
    auto map = newMap();
    testing::fillPlainNVRows(*map, 999);
    EXPECT_TRUE(makeNVRoom(*map, 999, 1, kListCapacity)) << "the importers may fill the storage";
    EXPECT_FALSE(makeNVRoom(*map, 1000, 1, 5000)) << "but never beyond it";
}

TEST(ListRows, MakeRoomMovesRowsDownAndRemoveRowsZeroesTheFreedEnd) {
    auto map = newMap();
    for (int i = 0; i < 4; ++i)
        testing::addRegisterRow(*map, RegisterFormat::U16, static_cast<uint16_t>(i + 1));
    ASSERT_TRUE(makeRegisterRoom(*map, 1, 2));
    const int numbers[] = {1, 0, 0, 2, 3, 4};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(map->registers[i].regNumber, numbers[i]);
    EXPECT_EQ(map->registers[1], RegisterDef{});
    ASSERT_TRUE(removeRegisterRows(*map, 0, 3));
    EXPECT_EQ(map->registerCount, 3);
    EXPECT_EQ(map->registers[0].regNumber, 2);
    for (int i = 3; i < 6; ++i) EXPECT_EQ(map->registers[i], RegisterDef{});
    EXPECT_FALSE(removeRegisterRows(*map, 2, 2));
    EXPECT_FALSE(removeRegisterRows(*map, -1, 1));
}

TEST(AddNV, StructuredStandardTypeGetsOneFieldRowPerCatalogueField) {
    auto map = newMap();
    int rows = 0;
    NVAddRequest request;
    request.snvt = kElapsedTm;
    request.isInput = true;
    request.fbNumber = 9;
    request.name = "elapsed";
    ASSERT_EQ(addNV(*map, 0, request, &rows), kOk);
    EXPECT_EQ(rows, 6);
    const NetVar& header = map->nvs[0];
    EXPECT_EQ(header.snvt, kElapsedTm);
    EXPECT_EQ(header.baseType, BaseType::STRUCT);
    EXPECT_EQ(header.size, 7);
    EXPECT_EQ(header.isField, 0);
    EXPECT_EQ(header.fieldName, -1);
    const int offsets[] = {0, 1, 2, 3, 4}; // the catalogue's field sizes
    for (int f = 0; f < 5; ++f) {
        const NetVar& field = map->nvs[1 + f];
        EXPECT_EQ(field.isField, 1);
        EXPECT_EQ(field.defined, 1);
        EXPECT_EQ(field.snvt, 0);
        EXPECT_EQ(field.isInput, 1);
        EXPECT_EQ(field.fbNumber, 9);
        EXPECT_EQ(field.fieldName, f);
        EXPECT_EQ(field.byteOffset, offsets[f]) << f;
        EXPECT_EQ(textOf(field.name), "elapsed");
    }
}

TEST(AddNV, UserTypesTakeOneRowAndUnknownTypesAreRefused) {
    auto map = newMap();
    const int r = addUserNV(*map, BaseType::STRUCT, true, 0, "u", 4);
    EXPECT_EQ(map->nvCount, 1);
    EXPECT_EQ(map->nvs[r].snvt, 0);
    EXPECT_EQ(map->nvs[r].scope, 4);
    EXPECT_EQ(map->nvs[r].size, 4);
    NVAddRequest request;
    for (int t : {0, 140 + 1000, -3, 178}) {
        request.snvt = t;
        EXPECT_EQ(addNV(*map, map->nvCount, request), kRefused) << t;
    }
    EXPECT_EQ(map->nvCount, 1);
}

TEST(AddNV, TheImporterLimitCutsFieldsThatDoNotFit) {
    auto map = newMap();
    testing::fillPlainNVRows(*map, 999);
    NVAddRequest request;
    request.snvt = kSwitch;
    EXPECT_EQ(addNV(*map, 999, request), kRefused);
    request.rowLimit = kListCapacity;
    EXPECT_EQ(addNV(*map, 999, request), kRefused) << "three rows do not fit and cutting was not asked for";
    request.cutFieldsAtLimit = true;
    int rows = 0;
    ASSERT_EQ(addNV(*map, 999, request, &rows), kOk);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(map->nvCount, kListCapacity);
    EXPECT_EQ(map->nvs[999].snvt, kSwitch);
    EXPECT_EQ(addNV(*map, 1000, request), kRefused);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(InsertNV, AppendOnEmptyListMakesNewNV1AndFieldRowsRefuseInserts) {
    auto map = newMap();
    ASSERT_EQ(appendNV(*map), kOk);
    const NetVar& nv = map->nvs[0];
    EXPECT_EQ(textOf(nv.name), "New_NV_1");
    EXPECT_EQ(nv.snvt, kCount);
    EXPECT_EQ(nv.isInput, 0);
    EXPECT_EQ(nv.fbNumber, 0);
    EXPECT_EQ(nv.defined, 1);
    addStandardNV(*map, kSwitch);
    ASSERT_EQ(insertNV(*map, 0), kOk);
    EXPECT_EQ(textOf(map->nvs[0].name), "New_NV_5");
    const int code = insertNV(*map, 3); // SNVT_switch's first field
    EXPECT_EQ(code, kRefused);
    EXPECT_STREQ(modelMessage(ModelOp::InsertNV, code), "Could not insert NV at this point.");
    EXPECT_EQ(map->nvCount, 5);
}

TEST(InsertNV, AppendOn999RowsFailsAndOn998OnlyASingleRowTypeFits) {
    auto map = newMap();
    testing::fillPlainNVRows(*map, 999);
    EXPECT_EQ(appendNV(*map), kRefused);
    EXPECT_EQ(insertNV(*map, 10), kRefused);
    auto map998 = newMap();
    testing::fillPlainNVRows(*map998, 998);
    NVAddRequest request;
    request.snvt = kSwitch;
    EXPECT_EQ(addNV(*map998, 998, request), kRefused);
    EXPECT_EQ(map998->nvCount, 998);
    EXPECT_EQ(appendNV(*map998), kOk);
    EXPECT_EQ(map998->nvCount, 999);
}

TEST(InsertNV, InsertingAtRowZeroMovesEveryObjectAndRegisterLink) {
    auto map = newMap();
    addStandardNV(*map, kCount);
    addStandardNV(*map, kSwitch);
    addStandardNV(*map, kCount, true);
    linkEverything(*map);
    NVAddRequest request;
    request.snvt = kSwitch;
    request.name = "front";
    ASSERT_EQ(addNV(*map, 0, request), kOk);
    EXPECT_EQ(map->object(1)->nvRow, 1 + 3);
    EXPECT_EQ(map->object(2)->nvRow, 3 + 3);
    EXPECT_EQ(map->registers[0].nvRow, 1 + 3);
    EXPECT_TRUE(checkLinks(*map));
    ASSERT_EQ(insertNV(*map, 4), kOk); // in the middle, on a header
    EXPECT_EQ(map->object(2)->nvRow, 3 + 4);
    EXPECT_EQ(map->object(1)->nvRow, 4) << "links before the insert stay";
    EXPECT_TRUE(checkLinks(*map));
}

TEST(AddField, OnlyOnStructHeadersAndFieldRowsAndTheRowComesRightBelow) {
    auto map = newMap();
    addStandardNV(*map, kCount);
    const int u = addUserNV(*map, BaseType::STRUCT, true, 12, "u", 2);
    addStandardNV(*map, kSwitch, false, 0, "sw");
    addStandardNV(*map, kCount, false, 0, "after");
    map->object(1)->flags = ObjectFlag::OutputNV;
    map->object(1)->lonNV = 0;
    ASSERT_TRUE(linkObjectNV(*map, 1, 6));
    map->object(2)->flags = ObjectFlag::InputNV;
    map->object(2)->lonNV = 12;
    ASSERT_TRUE(linkObjectNV(*map, 2, u + 1)); // the row the field goes under does not move
    int code = addField(*map, 0);
    EXPECT_EQ(code, kRefused);
    EXPECT_STREQ(modelMessage(ModelOp::AddField, code), "Could not add field at this point.");
    EXPECT_EQ(addField(*map, 99), kRefused);

    ASSERT_EQ(addField(*map, u), kOk);
    const NetVar& made = map->nvs[u + 1];
    EXPECT_EQ(made.isField, 1);
    EXPECT_EQ(made.defined, 1);
    EXPECT_EQ(made.isInput, 1);
    EXPECT_EQ(made.scope, 2);
    EXPECT_EQ(made.programId, map->nvs[u].programId);
    EXPECT_EQ(made.fbNumber, 12);
    EXPECT_EQ(textOf(made.name), "u");
    EXPECT_EQ(map->object(1)->nvRow, 7);
    EXPECT_EQ(map->object(2)->nvRow, u + 1);
    ASSERT_EQ(addField(*map, 4), kOk); // first field of SNVT_switch
    EXPECT_EQ(map->nvs[5].isField, 1);
    EXPECT_EQ(textOf(map->nvs[5].name), "sw");
    EXPECT_EQ(map->nvs[5].fieldName, -1);
    EXPECT_EQ(map->nvCount, 8);
    EXPECT_EQ(map->object(1)->nvRow, 8);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(DeleteNV, RowsRemovedFollowTheBaseType) {
    auto map = newMap();
    addStandardNV(*map, kCount, false, 0, "first");
    addStandardNV(*map, kSwitch, false, 0, "sw");
    addStandardNV(*map, kCount, false, 0, "last");
    addUserNV(*map, BaseType::ARRAY, false, 0, "arr");
    linkEverything(*map);
    const int objectOfLast = map->nvs[4].objectNumber;
    ASSERT_EQ(deleteNVAt(*map, 1), kOk); // SNVT_switch header and its two fields
    EXPECT_EQ(map->nvCount, 3);
    EXPECT_EQ(textOf(map->nvs[1].name), "last");
    EXPECT_EQ(map->object(objectOfLast)->nvRow, 2);
    EXPECT_EQ(map->object(2)->nvRow, 0) << "the field's object lost its row";
    EXPECT_EQ(map->registers[1].nvRow, 0);
    EXPECT_EQ(map->registers[1].fbNumber, 0);
    EXPECT_TRUE(checkLinks(*map));
    ASSERT_EQ(deleteNVAt(*map, 2), kOk); // ARRAY user type: nothing to remove
    EXPECT_EQ(map->nvCount, 3);
    EXPECT_EQ(deleteNVAt(*map, 3), kRefused);
    EXPECT_STREQ(modelMessage(ModelOp::DeleteNV, kRefused), "Unable to delete this line.");
    map->nvCount = 4; // a blank row at the end
    EXPECT_EQ(deleteNVAt(*map, 3), kOk);
    EXPECT_EQ(map->nvCount, 4);
}

TEST(DeleteNV, AFieldRowGoesAlone) {
    auto map = newMap();
    addStandardNV(*map, kElapsedTm);
    addStandardNV(*map, kCount);
    linkEverything(*map);
    ASSERT_EQ(deleteNVAt(*map, 2), kOk);
    EXPECT_EQ(map->nvCount, 6);
    EXPECT_EQ(map->nvs[2].byteOffset, 2);
    EXPECT_EQ(map->nvs[2].fieldName, 2);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(ChangeNVType, EqualRowCountsRestoreTheNumberAndLinks) {
    auto map = newMap();
    addStandardNV(*map, kCount, false, 0, "keep");
    addStandardNV(*map, kCount, true, 0, "change");
    addStandardNV(*map, kCount, false, 0, "below");
    linkEverything(*map);
    ASSERT_EQ(changeNVType(*map, 1, kCountInc), kOk);
    const NetVar& nv = map->nvs[1];
    EXPECT_EQ(nv.snvt, kCountInc);
    EXPECT_EQ(nv.isInput, 1);
    EXPECT_EQ(textOf(nv.name), "change");
    EXPECT_EQ(nv.fbNumber, 1);
    EXPECT_EQ(nv.objectNumber, 2);
    EXPECT_EQ(nv.registerRow, 2);
    EXPECT_EQ(map->object(2)->nvRow, 2);
    EXPECT_EQ(map->object(2)->registerRow, 2);
    EXPECT_EQ(map->registers[1].nvRow, 2);
    EXPECT_EQ(map->registers[1].fbNumber, 1);
    EXPECT_EQ(map->object(3)->nvRow, 3);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(ChangeNVType, UnequalRowCountsDropTheLinksAndMoveTheRowsBelow) {
    auto map = newMap();
    addStandardNV(*map, kCount, false, 0, "change");
    addStandardNV(*map, kCount, false, 0, "below");
    linkEverything(*map);
    ASSERT_EQ(changeNVType(*map, 0, kSwitch), kOk);
    EXPECT_EQ(map->nvCount, 4);
    EXPECT_EQ(map->nvs[0].snvt, kSwitch);
    EXPECT_EQ(map->nvs[0].fbNumber, 0);
    EXPECT_EQ(map->nvs[0].objectNumber, 0);
    EXPECT_EQ(map->object(1)->nvRow, 0);
    EXPECT_EQ(map->registers[0].nvRow, 0);
    EXPECT_EQ(map->object(2)->nvRow, 4);
    EXPECT_TRUE(checkLinks(*map));
    ASSERT_EQ(changeNVType(*map, 0, kCount), kOk); // and back: three rows become one
    EXPECT_EQ(map->nvCount, 2);
    EXPECT_EQ(map->object(2)->nvRow, 2);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(ChangeNVType, RefusedWithoutChangeWhenTheNewNVCannotBeMade) {
    auto map = newMap();
    addStandardNV(*map, kCount, false, 3, "n");
    testing::fillPlainNVRows(*map, 997);
    const NetVar before = map->nvs[0];
    EXPECT_EQ(changeNVType(*map, 0, kSwitch), kRefused);
    EXPECT_EQ(changeNVType(*map, 0, 178), kRefused);
    EXPECT_STREQ(modelMessage(ModelOp::ChangeNVType, kRefused), "Unable to change NV type.");
    EXPECT_EQ(map->nvCount, 998);
    EXPECT_EQ(map->nvs[0], before);
    EXPECT_EQ(changeNVType(*map, 0, kCountInc), kOk);
}

TEST(ChangeNVType, ARowWithoutRowsToDeleteIsReplacedNotDuplicated) {
    auto map = newMap();
    addUserNV(*map, BaseType::UNION, false, 0, "odd");
    addStandardNV(*map, kSwitch);
    ASSERT_EQ(changeNVType(*map, 0, kCount), kOk);
    EXPECT_EQ(map->nvCount, 4);
    EXPECT_EQ(map->nvs[0].snvt, kCount);
    EXPECT_EQ(map->nvs[1].snvt, kSwitch);
    EXPECT_EQ(changeNVType(*map, 2, kCount), kRefused) << "field rows have no type of their own";
}

TEST(ClearNVList, ObjectsLoseTheirNVSideAndRegistersTheirNV) {
    auto map = newMap();
    addStandardNV(*map, kCount, false, 0, "a");
    addStandardNV(*map, kSwitch, true, 0, "b");
    linkEverything(*map);
    clearNVList(*map);
    EXPECT_EQ(map->nvCount, 0);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(map->object(n)->flags & ObjectFlag::NVSide, 0u);
        EXPECT_EQ(map->object(n)->lonNV, 0);
        EXPECT_EQ(map->object(n)->nvRow, 0);
        EXPECT_EQ(map->object(n)->registerRow, n) << "the register side stays";
    }
    for (int i = 0; i < map->registerCount; ++i) {
        EXPECT_EQ(map->registers[i].fbNumber, 0);
        EXPECT_EQ(map->registers[i].nvRow, 0);
    }
    EXPECT_TRUE(checkLinks(*map));
}

} // namespace
} // namespace korvex
