// Element reader cases found by fuzzing: zero bytes inside values, objects re-read with `clear`
// over a linked object (at once, part-way and with a changed NV side) keeping every link
// consistent, and standard NV types whose new NVs start with size 0 surviving a save and reload.
#include "formats/xml/MapDocument.h"
#include "formats/xml/XmlError.h"
#include "model/FixedText.h"
#include "support/LinkCheck.h"
#include "support/XmlTestSupport.h"
#include "vocab/SnvtCatalogue.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace korvex {
namespace {

using korvex::testing::checkLinks;
using namespace std::string_literals;

TEST(ElementHardening, AZeroByteInAValueIsBadSyntaxAndChangesNothing) {
    auto map = std::make_unique<ObjectMap>();
    ElementReader reader(*map);
    EXPECT_EQ(reader.parseNodeElement("<nd loc=\"P\0\x7fk\" pid=\"3\"/>"s), XmlError::BadSyntax);
    EXPECT_EQ(textOf(map->node.loc), "");
    EXPECT_EQ(map->node.pid, 0);
    EXPECT_EQ(reader.parseObjectElement("<obj n=\"4\" name=\"a\0b\"/>"s), XmlError::BadSyntax);
    EXPECT_TRUE(map->object(4)->isEmpty());
    EXPECT_EQ(reader.parseNVElement("<nv nvo=\"1\" snvt=\"8\" name=\"a\0b\"/>"s), XmlError::BadSyntax);
    EXPECT_EQ(map->nvCount, 0);
    // Elsewhere in the unit a zero byte is no name character, as before.
    EXPECT_NE(reader.parseNodeElement("<nd \0loc=\"x\"/>"s), XmlError::Ok);
}

struct ClearCase {
    const char* name;
    std::vector<std::string> lines; // object lines after an NV row (nvo 3) and object 5 on it with a register
    int registerRows;               // rows expected afterwards
    int nvRowOfObject;              // object 5's NV row afterwards
};

class ClearOverLinkedObject : public ::testing::TestWithParam<ClearCase> {};

TEST_P(ClearOverLinkedObject, KeepsEveryLinkPointingBack) {
    const ClearCase& c = GetParam();
    auto map = std::make_unique<ObjectMap>();
    ElementReader reader(*map);
    ASSERT_EQ(reader.parseNVElement("<nv nvo=\"3\" snvt=\"8\"/>"), XmlError::Ok);
    ASSERT_EQ(reader.parseNVElement("<nv nvo=\"4\" snvt=\"8\"/>"), XmlError::Ok);
    ASSERT_EQ(reader.parseObjectElement("<obj n=\"5\" modreg=\"7\" lonNVO=\"3\"/>"), XmlError::Ok);
    ASSERT_TRUE(checkLinks(*map));
    for (const std::string& line : c.lines) {
        reader.parseObjectElement(line);
        EXPECT_TRUE(checkLinks(*map)) << line;
    }
    EXPECT_EQ(map->registerCount, c.registerRows);
    EXPECT_EQ(map->object(5)->nvRow, c.nvRowOfObject);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, ClearOverLinkedObject,
    ::testing::Values(
        // The gateway sends the object back as it was written: its register row is updated in place.
        ClearCase{"SameAgain", {"<obj n=\"5\" clear=\"1\" modreg=\"7\" lonNVO=\"3\"/>"}, 1, 1},
        ClearCase{"NewRegisterNumber", {"<obj n=\"5\" clear=\"1\" modreg=\"9\" lonNVO=\"3\"/>"}, 1, 1},
        // A clear inside an element that then fails zeroes the object; its rows let go of it.
        ClearCase{"FailsAfterTheClear", {"<obj n=\"5\" clear=\"1\" modreg=\"x\"/>"}, 1, 0},
        ClearCase{"FailsThenComesBack",
                  {"<obj n=\"5\" clear=\"1\"", "<obj n=\"5\" modreg=\"7\" lonNVO=\"3\"/>"},
                  2,
                  1},
        // The NV side moves to another row, or to a row that does not exist.
        ClearCase{"OtherNV", {"<obj n=\"5\" clear=\"1\" modreg=\"7\" lonNVO=\"4\"/>"}, 1, 2},
        ClearCase{"NVNotInTheList", {"<obj n=\"5\" lonNVO=\"9\"/>"}, 1, 0},
        // The register side goes: the row lets go of the object.
        ClearCase{"OnlyTheNVSideLeft", {"<obj n=\"5\" clear=\"1\" lonNVO=\"3\"/>"}, 1, 1},
        ClearCase{"Emptied", {"<obj n=\"5\" clear=\"1\"/>"}, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ElementHardening, ACleanlyClearedObjectLeavesItsOldRegisterRowWithoutObject) {
    auto map = std::make_unique<ObjectMap>();
    ElementReader reader(*map);
    ASSERT_EQ(reader.parseObjectElement("<obj n=\"18\" modreg=\"0\"/>"), XmlError::Ok);
    ASSERT_EQ(reader.parseObjectElement("<obj n=\"18\" clear=\"1\"/>"), XmlError::Ok);
    EXPECT_EQ(map->registers[0].objectNumber, 0);
    EXPECT_EQ(map->object(18)->registerRow, 0);
    EXPECT_TRUE(checkLinks(*map));
}

TEST(ElementHardening, StandardTypesWithoutADefaultSizeGetTheirDeclaredSize) {
    for (int t : {10, 12, 80, 140, 141, 142, 167}) {
        auto map = std::make_unique<ObjectMap>();
        ElementReader reader(*map);
        const std::string line = "<nv nvi=\"1\" clear=\"1\" snvt=\"" + std::to_string(t) + "\" name=\"n\"/>";
        ASSERT_EQ(reader.parseNVElement(line), XmlError::Ok) << t;
        EXPECT_EQ(map->nvs[0].size, snvt_size(t)) << t;
        // So the NV is written again and a second save gives the same document.
        const std::string first = renderObjectMap(*map).text;
        EXPECT_NE(first.find("snvt=\"" + std::to_string(t) + "\""), std::string::npos) << t;
        auto again = std::make_unique<ObjectMap>();
        ASSERT_EQ(test::readDocumentText(*again, first).code, XmlError::Ok) << t;
        EXPECT_EQ(renderObjectMap(*again).text, first) << t;
    }
}

} // namespace
} // namespace korvex
