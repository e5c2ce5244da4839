// The element reader's tokenising and document structure: tag units and their bound, blanks,
// comments, the attribute loop, sections and roots, and the result codes with their texts.
#include "formats/xml/ElementReader.h"
#include "formats/xml/XmlError.h"
#include "model/FixedText.h"
#include "support/XmlTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvex {
namespace {

using test::document;
using test::readDocumentText;

struct DocCase {
    const char* what;
    std::string text;
    XmlError code;
    int units; // -1: not checked
};

class DocumentCodes : public ::testing::TestWithParam<DocCase> {};

TEST_P(DocumentCodes, GiveTheirCodeAndUnitCount) {
    auto map = std::make_unique<ObjectMap>();
    const DocCase& c = GetParam();
    const auto result = readDocumentText(*map, c.text);
    EXPECT_EQ(result.code, c.code) << c.what;
    if (c.units >= 0) {
        EXPECT_EQ(result.units, c.units) << c.what;
    }
}

const std::string kDecl = test::kDeclaration;

INSTANTIATE_TEST_SUITE_P(
    Reader, DocumentCodes,
    ::testing::Values(
        DocCase{"empty stream", "", XmlError::NotXml, 1},
        DocCase{"text without any unit", "hello world", XmlError::NotXml, 1},
        DocCase{"declaration needs its blank", "<?xml?><configuration></configuration>", XmlError::NotXml, 1},
        DocCase{"comment before the declaration",
                "<!-- c --><?xml version=\"1.0\"?><configuration></configuration>", XmlError::Ok, 4},
        DocCase{"no root", kDecl, XmlError::BadSyntax, 2},
        DocCase{"units before the root are skipped", kDecl + "<foo><bar/><configuration></configuration>",
                XmlError::Ok, 5},
        DocCase{"ends after the root", kDecl + "<configuration>", XmlError::UnexpectedEnd, 3},
        DocCase{"ends inside a section", kDecl + "<configuration><objects>", XmlError::UnexpectedEnd, 4},
        DocCase{"modify root, either closing tag", kDecl + "<modify_configuration></configuration>",
                XmlError::Ok, 3},
        DocCase{"unknown section", kDecl + "<configuration><things></things>", XmlError::UnknownTag, 3},
        DocCase{"stray closing tag", kDecl + "<configuration></objects>", XmlError::UnknownTag, 3},
        DocCase{"blanks around a section name",
                kDecl + "<configuration>\r\n<objects \t\r\n>\r\n</objects>"
                        "</configuration>",
                XmlError::Ok, 5},
        DocCase{"blank before a section name", kDecl + "<configuration>< objects></objects></configuration>",
                XmlError::UnknownTag, 3},
        DocCase{"section name then junk", kDecl + "<configuration><objects x></objects></configuration>",
                XmlError::BadSyntax, 3},
        DocCase{"element of another section", document("<objects><nv nvo=\"1\" snvt=\"8\"/></objects>"),
                XmlError::BadSyntax, 4},
        DocCase{"keyword without blank", document("<objects><objn=\"1\"/></objects>"), XmlError::BadSyntax,
                4},
        DocCase{"keyword with tab", document("<objects><obj\tn=\"1\"/></objects>"), XmlError::Ok, 6},
        DocCase{"sections repeated, any order",
                document("<node></node><objects></objects><node></node><netvars></netvars>"), XmlError::Ok,
                11},
        DocCase{"comments count as units", document("<!-- a --><!-- b -->"), XmlError::Ok, 5},
        DocCase{"comment spanning units", document("<!-- a <b> c <d -->"), XmlError::Ok, 5},
        // A '>' inside a comment ends its unit; the rest of the comment text lies between units
        // and is dropped, so the comment runs on until a unit ends in "-->".
        DocCase{"comment holding '>' swallows units", document("<!-- a > b --><objects></objects>"),
                XmlError::UnexpectedEnd, 7},
        DocCase{"comment never closed", document("<!-- open"), XmlError::UnexpectedEnd, -1}));

TEST(ReaderMessages, TableHasTwentyOneEntriesAndFormatsTheUnitCount) {
    const auto code = [](int n) { return static_cast<XmlError>(n); };
    EXPECT_STREQ(xmlErrorMessage(code(0)), "No errors found");
    EXPECT_STREQ(xmlErrorMessage(code(20)), "Unable to add NV");
    EXPECT_EQ(xmlErrorMessage(code(21)), nullptr);
    EXPECT_EQ(xmlErrorMessage(code(-1)), nullptr);
    EXPECT_EQ(xmlErrorText(code(0), 9), "No errors found");
    EXPECT_EQ(xmlErrorText(code(5), 57), "Unexpected end of file at line #57");
    EXPECT_EQ(xmlErrorText(code(15), 1), "File is not XML at line #1");
    EXPECT_EQ(xmlErrorText(code(21), 4), "Unrecognized error code at line 4");
    EXPECT_EQ(xmlErrorText(code(-3), 4), "Unrecognized error code at line 4");
}

TEST(ReaderMessages, EmptyStreamIsReportedAsNotXmlAtLineOne) {
    auto map = std::make_unique<ObjectMap>();
    EXPECT_EQ(readDocumentText(*map, "").message, "File is not XML at line #1");
}

// An object element padded with blanks to exactly `length` characters.
std::string objectUnitOfLength(std::size_t length) {
    std::string unit = "<obj n=\"7\" name=\"x\"";
    unit += std::string(length - unit.size() - 2, ' ');
    return unit + "/>";
}

TEST(ReaderBounds, UnitsUpToFiveHundredCharactersAreRead) {
    for (std::size_t length : {499u, 500u, 501u}) {
        auto map = std::make_unique<ObjectMap>();
        const std::string unit = objectUnitOfLength(length);
        ASSERT_EQ(unit.size(), length);
        const auto result = readDocumentText(*map, document("<objects>" + unit + "</objects>"));
        if (length <= kTagUnitCapacity) {
            EXPECT_EQ(result.code, XmlError::Ok) << length;
            EXPECT_EQ(textOf(map->object(7)->name), "x");
        } else {
            EXPECT_EQ(result.code, XmlError::BadSyntax) << length;
            EXPECT_EQ(result.units, 4);
            EXPECT_TRUE(map->object(7)->isEmpty());
        }
        EXPECT_TRUE(map->object(6)->isEmpty() && map->object(8)->isEmpty());
    }
}

TEST(ReaderBounds, LongCommentsAreStillComments) {
    auto map = std::make_unique<ObjectMap>();
    const std::string comment = "<!--" + std::string(5000, 'c') + "-->";
    EXPECT_EQ(readDocumentText(*map, comment + document("<objects>" + comment + "</objects>")).code,
              XmlError::Ok);
}

TEST(ReaderBounds, OverlongUnitInTheOneLineParserIsRefused) {
    auto map = std::make_unique<ObjectMap>();
    ElementReader reader(*map);
    EXPECT_EQ(reader.parseObjectElement(objectUnitOfLength(500)), XmlError::Ok);
    EXPECT_EQ(reader.parseObjectElement(objectUnitOfLength(501)), XmlError::BadSyntax);
}

TEST(ReaderBounds, ValuesUpToThreeHundredCharacters) {
    for (std::size_t length : {299u, 300u, 301u}) {
        auto map = std::make_unique<ObjectMap>();
        const std::string value(length, 'n');
        const XmlError code = test::readObject(*map, "n=\"3\" name=\"" + value + "\"");
        if (length <= 300) {
            EXPECT_EQ(code, XmlError::Ok) << length;
            EXPECT_EQ(textOf(map->object(3)->name), value.substr(0, kNameSize - 1));
        } else {
            EXPECT_EQ(code, XmlError::BadSyntax) << length;
            EXPECT_TRUE(map->object(3)->isEmpty());
        }
        EXPECT_EQ(map->object(3)->name[kNameSize - 1], '\0');
    }
}

struct AttrCase {
    const char* attributes;
    XmlError code;
};

class ObjectAttributeSyntax : public ::testing::TestWithParam<AttrCase> {};

TEST_P(ObjectAttributeSyntax, GivesItsCode) {
    auto map = std::make_unique<ObjectMap>();
    EXPECT_EQ(test::readObject(*map, GetParam().attributes), GetParam().code) << GetParam().attributes;
}

INSTANTIATE_TEST_SUITE_P(
    Reader, ObjectAttributeSyntax,
    ::testing::Values(AttrCase{"n=\"1\"", XmlError::Ok}, AttrCase{"n=\"1\" ", XmlError::Ok},
                      AttrCase{"n=\"1\"name=\"a\"", XmlError::Ok},
                      AttrCase{"\r\n\tn=\"1\"\r\n", XmlError::Ok}, AttrCase{"n =\"1\"", XmlError::BadSyntax},
                      AttrCase{"n= \"1\"", XmlError::BadSyntax}, AttrCase{"n=1", XmlError::BadSyntax},
                      AttrCase{"n=\"1", XmlError::BadSyntax}, AttrCase{"n=\"\"", XmlError::BadSyntax},
                      AttrCase{"n=\"x\"", XmlError::BadSyntax}, AttrCase{"n=\" 12abc\"", XmlError::Ok},
                      AttrCase{"Name=\"a\" n=\"1\"", XmlError::UnknownTag},
                      AttrCase{"n=\"1\" Name=\"a\"", XmlError::UnknownTag},
                      AttrCase{"=\"1\"", XmlError::UnknownTag},
                      AttrCase{"n=\"1\" name=\"a\" name=\"b\"", XmlError::Duplicate},
                      AttrCase{"n=\"0\"", XmlError::OutOfRange}, AttrCase{"n=\"401\"", XmlError::OutOfRange},
                      AttrCase{"name=\"a\"", XmlError::OutOfRange},
                      AttrCase{"n=\"99999999999999999999\"", XmlError::OutOfRange}));

TEST(ReaderOneLine, RequiresItsKeywordAndLeavesTheUnitCount) {
    auto map = std::make_unique<ObjectMap>();
    ElementReader reader(*map);
    EXPECT_EQ(reader.parseObjectElement("<nv nvo=\"1\" snvt=\"8\"/>"), XmlError::BadSyntax);
    EXPECT_EQ(reader.parseNVElement("<obj n=\"1\"/>"), XmlError::BadSyntax);
    EXPECT_EQ(reader.parsePortElement("<mod baud=\"9600\"/>\r\n"), XmlError::Ok);
    EXPECT_EQ(reader.parseNodeElement("<nd loc=\"here\"/>"), XmlError::Ok);
    EXPECT_EQ(reader.parseNodeElement("<nd loc=\"here\">"), XmlError::UnknownTag);
    EXPECT_EQ(reader.parseNodeElement(""), XmlError::BadSyntax);
    EXPECT_EQ(reader.unitCount(), 0);
    EXPECT_EQ(textOf(map->node.loc), "here");
}

TEST(ReaderDocument, ElementsBeforeAFailureStayApplied) {
    auto map = std::make_unique<ObjectMap>();
    const auto result = readDocumentText(
        *map, document("<objects><obj n=\"1\" name=\"a\"/><obj n=\"2\" name=\"b\" name=\"c\"/></objects>"));
    EXPECT_EQ(result.code, XmlError::Duplicate);
    EXPECT_EQ(result.message, "Duplicate field at line #5");
    EXPECT_EQ(textOf(map->object(1)->name), "a");
    EXPECT_TRUE(map->object(2)->isEmpty());
}

TEST(ReaderDocument, ModifyRootIsRemembered) {
    auto map = std::make_unique<ObjectMap>();
    std::istringstream in(test::kDeclaration + std::string("<modify_configuration></modify_configuration>"));
    ElementReader reader(*map);
    EXPECT_EQ(reader.readDocument(in), XmlError::Ok);
    EXPECT_TRUE(reader.modifyMode());
}

} // namespace
} // namespace korvex
