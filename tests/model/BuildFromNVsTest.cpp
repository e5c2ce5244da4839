// Building from the NV list: function-block numbers, objects from NV rows (STRUCT as a whole or
// per field), registers from objects, removing assignments, a register row for one object,
// linking objects read from a file, and the NV editor's allocation.
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"

#include "model/ModelMessages.h"
#include "model/ObjectLinks.h"
#include "model/lists/ListBuilding.h"
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

TEST(AssignFbNumbers, HeadersCountPerDirectionAndFieldsTakeTheirHeadersNumber) {
    auto map = newMap();
    addStandardNV(*map, kCount, false);
    addStandardNV(*map, kSwitch, true);
    addStandardNV(*map, kCount, false);
    addStandardNV(*map, kCount, true);
    testing::addRegisterRow(*map, RegisterFormat::U16, 1);
    ASSERT_EQ(linkRegisterNV(*map, 1, 3), true);
    ASSERT_EQ(assignFbNumbers(*map), kOk);
    const int expected[] = {1, 1, 1, 1, 2, 2};
    ASSERT_EQ(map->nvCount, 6);
    for (int r = 0; r < 6; ++r) EXPECT_EQ(map->nvs[r].fbNumber, expected[r]) << r;
    EXPECT_EQ(map->registers[0].fbNumber, 1) << "the linked register follows its NV";
    EXPECT_TRUE(checkLinks(*map));
    EXPECT_EQ(assignFbNumbers(*map), AssignFbNumbersResult::AlreadyAssigned);
    EXPECT_STREQ(modelMessage(ModelOp::AssignFbNumbers, 2), "Function Blocks have already been assigned.");
}

TEST(AssignFbNumbers, The121stHeaderStopsTheWalkAndKeepsTheNumbersGiven) {
    auto map = newMap();
    testing::fillPlainNVRows(*map, 121);
    const int code = assignFbNumbers(*map);
    EXPECT_EQ(code, AssignFbNumbersResult::FbLimit);
    EXPECT_STREQ(modelMessage(ModelOp::AssignFbNumbers, code),
                 "Number of function blocks requested in list\nexceeds maximum number of NV's.");
    EXPECT_EQ(map->nvs[119].fbNumber, 120);
    EXPECT_EQ(map->nvs[120].fbNumber, 0);
    EXPECT_STREQ(modelMessage(ModelOp::AssignFbNumbers, 7), "Unspecified error in attempt to assign.");
}

TEST(MasterListFromNVs, ElapsedTimeWithMethodTwoIsOneObjectAndWithMethodZeroOnePerField) {
    for (int method : {2, 0}) {
        auto map = newMap();
        const int h = addStandardNV(*map, kElapsedTm, false, 3);
        map->nvs[h].method = static_cast<uint8_t>(method);
        addStandardNV(*map, kCount, true, 1);
        ASSERT_EQ(masterListFromNVs(*map), kOk);
        EXPECT_TRUE(checkLinks(*map));
        if (method == 2) {
            EXPECT_EQ(map->nvs[0].objectNumber, 1);
            for (int f = 1; f <= 5; ++f) EXPECT_EQ(map->nvs[f].objectNumber, 0);
            EXPECT_EQ(map->object(1)->flags, ObjectFlag::InUse | ObjectFlag::OutputNV);
            EXPECT_EQ(map->object(1)->lontype, BaseType::STRUCT);
            EXPECT_EQ(map->object(1)->lonMethod, 2);
            EXPECT_EQ(map->nvs[6].objectNumber, 2);
        } else {
            EXPECT_EQ(map->nvs[0].objectNumber, 0);
            for (int f = 1; f <= 5; ++f) {
                EXPECT_EQ(map->nvs[f].objectNumber, f);
                EXPECT_EQ(map->object(f)->flags,
                          ObjectFlag::InUse | ObjectFlag::OutputNV | ObjectFlag::Structured);
                EXPECT_EQ(map->object(f)->lonByteOffset, map->nvs[f].byteOffset);
                EXPECT_EQ(map->object(f)->lonNV, 3);
            }
            EXPECT_EQ(map->nvs[6].objectNumber, 6);
            EXPECT_TRUE(map->object(6)->flags & ObjectFlag::InputNV);
        }
    }
}

TEST(MasterListFromNVs, DataTypeFollowsTheBaseTypeAndNamesAndLockCarryOver) {
    struct Case {
        uint8_t base;
        uint8_t datatype;
    };
    const Case cases[] = {{BaseType::SC, ObjectDataType::S16},  {BaseType::SI, ObjectDataType::S16},
                          {BaseType::SL, ObjectDataType::S16},  {BaseType::FP, ObjectDataType::FP},
                          {BaseType::SQ, ObjectDataType::S32},  {BaseType::UC, ObjectDataType::U16},
                          {BaseType::UL, ObjectDataType::U16},  {BaseType::ENUM, ObjectDataType::U16},
                          {BaseType::BIT, ObjectDataType::U16}, {BaseType::None, ObjectDataType::U16}};
    auto map = newMap();
    for (const Case& c : cases) addUserNV(*map, c.base, false, 0, "userNV");
    map->nvs[1].lock = 1;
    map->object(3)->datatype = ObjectDataType::BIT; // a data type already set stays
    ASSERT_EQ(masterListFromNVs(*map), kOk);
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        const DataObject& o = *map->object(i + 1);
        EXPECT_EQ(o.datatype, i == 2 ? ObjectDataType::BIT : cases[i].datatype) << i;
        EXPECT_EQ(o.lontype, cases[i].base);
        EXPECT_EQ(textOf(o.name), "userNV");
        EXPECT_EQ(o.lonScaleA, 1);
    }
    EXPECT_TRUE(map->object(2)->flags & ObjectFlag::LockField);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(MasterListFromNVs, RefusalsAndPartialResults) {
    auto map = newMap();
    addStandardNV(*map, kCount, false, 1);
    addStandardNV(*map, kCount, false, 2);
    map->object(2)->lonNV = 9;
    int code = masterListFromNVs(*map);
    EXPECT_EQ(code, MasterListFromNVsResult::Conflict);
    EXPECT_STREQ(modelMessage(ModelOp::MasterListFromNVs, code),
                 "Conflicting assignments.\nClear master object list first.");
    EXPECT_EQ(map->nvs[0].objectNumber, 1) << "the object assigned before the conflict stays";
    EXPECT_TRUE(checkLinks(*map));
    code = masterListFromNVs(*map);
    EXPECT_EQ(code, MasterListFromNVsResult::AlreadyAssigned);
    EXPECT_STREQ(modelMessage(ModelOp::MasterListFromNVs, code), "Data objects have already been assigned.");

    auto big = newMap();
    testing::fillPlainNVRows(*big, 401);
    code = masterListFromNVs(*big);
    EXPECT_EQ(code, MasterListFromNVsResult::ObjectLimit);
    EXPECT_EQ(big->nvs[399].objectNumber, 400);
    EXPECT_EQ(big->nvs[400].objectNumber, 0);
    EXPECT_TRUE(checkLinks(*big));
}

TEST(RegisterListFromMaster, ObjectsFPU16S32GetRegisters1To3And4) {
    auto map = newMap();
    const uint8_t types[] = {ObjectDataType::FP, ObjectDataType::U16, ObjectDataType::S32};
    for (int i = 0; i < 3; ++i) {
        addStandardNV(*map, kCount, i == 1, i + 1, "n");
        map->object(i + 1)->datatype = types[i];
    }
    ASSERT_EQ(masterListFromNVs(*map), kOk);
    map->object(1)->syncFlags |= SyncFlag::InDevice | SyncFlag::Saved;
    ASSERT_EQ(registerListFromMaster(*map), kOk);
    ASSERT_EQ(map->registerCount, 3);
    const int numbers[] = {1, 3, 4};
    const int32_t formats[] = {RegisterFormat::FP, RegisterFormat::U16, RegisterFormat::S32};
    for (int i = 0; i < 3; ++i) {
        const RegisterDef& reg = map->registers[i];
        EXPECT_EQ(reg.regNumber, numbers[i]);
        EXPECT_EQ(reg.modicon, 40000 + numbers[i]);
        EXPECT_EQ(reg.format, formats[i]);
        EXPECT_EQ(reg.type, RegisterType::Holding);
        EXPECT_EQ(reg.scale, 1.0f);
        EXPECT_EQ(reg.slave, 1);
        EXPECT_EQ(reg.poll, 1);
        EXPECT_EQ(reg.fbNumber, i + 1);
        EXPECT_EQ(reg.readPeriodic, i == 1 ? 0 : 1);
        EXPECT_EQ(reg.writePeriodic, i == 1 ? 1 : 0);
        EXPECT_EQ(textOf(reg.name), "n");
        const DataObject& o = *map->object(i + 1);
        EXPECT_EQ(o.modreg, numbers[i]);
        EXPECT_EQ(o.moddata, formats[i]);
        EXPECT_EQ(o.poll, 1);
        EXPECT_EQ(o.syncFlags, SyncFlag::Configured);
    }
    EXPECT_TRUE(map->object(2)->flags & ObjectFlag::WritePeriodic);
    EXPECT_TRUE(checkLinks(*map));
    EXPECT_EQ(registerListFromMaster(*map), RegisterListFromMasterResult::AlreadyCreated);
    EXPECT_STREQ(modelMessage(ModelOp::RegisterListFromMaster, 1),
                 "Modbus register list has already been created.");
}

TEST(RemoveNVAssignments, FunctionBlocksStayWhileObjectsAreLinkedAndGoAfterwards) {
    auto map = newMap();
    addStandardNV(*map, kCount, false, 0, "out");
    addStandardNV(*map, kCount, true, 0, "in");
    ASSERT_EQ(assignFbNumbers(*map), kOk);
    ASSERT_EQ(masterListFromNVs(*map), kOk);
    ASSERT_EQ(registerListFromMaster(*map), kOk);
    map->object(2)->flags &= ~ObjectFlag::InUse; // its name goes with its NV side
    EXPECT_EQ(removeNVFbAssignments(*map), RemoveNVFbAssignmentsResult::ObjectsLinked);
    EXPECT_STREQ(modelMessage(ModelOp::RemoveNVFbAssignments, 1), "Must remove data objects first.");
    EXPECT_EQ(map->nvs[0].fbNumber, 1);

    ASSERT_EQ(removeNVObjectAssignments(*map), kOk);
    EXPECT_TRUE(checkLinks(*map));
    const DataObject& out = *map->object(1);
    EXPECT_EQ(out.flags & ObjectFlag::NVSide, 0u);
    EXPECT_EQ(out.lonNV, 0);
    EXPECT_EQ(out.nvRow, 0);
    EXPECT_EQ(textOf(out.name), "out");
    EXPECT_EQ(textOf(map->object(2)->name), "");
    EXPECT_EQ(map->nvs[0].objectNumber, 0);

    ASSERT_EQ(removeNVFbAssignments(*map), kOk);
    EXPECT_EQ(map->nvs[0].fbNumber, 0);
    EXPECT_EQ(map->nvs[1].fbNumber, 0);
    EXPECT_EQ(map->registers[0].fbNumber, 0);
    EXPECT_EQ(map->registers[1].fbNumber, 0);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(MakeRegisterRow, AppendsTheNextFreeNumberForAnObjectWithAnNVOnly) {
    auto map = newMap();
    testing::addRegisterRow(*map, RegisterFormat::FP, 10);
    addStandardNV(*map, kCount, true, 5);
    ASSERT_EQ(masterListFromNVs(*map), kOk);
    ASSERT_EQ(makeRegisterRow(*map, 1), kOk);
    ASSERT_EQ(map->registerCount, 2);
    const RegisterDef& reg = map->registers[1];
    EXPECT_EQ(reg.regNumber, 12);
    EXPECT_EQ(reg.writePeriodic, 1);
    EXPECT_EQ(reg.fbNumber, 5);
    EXPECT_EQ(map->object(1)->registerRow, 2);
    EXPECT_EQ(map->object(1)->modreg, 12);
    EXPECT_TRUE(checkLinks(*map));
    EXPECT_EQ(makeRegisterRow(*map, 1), MakeRegisterRowResult::NotApplicable) << "it has a register now";
    EXPECT_EQ(makeRegisterRow(*map, 2), MakeRegisterRowResult::NotApplicable) << "no NV";

    auto full = newMap();
    testing::fillPlainRegisterRows(*full, kEditRowLimit);
    full->object(1)->flags = ObjectFlag::OutputNV;
    EXPECT_EQ(makeRegisterRow(*full, 1), MakeRegisterRowResult::ListFull);
    EXPECT_EQ(full->registerCount, kEditRowLimit);
}

TEST(LinkObjectToNVList, SimpleAndStandardFieldsLinkByNumberDirectionAndOffsets) {
    auto map = newMap();
    addStandardNV(*map, kCount, true, 4);
    addStandardNV(*map, kCount, false, 4);
    addStandardNV(*map, kSwitch, false, 6);
    DataObject& simple = *map->object(1);
    simple.flags = ObjectFlag::OutputNV;
    simple.lonNV = 4;
    EXPECT_EQ(linkObjectToNVList(*map, 1), kOk);
    EXPECT_EQ(simple.nvRow, 2) << "the output, not the input with the same number";
    DataObject& field = *map->object(2);
    field.flags = ObjectFlag::OutputNV | ObjectFlag::Structured;
    field.lonNV = 6;
    field.lonByteOffset = 1;
    EXPECT_EQ(linkObjectToNVList(*map, 2), kOk);
    EXPECT_EQ(field.nvRow, 5);
    DataObject& noField = *map->object(3);
    noField.flags = ObjectFlag::OutputNV | ObjectFlag::Structured;
    noField.lonNV = 6;
    noField.lonByteOffset = 2;
    EXPECT_EQ(linkObjectToNVList(*map, 3), LinkObjectResult::NoMatchingRow);
    EXPECT_EQ(map->nvCount, 5) << "a standard type never grows";
    DataObject& noNV = *map->object(4);
    noNV.flags = ObjectFlag::InUse;
    EXPECT_EQ(linkObjectToNVList(*map, 4), LinkObjectResult::NoMatchingRow)
        << "an object without an NV never takes an unnumbered row";
    EXPECT_TRUE(checkLinks(*map));
}

TEST(LinkObjectToNVList, UserStructAddsTheFieldRowOnFirstSightAndLinksToItOnTheSecond) {
    auto map = newMap();
    const int h = addUserNV(*map, BaseType::STRUCT, false, 2, "userStruct", 5);
    addStandardNV(*map, kCount, false, 3);
    map->object(9)->flags = ObjectFlag::OutputNV;
    map->object(9)->lonNV = 3;
    ASSERT_EQ(linkObjectToNVList(*map, 9), kOk);
    DataObject& o = *map->object(1);
    o.flags = ObjectFlag::OutputNV | ObjectFlag::Structured | ObjectFlag::LockField;
    o.lonNV = 2;
    o.lontype = BaseType::UI;
    o.lonByteOffset = 2;
    o.lonScaleA = 7;
    ASSERT_EQ(linkObjectToNVList(*map, 1), kOk);
    ASSERT_EQ(map->nvCount, 3);
    const NetVar& field = map->nvs[h + 1];
    EXPECT_EQ(field.isField, 1);
    EXPECT_EQ(field.defined, 1);
    EXPECT_EQ(field.byteOffset, 2);
    EXPECT_EQ(field.baseType, BaseType::UI);
    EXPECT_EQ(field.scaleA, 7);
    EXPECT_EQ(field.lock, 1);
    EXPECT_EQ(field.fbNumber, 2);
    EXPECT_EQ(field.scope, 5);
    EXPECT_EQ(field.programId, map->nvs[h].programId);
    EXPECT_EQ(textOf(field.name), "userStruct");
    EXPECT_EQ(o.nvRow, 2);
    EXPECT_EQ(map->object(9)->nvRow, 3) << "the row below moved and its object followed";
    EXPECT_TRUE(checkLinks(*map));
    ASSERT_EQ(linkObjectToNVList(*map, 1), kOk);
    EXPECT_EQ(map->nvCount, 3);
    EXPECT_EQ(o.nvRow, 2);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(AllocateForNV, SimpleNVTakesTheFirstFreeObjectAndTheNextNumberOfItsDirection) {
    auto map = newMap();
    addStandardNV(*map, kCount, false, 7);
    addStandardNV(*map, kCount, true, 30);
    const int r = addStandardNV(*map, kCount, false, 0, "edited");
    map->object(1)->flags = ObjectFlag::InUse;
    map->object(2)->flags = ObjectFlag::InputNV; // in use through an NV only: never taken over
    ASSERT_EQ(allocateForNV(*map, r), kOk);
    EXPECT_EQ(map->nvs[r].fbNumber, 8);
    EXPECT_EQ(map->nvs[r].objectNumber, 3);
    EXPECT_EQ(map->object(3)->lonNV, 8);
    EXPECT_TRUE(checkLinks(*map));
    EXPECT_EQ(allocateForNV(*map, r), AllocateResult::Conflict) << "the NV has its number and object now";
    EXPECT_STREQ(modelMessage(ModelOp::AllocateForNV, AllocateResult::Conflict),
                 "Conflict in allocation tables.");
}

TEST(AllocateForNV, StructuredNVFieldsSkipObjectsAlreadyInUse) {
    auto map = newMap();
    const int h = addStandardNV(*map, kElapsedTm, true, 0, "elapsed");
    map->object(2)->flags = ObjectFlag::InUse;
    map->object(4)->flags = ObjectFlag::OutputNV;
    const DataObject keep2 = *map->object(2);
    ASSERT_EQ(allocateForNV(*map, h + 3), kOk) << "a field row allocates for its whole NV";
    EXPECT_EQ(map->nvs[h].fbNumber, 1);
    EXPECT_EQ(map->nvs[h].objectNumber, 0);
    const int objects[] = {1, 3, 5, 6, 7};
    for (int f = 0; f < 5; ++f) {
        EXPECT_EQ(map->nvs[h + 1 + f].objectNumber, objects[f]) << f;
        EXPECT_EQ(map->nvs[h + 1 + f].fbNumber, 1);
        EXPECT_TRUE(map->object(objects[f])->flags & ObjectFlag::Structured);
    }
    EXPECT_EQ(*map->object(2), keep2);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(AllocateForNV, RunsOutOfObjectsOrNumbers) {
    auto map = newMap();
    const int h = addStandardNV(*map, kSwitch, false);
    for (int n = 1; n <= kObjectCount; ++n) map->object(n)->flags = ObjectFlag::InUse;
    map->object(399)->flags = 0;
    int code = allocateForNV(*map, h);
    EXPECT_EQ(code, AllocateResult::NoObjects);
    EXPECT_STREQ(modelMessage(ModelOp::AllocateForNV, code), "No available objects to allocate.");
    EXPECT_EQ(map->nvs[h + 1].objectNumber, 399) << "the first field keeps what it got";
    EXPECT_EQ(map->nvs[h + 2].objectNumber, 0);
    EXPECT_TRUE(checkLinks(*map));

    auto full = newMap();
    addStandardNV(*full, kCount, false, 120);
    const int r = addStandardNV(*full, kCount, false);
    code = allocateForNV(*full, r);
    EXPECT_EQ(code, AllocateResult::NoFbNumbers);
    EXPECT_STREQ(modelMessage(ModelOp::AllocateForNV, code), "No available network variables to allocate.");
    EXPECT_EQ(full->nvs[r].fbNumber, 0);
    EXPECT_EQ(full->object(1)->flags, 0u);
}

} // namespace
} // namespace korvex
