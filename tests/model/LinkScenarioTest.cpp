// Multi-step scenarios with the link checker after every step: building outward from an
// imported register list, loading objects as a file does, and a long seeded run of random
// edits and bulk operations.
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"

#include "model/ObjectLinks.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "vocab/BaseType.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

namespace korvex {
namespace {

using testing::addRegisterRow;
using testing::addStandardNV;
using testing::addUserNV;
using testing::checkLinks;
using testing::newMap;

TEST(LinkScenario, FromAnImportedRegisterListThroughInsertsDeletesAndTypeChanges) {
    auto map = newMap();
    const int32_t formats[] = {RegisterFormat::U16, RegisterFormat::FP,  RegisterFormat::S16,
                               RegisterFormat::S32, RegisterFormat::BIT, RegisterFormat::M103};
    for (int i = 0; i < 6; ++i)
        addRegisterRow(*map, formats[i], static_cast<uint16_t>(10 * (i + 1)), i % 2 == 1);
    const std::pair<const char*, std::function<int(ObjectMap&)>> steps[] = {
        {"NVs from registers", nvListFromRegisters},
        {"objects from registers", masterListFromRegisters},
        {"insert NV at row 0", [](ObjectMap& m) { return insertNV(m, 0); }},
        {"insert register in the middle", [](ObjectMap& m) { return insertRegister(m, 3); }},
        {"switch in the middle",
         [](ObjectMap& m) {
             NVAddRequest request;
             request.snvt = 95;
             request.name = "sw";
             return addNV(m, 3, request);
         }},
        {"allocate for the switch", [](ObjectMap& m) { return allocateForNV(m, 3); }},
        {"register row for a field object",
         [](ObjectMap& m) { return makeRegisterRow(m, m.nvs[4].objectNumber); }},
        {"delete the switch", [](ObjectMap& m) { return deleteNVAt(m, 3); }},
        {"type change with equal rows", [](ObjectMap& m) { return changeNVType(m, 2, 9); }},
        {"type change with unequal rows", [](ObjectMap& m) { return changeNVType(m, 4, 87); }},
        {"add a field to the new struct", [](ObjectMap& m) { return addField(m, 5); }},
        {"delete the first register", [](ObjectMap& m) { return deleteRegister(m, 0); }},
        {"remove register assignments", removeRegisterObjectAssignments},
        {"rebuild registers", rebuildRegisterList},
        {"remove NV assignments", removeNVObjectAssignments},
        {"remove FB numbers", removeNVFbAssignments},
        {"objects from NVs",
         [](ObjectMap& m) {
             // The objects of the deleted switch still describe it, so they block the numbering.
             EXPECT_EQ(masterListFromNVs(m), MasterListFromNVsResult::Conflict);
             return kOk;
         }},
        {"clear NV list", clearNVList},
        {"clear register list", clearRegisterList},
    };
    ASSERT_TRUE(checkLinks(*map));
    for (const auto& [what, step] : steps) {
        EXPECT_EQ(step(*map), kOk) << what;
        ASSERT_TRUE(checkLinks(*map)) << "after " << what;
        ASSERT_EQ(checkNVList(*map), kOk) << "after " << what;
    }
    EXPECT_EQ(map->nvCount, 0);
    EXPECT_EQ(map->registerCount, 0);
}

TEST(LinkScenario, ObjectsReadFromAFileLinkToTheirRowsAndRegisters) {
    auto map = newMap();
    addStandardNV(*map, 8, false, 1, "out1");
    addStandardNV(*map, 95, true, 1, "sw");
    addUserNV(*map, BaseType::STRUCT, false, 2, "user", 4);
    struct ObjectLine {
        int n;
        uint32_t flags;
        uint8_t lonNV, byteOffset;
        uint16_t modreg;
    };
    const ObjectLine lines[] = {
        {1, ObjectFlag::InUse | ObjectFlag::OutputNV, 1, 0, 100},
        {2, ObjectFlag::InUse | ObjectFlag::InputNV | ObjectFlag::Structured, 1, 1, 102},
        {3, ObjectFlag::OutputNV | ObjectFlag::Structured, 2, 4, 0},
        {4, ObjectFlag::InUse | ObjectFlag::OutputNV | ObjectFlag::Structured, 2, 0, 104},
        {5, ObjectFlag::InUse | ObjectFlag::OutputNV | ObjectFlag::Structured, 2, 4, 106}, // takes 3's field
        {1, ObjectFlag::InUse | ObjectFlag::OutputNV, 1, 0, 101},                          // read again
    };
    for (const ObjectLine& line : lines) {
        DataObject& o = *map->object(line.n);
        o.flags = line.flags;
        o.lonNV = line.lonNV;
        o.lonByteOffset = line.byteOffset;
        o.modreg = line.modreg;
        o.modtype = RegisterType::Holding;
        o.syncFlags = SyncFlag::Configured | SyncFlag::InDevice;
        linkObjectToNVList(*map, line.n);
        ASSERT_TRUE(checkLinks(*map)) << "after linking object " << line.n;
        if (o.flags & ObjectFlag::InUse) {
            EXPECT_EQ(appendRegisterRow(*map, line.n), kOk);
        }
        ASSERT_TRUE(checkLinks(*map)) << "after the register of object " << line.n;
    }
    EXPECT_EQ(map->nvCount, 7) << "two field rows were added under the user type";
    EXPECT_EQ(map->registerCount, 4);
    EXPECT_EQ(map->registers[0].regNumber, 101);
    EXPECT_EQ(map->object(2)->nvRow, 4);
    EXPECT_EQ(map->object(5)->nvRow, 6);
    EXPECT_EQ(map->object(4)->nvRow, 7);
    EXPECT_EQ(map->object(3)->nvRow, 0);
    ASSERT_EQ(rebuildRegisterList(*map), kOk);
    EXPECT_TRUE(checkLinks(*map));
    EXPECT_EQ(map->registerCount, 4);
    EXPECT_EQ(map->registers[0].inDevice, 1);
    EXPECT_EQ(checkRegisterList(*map), kOk);
    EXPECT_EQ(checkNVList(*map), kOk);
}

// Random edits and bulk operations; after each one every link must still point back and no
// row beyond either list may hold anything.
TEST(LinkScenario, SeededRandomEditsKeepEveryLinkConsistent) {
    auto map = newMap();
    std::mt19937 rng(20240611);
    const auto pick = [&](int n) { return n <= 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const int types[] = {8, 9, 51, 95, 87, 83};
    using Op = std::function<void(ObjectMap&)>;
    const std::pair<const char*, Op> ops[] = {
        {"insertNV", [&](ObjectMap& m) { insertNV(m, pick(m.nvCount + 1)); }},
        {"addNV",
         [&](ObjectMap& m) {
             NVAddRequest request;
             request.snvt = types[pick(6)];
             request.isInput = pick(2) == 1;
             request.name = "r";
             addNV(m, pick(m.nvCount + 1), request);
         }},
        {"userNV",
         [&](ObjectMap& m) { addUserNV(m, pick(2) ? BaseType::STRUCT : BaseType::UI, pick(2) == 1); }},
        {"addField", [&](ObjectMap& m) { addField(m, pick(m.nvCount)); }},
        {"deleteNV", [&](ObjectMap& m) { deleteNVAt(m, pick(m.nvCount)); }},
        {"changeType", [&](ObjectMap& m) { changeNVType(m, pick(m.nvCount), types[pick(6)]); }},
        {"insertRegister", [&](ObjectMap& m) { insertRegister(m, pick(m.registerCount + 1)); }},
        {"deleteRegister", [&](ObjectMap& m) { deleteRegister(m, pick(m.registerCount)); }},
        {"allocate", [&](ObjectMap& m) { allocateForNV(m, pick(m.nvCount)); }},
        {"makeRegisterRow", [&](ObjectMap& m) { makeRegisterRow(m, 1 + pick(40)); }},
        {"linkObject", [&](ObjectMap& m) { linkObjectToNVList(m, 1 + pick(40)); }},
        {"appendRegisterRow", [&](ObjectMap& m) { appendRegisterRow(m, 1 + pick(40)); }},
        {"assignFb", [&](ObjectMap& m) { assignFbNumbers(m); }},
        {"objectsFromNVs", [&](ObjectMap& m) { masterListFromNVs(m); }},
        {"registersFromMaster", [&](ObjectMap& m) { registerListFromMaster(m); }},
        {"objectsFromRegisters", [&](ObjectMap& m) { masterListFromRegisters(m); }},
        {"nvsFromRegisters", [&](ObjectMap& m) { nvListFromRegisters(m); }},
        {"removeRegisterObjects", [&](ObjectMap& m) { removeRegisterObjectAssignments(m); }},
        {"removeNVObjects", [&](ObjectMap& m) { removeNVObjectAssignments(m); }},
        {"removeFb", [&](ObjectMap& m) { removeNVFbAssignments(m); }},
        {"rebuild", [&](ObjectMap& m) { rebuildRegisterList(m); }},
        {"clearNVs",
         [&](ObjectMap& m) {
             if (pick(8) == 0) clearNVList(m);
         }},
        {"clearRegisters",
         [&](ObjectMap& m) {
             if (pick(8) == 0) clearRegisterList(m);
         }},
    };
    const int opCount = static_cast<int>(std::size(ops));
    for (int step = 0; step < 4000; ++step) {
        const auto& [name, op] = ops[pick(opCount)];
        op(*map);
        ASSERT_TRUE(checkLinks(*map)) << "step " << step << ": " << name;
    }
}

} // namespace
} // namespace korvex
