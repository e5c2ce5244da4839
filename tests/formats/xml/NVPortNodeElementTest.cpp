// The `nv`, `mod` and `nd` elements: NV types and names, send times, the port commit rules
// (port fields, device map, the 0.0.0.0 rule) and the node's location and program-ID selector.
#include "formats/xml/ElementWriter.h"
#include "formats/xml/ValueScan.h"
#include "formats/xml/XmlError.h"
#include "model/FixedText.h"
#include "model/lists/ListEditing.h"
#include "model/lists/NVRows.h"
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"
#include "support/XmlTestSupport.h"
#include "vocab/SnvtCatalogue.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace korvex {
namespace {

using test::readNV;
using test::readPort;

class NVElement : public ::testing::Test {
protected:
    std::unique_ptr<ObjectMap> map = std::make_unique<ObjectMap>();
};

TEST_F(NVElement, StandardTypeTakesItsRowsAndFirstRowIsInDevice) {
    ASSERT_EQ(readNV(*map, "nvo=\"3\" clear=\"1\" snvt=\"95\" name=\"sw\""), XmlError::Ok);
    ASSERT_EQ(map->nvCount, 3); // SNVT_switch: header and two fields
    EXPECT_EQ(map->nvs[0].snvt, 95);
    EXPECT_EQ(map->nvs[0].fbNumber, 3);
    EXPECT_EQ(map->nvs[0].inDevice, 1);
    EXPECT_EQ(map->nvs[1].isField, 1);
    EXPECT_EQ(map->nvs[2].fbNumber, 3);
    EXPECT_EQ(textOf(map->nvs[0].name), "sw");
}

TEST_F(NVElement, NamesAreCleanedAndMustBeUnique) {
    ASSERT_EQ(readNV(*map, "nvi=\"1\" snvt=\"8\" name=\"Pump Speed #1 and more\""), XmlError::Ok);
    ASSERT_EQ(readNV(*map, "nvi=\"2\" snvt=\"8\" name=\"Pump_Speed__1_an\""), XmlError::Ok);
    ASSERT_EQ(readNV(*map, "nvo=\"2\" snvt=\"8\""), XmlError::Ok);
    ASSERT_EQ(readNV(*map, "nvo=\"4\" snvt=\"8\" name=\"\""), XmlError::Ok);
    EXPECT_EQ(textOf(map->nvs[0].name), "Pump_Speed__1_an");
    EXPECT_EQ(textOf(map->nvs[1].name), "nviActValue_2");
    EXPECT_EQ(textOf(map->nvs[2].name), "nvoSenValue_2");
    EXPECT_EQ(textOf(map->nvs[3].name), "nvoSenValue_4");
}

TEST_F(NVElement, SendTimesOnOutputsOnly) {
    ASSERT_EQ(readNV(*map, "nvo=\"1\" snvt=\"8\" min_tm=\"1:30\" max_tm=\"1,2:3:4.500\""), XmlError::Ok);
    ASSERT_EQ(readNV(*map, "nvi=\"1\" snvt=\"8\" min_tm=\"15\""), XmlError::Ok);
    EXPECT_EQ(map->nvs[0].minSendTime, (SendTime{30, 1, 0, 0}));
    EXPECT_EQ(map->nvs[0].maxSendTime, (SendTime{4, 3, 2, 1}));
    EXPECT_TRUE(map->nvs[1].minSendTime.isZero());
}

TEST_F(NVElement, UserTypeTakesOneRowWithItsDescription) {
    ASSERT_EQ(readNV(*map, "nvo=\"9\" clear=\"1\" unvt_pid=\"9F:FF:FF:05:00:0A:04:01\" "
                           "unvt_info=\"3,0,9,6,1,-2,3\" name=\"u\""),
              XmlError::Ok);
    ASSERT_EQ(map->nvCount, 1);
    const NetVar& row = map->nvs[0];
    EXPECT_EQ(row.scope, 3);
    EXPECT_EQ(row.snvt, 0);
    EXPECT_EQ(row.baseType, 9);
    EXPECT_EQ(row.size, 6);
    EXPECT_EQ(row.scaleB, -2);
    EXPECT_EQ(row.programId, (std::array<uint8_t, 8>{0x9F, 0xFF, 0xFF, 5, 0, 0xA, 4, 1}));
}

TEST_F(NVElement, DescriptionWithoutScopeAndTypeIndexIsAUserTypeToo) {
    ASSERT_EQ(readNV(*map, "nvo=\"2\" unvt_pid=\"00:00:00:00:00:00:00:00\" unvt_info=\"0,0,0,1,0,0,0\""),
              XmlError::Ok);
    ASSERT_EQ(map->nvCount, 1);
    EXPECT_EQ(map->nvs[0].size, 1);
    EXPECT_EQ(map->nvs[0].snvt, 0);
    EXPECT_EQ(map->nvs[0].scope, 0);
}

struct CodeCase {
    const char* attributes;
    XmlError code;
};

class NVCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(NVCodes, GiveTheirCode) {
    auto map = std::make_unique<ObjectMap>();
    EXPECT_EQ(readNV(*map, GetParam().attributes), GetParam().code) << GetParam().attributes;
    if (GetParam().code != XmlError::Ok) {
        EXPECT_EQ(map->nvCount, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    NV, NVCodes,
    ::testing::Values(CodeCase{"snvt=\"8\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"121\" snvt=\"8\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" snvt=\"0\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" snvt=\"178\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" snvt=\"177\"", XmlError::Ok},
                      CodeCase{"nvo=\"1\"", XmlError::CannotAddNV},
                      CodeCase{"nvo=\"1\" clear=\"1\"", XmlError::CannotAddNV},
                      CodeCase{"nvo=\"1\" snvt=\"8\" min_tm=\"60\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" snvt=\"8\" min_tm=\"59:59\"", XmlError::Ok},
                      CodeCase{"nvo=\"1\" snvt=\"8\" min_tm=\"1:60:0\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" snvt=\"8\" min_tm=\"1,2:3:4.1000\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" snvt=\"8\" min_tm=\"1,2\"", XmlError::BadSyntax},
                      CodeCase{"nvo=\"1\" snvt=\"8\" max_tm=\"-1\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" unvt_pid=\"1:2:3:4:5:6:7:100\" unvt_info=\"1,0,0,1,0,0,0\"",
                               XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" unvt_pid=\"1:2:3\"", XmlError::BadSyntax},
                      CodeCase{"nvo=\"1\" unvt_info=\"7,0,0,1,0,0,0\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" unvt_info=\"1,-1,0,1,0,0,0\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" unvt_info=\"1,0,15,1,0,0,0\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" unvt_info=\"1,0,0,32,0,0,0\"", XmlError::OutOfRange},
                      CodeCase{"nvo=\"1\" unvt_info=\"1,0,0,1,0,0\"", XmlError::BadSyntax},
                      CodeCase{"nvo=\"1\" snvt=\"8\" snvt=\"9\"", XmlError::Duplicate}));

TEST_F(NVElement, FillsTheWholeListThenRefuses) {
    testing::fillPlainNVRows(*map, kListCapacity - 1);
    EXPECT_EQ(readNV(*map, "nvo=\"1\" snvt=\"8\""), XmlError::Ok);
    EXPECT_EQ(map->nvCount, kListCapacity);
    EXPECT_EQ(readNV(*map, "nvo=\"2\" snvt=\"8\""), XmlError::CannotAddNV);
    EXPECT_EQ(map->nvCount, kListCapacity);
}

// Rows that do not fit are never cut without a word: from the gateway the element is refused
// (code 20); a document goes on, as a saved map must load back, and names the NV or object.
TEST(PartialElements, AreRefusedFromTheGatewayAndNamedInADocument) {
    const struct {
        std::string element;
        int rowsBefore;
        const char* warning;
    } cases[] = {
        {"<nv nvo=\"2\" snvt=\"95\" name=\"sw\"/>", kListCapacity - 2,
         "NV sw (output 2): only 1 of its 2 field rows fit in the NV list; the others were left out."},
        {"<obj n=\"5\" lonNVO=\"1\" lonstruct=\"1\" lontype=\"UI\" lonoffset=\"1,0\"/>", kEditRowLimit,
         "Object 5: the NV list has no room for its field row of NV output 1; the object is kept without a "
         "link to it."},
    };
    for (const auto& c : cases) {
        for (bool document : {false, true}) {
            auto map = std::make_unique<ObjectMap>();
            // A user-defined structure, whose field rows objects add as they are read.
            ASSERT_EQ(readNV(*map, "nvo=\"1\" unvt_pid=\"1:2:3:4:5:6:7:8\" unvt_info=\"1,0,9,4,0,0,0\""),
                      XmlError::Ok);
            testing::fillPlainNVRows(*map, c.rowsBefore - 1);
            ElementReader reader(*map);
            const bool isNV = c.element.starts_with("<nv");
            const std::string section = isNV ? "netvars" : "objects";
            std::istringstream in(test::document("<" + section + ">" + c.element + "</" + section + ">"));
            const XmlError code = document ? reader.readDocument(in)
                                  : isNV   ? reader.parseNVElement(c.element)
                                           : reader.parseObjectElement(c.element);
            EXPECT_EQ(code, document ? XmlError::Ok : XmlError::CannotAddNV) << c.element;
            EXPECT_EQ(reader.warnings(),
                      document ? std::vector<std::string>{c.warning} : std::vector<std::string>{});
            EXPECT_EQ(map->nvCount, isNV && document ? kListCapacity : c.rowsBefore);
            EXPECT_TRUE(testing::checkLinks(*map));
        }
    }
}

TEST(SendTimeShapes, AcceptedShapes) {
    struct Case {
        const char* text;
        XmlError code;
        xml::SendTimeText value;
    };
    const Case cases[] = {
        {"15", XmlError::Ok, {0, 0, 0, 15, 0}},
        {"1:30", XmlError::Ok, {0, 0, 1, 30, 0}},
        {"2:3:4", XmlError::Ok, {0, 2, 3, 4, 0}},
        {"2,0:0:0", XmlError::Ok, {2, 0, 0, 0, 0}},
        {"1,2:3:4.500", XmlError::Ok, {1, 2, 3, 4, 500}},
        {" 7 ", XmlError::Ok, {0, 0, 0, 7, 0}},
        {"1:2:3.5", XmlError::BadSyntax, {}},
        {"", XmlError::BadSyntax, {}},
        {"a", XmlError::BadSyntax, {}},
        {"65536,0:0:0", XmlError::OutOfRange, {}},
        {"65535,0:0:0", XmlError::Ok, {65535, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        xml::SendTimeText value;
        EXPECT_EQ(xml::scanSendTime(c.text, value), c.code) << c.text;
        if (c.code == XmlError::Ok) {
            EXPECT_EQ(value.days, c.value.days) << c.text;
            EXPECT_EQ(value.hours, c.value.hours) << c.text;
            EXPECT_EQ(value.minutes, c.value.minutes) << c.text;
            EXPECT_EQ(value.seconds, c.value.seconds) << c.text;
            EXPECT_EQ(value.milliseconds, c.value.milliseconds) << c.text;
        }
    }
}

class PortElement : public ::testing::Test {
protected:
    std::unique_ptr<ObjectMap> map = std::make_unique<ObjectMap>();
};

TEST_F(PortElement, PortFieldsReplaceTheLiveOnesOnlyWhenOneAppeared) {
    ASSERT_EQ(
        readPort(*map, "clear=\"1\" baud=\"9600\" parity=\"1\" stop=\"2\" slavemode=\"1\" slave=\"12\""),
        XmlError::Ok);
    EXPECT_EQ(map->modbus, (ModbusSettings{12, 0, 9600,
                                           PortFlag::Parity | PortFlag::OddParity | PortFlag::TwoStopBits |
                                               PortFlag::GatewayIsSlave,
                                           0}));
    ASSERT_EQ(readPort(*map, "parity=\"2\" stop=\"1\" bigend=\"1\" timeout=\"30\" predelay=\"5\""),
              XmlError::Ok);
    EXPECT_EQ(map->modbus.flags, PortFlag::Parity | PortFlag::GatewayIsSlave | PortFlag::HighRegFirst);
    EXPECT_EQ(map->modbus.timeout, 30);
    const ModbusSettings before = map->modbus;
    ASSERT_EQ(readPort(*map, "subnet=\"1.2.3.4\""), XmlError::Ok);
    EXPECT_EQ(map->modbus, before);
    EXPECT_EQ(map->tcp, TcpSettings{}); // without ipaddr the TCP settings are not taken
}

TEST_F(PortElement, TcpSettingsAreTakenOnlyWhileTheAddressIsUnset) {
    ASSERT_EQ(readPort(*map, "ipaddr=\"10.0.0.5\" subnet=\"255.0.0.0\" gateway=\"10.0.0.1\" port=\"503\""),
              XmlError::Ok);
    EXPECT_EQ(map->tcp, (TcpSettings{{10, 0, 0, 5}, {255, 0, 0, 0}, {10, 0, 0, 1}, 503}));
    ASSERT_EQ(readPort(*map, "ipaddr=\"10.0.0.6\" port=\"504\""), XmlError::Ok);
    EXPECT_EQ(map->tcp.ipaddr, (IpAddress{10, 0, 0, 5}));
    EXPECT_EQ(map->tcp.port, 503);
}

TEST_F(PortElement, DeviceMapEntriesAreNormalisedAndPacked) {
    ASSERT_EQ(readPort(*map, "dev=\"3\" ipmap=\"0,5,250,0.0.0.0:0\""), XmlError::Ok);
    EXPECT_EQ(map->tcpMap[0], (TcpDeviceMap{1, 5, 246, {192, 168, 0, 1}, 1}));
    EXPECT_FALSE(map->tcpMap[2].inUse());
}

TEST_F(PortElement, Codes) {
    EXPECT_EQ(readPort(*map, "parity=\"3\""), XmlError::BadOption);
    EXPECT_EQ(readPort(*map, "ipmap=\"1,2,3,1.2.3.4:5\""), XmlError::OutOfRange);
    EXPECT_EQ(readPort(*map, "dev=\"21\""), XmlError::OutOfRange);
    EXPECT_EQ(readPort(*map, "dev=\"1\" ipmap=\"1,2,3,1.2.3.256:5\""), XmlError::OutOfRange);
    EXPECT_EQ(readPort(*map, "dev=\"1\" ipmap=\"1,2,3,1.2.3.4:65536\""), XmlError::OutOfRange);
    EXPECT_EQ(readPort(*map, "dev=\"1\" ipmap=\"1,2,3,1.2.3.4\""), XmlError::BadSyntax);
    EXPECT_EQ(readPort(*map, "baud=\"38401\""), XmlError::OutOfRange);
    EXPECT_EQ(readPort(*map, "ipaddr=\"1.2.3\""), XmlError::BadSyntax);
    EXPECT_EQ(map->modbus, ModbusSettings{});
    EXPECT_EQ(map->tcp, TcpSettings{});
}

TEST(NodeElement, LocationIsCutAndPidRanged) {
    auto map = std::make_unique<ObjectMap>();
    ElementReader reader(*map);
    const std::string longLoc(40, 'L');
    ASSERT_EQ(reader.parseNodeElement("<nd loc=\"" + longLoc + "\" pid=\"255\"/>"), XmlError::Ok);
    EXPECT_EQ(textOf(map->node.loc), longLoc.substr(0, kLocationLength));
    EXPECT_EQ(map->node.pid, 255);
    EXPECT_EQ(reader.parseNodeElement("<nd pid=\"256\"/>"), XmlError::OutOfRange);
    ASSERT_EQ(reader.parseNodeElement("<nd pid=\"4\"/>"), XmlError::Ok);
    EXPECT_EQ(textOf(map->node.loc), longLoc.substr(0, kLocationLength));
}

} // namespace
} // namespace korvex

namespace korvex {
namespace {

// An NV written as an element reads back as the same rows: every standard type, and user types
// of every scope (scope 0 being the form an NV imported with a user-defined type takes).
TEST(NVElementRoundTrip, EveryStandardAndUserTypeReadsBackAsWritten) {
    std::vector<NVAddRequest> requests;
    for (int t = 1; t <= SnvtCount; ++t) requests.push_back(NVAddRequest{.snvt = t});
    for (uint8_t scope = 0; scope <= 6; ++scope)
        for (uint8_t base : {0, 4, 9, 12, 14})
            requests.push_back(NVAddRequest{.userType = UserNVType{static_cast<uint8_t>(scope * 4 + 1),
                                                                   base,
                                                                   -3,
                                                                   2,
                                                                   7,
                                                                   scope,
                                                                   {1, 2, 3, 4, 5, 6, 7, scope}}});
    int fb = 0;
    for (NVAddRequest request : requests) {
        request.fbNumber = fb++ % kFbNumbers + 1;
        request.isInput = fb % 2 == 0;
        request.name = "nv";
        auto map = std::make_unique<ObjectMap>();
        ASSERT_EQ(addNV(*map, 0, request), 0);
        NetVar& header = map->nvs[0];
        if (header.size == 0) header.size = snvt_size(header.snvt); // as an imported NV has it
        if (!header.isInput) header.maxSendTime = SendTime{5, 4, 3, 2};
        auto back = std::make_unique<ObjectMap>();
        ASSERT_EQ(test::readNVLine(*back, writeNVElement(*map, 0, true, "nv")), XmlError::Ok);
        ASSERT_EQ(back->nvCount, map->nvCount) << request.snvt;
        back->nvs[0].inDevice = 0;
        for (int r = 0; r < map->nvCount; ++r)
            EXPECT_EQ(back->nvs[r], map->nvs[r]) << request.snvt << " row " << r;
    }
}

// A type description of scope 0 after `snvt` describes no user type: the standard type stays.
TEST(NVElementRoundTrip, ScopeZeroDescriptionKeepsTheStandardTypeOfAnEarlierSnvt) {
    for (int t = 1; t <= SnvtCount; ++t) {
        for (const char* info : {"0,0,5,2,1,0,0", "0,39,5,2,1,-1,-2740", "0,0,9,3,0,0,0"}) {
            auto map = std::make_unique<ObjectMap>();
            const std::string attributes =
                "nvo=\"1\" snvt=\"" + std::to_string(t) + "\" unvt_info=\"" + info + "\"";
            ASSERT_EQ(test::readNV(*map, attributes), XmlError::Ok) << attributes;
            EXPECT_EQ(map->nvs[0].snvt, t) << attributes;
            EXPECT_EQ(map->nvCount, standardTypeRowCount(t)) << attributes;
        }
    }
    // The tool's own form of a user type with type index 0 (no `snvt`) stays a one-row user type.
    auto map = std::make_unique<ObjectMap>();
    ASSERT_EQ(test::readNV(*map, "nvo=\"1\" unvt_pid=\"0:0:0:0:0:0:0:0\" unvt_info=\"0,0,9,3,0,0,0\""),
              XmlError::Ok);
    EXPECT_EQ(map->nvCount, 1);
    EXPECT_EQ(map->nvs[0].snvt, 0);
    EXPECT_EQ(map->nvs[0].size, 3);
    EXPECT_EQ(map->nvs[0].baseType, 9);
}

// An element closed by a bare '>' meets it where the next attribute name should start: code 2,
// for every element kind; only a unit cut off before any '>' is bad syntax.
TEST(ElementClose, WithoutSlashIsAnUnrecognizedTagForEveryKind) {
    const struct {
        XmlError (ElementReader::*parse)(std::string_view);
        const char* line;
        XmlError code;
    } cases[] = {
        {&ElementReader::parseObjectElement, "<obj n=\"5\">", XmlError::UnknownTag},
        {&ElementReader::parseObjectElement, "<obj n=\"5\" >", XmlError::UnknownTag},
        {&ElementReader::parseObjectElement, "<obj >", XmlError::UnknownTag},
        {&ElementReader::parseNVElement, "<nv nvo=\"1\" snvt=\"8\">", XmlError::UnknownTag},
        {&ElementReader::parsePortElement, "<mod baud=\"9600\">", XmlError::UnknownTag},
        {&ElementReader::parseNodeElement, "<nd loc=\"x\">", XmlError::UnknownTag},
        {&ElementReader::parseObjectElement, "<obj n=\"5\"", XmlError::BadSyntax},
        {&ElementReader::parseNodeElement, "<nd loc=\"x\" ", XmlError::BadSyntax},
        {&ElementReader::parseObjectElement, "<obj n=\"5\" name=\"a\" name=\"b\">", XmlError::Duplicate},
    };
    for (const auto& c : cases) {
        auto map = std::make_unique<ObjectMap>();
        ElementReader reader(*map);
        EXPECT_EQ((reader.*c.parse)(c.line), c.code) << c.line;
    }
    auto map = std::make_unique<ObjectMap>();
    const auto result = test::readDocumentText(*map, test::document("<objects><obj n=\"5\"></objects>"));
    EXPECT_EQ(result.message, "Unrecognized tag name at line #4");
}

} // namespace
} // namespace korvex
