// The object map document and file: the exact document, round trips of maps built by the list
// operations (save, load, save gives the same bytes), load semantics (marks, register rebuild,
// failure empties the map) and the cases that must load again after a save.
#include "formats/xml/MapFile.h"
#include "formats/xif/NvImport.h"
#include "formats/xml/ElementWriter.h"
#include "formats/xml/MapDocument.h"
#include "model/FixedText.h"
#include "model/ObjectLinks.h"
#include "model/lists/ListBuilding.h"
#include "support/FileText.h"
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"
#include "support/XmlTestSupport.h"
#include "vocab/RegisterCodes.h"
#include "vocab/SnvtCatalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace korvex {
namespace {

namespace fs = std::filesystem;

using korvex::test::slurp;

class MapFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korvex-xml-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    void writeRaw(const char* name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    fs::path dir;
};

std::string expectedEmptyDocument(const char* model) {
    std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n";
    text += std::string("<!-- Orvanta ") + model + " Configuration File -->\r\n";
    text += std::string("<!-- Created by ") + model + " Tool v2.12 -->\r\n";
    text += "<!-- DO NOT EDIT -->\r\n<!-- Technical support will not assist with a manually edited XML file "
            "-->\r\n";
    text += "\r\n<configuration>\r\n\r\n<netvars>\r\n</netvars>\r\n\r\n";
    text += "<node>\r\n   <nd loc=\"\" pid=\"0\"/>\r\n</node>\r\n\r\n<objects>\r\n";
    for (int n = 1; n <= kObjectCount; ++n)
        text += "   <obj n=\"" + std::to_string(n) + "\" clear=\"1\"/>\r\n";
    text += "</objects>\r\n\r\n<modbus>\r\n";
    text +=
        "   <mod clear=\"1\" baud=\"19200\" bigend=\"1\" slavemode=\"1\" slave=\"1\" predelay=\"50\"/>\r\n";
    return text;
}

TEST(MapDocument, EmptyMapForEachModel) {
    auto map = std::make_unique<ObjectMap>();
    EXPECT_EQ(renderObjectMap(*map).text,
              expectedEmptyDocument("Korvex-A") + "</modbus>\r\n\r\n</configuration>\r\n");
    map->deviceModel = 2;
    map->tcpMap[3] = TcpDeviceMap{0, 5, 250, {0, 0, 0, 0}, 0};
    EXPECT_EQ(renderObjectMap(*map).text,
              expectedEmptyDocument("Korvex-C") +
                  "   <mod ipaddr=\"0.0.0.0\" subnet=\"255.255.255.0\" gateway=\"0.0.0.0\" port=\"502\"/>\r\n"
                  "   <mod dev=\"1\" ipmap=\"1,5,246,192.168.0.1:1\"/>\r\n"
                  "</modbus>\r\n\r\n</configuration>\r\n");
}

// Saves `map`, loads the text into a fresh map and saves that again.
struct RoundTrip {
    std::string first;
    std::string second;
    XmlError code;
    std::unique_ptr<ObjectMap> loaded;
};

RoundTrip roundTrip(ObjectMap& map) {
    RoundTrip trip;
    trip.first = renderObjectMap(map).text;
    trip.loaded = std::make_unique<ObjectMap>();
    trip.loaded->deviceModel = map.deviceModel;
    trip.code = test::readDocumentText(*trip.loaded, trip.first).code;
    trip.second = renderObjectMap(*trip.loaded).text;
    return trip;
}

// An NV import fills the list to all 1000 rows and cuts the field rows of the last structured
// NV that did not fit; saving such a map used to give a file that failed to load ("Unable to add
// NV"), leaving an empty map.
TEST(MapRoundTrip, AListFilledByAnImportLoadsBackWhole) {
    auto table = std::make_unique<ImportTable>();
    for (int i = 0; i < 60; ++i) {
        ImportEntry& e = table->entries[table->count++];
        e.typeIndex = 83; // SNVT_state: a header and 16 field rows
        e.size = snvt_size(83);
        setText(e.name, "state_" + std::to_string(i + 1));
        e.selected = 1;
    }
    auto map = std::make_unique<ObjectMap>();
    add_selected(*table, *map);
    assignFbNumbers(*map);
    ASSERT_EQ(map->nvCount, kListCapacity);
    const RoundTrip trip = roundTrip(*map);
    EXPECT_EQ(trip.code, XmlError::Ok);
    EXPECT_EQ(trip.loaded->nvCount, kListCapacity);
    EXPECT_EQ(trip.second, trip.first);
}

TEST(MapRoundTrip, MapsBuiltByTheListOperationsGiveTheSameBytes) {
    for (int model = 0; model < kDeviceModelCount; ++model) {
        auto map = std::make_unique<ObjectMap>();
        test::buildRichMap(*map, model);
        ASSERT_TRUE(testing::checkLinks(*map));
        const RoundTrip trip = roundTrip(*map);
        ASSERT_EQ(trip.code, XmlError::Ok) << model;
        EXPECT_EQ(trip.first, trip.second) << model;
        EXPECT_TRUE(testing::checkLinks(*trip.loaded));
        EXPECT_EQ(trip.first.find("\n\n"), std::string::npos); // every line ends in CR LF
        EXPECT_EQ(trip.first.find(" lonNVO=\"0\""), std::string::npos);
    }
}

TEST(MapRoundTrip, LoadedMapKeepsWhatTheFileCarries) {
    auto map = std::make_unique<ObjectMap>();
    test::buildRichMap(*map, 2);
    const RoundTrip trip = roundTrip(*map);
    ASSERT_EQ(trip.code, XmlError::Ok);
    const ObjectMap& loaded = *trip.loaded;
    EXPECT_EQ(loaded.nvCount, map->nvCount - 1); // the row without a function-block number stays behind
    // The gateway's own slave address travels only in slave mode; in master mode the timeout.
    EXPECT_EQ(loaded.modbus, (ModbusSettings{0, 25, 9600, map->modbus.flags, 0}));
    EXPECT_EQ(loaded.tcp, map->tcp);
    EXPECT_EQ(loaded.tcpMap, map->tcpMap);
    EXPECT_EQ(textOf(loaded.node.loc), "Plant _A_ _ B");
    EXPECT_EQ(loaded.objects[1].defVal, map->objects[1].defVal);
    EXPECT_EQ(textOf(loaded.objects[2].name), "Set_point_");
    for (int n = 1; n <= kObjectCount; ++n) {
        const DataObject& before = *map->object(n);
        const DataObject& after = *loaded.object(n);
        if (n == 380) continue; // its NV had no function-block number
        EXPECT_EQ(after.lonNV, before.lonNV) << n;
        EXPECT_EQ(after.lonBitOffset, before.lonBitOffset) << n;
        EXPECT_EQ(after.modreg, before.modreg) << n;
        EXPECT_EQ(after.datatype, before.datatype) << n;
        EXPECT_EQ(after.nvRow != 0, before.nvRow != 0) << n;
    }
}

TEST(MapRoundTrip, ObjectsOnStateBitsEightToFifteenLinkAgain) {
    auto map = std::make_unique<ObjectMap>();
    const int row = testing::addStandardNV(*map, 83, false, 5, "state");
    ASSERT_EQ(map->nvs[row + 16].bitOffset, 15);
    const RoundTrip trip = [&] {
        for (int f = 1; f <= 16; ++f) EXPECT_TRUE(copyNVRowIntoObject(*map, row + f, f));
        return roundTrip(*map);
    }();
    ASSERT_EQ(trip.code, XmlError::Ok);
    EXPECT_NE(trip.first.find("lonoffset=\"0,15\""), std::string::npos);
    EXPECT_EQ(trip.loaded->object(16)->nvRow, row + 17);
    EXPECT_EQ(trip.first, trip.second);
}

TEST_F(MapFile, LoadMarksEverythingSavedAndRebuildsTheRegisterList) {
    auto map = std::make_unique<ObjectMap>();
    test::buildRichMap(*map, 0);
    ASSERT_TRUE(writeObjectMap(*map, path("m.xml")).ok);
    auto loaded = std::make_unique<ObjectMap>();
    const MapFileResult result = readObjectMap(*loaded, path("m.xml"));
    ASSERT_TRUE(result.ok) << result.text;
    EXPECT_FALSE(anyObjectUnsaved(*loaded));
    EXPECT_FALSE(anyHeaderNVUnsaved(*loaded));
    for (const DataObject& o : loaded->objects) EXPECT_FALSE(o.inDevice());
    for (int r = 0; r < loaded->nvCount; ++r) EXPECT_EQ(loaded->nvs[r].inDevice, 0);
    int inUse = 0;
    for (const DataObject& o : loaded->objects) inUse += o.hasRegister() ? 1 : 0;
    EXPECT_EQ(loaded->registerCount, inUse);
    EXPECT_TRUE(testing::checkLinks(*loaded));
}

TEST_F(MapFile, SaveMarksObjectsAndWrittenNVRowsSaved) {
    auto map = std::make_unique<ObjectMap>();
    test::buildRichMap(*map, 1);
    ASSERT_TRUE(writeObjectMap(*map, path("m.xml")).ok);
    EXPECT_FALSE(anyObjectUnsaved(*map));
    int unsaved = 0;
    for (int r = 0; r < map->nvCount; ++r) unsaved += map->nvs[r].isHeader() && !map->nvs[r].saved ? 1 : 0;
    EXPECT_EQ(unsaved, 1); // only the NV without a function-block number
    const std::string first = slurp(path("m.xml"));
    ASSERT_TRUE(writeObjectMap(*map, path("m.xml")).ok);
    EXPECT_EQ(slurp(path("m.xml")), first); // saving twice gives the same bytes
}

// Everything a load could touch, to compare a map before and after a failed one.
std::string mapState(const ObjectMap& map) {
    auto copy = std::make_unique<ObjectMap>(map);
    std::string state = renderObjectMap(*copy).text;
    for (int i = 0; i < map.registerCount; ++i) state += std::string(textOf(map.registers[i].name)) + ";";
    const ModbusSettings& m = map.modbus;
    for (int v :
         {m.slave + 0, m.timeout + 0, m.baud + 0, m.flags + 0, m.predelay + 0, map.nvCount, map.registerCount,
          map.saveIndicators.portSettings ? 1 : 0, map.saveIndicators.objects ? 1 : 0})
        state += std::to_string(v) + ",";
    return state;
}

// A document that fails part-way leaves the user's map exactly as it was: no half-loaded map,
// none of the port settings, TCP map or IP settings that an early section set or zeroed.
TEST_F(MapFile, AFailedLoadLeavesTheMapAsItWasAndReportsTheUnit) {
    const struct {
        const char* body;
        const char* text;
    } cases[] = {
        {"<objects><obj n=\"1\" name=\"x\"/><obj n=\"2\" Name=\"y\"/></objects>",
         "Unrecognized tag name at line #5"},
        {"<modbus><mod clear=\"1\" baud=\"9600\"/><mod ipaddr=\"10.1.2.3\" port=\"7\"/>"
         "<mod dev=\"1\" ipmap=\"1,2,3,1.2.3.4:5\"/></modbus><netvars><nv nvo=\"0\"/></netvars>",
         "Parameter out of range at line #9"},
        {"<modbus></modbus><node><nd loc=\"elsewhere\" pid=\"300\"/></node>",
         "Parameter out of range at line #6"},
        {"<netvars><nv nvo=\"1\" snvt=\"8\"/>", "Syntax is bad at line #5"},
    };
    for (const auto& c : cases) {
        auto map = std::make_unique<ObjectMap>();
        test::buildRichMap(*map, kTcpDeviceModel);
        map->tcp.ipaddr = {0, 0, 0, 0}; // so a modbus section would take the file's address
        map->saveIndicators.objects = false;
        const std::string before = mapState(*map);
        writeRaw("bad.xml", test::document(c.body));
        const MapFileResult result = readObjectMap(*map, path("bad.xml"));
        EXPECT_FALSE(result.ok) << c.body;
        EXPECT_EQ(result.text, c.text);
        EXPECT_EQ(mapState(*map), before) << c.body;
    }
}

TEST_F(MapFile, MissingFileGivesTheOpenText) {
    auto map = std::make_unique<ObjectMap>();
    map->object(1)->datatype = 1;
    const MapFileResult result = readObjectMap(*map, path("none.xml"));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.text, "Error opening object map XML file " + path("none.xml") + "\n");
    EXPECT_EQ(map->object(1)->datatype, 1); // nothing was read, nothing cleared
}

TEST_F(MapFile, FileWithoutTcpElementsZeroesTheDeviceMapAndKeepsTheAddress) {
    auto source = std::make_unique<ObjectMap>();
    ASSERT_TRUE(writeObjectMap(*source, path("a.xml")).ok);
    auto map = std::make_unique<ObjectMap>();
    map->tcp.ipaddr = {10, 0, 0, 9};
    map->tcpMap[0] = TcpDeviceMap{1, 2, 3, {1, 2, 3, 4}, 5};
    map->modbus.predelay = 3;
    ASSERT_TRUE(readObjectMap(*map, path("a.xml")).ok);
    EXPECT_FALSE(map->tcpMap[0].inUse());
    EXPECT_EQ(map->tcp.ipaddr, (IpAddress{10, 0, 0, 9}));
    // Written in slave mode, so the timeout is not in the file and the section zeroed it.
    EXPECT_EQ(map->modbus, (ModbusSettings{1, 0, 19200, 3, 50}));
}

TEST_F(MapFile, ObjectsBeforeNetvarsLoadUnlinked) {
    writeRaw("order.xml", test::document("<objects><obj n=\"1\" lonNVO=\"1\" lontype=\"UL\"/></objects>"
                                         "<netvars><nv nvo=\"1\" snvt=\"8\"/></netvars>"));
    auto map = std::make_unique<ObjectMap>();
    ASSERT_TRUE(readObjectMap(*map, path("order.xml")).ok);
    EXPECT_EQ(map->object(1)->nvRow, 0);
    EXPECT_EQ(map->nvs[0].objectNumber, 0);
}

TEST_F(MapFile, ModbusSectionWithoutElementsZeroesThePortSettings) {
    writeRaw("z.xml", test::document("<modbus></modbus>"));
    auto map = std::make_unique<ObjectMap>();
    ASSERT_TRUE(readObjectMap(*map, path("z.xml")).ok);
    EXPECT_EQ(map->modbus, (ModbusSettings{0, 0, 0, 0, 0}));
}

TEST(MapFileNew, ClearsListsButKeepsPortSettingsAndModel) {
    auto map = std::make_unique<ObjectMap>();
    test::buildRichMap(*map, 2);
    const ModbusSettings port = map->modbus;
    newObjectMap(*map);
    EXPECT_EQ(map->nvCount, 0);
    EXPECT_EQ(map->registerCount, 0);
    EXPECT_TRUE(map->object(1)->isEmpty());
    EXPECT_EQ(map->modbus, port);
    EXPECT_EQ(map->deviceModel, 2);
    EXPECT_EQ(textOf(map->node.loc), "");
}

TEST(MapFilePaths, ExtensionsAndNames) {
    EXPECT_TRUE(hasXmlExtension("a.xml.bak"));
    EXPECT_FALSE(hasXmlExtension("a.XML"));
    EXPECT_EQ(withXmlExtension("plant"), "plant.xml");
    EXPECT_EQ(withXmlExtension("plant.xml"), "plant.xml");
    EXPECT_EQ(fileNamePart("C:\\maps\\plant.xml"), "plant.xml");
    EXPECT_EQ(fileNamePart("/home/u/plant.xml"), "plant.xml");
    EXPECT_EQ(fileNamePart("plant.xml"), "plant.xml");
}

} // namespace
} // namespace korvex
