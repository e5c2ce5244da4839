// Building from the register list: NVs from registers, objects from registers, taking the
// register side off, the rebuild from objects, and register numbering.
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"

#include "model/ModelMessages.h"
#include "model/RegisterObjectCopy.h"
#include "model/lists/ListBuilding.h"
#include "vocab/SnvtCatalogue.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvex {
namespace {

using testing::addRegisterRow;
using testing::checkLinks;
using testing::newMap;

TEST(NVListFromRegisters, OneHundredTwentyOneWriteRegistersGiveOneHundredTwentyInputsAndTheNviLimit) {
    auto map = newMap();
    for (int i = 0; i < 121; ++i)
        addRegisterRow(*map, RegisterFormat::U16, static_cast<uint16_t>(i + 1), true);
    const int code = nvListFromRegisters(*map);
    EXPECT_EQ(code, NVListFromRegistersResult::NviLimit);
    EXPECT_STREQ(modelMessage(ModelOp::NVListFromRegisters, code),
                 "Number of function blocks requested in list\nexceeds maximum number of NVI's.");
    ASSERT_EQ(map->nvCount, 120);
    for (int i = 0; i < 120; ++i) {
        EXPECT_EQ(map->nvs[i].isInput, 1);
        EXPECT_EQ(map->nvs[i].fbNumber, i + 1);
        EXPECT_EQ(map->nvs[i].registerRow, i + 1);
        EXPECT_EQ(map->registers[i].nvRow, i + 1);
        EXPECT_EQ(map->registers[i].fbNumber, i + 1);
        EXPECT_TRUE(map->nvs[i].minSendTime.isZero());
    }
    EXPECT_EQ(map->registers[120].nvRow, 0);
    EXPECT_STREQ(textOf(map->nvs[119].name).data(), "Auto NVI [120]");
    EXPECT_TRUE(checkLinks(*map));
}

TEST(NVListFromRegisters, OutputsStopAtTheNvoLimitAndInputsCountSeparately) {
    auto map = newMap();
    addRegisterRow(*map, RegisterFormat::U16, 1, true);
    for (int i = 0; i < 121; ++i) addRegisterRow(*map, RegisterFormat::U16, static_cast<uint16_t>(i + 2));
    EXPECT_EQ(nvListFromRegisters(*map), NVListFromRegistersResult::NvoLimit);
    EXPECT_EQ(map->nvCount, 121);
    EXPECT_EQ(map->nvs[0].fbNumber, 1);
    EXPECT_EQ(map->nvs[1].fbNumber, 1);
    EXPECT_EQ(map->nvs[120].fbNumber, 120);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(NVListFromRegisters, TypeSizeNameAndSendTimeFollowTheRegister) {
    struct Case {
        int32_t format;
        int snvt;
        uint8_t size;
    };
    const Case cases[] = {
        {RegisterFormat::S16, 9, 2},   {RegisterFormat::S32, 51, 4},  {RegisterFormat::U32, 51, 4},
        {RegisterFormat::FP, 51, 4},   {RegisterFormat::M102, 51, 4}, {RegisterFormat::M103, 51, 4},
        {RegisterFormat::M104, 51, 4}, {RegisterFormat::S64, 51, 4},  {RegisterFormat::None, 8, 2},
        {RegisterFormat::U16, 8, 2},   {RegisterFormat::BIT, 8, 2}};
    for (const Case& c : cases) {
        auto map = newMap();
        addRegisterRow(*map, c.format, 1, false, "Flow Rate");
        ASSERT_EQ(nvListFromRegisters(*map), kOk);
        const NetVar& nv = map->nvs[0];
        EXPECT_EQ(nv.snvt, c.snvt) << c.format;
        EXPECT_EQ(nv.size, c.size) << c.format;
        EXPECT_EQ(nv.baseType, snvt_category(c.snvt));
        EXPECT_EQ(nv.defined, 1);
        EXPECT_EQ(nv.isInput, 0);
        EXPECT_EQ(nv.minSendTime.seconds, 15);
        EXPECT_EQ(textOf(nv.name), "Flow Rate");
    }
}

TEST(NVListFromRegisters, RefusesWhenTheNVListHasRowsAndDoesNothingForNoRegisters) {
    auto map = newMap();
    EXPECT_EQ(nvListFromRegisters(*map), kOk);
    EXPECT_EQ(map->nvCount, 0);
    addRegisterRow(*map, RegisterFormat::U16, 1);
    testing::fillPlainNVRows(*map, 1);
    EXPECT_EQ(nvListFromRegisters(*map), NVListFromRegistersResult::AlreadyAssigned);
    EXPECT_STREQ(modelMessage(ModelOp::NVListFromRegisters, 1),
                 "NV list already assigned.\nClear NV list first.");
    EXPECT_EQ(map->nvCount, 1);
}

TEST(MasterListFromRegisters, RegistersU16FPS16GiveObjectsOfThoseTypesAndTheFPNVIsCountF) {
    auto map = newMap();
    addRegisterRow(*map, RegisterFormat::U16, 1, false, "a");
    addRegisterRow(*map, RegisterFormat::FP, 2, false, "b");
    addRegisterRow(*map, RegisterFormat::S16, 4, true, "c");
    ASSERT_EQ(nvListFromRegisters(*map), kOk);
    EXPECT_TRUE(checkLinks(*map));
    ASSERT_EQ(masterListFromRegisters(*map), kOk);
    EXPECT_TRUE(checkLinks(*map));
    EXPECT_EQ(map->object(1)->datatype, ObjectDataType::U16);
    EXPECT_EQ(map->object(2)->datatype, ObjectDataType::FP);
    EXPECT_EQ(map->object(3)->datatype, ObjectDataType::S16);
    const NetVar& fpNV = map->nvs[map->object(2)->nvRow - 1];
    EXPECT_STREQ(snvt_name(fpNV.snvt), "SNVT_count_f");
    EXPECT_EQ(fpNV.size, 4);
    for (int n = 1; n <= 3; ++n) {
        const DataObject& o = *map->object(n);
        EXPECT_EQ(o.registerRow, n);
        EXPECT_EQ(o.nvRow, n);
        EXPECT_EQ(o.lonNV, map->nvs[n - 1].fbNumber);
        EXPECT_TRUE(o.flags & ObjectFlag::InUse);
        EXPECT_TRUE(o.syncFlags & SyncFlag::Configured);
    }
    EXPECT_TRUE(map->object(1)->flags & ObjectFlag::OutputNV);
    EXPECT_TRUE(map->object(3)->flags & ObjectFlag::InputNV);
    EXPECT_TRUE(map->object(3)->flags & ObjectFlag::WritePeriodic);
    EXPECT_FALSE(map->object(3)->flags & ObjectFlag::ReadPeriodic);
    EXPECT_EQ(map->object(2)->lontype, snvt_category(51));
}

TEST(MasterListFromRegisters, RefusesWhenAnObjectItWouldFillIsInUse) {
    auto map = newMap();
    addRegisterRow(*map, RegisterFormat::U16, 1);
    addRegisterRow(*map, RegisterFormat::U16, 2);
    map->object(3)->flags = ObjectFlag::InUse; // beyond the register count: no conflict
    EXPECT_EQ(masterListFromRegisters(*map), kOk);
    map->object(2)->flags |= ObjectFlag::InUse;
    EXPECT_EQ(masterListFromRegisters(*map), MasterListFromRegistersResult::AlreadyConfigured);
    EXPECT_STREQ(modelMessage(ModelOp::MasterListFromRegisters, 1),
                 "Master object list already configured.\nClear master list first.");
}

TEST(MasterListFromRegisters, MoreThan400RegistersStopAtObject400AndKeepWhatWasMade) {
    auto map = newMap();
    testing::fillPlainRegisterRows(*map, 401);
    const int code = masterListFromRegisters(*map);
    EXPECT_EQ(code, MasterListFromRegistersResult::ObjectLimit);
    EXPECT_STREQ(modelMessage(ModelOp::MasterListFromRegisters, code),
                 "Number of objects requested in list\nexceeds maximum number of objects.");
    EXPECT_EQ(map->object(400)->registerRow, 400);
    EXPECT_EQ(map->object(400)->modreg, 400);
    EXPECT_EQ(map->registers[400].objectNumber, 0);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(RegisterObjectCopy, FieldsAndModeBitsCorrespond) {
    struct Case {
        uint8_t read, write, update, packed, high;
        uint32_t flags;
    };
    const Case cases[] = {
        {1, 0, 0, 0, 0, ObjectFlag::ReadPeriodic},
        {0, 1, 0, 1, 0, ObjectFlag::WritePeriodic | ObjectFlag::Packed},
        {0, 0, 1, 0, 1, ObjectFlag::WriteOnUpdate | ObjectFlag::HighRegFirst},
        {0, 0, 0, 0, 0, ObjectFlag::ReadPeriodic}, // no write mode: read periodically
    };
    for (const Case& c : cases) {
        RegisterDef reg;
        reg.readPeriodic = c.read;
        reg.writePeriodic = c.write;
        reg.writeOnUpdate = c.update;
        reg.packed = c.packed;
        reg.highRegFirst = c.high;
        reg.regNumber = 321;
        reg.type = RegisterType::Input;
        reg.format = RegisterFormat::M103;
        reg.slave = 7;
        reg.poll = 9;
        reg.mask = 0x10;
        reg.fill = 0xFF00;
        reg.scale = 2.5f;
        reg.offset = -1.0f;
        setText(reg.name, "Pressure");
        DataObject object;
        object.flags = ObjectFlag::OutputNV | ObjectFlag::WritePeriodic | ObjectFlag::ReadPeriodic;
        copyRegisterToObject(reg, object);
        EXPECT_EQ(object.flags, c.flags | ObjectFlag::InUse | ObjectFlag::OutputNV);
        EXPECT_EQ(object.modreg, 321);
        EXPECT_EQ(object.modtype, RegisterType::Input);
        EXPECT_EQ(object.moddata, RegisterFormat::M103);
        EXPECT_EQ(object.datatype, ObjectDataType::FP);
        EXPECT_EQ(object.slave, 7);
        EXPECT_EQ(object.poll, 9);
        EXPECT_EQ(object.mask, 0x10u);
        EXPECT_EQ(object.fill, 0xFF00u);
        EXPECT_EQ(object.scale, 2.5f);
        EXPECT_EQ(object.offset, -1.0f);
        EXPECT_EQ(textOf(object.name), "Pressure");

        RegisterDef back;
        copyObjectToRegister(object, back);
        EXPECT_EQ(back.format, RegisterFormat::M103)
            << "the object's register format survives the round trip";
        EXPECT_EQ(back.bitNumber, 5);
        EXPECT_EQ(back.modicon, 30321);
        EXPECT_EQ(back.writePeriodic, c.write);
        EXPECT_EQ(back.packed, c.packed);
        EXPECT_EQ(back.highRegFirst, c.high);
    }
}

TEST(RemoveRegisterObjectAssignments, TakesTheRegisterSideOffAndKeepsTheNVSide) {
    auto map = newMap();
    addRegisterRow(*map, RegisterFormat::FP, 1, false, "withNV");
    addRegisterRow(*map, RegisterFormat::U16, 3, false, "plain");
    ASSERT_EQ(nvListFromRegisters(*map), kOk);
    ASSERT_EQ(masterListFromRegisters(*map), kOk);
    map->object(2)->nvRow = 0; // object 2 keeps only its register
    map->object(2)->flags &= ~ObjectFlag::NVSide;
    map->nvs[1].objectNumber = 0;
    map->object(1)->syncFlags |= SyncFlag::InDevice | SyncFlag::Saved;
    map->object(1)->defVal = 1234;
    ASSERT_EQ(removeRegisterObjectAssignments(*map), kOk);
    EXPECT_TRUE(checkLinks(*map));
    const DataObject& withNV = *map->object(1);
    EXPECT_EQ(withNV.flags, ObjectFlag::OutputNV);
    EXPECT_EQ(withNV.modreg, 0);
    EXPECT_EQ(withNV.moddata, 0);
    EXPECT_EQ(withNV.scale, 0.0f);
    EXPECT_EQ(withNV.defVal, 0u);
    EXPECT_EQ(withNV.registerRow, 0);
    EXPECT_EQ(withNV.nvRow, 1);
    EXPECT_EQ(withNV.syncFlags, SyncFlag::Configured);
    EXPECT_EQ(textOf(withNV.name), "withNV");
    EXPECT_EQ(textOf(map->object(2)->name), "");
    EXPECT_EQ(map->registers[0].objectNumber, 0);
}

TEST(RebuildRegisterList, OneRowPerObjectInUseInObjectOrderWithLinksAndInDevice) {
    auto map = newMap();
    testing::fillPlainRegisterRows(*map, 5); // stale rows, all dropped
    testing::addStandardNV(*map, 8, false, 4);
    DataObject& a = *map->object(7);
    a.flags = ObjectFlag::InUse | ObjectFlag::OutputNV;
    a.modreg = 100;
    a.modtype = RegisterType::Holding;
    a.moddata = RegisterFormat::M104;
    a.datatype = ObjectDataType::FP;
    a.lonNV = 4;
    a.syncFlags = SyncFlag::InDevice;
    setText(a.name, "seven");
    map->object(7)->nvRow = 1;
    map->nvs[0].objectNumber = 7;
    map->nvs[0].registerRow = 3; // stale
    DataObject& b = *map->object(2);
    b.flags = ObjectFlag::InUse | ObjectFlag::WriteOnUpdate;
    b.modreg = 5;
    b.modtype = RegisterType::Coil;
    b.mask = 0x4;
    map->object(9)->flags = ObjectFlag::OutputNV; // no register side: no row
    ASSERT_EQ(rebuildRegisterList(*map), kOk);
    ASSERT_EQ(map->registerCount, 2);
    EXPECT_EQ(map->registers[0].objectNumber, 2);
    EXPECT_EQ(map->registers[0].writeOnUpdate, 1);
    EXPECT_EQ(map->registers[0].bitNumber, 3);
    EXPECT_EQ(map->registers[0].modicon, 5);
    EXPECT_EQ(map->registers[0].inDevice, 0);
    const RegisterDef& seven = map->registers[1];
    EXPECT_EQ(seven.objectNumber, 7);
    EXPECT_EQ(seven.regNumber, 100);
    EXPECT_EQ(seven.format, RegisterFormat::M104);
    EXPECT_EQ(seven.modicon, 40100);
    EXPECT_EQ(seven.fbNumber, 4);
    EXPECT_EQ(seven.nvRow, 1);
    EXPECT_EQ(seven.inDevice, 1);
    EXPECT_EQ(seven.defined, 1);
    EXPECT_EQ(textOf(seven.name), "seven");
    EXPECT_EQ(map->nvs[0].registerRow, 2);
    EXPECT_EQ(map->object(9)->registerRow, 0);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(AppendRegisterRow, ReadingTheSameObjectTwiceKeepsOneRow) {
    auto map = newMap();
    DataObject& o = *map->object(12);
    o.flags = ObjectFlag::InUse;
    o.modreg = 40;
    EXPECT_EQ(appendRegisterRow(*map, 12), kOk);
    o.modreg = 41;
    EXPECT_EQ(appendRegisterRow(*map, 12), kOk);
    ASSERT_EQ(map->registerCount, 1);
    EXPECT_EQ(map->registers[0].regNumber, 41);
    EXPECT_EQ(map->object(12)->registerRow, 1);
    EXPECT_EQ(appendRegisterRow(*map, 13), AppendRegisterRowResult::NotApplicable);
    EXPECT_EQ(appendRegisterRow(*map, 401), AppendRegisterRowResult::NotApplicable);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(NextFreeRegisterNumber, HighestNumberPlusTheRegistersItsFirstRowTakes) {
    struct Row {
        int32_t format;
        uint16_t number;
    };
    struct Case {
        std::vector<Row> rows;
        int expected;
    };
    const Case cases[] = {
        {{}, 1},
        {{{RegisterFormat::FP, 0}, {RegisterFormat::U16, 0}}, 1},
        {{{RegisterFormat::U16, 3}, {RegisterFormat::FP, 10}}, 12},
        {{{RegisterFormat::M103, 10}}, 13},
        {{{RegisterFormat::S64, 10}}, 14},
        {{{RegisterFormat::M102, 10}}, 12},
        {{{RegisterFormat::BIT, 10}, {RegisterFormat::S64, 10}}, 11}, // the first row holding 10 decides
        {{{RegisterFormat::S64, 65534}}, 65535},
    };
    for (const Case& c : cases) {
        auto map = newMap();
        for (const Row& r : c.rows) addRegisterRow(*map, r.format, r.number);
        EXPECT_EQ(nextFreeRegisterNumber(*map), c.expected);
    }
}

} // namespace
} // namespace korvex
