// Register CSV reader cases found by fuzzing: Modicon numbers whose register part is 0 name no
// register (a file written from them could not be read back), and a zero byte ends a name.
#include "formats/csv/RegisterCsvReader.h"
#include "formats/csv/RegisterCsvWriter.h"
#include "model/FixedText.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <sstream>
#include <string>

namespace korvex {
namespace {

using namespace std::string_literals;

CsvReadResult readCsv(const std::string& text, bool modicon, RegisterImportList& list) {
    std::istringstream in(text);
    return RegisterCsvReader(modicon).read(in, list);
}

TEST(CsvHardening, ModiconNumbersWithoutARegisterPartAreRefused) {
    struct Case {
        std::string text;
        bool option;
        int line;
    } cases[] = {
        {"MODICON\r\n40000\r\n", false, 2},
        {"MODICON,NAME\r\n40001,a\r\n400000,b\r\n", false, 3},
        {"MODICON\r\n300000\r\n", false, 2},
        {"MODICON\r\n10000\r\n", false, 2},
        {"40000\r\n", true, 1}, // the option makes a file without header Modicon-addressed
    };
    for (const Case& c : cases) {
        auto list = std::make_unique<RegisterImportList>();
        const CsvReadResult result = readCsv(c.text, c.option, *list);
        EXPECT_EQ(result.code, CsvResult::InvalidRegisterNumber) << c.text;
        EXPECT_EQ(result.line, c.line) << c.text;
        EXPECT_EQ(csvMessage(result), "Invalid register number at line " + std::to_string(c.line) + "\n");
        EXPECT_EQ(list->count, 0);
    }
    // Register 40000 of a plain file is still a register, and the lowest Modicon numbers too.
    auto list = std::make_unique<RegisterImportList>();
    EXPECT_TRUE(readCsv("40000\r\n", false, *list).ok());
    EXPECT_EQ(list->entries[0].regNumber, 40000);
    EXPECT_TRUE(readCsv("MODICON\r\n40001\r\n400001\r\n00001\r\n", false, *list).ok());
    EXPECT_EQ(list->count, 3);
}

TEST(CsvHardening, EveryFileThatReadsWritesAFileThatReadsBack) {
    for (bool modicon : {false, true}) {
        auto list = std::make_unique<RegisterImportList>();
        ASSERT_TRUE(readCsv("MODICON\r\n40001\r\n465535\r\n30009\r\n", modicon, *list).ok());
        auto map = std::make_unique<ObjectMap>();
        selectAllImported(*list);
        addSelectedRegisters(*list, *map);
        std::ostringstream out;
        ASSERT_EQ(RegisterCsvWriter(modicon).write(out, *map), CsvResult::Ok);
        auto again = std::make_unique<RegisterImportList>();
        const CsvReadResult result = readCsv(out.str(), modicon, *again);
        EXPECT_TRUE(result.ok()) << out.str() << csvMessage(result);
        EXPECT_EQ(again->count, 3);
    }
}

TEST(CsvHardening, AZeroByteEndsTheName) {
    auto list = std::make_unique<RegisterImportList>();
    ASSERT_TRUE(readCsv("REG,NAME\r\n1,ab\0cd\r\n2,\"q\0r,s\"\r\n"s, false, *list).ok());
    EXPECT_EQ(textOf(list->entries[0].name), "ab");
    EXPECT_EQ(textOf(list->entries[1].name), "q");
    for (int i = 0; i < 2; ++i)
        for (char ch : list->entries[i].name)
            EXPECT_TRUE(ch == '\0' || std::isalpha(static_cast<unsigned char>(ch)));
}

} // namespace
} // namespace korvex
