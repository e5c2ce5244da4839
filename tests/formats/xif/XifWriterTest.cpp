// XIF writer: the whole file of an empty NV list byte for byte, the name rule and uniqueness,
// type descriptions of every category case, the value file, program ID and location bytes, the
// date text, and re-importing an exported file.
#include "formats/xif/XifWriter.h"
#include "formats/xif/NvImport.h"
#include "formats/xif/XifFile.h"
#include "formats/xif/XifReader.h"
#include "formats/xif/XifTypeText.h"
#include "model/FixedText.h"
#include "model/lists/ListEditing.h"
#include "vocab/SnvtCatalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace korvex {
namespace {

XifHeaderInfo header() {
    XifHeaderInfo h;
    h.fileName = "empty.xif";
    h.modelName = "Korvex-A";
    h.dateText = "Mon Jan 6 09:03:07 2025";
    return h;
}

NetVar& addRow(ObjectMap& map, int snvt, bool input, int fb, const char* name, uint8_t baseType) {
    NetVar& nv = map.nvs[map.nvCount++];
    nv.defined = 1;
    nv.snvt = static_cast<uint8_t>(snvt);
    nv.size = snvt ? snvt_size(snvt) : 1;
    nv.baseType = baseType;
    nv.isInput = input ? 1 : 0;
    nv.fbNumber = fb;
    setText(nv.name, name);
    return nv;
}

// The lines of the block whose VAR line has NV index `index`, up to the next VAR or blank line.
std::string blockOf(const std::string& text, int index) {
    const std::string marker = " " + std::to_string(index) + " 0 0 0\r\n";
    std::size_t at = text.find(marker);
    at = text.rfind("VAR ", at);
    const std::size_t end = std::min(text.find("\r\nVAR ", at), text.find("\r\n\r\n", at));
    return text.substr(at, end - at + 2);
}

TEST(XifWriter, EmptyListGivesTheReferenceFileByteForByte) {
    auto map = std::make_unique<ObjectMap>();
    std::ifstream in(std::string(KORVEX_TEST_SOURCE_DIR) + "/tests/data/empty-map.xif", std::ios::binary);
    ASSERT_TRUE(in);
    std::stringstream expected;
    expected << in.rdbuf();
    const std::string text = XifWriter().text(*map, header());
    EXPECT_EQ(text, expected.str());

    int vars = 0, defaults = 0;
    for (std::size_t at = text.find("VAR "); at != std::string::npos; at = text.find("VAR ", at + 1)) ++vars;
    for (int b = 1; b <= 120; ++b) {
        defaults += text.find("VAR nvoSenValue_" + std::to_string(b) + " " + std::to_string(b + 2) +
                              " 0 0 0\r\n") != std::string::npos;
        defaults += text.find("VAR nviActValue_" + std::to_string(b) + " " + std::to_string(b + 122) +
                              " 0 0 0\r\n") != std::string::npos;
    }
    EXPECT_EQ(vars, 243);
    EXPECT_EQ(defaults, 240);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
}

TEST(XifWriter, NameRuleChangesTheStoredNameAndNeedsUniqueness) {
    auto map = std::make_unique<ObjectMap>();
    addRow(*map, 8, false, 5, "Flow Rate #2", NvtCatUnsignedLong);
    addRow(*map, 8, false, 6, "Twin", NvtCatUnsignedLong);
    addRow(*map, 8, true, 6, "Twin", NvtCatUnsignedLong);
    addRow(*map, 8, true, 7, "", NvtCatUnsignedLong);
    addRow(*map, 8, true, 8, "AVeryLongNameIndeed", NvtCatUnsignedLong);
    const std::string text = XifWriter().text(*map, header());
    EXPECT_NE(text.find("VAR Flow_Rate__2 7 0 0 0\r\n"), std::string::npos);
    EXPECT_EQ(textOf(map->nvs[0].name), "Flow_Rate__2");
    EXPECT_NE(text.find("VAR nvoSenValue_6 8 0 0 0\r\n"), std::string::npos);
    EXPECT_NE(text.find("VAR nviActValue_6 128 0 0 0\r\n"), std::string::npos);
    EXPECT_NE(text.find("VAR nviActValue_7 129 0 0 0\r\n"), std::string::npos);
    EXPECT_NE(text.find("VAR AVeryLongNameInd 130 0 0 0\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"@128|1?\r\n"), std::string::npos) << "actuator documentation is block + 120";
}

TEST(XifWriter, AStructuredNVKeepsItsNameAgainstItsOwnFieldRows) {
    auto map = std::make_unique<ObjectMap>();
    NVAddRequest request;
    request.snvt = 95;
    request.fbNumber = 1;
    request.name = "nvo Switch";
    ASSERT_EQ(addNV(*map, 0, request), kOk);
    ASSERT_EQ(map->nvCount, 3);
    addRow(*map, 8, false, 2, "nvo_Switch", NvtCatUnsignedLong); // another NV: a clash
    request.name = "nvoOther";
    request.fbNumber = 3;
    ASSERT_EQ(addNV(*map, map->nvCount, request), kOk);
    const std::string text = XifWriter().text(*map, header());
    EXPECT_NE(text.find("VAR nvoSenValue_1 3 0 0 0"), std::string::npos);
    EXPECT_NE(text.find("VAR nvoSenValue_2 4 0 0 0"), std::string::npos);
    EXPECT_NE(text.find("VAR nvoOther 5 0 0 0"), std::string::npos);
    EXPECT_EQ(textOf(map->nvs[5].name), "nvoOther") << "field rows follow their header's name";
}

TEST(XifWriter, TypeDescriptions) {
    struct Case {
        int snvt;
        uint8_t baseType;
        uint8_t size;
        const char* lines;
    } cases[] = {
        {39, NvtCatSignedLong, 2, "39 * 1\n2 0 0 1 0\n"},
        {39, 0, 2, "39 * 1\n4 0 2 0 0\n"},
        {7, NvtCatUnsignedChar, 1, "7 * 1\n0 0 0 0 0\n"},
        {0, NvtCatSignedChar, 1, "0 * 1\n0 0 0 1 0\n"},
        {0, NvtCatSignedShort, 1, "0 * 1\n1 0 0 1 0\n"},
        {22, NvtCatEnum, 1, "22 * 1\n1 0 0 0 0\n"},
        {9, NvtCatUnsignedShort, 1, "9 * 1\n1 0 0 0 0\n"},
        {8, NvtCatUnsignedLong, 2, "8 * 1\n2 0 0 0 0\n"},
        {51, NvtCatFloat, 4, "51 * 1\n4 0 4 0 0\n"},
        {95, NvtCatStruct, 2, "95 * 2\n1 0 0 0 0\n1 0 0 1 0\n"},
        {10, NvtCatStruct, 4, "10 * 1\n4 0 4 0 0\n"},
        {0, NvtCatStruct, 6, "0 * 1\n4 0 6 0 0\n"},
        {127, NvtCatStruct, 3,
         "127 * 8\n1 0 0 0 0\n1 0 0 0 0\n3 0 1 0 0\n3 1 1 0 0\n3 2 1 0 0\n3 3 1 0 0\n3 4 1 0 0\n"
         "3 5 1 0 0\n"},
        {88, NvtCatStruct, 29,
         "88 * 14\n0 0 0 0 0\n2 0 0 0 0\n1 0 0 0 0\n1 0 0 0 0\n2 0 0 0 0\n1 0 0 0 0\n"
         "2 0 0 0 0\n1 0 0 0 0\n1 0 0 0 0\n1 0 0 0 0\n1 0 0 0 0\n1 0 0 0 0\n2 0 0 0 0\n1 0 0 0 0\n"},
        {164, NvtCatStruct, 31,
         "164 * 6\n1 0 0 0 0\n1 0 0 0 0\n4 0 4 0 0\n2 0 0 1 0\n1 0 0 0 0\n0 0 0 0 0\n"},
    };
    for (const auto& c : cases) {
        auto map = std::make_unique<ObjectMap>();
        NetVar& nv = addRow(*map, c.snvt, false, 1, "n", c.baseType);
        nv.size = c.size;
        EXPECT_EQ(xifTypeDescription(*map, 0), c.lines) << c.snvt << " " << int(c.baseType);
    }
}

TEST(XifWriter, UserStructureMembersCountOnlyWhatTheyWrite) {
    auto map = std::make_unique<ObjectMap>();
    addRow(*map, 0, false, 1, "u", NvtCatStruct).size = 9;
    const uint8_t members[][3] = {{NvtCatSignedLong, 2, 0}, {NvtCatBitfield, 1, 5}, {NvtCatArray, 3, 0},
                                  {NvtCatStruct, 2, 0},     {NvtCatFloat, 4, 0},    {NvtCatNul, 1, 0}};
    for (const auto& m : members) {
        NetVar& f = addRow(*map, 0, false, 1, "u", m[0]);
        f.isField = 1;
        f.size = m[1];
        f.bitOffset = m[2];
    }
    addRow(*map, 0, false, 2, "next", NvtCatSignedLong);
    EXPECT_EQ(xifTypeDescription(*map, 0), "0 * 4\n2 0 0 1 0\n3 5 1 0 0\n4 0 3 0 0\n4 0 4 0 0\n");
}

TEST(XifWriter, ValueFileAndIdentityBytes) {
    auto map = std::make_unique<ObjectMap>();
    NetVar& out = addRow(*map, 39, false, 1, "nvoTemp", NvtCatSignedLong);
    out.scaleA = 1;
    out.scaleB = -1;
    out.scaleC = -2740;
    out.scope = 3;
    out.programId = {0x90, 0, 0, 0, 0, 0, 0, 0xAB};
    out.maxSendTime = SendTime{5, 4, 3, 0x1234};
    out.minSendTime = SendTime{15, 0, 300, 0};
    addRow(*map, 8, true, 120, "nviLast", NvtCatUnsignedLong);
    map->node.pid = 0x7F;
    setText(map->node.loc, "Plant\xE9 room 2, level 3, north w"); // 31 bytes, one above 127
    const std::string text = XifWriter().text(*map, header());

    EXPECT_NE(text.find("\r\n80:0A:5C:47:1E:84:04:7F\r\n"), std::string::npos);
    const std::string sensor1 = "FILE value 1 1\r\n"
                                "\\x12 \\x34 \\x03 \\x04 \\x05 \\x00 \\x00\r\n"
                                "\\x00 \\x00 \\x2C \\x00 \\x0F \\x00 \\x00\r\n"
                                "\\x90 \\x00 \\x00 \\x00 \\x00 \\x00 \\x00 \\xAB\r\n"
                                "\t\\x03 \\x00 \\x27 \\x05 \\x02 \\x00 \\x01 \\xFF\r\n"
                                "\t\\xFF \\xF5 \\x4C\r\n";
    EXPECT_NE(text.find(sensor1), std::string::npos);
    const std::string lastActuator = "\\x00 \\x00 \\x00 \\x00 \\x00 \\x00 \\x00 \\x00\r\n"
                                     "\t\\x00 \\x00 \\x08 \\x06 \\x02 \\x00 \\x00 \\x00\r\n"
                                     "\t\\x00 \\x00 \\x00\r\n"
                                     "\\x50 \\x6C \\x61 \\x6E \\x74 \\xE9 \\x20 \\x72\r\n"
                                     "\t\\x6F \\x6F \\x6D \\x20 \\x32 \\x2C \\x20 \\x6C\r\n"
                                     "\t\\x65 \\x76 \\x65 \\x6C \\x20 \\x33 \\x2C \\x20\r\n"
                                     "\t\\x6E \\x6F \\x72 \\x74 \\x68 \\x20 \\x77\r\n\r\nFILE readOnly";
    EXPECT_NE(text.find(lastActuator), std::string::npos);
    EXPECT_EQ(blockOf(text, 3),
              "VAR nvoTemp 3 0 0 0\r\n0 1 63 1 0 1 0 1 0 1 0 0 0\r\n\"@1|1?\r\n39 * 1\r\n2 0 0 1 0\r\n");
}

TEST(XifWriter, HeaderAndDate) {
    std::tm when{};
    when.tm_wday = 3;
    when.tm_mon = 0;
    when.tm_mday = 5;
    when.tm_hour = 9;
    when.tm_min = 3;
    when.tm_sec = 7;
    when.tm_year = 125;
    EXPECT_EQ(xifDateText(when), "Wed Jan 5 09:03:07 2025");
    EXPECT_EQ(xifModelName(2), "Korvex-C");
    EXPECT_EQ(xifModelName(7), "Unrecognized");
    auto map = std::make_unique<ObjectMap>();
    XifHeaderInfo h = header();
    h.fileName = "gw\r\n.xif";
    const std::string text = XifWriter().text(*map, h);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "File: gw  .xif generated by Korvex-A Tool v2.14, XIF Version 4.402");
    const std::size_t line3 = text.find("Run on Mon Jan 6 09:03:07 2025\r\n\r\n80:0A:5C:47:1E:84:04:01\r\n");
    EXPECT_NE(line3, std::string::npos);
}

TEST(XifWriter, ReimportingAnExportGives243NVsWithDirectionsReversed) {
    auto map = std::make_unique<ObjectMap>();
    addRow(*map, 39, false, 4, "nvoTemp", NvtCatSignedLong);
    addRow(*map, 95, true, 9, "nviSwitch", NvtCatStruct);
    std::istringstream in(XifWriter().text(*map, header()));
    auto table = std::make_unique<ImportTable>();
    ASSERT_EQ(XifReader().read(in, *table), 243);
    EXPECT_EQ(textOf(table->entries[0].name), "nviRequest");
    EXPECT_EQ(table->entries[0].isInput, 1);
    EXPECT_EQ(table->entries[0].typeIndex, 92);
    EXPECT_EQ(textOf(table->entries[6].name), "nvoTemp");
    EXPECT_EQ(table->entries[6].typeIndex, 39);
    EXPECT_EQ(table->entries[6].isInput, 0);
    EXPECT_EQ(textOf(table->entries[131].name), "nviSwitch");
    EXPECT_EQ(table->entries[131].isInput, 1);
    EXPECT_EQ(textOf(table->entries[242].name), "nviActValue_120");

    auto gateway = std::make_unique<ObjectMap>();
    selectAllImportEntries(*table);
    EXPECT_EQ(add_selected(*table, *gateway), 243 + 2) << "SNVT_switch adds its two field rows";
    EXPECT_EQ(gateway->nvs[0].isInput, 0) << "nviRequest becomes an output of the gateway";
    for (int r = 0; r < gateway->nvCount; ++r) EXPECT_EQ(gateway->nvs[r].defined, 1);
}

TEST(XifFile, ExportActionPathsAndFailures) {
    EXPECT_EQ(xifExportPath("/tmp/gw"), "/tmp/gw.xif");
    EXPECT_EQ(xifExportPath("/tmp/gw.xif"), "/tmp/gw.xif");
    EXPECT_EQ(xifExportPath("/tmp/GW.XIF"), "/tmp/GW.XIF.xif");
    auto map = std::make_unique<ObjectMap>();
    const std::string bad = "/nonexistent-dir/gw.xif";
    EXPECT_EQ(exportXifFile(bad, *map, "Korvex-A", "now").message, "Error creating XIF file " + bad + "\n");
    const XifFileOutcome full = exportXifFile("/dev/full", *map, "Korvex-A", "now");
    EXPECT_FALSE(full.ok) << "a write that fails is not reported as saved";
}

} // namespace
} // namespace korvex
