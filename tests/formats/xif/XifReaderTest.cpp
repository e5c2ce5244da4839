// XIF reader and the NV import table: line counting with comments, the expected count of line 6,
// the NV section after the first blank line, VAR/attribute/type states, arrays, types and sizes,
// stopping at the expected count; hostile files (indices beyond the table, long names, huge
// numbers, long lines); adding marked entries with direction reversed and structure expansion.
#include "formats/xif/XifReader.h"
#include "formats/xif/NvImport.h"
#include "formats/xif/XifFile.h"
#include "model/FixedText.h"
#include "vocab/SnvtCatalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace korvex {
namespace {

// Five header lines, line 6 with the expected count, line 7, then the blank line that opens the
// NV section.
std::string xifWith(const std::string& nvs, const std::string& line6 = "2 15 1 3 0 8") {
    return "File: x.xif\r\nnotice\r\nRun on today\r\n\r\n80:00:00:00:00:00:00:01\r\n" + line6 +
           "\r\n32 7 19\r\nmore\r\n\r\n" + nvs;
}

std::string block(const std::string& var, int direction, int type) {
    return var + "\r\n0 1 63 " + std::to_string(direction) + " 0 1 0\r\n\"@0|1\r\n" + std::to_string(type) +
           " *   1\r\n2 0 0 0 0\r\n";
}

struct Read {
    std::unique_ptr<ImportTable> table = std::make_unique<ImportTable>();
    int parsed = 0;
    const ImportEntry& at(int i) const { return table->entries[i]; }
};

Read readXif(const std::string& text) {
    Read r;
    std::istringstream in(text);
    r.parsed = XifReader().read(in, *r.table);
    return r;
}

TEST(XifReader, ReadsNameIndexDirectionAndType) {
    const Read r =
        readXif(xifWith(block("VAR nviTemp 0 0 0 0", 0, 39) + block("VAR nvoFlow   1 0 0 1", 1, 0) +
                        block("VAR nvoSwitch 2 0 0 0", 1, 95)));
    ASSERT_EQ(r.parsed, 3);
    EXPECT_EQ(r.table->count, 3);
    EXPECT_EQ(textOf(r.at(0).name), "nviTemp");
    EXPECT_EQ(r.at(0).isInput, 1);
    EXPECT_EQ(r.at(0).typeIndex, 39);
    EXPECT_EQ(r.at(0).size, 2);
    EXPECT_EQ(textOf(r.at(1).name), "nvoFlow");
    EXPECT_EQ(r.at(1).isInput, 0);
    EXPECT_EQ(r.at(1).typeIndex, 0);
    EXPECT_EQ(r.at(1).size, 1) << "user-defined type";
    EXPECT_EQ(r.at(2).typeIndex, 95);
    EXPECT_EQ(r.at(2).size, 2);
    EXPECT_EQ(r.at(2).baseType, 0);
    EXPECT_EQ(r.at(2).selected, 0);
}

TEST(XifReader, ArraysFillConsecutiveEntriesAndRaiseTheExpectedCount) {
    const Read r =
        readXif(xifWith(block("VAR nviTemp 5 0 0 3", 0, 39) + block("VAR nvoLast 8 0 0 0", 1, 8), "1 2 3 2"));
    ASSERT_EQ(r.parsed, 4) << "expected 2 grew by two, so the block after the array is read";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(textOf(r.at(5 + i).name), "nviTemp_" + std::to_string(i));
        EXPECT_EQ(r.at(5 + i).typeIndex, 39);
        EXPECT_EQ(r.at(5 + i).isInput, 1);
    }
    EXPECT_EQ(textOf(r.at(8).name), "nvoLast");
}

TEST(XifReader, LongArraysCountOnInDecimal) {
    const Read r = readXif(xifWith(block("VAR nvoA 0 0 0 12", 1, 8), "0 0 0 12"));
    ASSERT_EQ(r.parsed, 12);
    EXPECT_EQ(textOf(r.at(9).name), "nvoA_9");
    EXPECT_EQ(textOf(r.at(10).name), "nvoA_10");
    EXPECT_EQ(textOf(r.at(11).name), "nvoA_11");
}

TEST(XifReader, Line6DecidesWhenReadingStops) {
    const std::string two = block("VAR a 0 0 0 0", 0, 8) + block("VAR b 1 0 0 0", 0, 8);
    EXPECT_EQ(readXif(xifWith(two, "2 15 1")).parsed, 1) << "fewer than four numbers: one NV";
    EXPECT_EQ(readXif(xifWith(two, "2 15 1 1")).parsed, 1);
    EXPECT_EQ(readXif(xifWith(two, "2 15 1 9")).parsed, 2) << "end of file before the count";
}

TEST(XifReader, CommentsAreNotCountedButBlankLinesAre) {
    const std::string nvs = block("VAR a 0 0 0 0", 0, 8) + block("VAR b 1 0 0 0", 0, 8);
    // Comments anywhere leave line 6 where it was.
    std::string commented = "# c\r\n" + xifWith("# c\r\n" + nvs);
    commented.insert(commented.find("2 15 1 3"), "# c\r\n");
    EXPECT_EQ(readXif(commented).parsed, 2);
    // An extra blank line at the top moves the count onto line 7: one NV only.
    EXPECT_EQ(readXif("\r\n" + xifWith(nvs, "2 15 1 2")).parsed, 1);
}

TEST(XifReader, NothingBeforeTheNVSectionIsRead) {
    const std::string early = "h\nh\nh\nh\nh\n0 0 0 1\nh\nVAR x 0 0 0 0\n0 1 63 0\n8 *\n";
    EXPECT_EQ(readXif(early).parsed, 0);
    EXPECT_EQ(readXif(early + "\n" + block("VAR y 0 0 0 0", 0, 8)).parsed, 1);
}

TEST(XifReader, TypeLineSkipsDocumentationAndNonNumbers) {
    const std::string nvs = "VAR a 0 0 0 0\r\n0 1 63 1 0\r\n\"@0|1\r\n\"12 doc\r\nabc\r\n  44 * 1\r\n";
    const Read r = readXif(xifWith(nvs, "0 0 0 1"));
    ASSERT_EQ(r.parsed, 1);
    EXPECT_EQ(r.at(0).typeIndex, 44);
}

TEST(XifReader, HostileBlocksAreLeftOutSafely) {
    struct Case {
        const char* var;
        int type;
        int parsed;
    } cases[] = {
        {"VAR big 1000 0 0 0", 8, 0}, // beyond the table
        {"VAR neg -1 0 0 0", 8, 0},   // negative index
        {"VAR edge 998 0 0 5", 8, 2}, // only 998 and 999 fit
        {"VAR nonum 3 0 0", 8, 0},    // four numbers not read
        {"VARnoblank", 8, 0},         // no name
        {"VAR nameonly", 8, 0},       // no blank after the name
        {"VAR huge 99999999999999999999 0 0 0", 8, 0},
        {"VAR many 0 0 0 99999999", 8, 1000},
    };
    for (const auto& c : cases) {
        const Read r = readXif(xifWith(block(c.var, 0, c.type), "0 0 0 5000"));
        EXPECT_EQ(r.parsed, c.parsed) << c.var;
        EXPECT_LE(r.table->count, kImportEntries) << c.var;
    }
    const Read edge = readXif(xifWith(block("VAR edge 998 0 0 5", 0, 8), "0 0 0 1"));
    EXPECT_EQ(textOf(edge.at(999).name), "edge_1");
}

TEST(XifReader, TypeIndicesOutsideOneByteAreNotWrappedOntoRealTypes) {
    for (const char* type : {"300", "-5", "99999999999999"}) {
        const Read r =
            readXif(xifWith(std::string("VAR a 0 0 0 0\n0 1 63 1\n") + type + " * 1\n", "0 0 0 1"));
        ASSERT_EQ(r.parsed, 1) << type;
        EXPECT_EQ(r.at(0).typeIndex, 255) << type;
        EXPECT_EQ(r.at(0).size, 0) << type;
    }
}

TEST(XifReader, LongNamesAreCutToFitWithTheirSuffix) {
    const std::string name(60, 'n');
    const Read plain = readXif(xifWith(block("VAR " + name + " 0 0 0 0", 0, 8), "0 0 0 1"));
    EXPECT_EQ(textOf(plain.at(0).name), std::string(39, 'n'));
    const Read array = readXif(xifWith(block("VAR " + name + " 0 0 0 12", 0, 8), "0 0 0 12"));
    EXPECT_EQ(textOf(array.at(0).name), std::string(37, 'n') + "_0");
    EXPECT_EQ(textOf(array.at(11).name), std::string(36, 'n') + "_11");
}

TEST(XifReader, LinesLongerThan998ComeInPieces) {
    // The VAR line is read whole at 998 characters; at 999 its tail becomes the attribute line.
    const std::string pad998(998 - std::string("VAR a 0 0 0 0 ").size(), 'x');
    const Read exact = readXif(xifWith(block("VAR a 0 0 0 0 " + pad998, 1, 8), "0 0 0 1"));
    EXPECT_EQ(exact.at(0).isInput, 0);
    EXPECT_EQ(exact.at(0).typeIndex, 8);
    const Read over = readXif(xifWith(block("VAR a 0 0 0 0 " + pad998 + "y", 1, 8), "0 0 0 1"));
    EXPECT_EQ(over.at(0).typeIndex, 0) << "the attribute line was taken for the type line";
}

TEST(XifReader, EmptyAndUselessFilesParseNothing) {
    for (const std::string& text : {std::string(), std::string("\n\n\n"), xifWith("no blocks\n")}) {
        const Read r = readXif(text);
        EXPECT_EQ(r.parsed, 0);
        EXPECT_EQ(r.table->count, 0);
    }
}

std::unique_ptr<ImportTable> tableOf(std::initializer_list<std::pair<int, bool>> entries) {
    auto table = std::make_unique<ImportTable>();
    for (auto [type, input] : entries) {
        ImportEntry& e = table->entries[table->count++];
        e.typeIndex = static_cast<uint8_t>(type);
        e.size = type == 0 ? 1 : snvt_size(type);
        e.isInput = input ? 1 : 0;
        setText(e.name, "nv" + std::to_string(table->count));
        e.selected = 1;
    }
    return table;
}

TEST(NvImport, AddReversesDirectionAndExpandsStructures) {
    auto map = std::make_unique<ObjectMap>();
    auto table = tableOf({{39, true}, {95, false}, {0, false}, {200, true}});
    EXPECT_EQ(add_selected(*table, *map), 6);
    ASSERT_EQ(map->nvCount, 6);
    const NetVar& temp = map->nvs[0];
    EXPECT_EQ(temp.isInput, 0);
    EXPECT_EQ(temp.snvt, 39);
    EXPECT_EQ(temp.size, 2);
    EXPECT_EQ(temp.baseType, 0) << "the entry's base type, as read";
    EXPECT_EQ(temp.scaleA, 0);
    EXPECT_EQ(temp.defined, 1);
    EXPECT_EQ(textOf(temp.name), "nv1");

    const NetVar& sw = map->nvs[1];
    EXPECT_EQ(sw.isInput, 1);
    EXPECT_EQ(sw.snvt, 95);
    EXPECT_EQ(sw.isField, 0);
    const NetVar& value = map->nvs[2];
    const NetVar& state = map->nvs[3];
    EXPECT_TRUE(value.isField && state.isField);
    EXPECT_EQ(value.byteOffset, 0);
    EXPECT_EQ(state.byteOffset, 1);
    EXPECT_EQ(value.baseType, NvtCatUnsignedShort);
    EXPECT_EQ(state.baseType, NvtCatSignedShort);
    EXPECT_EQ(state.isInput, 1);
    EXPECT_EQ(state.snvt, 0);
    EXPECT_EQ(state.fieldName, 1);
    EXPECT_EQ(textOf(state.name), "nv2");

    EXPECT_EQ(map->nvs[4].snvt, 0);
    EXPECT_EQ(map->nvs[4].size, 1);
    EXPECT_EQ(map->nvs[4].scope, 0);
    EXPECT_EQ(map->nvs[5].snvt, 200) << "a type the catalogue lacks goes in as one row";
    EXPECT_EQ(map->nvs[5].isInput, 0);
}

TEST(NvImport, AddStopsAt1000Rows) {
    auto map = std::make_unique<ObjectMap>();
    auto table = tableOf({{95, true}, {39, true}});
    map->nvCount = 999;
    std::vector<std::string> notes;
    EXPECT_EQ(add_selected(*table, *map, &notes), 1) << "the structure gets its parent row only";
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "NV nv1: only 0 of its 2 field rows fit in the NV list; the others were left out.",
                         "nv2: not added; the NV list is full"}));
    EXPECT_EQ(map->nvCount, 1000);
    EXPECT_EQ(map->nvs[999].snvt, 95);
    EXPECT_EQ(add_selected(*table, *map), 0);

    map->nvCount = 997;
    EXPECT_EQ(add_selected(*table, *map), 3);
    EXPECT_EQ(map->nvs[999].isField, 1);
}

TEST(NvImport, OnlyMarkedEntriesAreAdded) {
    auto map = std::make_unique<ObjectMap>();
    auto table = tableOf({{8, true}, {9, true}, {10, true}});
    selectAllImportEntries(*table, false);
    const int picks[] = {2, 0, 5};
    EXPECT_EQ(selectImportEntries(*table, picks), 2);
    EXPECT_EQ(add_selected(*table, *map), 2);
    EXPECT_EQ(map->nvs[0].snvt, 8);
    EXPECT_EQ(map->nvs[1].snvt, 10);
    EXPECT_EQ(nvEntriesAddedText(2), "2 entries added to list.");
}

TEST(XifFile, ImportActionMessages) {
    auto table = std::make_unique<ImportTable>();
    EXPECT_EQ(importXifFile("partner.txt", *table).message, "Need a .xif file.");
    const std::string missing = "/nonexistent-dir/partner.XIF";
    EXPECT_EQ(importXifFile(missing, *table).message, "Error opening XIF file " + missing + "\n");
    const auto path =
        std::filesystem::temp_directory_path() / ("korvex-xif-" + std::to_string(::getpid()) + ".xif");
    std::ofstream(path) << "nothing here\n";
    EXPECT_EQ(importXifFile(path.string(), *table).message, "XIF import unsuccessful.");
    std::ofstream(path) << xifWith(block("VAR a 0 0 0 0", 0, 8), "0 0 0 1");
    const XifFileOutcome ok = importXifFile(path.string(), *table);
    EXPECT_TRUE(ok.ok);
    EXPECT_EQ(ok.message, "1 NV's parsed from " + path.filename().string() + ".");
    std::filesystem::remove(path);
}

} // namespace
} // namespace korvex
