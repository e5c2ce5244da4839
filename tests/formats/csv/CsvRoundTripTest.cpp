// What the register CSV export writes reads back as the same registers, or is refused by name
// with the file left alone: every register type at numbers around the Modicon thresholds, in
// both notations, and every name a register can hold.
#include "formats/csv/RegisterCsvFile.h"
#include "formats/csv/RegisterCsvReader.h"
#include "formats/csv/RegisterCsvWriter.h"
#include "model/FixedText.h"
#include "support/FileText.h"
#include "vocab/RegisterCodes.h"
#include "vocab/RegisterNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <sstream>

namespace korvex {
namespace {

namespace fs = std::filesystem;

RegisterDef holding(uint16_t number, int32_t type = RegisterType::Holding) {
    RegisterDef r;
    r.defined = 1;
    r.readPeriodic = 1;
    r.regNumber = number;
    r.type = type;
    r.format = RegisterFormat::U16;
    r.slave = 1;
    setText(r.name, "P");
    return r;
}

using korvex::test::slurp;

// The type a register comes back as: the notation folds single-write coils and holding
// registers, and NONE, into COIL and HOLD.
int32_t typeReadBack(int32_t type, bool modicon) {
    if (!modicon) return type;
    if (type == RegisterType::None || type == RegisterType::Coil1) return RegisterType::Coil;
    return type == RegisterType::Holding1 ? RegisterType::Holding : type;
}

TEST(CsvRoundTrip, EveryTypeAndNumberReadsBackOrIsRefusedWithTheFileUntouched) {
    const fs::path dir = fs::temp_directory_path() / ("korvex-csv-rt-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "out.csv";
    const uint16_t numbers[] = {0, 1, 9999, 10000, 12345, 19999, 20000, 30000, 40000, 65535};
    auto map = std::make_unique<ObjectMap>();
    auto list = std::make_unique<RegisterImportList>();
    map->registerCount = 1;
    for (bool modicon : {false, true}) {
        for (int32_t type = 0; type < RegisterType::Count; ++type) {
            for (uint16_t number : numbers) {
                map->registers[0] = holding(number, type);
                std::ofstream(file, std::ios::binary) << "old";
                const CsvFileOutcome out = exportRegisterCsvFile(file.string(), *map, modicon);
                const std::string what = std::string(register_type_keyword(type)) + " " +
                                         std::to_string(number) + (modicon ? " modicon" : " plain");
                // Refused: number 0, and in Modicon notation the coil numbers a five-digit form
                // would read as another type.
                const bool coilDigit = typeReadBack(type, true) == RegisterType::Coil;
                const bool refuse =
                    number == 0 || (modicon && coilDigit && number >= 10000 && number < 50000);
                ASSERT_EQ(out.ok, !refuse) << what << ": " << out.message;
                if (refuse) {
                    EXPECT_EQ(slurp(file), "old") << what;
                    EXPECT_NE(out.message.find("Register row 1 (" + std::string(register_type_keyword(type)) +
                                               " " + std::to_string(number) + ")"),
                              std::string::npos)
                        << out.message;
                    continue;
                }
                ASSERT_TRUE(importRegisterCsvFile(file.string(), *list, modicon).ok) << what;
                ASSERT_EQ(list->count, 1) << what;
                EXPECT_EQ(list->entries[0].type, typeReadBack(type, modicon)) << what;
                EXPECT_EQ(list->entries[0].regNumber, number) << what;
            }
        }
    }
    map->registers[0] = holding(12345, RegisterType::Coil);
    EXPECT_EQ(exportRegisterCsvFile(file.string(), *map, true).message,
              "Register row 1 (COIL 12345) cannot be written in Modicon notation: it would read back as DISC "
              "2345; nothing was written.");
    map->registers[0] = holding(0);
    EXPECT_EQ(exportRegisterCsvFile(file.string(), *map, false).message,
              "Register row 1 (HOLD 0) has no register number; nothing was written.");
    fs::remove_all(dir);
}

// Names drawn from the characters that trip a CSV line: commas, both quotes, blanks, CR, tab and
// bytes above 127, at every length the name field holds.
std::vector<std::string> trickyNames() {
    std::vector<std::string> names{"\"a'b",
                                   "'a\"b",
                                   "\"",
                                   "'",
                                   ",",
                                   "\"\"",
                                   "\"a,b'",
                                   " lead",
                                   "trail ",
                                   "\r",
                                   "x\r",
                                   std::string(39, '"'),
                                   std::string(39, '\''),
                                   ""};
    const std::string alphabet = "aZ0,\"' \r\t;\xE9";
    std::mt19937 random(16);
    while (names.size() < 1000) {
        std::string name(random() % 40, ' ');
        for (char& ch : name) ch = alphabet[random() % alphabet.size()];
        names.push_back(name);
    }
    return names;
}

TEST(CsvRoundTrip, EveryNameReadsBackIdentical) {
    const std::vector<std::string> names = trickyNames();
    auto map = std::make_unique<ObjectMap>();
    for (std::size_t i = 0; i < names.size(); ++i) {
        map->registers[i] = holding(static_cast<uint16_t>(i + 1));
        setText(map->registers[i].name, names[i]);
    }
    map->registerCount = static_cast<int>(names.size());
    auto list = std::make_unique<RegisterImportList>();
    for (bool modicon : {false, true}) {
        const RegisterCsvWriter writer(modicon);
        ASSERT_EQ(writer.refusal(*map), "");
        std::ostringstream out;
        ASSERT_EQ(writer.write(out, *map), CsvResult::Ok);
        std::istringstream in(out.str());
        ASSERT_TRUE(RegisterCsvReader(modicon).read(in, *list).ok());
        ASSERT_EQ(list->count, static_cast<int>(names.size()));
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(textOf(list->entries[i].name), names[i]) << i << (modicon ? " modicon" : " plain");
    }
    // A line feed is the one character a CSV line cannot carry.
    setText(map->registers[2].name, "two\nlines");
    EXPECT_EQ(
        RegisterCsvWriter(false).refusal(*map),
        "Register row 3 (HOLD 3) has a line break in its name, which a CSV line cannot carry; nothing was "
        "written.");
}

} // namespace
} // namespace korvex
