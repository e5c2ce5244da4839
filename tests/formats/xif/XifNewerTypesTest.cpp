// NVs of standard types newer than the catalogue: laid out by the file's own type lines and kept
// as user-defined types (saved, reloaded and exported like them), or named and left out when the
// file gives no usable layout; every NV that does not reach the list is named.
#include "formats/xif/NvImport.h"
#include "formats/xif/XifFile.h"
#include "formats/xif/XifReader.h"
#include "formats/xml/MapFile.h"
#include "model/FixedText.h"
#include "model/lists/ListBuilding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace korvex {
namespace {

namespace fs = std::filesystem;

std::string xifWith(const std::string& nvs, int expected) {
    return "File: x.xif\r\nnotice\r\nRun on today\r\n\r\n80:00:00:00:00:00:00:01\r\n2 15 1 " +
           std::to_string(expected) + " 0 8\r\n32 7 19\r\nmore\r\n\r\n" + nvs;
}

// One NV block: VAR line, attribute line (output), self-documentation, type line and members.
std::string block(const std::string& var, const std::string& typeLine, const std::string& members) {
    return var + "\r\n0 1 63 1 0 1 0 1 0 1 0 0 0\r\n\"@0|1\r\n" + typeLine + "\r\n" + members;
}

struct LayoutCase {
    const char* typeLine;
    const char* members;
    ImportLayout layout;
    int size;
    int baseType;
    std::vector<ImportField> fields;
};

TEST(XifNewerTypes, TheFileLaysOutATypeTheCatalogueLacks) {
    const LayoutCase cases[] = {
        {"220 * 3",
         "1 0 0 0 0\r\n1 0 0 0 0\r\n1 0 0 0 0\r\n",
         ImportLayout::File,
         3,
         9,
         {{4, 1, 0, 0}, {4, 1, 1, 0}, {4, 1, 2, 0}}},
        {"183 *   1", "4 0 4 0 0\r\n", ImportLayout::File, 4, 8, {}},
        {"189 * 1", "2 0 0 1 0\r\n", ImportLayout::File, 2, 5, {}},
        // Bitfields share a byte while their bits go up; a lower bit or another member starts the next.
        {"200 * 4",
         "3 0 1 0 0\r\n3 1 2 0 0\r\n3 0 1 0 0\r\n0 0 0 1 0\r\n",
         ImportLayout::File,
         3,
         9,
         {{11, 1, 0, 0}, {11, 2, 0, 1}, {11, 1, 1, 0}, {1, 1, 2, 0}}},
        {"201 * 2", "1 0 0 0 0\r\n", ImportLayout::Missing, 0, 0, {}},              // a member short
        {"202", "", ImportLayout::Missing, 0, 0, {}},                               // no member count
        {"203 * 1", "9 0 1 0 0\r\n", ImportLayout::Missing, 0, 0, {}},              // a kind not known
        {"204 * 1", "4 0 32 0 0\r\n", ImportLayout::Missing, 0, 0, {}},             // larger than an NV
        {"205 * 2", "3 0 9 0 0\r\n1 0 0 0 0\r\n", ImportLayout::Missing, 0, 0, {}}, // bits past a byte
        {"95 * 2", "1 0 0 0 0\r\n1 0 0 1 0\r\n", ImportLayout::Catalogue, 2, 0, {}},
    };
    for (const LayoutCase& c : cases) {
        auto table = std::make_unique<ImportTable>();
        std::istringstream in(xifWith(block("VAR nvoNew 0 0 0 0", c.typeLine, c.members) +
                                          block("VAR nvoNext 1 0 0 0", "8 * 1", "2 0 0 0 0\r\n"),
                                      2));
        XifReader reader;
        ASSERT_EQ(reader.read(in, *table), 2) << c.typeLine;
        const ImportEntry& e = table->entries[0];
        EXPECT_EQ(e.layout, c.layout) << c.typeLine;
        EXPECT_EQ(e.size, c.size) << c.typeLine;
        EXPECT_EQ(e.baseType, c.baseType) << c.typeLine;
        ASSERT_EQ(e.fieldCount, c.fields.size()) << c.typeLine;
        for (std::size_t k = 0; k < c.fields.size(); ++k)
            EXPECT_EQ(e.fields[k], c.fields[k]) << c.typeLine << k;
        EXPECT_EQ(table->entries[1].typeIndex, 8) << "the next block is read as before";
        EXPECT_EQ(reader.notes().size(), c.layout == ImportLayout::Catalogue ? 0u : 1u);
    }
}

// The three shapes, each imported, saved, reloaded and exported.
class XifNewerTypesFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korvex-xif-new-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(XifNewerTypesFiles, KeptTypesSaveReloadAndExportByName) {
    const std::string nvs =
        block("VAR nvoVersion 0 0 0 0", "220 * 3", "1 0 0 0 0\r\n1 0 0 0 0\r\n1 0 0 0 0\r\n") +
        block("VAR nvoSerial 1 0 0 0", "183 * 1", "4 0 4 0 0\r\n") +
        block("VAR nvoLevel 2 0 0 3", "189 * 2", "2 0 0 0 0\r\n1 0 0 1 0\r\n") +
        block("VAR nvoBroken 5 0 0 0", "230 * 2", "1 0 0 0 0\r\n");
    std::ofstream(path("in.xif"), std::ios::binary) << xifWith(nvs, 4);
    auto table = std::make_unique<ImportTable>();
    const XifFileOutcome read = importXifFile(path("in.xif"), *table);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.message, "6 NV's parsed from in.xif.");
    const std::vector<std::string> parseNotes{
        "nvoVersion: standard type 220 is not in the catalogue; kept as a user-defined type of 3 bytes",
        "nvoSerial: standard type 183 is not in the catalogue; kept as a user-defined type of 4 bytes",
        "nvoLevel_0: standard type 189 is not in the catalogue; kept as a user-defined type of 3 bytes",
        "nvoLevel_1: standard type 189 is not in the catalogue; kept as a user-defined type of 3 bytes",
        "nvoLevel_2: standard type 189 is not in the catalogue; kept as a user-defined type of 3 bytes",
        "nvoBroken: standard type 230 is not in the catalogue and the file gives no usable layout for it; it "
        "cannot be added"};
    EXPECT_EQ(read.notes, parseNotes);

    auto map = std::make_unique<ObjectMap>();
    selectAllImportEntries(*table);
    std::vector<std::string> notes;
    EXPECT_EQ(add_selected(*table, *map, &notes), 1 + 3 + 1 + 3 * 3) << "headers and field rows";
    EXPECT_EQ(notes,
              std::vector<std::string>{"nvoBroken: not added; standard type 230 has no layout the file "
                                       "makes usable"});
    EXPECT_EQ(map->nvs[0].snvt, 0) << "held as a user-defined type";
    ASSERT_EQ(assignFbNumbers(*map), 0);
    ASSERT_EQ(masterListFromNVs(*map), 0);
    const int rows = map->nvCount;
    ASSERT_TRUE(writeObjectMap(*map, path("m.xml")).ok);

    auto back = std::make_unique<ObjectMap>();
    const MapFileResult loaded = readObjectMap(*back, path("m.xml"));
    ASSERT_TRUE(loaded.ok) << loaded.text;
    EXPECT_EQ(back->nvCount, rows) << "field rows come back with their objects";
    for (int r = 0; r < rows; ++r) {
        if (!back->nvs[r].isField) EXPECT_EQ(back->nvs[r].size, map->nvs[r].size) << r;
        EXPECT_EQ(back->nvs[r].baseType, map->nvs[r].baseType) << r;
        EXPECT_EQ(back->nvs[r].byteOffset, map->nvs[r].byteOffset) << r;
    }
    ASSERT_TRUE(exportXifFile(path("out.xif"), *back, "Korvex-A", "today").ok);
    std::ifstream in(path("out.xif"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    for (const char* name : {"nvoVersion", "nvoSerial", "nvoLevel_0", "nvoLevel_1", "nvoLevel_2"})
        EXPECT_NE(text.find(std::string("VAR ") + name + " "), std::string::npos) << name;
    EXPECT_NE(text.find("0 * 3\r\n1 0 0 0 0\r\n1 0 0 0 0\r\n1 0 0 0 0\r\n"), std::string::npos)
        << "a user-defined structure, as user types are exported";
}

} // namespace
} // namespace korvex
