// Register CSV writer and the import list: header and data lines in both modes, CR LF, rows not
// in use skipped, names that need quotes, write failures, write-then-read round trips, the
// selection marks and the add-to-register-list step with its 1000-row stop.
#include "formats/csv/RegisterCsvWriter.h"
#include "formats/csv/RegisterCsvFile.h"
#include "formats/csv/RegisterCsvReader.h"
#include "model/FixedText.h"
#include "vocab/Modicon.h"
#include "vocab/RegisterCodes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace korvex {
namespace {

RegisterDef pump1() {
    RegisterDef r;
    r.defined = 1;
    r.readPeriodic = 1;
    r.regNumber = 100;
    r.type = RegisterType::Holding;
    r.modicon = modicon_from_register(100, RegisterType::Holding);
    r.format = RegisterFormat::U16;
    r.slave = 1;
    setText(r.name, "Pump1");
    return r;
}

std::string written(const ObjectMap& map, bool modicon) {
    std::ostringstream out;
    EXPECT_EQ(RegisterCsvWriter(modicon).write(out, map), CsvResult::Ok);
    return out.str();
}

TEST(RegisterCsvWriter, Pump1InBothModes) {
    auto map = std::make_unique<ObjectMap>();
    map->registers[0] = pump1();
    map->registers[1] = pump1();
    map->registers[1].defined = 0; // not in use: not written
    map->registerCount = 2;
    EXPECT_EQ(written(*map, false), "RW,REG,TYPE,FORMAT,SLAVE,BITNUMBER,PACKED,HIGHREGFIRST,NAME\r\n"
                                    "R,100,HOLD,U16,1,,F,F,Pump1\r\n");
    EXPECT_EQ(written(*map, true), "RW,MODICON,FORMAT,SLAVE,BITNUMBER,PACKED,HIGHREGFIRST,NAME\r\n"
                                   "R,400100,U16,1,,F,F,Pump1\r\n");
}

TEST(RegisterCsvWriter, FieldForms) {
    struct Case {
        void (*edit)(RegisterDef&);
        const char* plain;
        const char* modicon;
    } cases[] = {
        {[](RegisterDef& r) { r.writePeriodic = 1; }, "W,100,HOLD,U16,1,,F,F,Pump1",
         "W,400100,U16,1,,F,F,Pump1"},
        {[](RegisterDef& r) { r.writeOnUpdate = 1, r.readPeriodic = 0; }, "W+,100,HOLD,U16,1,,F,F,Pump1",
         nullptr},
        {[](RegisterDef& r) { r.bitNumber = 32, r.packed = 1, r.highRegFirst = 1; },
         "R,100,HOLD,U16,1,31,T,T,Pump1", nullptr},
        {[](RegisterDef& r) { r.format = 0; }, "R,100,HOLD,NONE,1,,F,F,Pump1", nullptr},
        {[](RegisterDef& r) { r.format = 42, r.type = 9; }, "R,100,NONE,NONE,1,,F,F,Pump1", nullptr},
        {[](RegisterDef& r) { r.type = RegisterType::Coil1, r.regNumber = 1, r.modicon = 1; },
         "R,1,COIL1,U16,1,,F,F,Pump1", "R,000001,U16,1,,F,F,Pump1"},
        {[](RegisterDef& r) { r.regNumber = 10000; }, nullptr, "R,410000,U16,1,,F,F,Pump1"},
        {[](RegisterDef& r) { r.type = RegisterType::Coil, r.regNumber = 60000; }, nullptr,
         "R,60000,U16,1,,F,F,Pump1"},
        {[](RegisterDef& r) { r.type = RegisterType::Input, r.regNumber = 1; }, nullptr,
         "R,300001,U16,1,,F,F,Pump1"},
        {[](RegisterDef& r) { r.type = RegisterType::Coil, r.regNumber = 9999; }, nullptr,
         "R,009999,U16,1,,F,F,Pump1"},
        // The number written comes from type and number, never from a stale stored one.
        {[](RegisterDef& r) { r.modicon = 25000; }, nullptr, "R,400100,U16,1,,F,F,Pump1"},
        {[](RegisterDef& r) { r.modicon = 0; }, nullptr, "R,400100,U16,1,,F,F,Pump1"},
        // A stored number that reads back as the register stays, a digit the notation leaves
        // alone included.
        {[](RegisterDef& r) { r.type = RegisterType::None, r.regNumber = 46452, r.modicon = 546452; },
         nullptr, "R,546452,U16,1,,F,F,Pump1"},
        {[](RegisterDef& r) { setText(r.name, "Flow, main"); }, "R,100,HOLD,U16,1,,F,F,\"Flow, main\"",
         nullptr},
        {[](RegisterDef& r) { setText(r.name, "say \"hi\", bye"); },
         "R,100,HOLD,U16,1,,F,F,'say \"hi\", bye'", nullptr},
        {[](RegisterDef& r) { setText(r.name, "two\rlines"); }, "R,100,HOLD,U16,1,,F,F,two\rlines", nullptr},
        {[](RegisterDef& r) { setText(r.name, "\"a'b"); }, "R,100,HOLD,U16,1,,F,F,\"\"\"a'b\"", nullptr},
        {[](RegisterDef& r) { setText(r.name, ""); }, "R,100,HOLD,U16,1,,F,F,", nullptr},
    };
    for (const auto& c : cases) {
        RegisterDef r = pump1();
        c.edit(r);
        if (c.plain) {
            EXPECT_EQ(RegisterCsvWriter(false).dataLine(r), c.plain);
        }
        if (c.modicon) {
            EXPECT_EQ(RegisterCsvWriter(true).dataLine(r), c.modicon);
        }
    }
}

TEST(RegisterCsvWriter, WhatIsWrittenReadsBack) {
    auto map = std::make_unique<ObjectMap>();
    const std::string names[] = {"Pump1", "Flow, main", "'quoted", std::string(39, 'x')};
    for (int i = 0; i < 4; ++i) {
        RegisterDef r = pump1();
        r.regNumber = static_cast<uint16_t>(i + 1);
        r.modicon = modicon_from_register(r.regNumber, r.type);
        r.bitNumber = static_cast<uint16_t>(i * 8);
        r.mask = mask_from_bit(r.bitNumber);
        r.format = RegisterFormat::S16 + i;
        setText(r.name, names[i]);
        map->registers[i] = r;
    }
    map->registerCount = 4;
    for (bool modicon : {false, true}) {
        std::istringstream in(written(*map, modicon));
        auto list = std::make_unique<RegisterImportList>();
        ASSERT_TRUE(RegisterCsvReader(modicon).read(in, *list).ok());
        ASSERT_EQ(list->count, 4);
        for (int i = 0; i < 4; ++i) {
            RegisterDef expect = map->registers[i];
            expect.defined = 0;
            expect.poll = 1;
            if (modicon) expect.modicon = 400000 + expect.regNumber; // read back in six-digit form
            EXPECT_EQ(list->entries[i], expect) << i << (modicon ? " modicon" : " plain");
        }
    }
}

TEST(RegisterCsvWriter, FormatZeroIsRefusedOnReimport) {
    auto map = std::make_unique<ObjectMap>();
    map->registers[0] = pump1();
    map->registers[0].format = 0;
    map->registerCount = 1;
    std::istringstream in(written(*map, false));
    auto list = std::make_unique<RegisterImportList>();
    EXPECT_EQ(csvMessage(RegisterCsvReader().read(in, *list)), "Unrecognized Modbus format code at line 2\n");
}

TEST(RegisterCsvWriter, AFailedStreamIsReported) {
    auto map = std::make_unique<ObjectMap>();
    map->registers[0] = pump1();
    map->registerCount = 1;
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(RegisterCsvWriter().write(out, *map), CsvResult::WriteFailed);
    EXPECT_STREQ(csvMessageFormat(CsvResult::WriteFailed), "Error writing CSV register list.\n");
}

TEST(RegisterImportList, SelectionAndAddStopAt1000Rows) {
    auto map = std::make_unique<ObjectMap>();
    auto list = std::make_unique<RegisterImportList>();
    list->count = 5;
    for (int i = 0; i < 5; ++i)
        list->entries[i] = pump1(), list->entries[i].defined = 0, list->entries[i].regNumber = i;
    const int picks[] = {1, 3, 7, -1};
    EXPECT_EQ(selectImported(*list, picks), 2);
    map->registerCount = 998;
    EXPECT_EQ(addSelectedRegisters(*list, *map), 2);
    EXPECT_EQ(map->registerCount, 1000);
    EXPECT_EQ(map->registers[998].regNumber, 1);
    EXPECT_EQ(map->registers[999].regNumber, 3);
    EXPECT_EQ(map->registers[999].defined, 1);

    selectAllImported(*list);
    map->registerCount = 997;
    EXPECT_EQ(addSelectedRegisters(*list, *map), 3);
    EXPECT_EQ(map->registers[999].regNumber, 2);
    EXPECT_EQ(addSelectedRegisters(*list, *map), 0);
    EXPECT_EQ(entriesAddedText(3), "3 entries added to list.");

    clearImportList(*list);
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(list->entries[1], RegisterDef{});
}

TEST(RegisterCsvFile, ImportAndExportActions) {
    const auto dir = std::filesystem::temp_directory_path() / ("korvex-csv-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto list = std::make_unique<RegisterImportList>();

    EXPECT_EQ(importRegisterCsvFile((dir / "regs.txt").string(), *list, false).message, "Need a .csv file.");
    const std::string missing = (dir / "missing.CSV").string();
    EXPECT_EQ(importRegisterCsvFile(missing, *list, false).message,
              "Error opening CSV file " + missing + "\n");

    std::ofstream(dir / "bad.csv") << "REG\n1\nx\n";
    EXPECT_EQ(importRegisterCsvFile((dir / "bad.csv").string(), *list, false).message,
              "Invalid Modbus register at line 3\n\nCSV import unsuccessful.");
    EXPECT_EQ(list->count, 0);
    std::ofstream(dir / "empty.csv").flush();
    EXPECT_EQ(importRegisterCsvFile((dir / "empty.csv").string(), *list, false).message,
              "\nCSV import unsuccessful.");

    auto map = std::make_unique<ObjectMap>();
    map->registers[0] = pump1();
    map->registerCount = 1;
    EXPECT_EQ(csvExportPath((dir / "out").string()), (dir / "out.csv").string());
    EXPECT_EQ(csvExportPath("a.csv.bak"), "a.csv.bak");
    const CsvFileOutcome saved = exportRegisterCsvFile((dir / "out.csv").string(), *map, false);
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.fileName, "out.csv");
    const CsvFileOutcome read = importRegisterCsvFile((dir / "out.csv").string(), *list, false);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.message, "1 registers parsed from out.csv.");

    const std::string noDir = (dir / "gone" / "x.csv").string();
    EXPECT_EQ(exportRegisterCsvFile(noDir, *map, false).message, "Error opening CSV file " + noDir + "\n");
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace korvex
