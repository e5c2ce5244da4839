// Register CSV reader: header detection, headerless and Modicon files, the column parsers with
// their defaults, every message with its line number, the 1000-register limit, long lines,
// hostile input (long names, huge numbers, stray bytes).
#include "formats/csv/RegisterCsvReader.h"
#include "model/FixedText.h"
#include "vocab/RegisterCodes.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace korvex {
namespace {

struct Read {
    std::unique_ptr<RegisterImportList> list = std::make_unique<RegisterImportList>();
    CsvReadResult result;
    const RegisterDef& at(int i) const { return list->entries[i]; }
};

Read readCsv(const std::string& text, bool modicon = false) {
    Read r;
    std::istringstream in(text);
    r.result = RegisterCsvReader(modicon).read(in, *r.list);
    return r;
}

const std::string kHeader = "RW,REG,TYPE,FORMAT,SLAVE,BITNUMBER,PACKED,HIGHREGFIRST,NAME\r\n";

TEST(RegisterCsvReader, SingleNumberFilesPickTheirAddressingFromTheNumber) {
    struct Case {
        const char* text;
        uint16_t reg;
        int32_t type;
        int32_t modicon;
    } cases[] = {
        {"40001", 1, RegisterType::Holding, 40001},
        {"100", 100, RegisterType::Holding, 40100},
        {"40001\r\n30005\r\n", 1, RegisterType::Holding, 40001}, // later lines read as Modicon too
        {"  49999, anything", 9999, RegisterType::Holding, 49999},
    };
    for (const auto& c : cases) {
        const Read r = readCsv(c.text);
        ASSERT_TRUE(r.result.ok()) << c.text;
        EXPECT_EQ(r.at(0).regNumber, c.reg) << c.text;
        EXPECT_EQ(r.at(0).type, c.type) << c.text;
        EXPECT_EQ(r.at(0).modicon, c.modicon) << c.text;
        EXPECT_EQ(r.at(0).format, RegisterFormat::U16);
        EXPECT_EQ(r.at(0).slave, 1);
        EXPECT_EQ(r.at(0).poll, 1);
        EXPECT_EQ(r.at(0).readPeriodic, 1);
        EXPECT_EQ(r.at(0).defined, 0) << "selection mark starts clear";
    }
    const Read two = readCsv("40001\r\n30005\r\n");
    EXPECT_EQ(two.list->count, 2);
    EXPECT_EQ(two.at(1).type, RegisterType::Input);
    EXPECT_EQ(two.at(1).regNumber, 5);
}

TEST(RegisterCsvReader, HeaderedFileReadsEveryColumn) {
    const Read r = readCsv(kHeader + "W+,10,HOLD1,S32,0,,T,F,Valve\r\n");
    ASSERT_TRUE(r.result.ok());
    ASSERT_EQ(r.list->count, 1);
    const RegisterDef& e = r.at(0);
    EXPECT_EQ(e.writeOnUpdate, 1);
    EXPECT_EQ(e.writePeriodic, 0);
    EXPECT_EQ(e.readPeriodic, 0);
    EXPECT_EQ(e.regNumber, 10);
    EXPECT_EQ(e.type, RegisterType::Holding1);
    EXPECT_EQ(e.format, RegisterFormat::S32);
    EXPECT_EQ(e.slave, 1);
    EXPECT_EQ(e.bitNumber, 0);
    EXPECT_EQ(e.mask, 0u);
    EXPECT_EQ(e.packed, 1);
    EXPECT_EQ(e.highRegFirst, 0);
    EXPECT_EQ(textOf(e.name), "Valve");
    EXPECT_EQ(e.modicon, 40010);
    EXPECT_EQ(e.scale, 0.0f);
}

TEST(RegisterCsvReader, LowerCaseHeaderIsRecognisedAndFlagsMayBeLowerCase) {
    const Read r =
        readCsv("rw,reg,type,format,slave,bitnumber,packed,highregfirst,name\nw,7,COIL,BIT,3,2,f,t,x\n");
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.at(0).writePeriodic, 1);
    EXPECT_EQ(r.at(0).type, RegisterType::Coil);
    EXPECT_EQ(r.at(0).highRegFirst, 1);
    EXPECT_EQ(r.at(0).bitNumber, 3);
    EXPECT_EQ(r.at(0).mask, 4u);
    const Read lower = readCsv("rw,reg,type,format\nr,7,hold,U16\n");
    EXPECT_EQ(lower.result.code, CsvResult::UnrecognizedType);
    EXPECT_EQ(lower.result.line, 2);
}

TEST(RegisterCsvReader, KeywordsMatchByPrefix) {
    const Read r = readCsv("REG,TYPE,FORMAT\n5,COIL12,FPX\n6,INPUTS,M104\n");
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.at(0).type, RegisterType::Coil1);
    EXPECT_EQ(r.at(0).format, RegisterFormat::FP);
    EXPECT_EQ(r.at(1).type, RegisterType::Input);
    EXPECT_EQ(r.at(1).format, RegisterFormat::M104);
    EXPECT_EQ(r.at(1).modicon, 30006);
}

TEST(RegisterCsvReader, UnknownHeaderPiecesAddNoColumn) {
    const Read r = readCsv("Comment,REGISTER,Units,NAME\n12,Flow\n");
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.at(0).regNumber, 12);
    EXPECT_EQ(textOf(r.at(0).name), "Flow");
    EXPECT_EQ(r.at(0).type, RegisterType::Holding) << "no TYPE column";
}

TEST(RegisterCsvReader, ModiconFiles) {
    const Read header = readCsv("RW,MODICON,FORMAT,NAME\nR,300012,S16,t\nW,000005,BIT,c\n");
    ASSERT_TRUE(header.result.ok());
    EXPECT_EQ(header.at(0).type, RegisterType::Input);
    EXPECT_EQ(header.at(0).regNumber, 12);
    EXPECT_EQ(header.at(1).type, RegisterType::Coil);
    EXPECT_EQ(header.at(1).regNumber, 5);

    // The Modicon option makes a REG/TYPE file Modicon-addressed: it has no Modicon numbers.
    const Read option = readCsv(kHeader + "R,100,HOLD,U16,1,,F,F,Pump1\r\n", true);
    EXPECT_EQ(option.result.code, CsvResult::InvalidRegisterNumber);
    EXPECT_EQ(csvMessage(option.result), "Invalid register number at line 2\n");

    const Read plain = readCsv("100\n", true);
    EXPECT_EQ(plain.at(0).type, RegisterType::Coil) << "the option reads 100 as Modicon 000100";
}

TEST(RegisterCsvReader, BitNumbers) {
    const Read ok = readCsv("REG,BITNUMBER\n1,31\n2,0\n3,\n4\n");
    ASSERT_TRUE(ok.result.ok());
    EXPECT_EQ(ok.at(0).mask, 0x80000000u);
    EXPECT_EQ(ok.at(0).bitNumber, 32);
    EXPECT_EQ(ok.at(1).mask, 1u);
    EXPECT_EQ(ok.at(2).bitNumber, 0);
    EXPECT_EQ(ok.at(3).bitNumber, 0);
    const Read bad = readCsv("REG,BITNUMBER\n1,32\n");
    EXPECT_EQ(csvMessage(bad.result), "Invalid Modbus bit number at line 2\n");
    EXPECT_EQ(bad.list->count, 0);
}

TEST(RegisterCsvReader, EveryColumnMessageNamesTheLine) {
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {"X,1,HOLD,U16,1,,F,F,n", "Invalid flag at line 3\n"},
        {"R,,HOLD,U16,1,,F,F,n", "Invalid Modbus register at line 3\n"},
        {"R,1,REG,U16,1,,F,F,n", "Unrecognized Modbus register type code at line 3\n"},
        {"R,1,HOLD,NONE,1,,F,F,n", "Unrecognized Modbus format code at line 3\n"},
        {"R,1,HOLD,U16,x,,F,F,n", "Invalid Modbus slave id/unit at line 3\n"},
        {"R,1,HOLD,U16,1,z,F,F,n", "Invalid Modbus bit number at line 3\n"},
        {"R,1,HOLD,U16,1,, F,F,n", "Invalid flag at line 3\n"},
        {"R,1,HOLD,U16,1,,F,Y,n", "Invalid flag at line 3\n"},
        {"R,0,HOLD,U16,1,,F,F,n", "Invalid register number at line 3\n"},
        {"", "Invalid flag at line 3\n"},
    };
    for (const auto& c : cases) {
        const Read r =
            readCsv(kHeader + "R,9,HOLD,U16,1,,F,F,ok\r\n" + c.line + "\r\nR,9,HOLD,U16,1,,F,F,ok\r\n");
        EXPECT_EQ(csvMessage(r.result), c.message) << c.line;
        EXPECT_EQ(r.list->count, 0) << c.line;
    }
}

TEST(RegisterCsvReader, WholeFileFailures) {
    struct Case {
        std::string text;
        const char* message;
        CsvResult code;
    } cases[] = {
        {"", "", CsvResult::EmptyFile},
        {"ABC\n1\n", "Unable to recognize file contents.", CsvResult::UnrecognizedContents},
        {kHeader, "No registers found.", CsvResult::NoRegisters},
        {"-5\n", "Invalid Modbus register at line 1\n", CsvResult::InvalidRegister},
        {"0\n", "Invalid register number at line 1\n", CsvResult::InvalidRegisterNumber},
    };
    for (const auto& c : cases) {
        const Read r = readCsv(c.text);
        EXPECT_EQ(r.result.code, c.code) << c.text;
        EXPECT_EQ(csvMessage(r.result), c.message) << c.text;
    }
}

TEST(RegisterCsvReader, NumbersBeyondTheirFieldAreRefusedNotCut) {
    struct Case {
        const char* text;
        CsvResult code;
    } cases[] = {
        {"REG\n65535\n", CsvResult::Ok},
        {"REG\n65536\n", CsvResult::InvalidRegister},
        {"REG\n99999999999999999999999\n", CsvResult::InvalidRegister},
        {"REG,SLAVE\n1,255\n", CsvResult::Ok},
        {"REG,SLAVE\n1,256\n", CsvResult::InvalidSlave},
        {"MODICON\n465535\n", CsvResult::Ok},
        {"MODICON\n499999\n", CsvResult::InvalidRegister},
        {"MODICON\n2147483648\n", CsvResult::InvalidRegister},
    };
    for (const auto& c : cases) EXPECT_EQ(readCsv(c.text).result.code, c.code) << c.text;
}

TEST(RegisterCsvReader, ThousandRegistersFitAndOneMoreDoesNot) {
    std::string text = kHeader;
    for (int i = 1; i <= 1000; ++i) text += "R," + std::to_string(i) + ",HOLD,U16,1,,F,F,r\r\n";
    const Read full = readCsv(text);
    ASSERT_TRUE(full.result.ok());
    EXPECT_EQ(full.list->count, 1000);
    EXPECT_EQ(full.at(999).regNumber, 1000);

    const Read over = readCsv(text + "R,1001,HOLD,U16,1,,F,F,r\r\n");
    EXPECT_EQ(csvMessage(over.result), "List size exceeded.");
    EXPECT_EQ(over.list->count, 0);

    std::string bare;
    for (int i = 1; i <= 1001; ++i) bare += std::to_string(i) + "\n";
    EXPECT_EQ(readCsv(bare).result.code, CsvResult::ListSizeExceeded) << "headerless, first line counts";
}

TEST(RegisterCsvReader, NamesQuotedUnquotedAndTooLong) {
    struct Case {
        std::string field;
        std::string name;
    } cases[] = {
        {"\"Flow, main\"", "Flow, main"},
        {"'Level'", "Level"},
        {"\"unterminated", ""},
        {"plain name", "plain name"},
        {std::string(39, 'a'), std::string(39, 'a')},
        {std::string(40, 'b'), std::string(39, 'b')},
        {std::string(1900, 'c'), std::string(39, 'c')},
    };
    for (const auto& c : cases) {
        const Read r = readCsv("REG,NAME\n1," + c.field + "\r\n");
        ASSERT_TRUE(r.result.ok()) << c.field.size();
        EXPECT_EQ(textOf(r.at(0).name), c.name);
    }
    // A comma inside a quoted name ends the field for the columns after NAME.
    const Read after = readCsv("NAME,REG\n\"a,7\",9\n");
    EXPECT_EQ(after.at(0).regNumber, 7);
}

TEST(RegisterCsvReader, LongLinesAreReadInPiecesOf1998) {
    const std::string name(1998 - 2, 'n'); // "1," + name is exactly 1998 characters
    const Read exact = readCsv("REG,NAME\r\n1," + name + "\r\n2,x\r\n");
    ASSERT_TRUE(exact.result.ok());
    EXPECT_EQ(exact.list->count, 2);

    // One character more makes a second piece, read as line 3.
    const Read over = readCsv("REG,NAME\r\n1," + name + "Z\r\n2,x\r\n");
    EXPECT_EQ(csvMessage(over.result), "Invalid Modbus register at line 3\n");
}

TEST(RegisterCsvReader, LineEndsAndStrayBytes) {
    const Read lf = readCsv(kHeader + "R,1,HOLD,U16,1,,F,F,a\nR,2,HOLD,U16,1,,F,F,b");
    ASSERT_TRUE(lf.result.ok());
    EXPECT_EQ(textOf(lf.at(1).name), "b");
    EXPECT_EQ(textOf(lf.at(0).name), "a");

    static const char kNul[] = "REG,NAME\n1,ab\0cd\n";
    const Read nul = readCsv(std::string(kNul, sizeof kNul - 1));
    ASSERT_TRUE(nul.result.ok());
    EXPECT_EQ(textOf(nul.at(0).name), "ab");
}

TEST(RegisterCsvReader, MoreThanTenRecognisedColumnsKeepTheFirstTen) {
    const Read r = readCsv("RW,REG,TYPE,FORMAT,SLAVE,BITNUMBER,PACKED,HIGHREGFIRST,NAME,REG,SLAVE\n"
                           "R,1,HOLD,U16,2,,F,F,n,5,9\n");
    ASSERT_TRUE(r.result.ok());
    EXPECT_EQ(r.at(0).regNumber, 5) << "the tenth column is a second REG";
    EXPECT_EQ(r.at(0).slave, 2) << "the eleventh column is ignored";
}

} // namespace
} // namespace korvex
