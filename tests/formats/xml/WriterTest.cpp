// The element writers byte for byte: objects (clearing form, register side, NV side, defaults),
// NVs (standard, user types, rows that write nothing), port, TCP and node elements, FP default
// values by digit count, send times, and the treatment of '"' and '>' in texts.
#include "formats/xml/ElementWriter.h"
#include "model/FixedText.h"
#include "support/XmlTestSupport.h"
#include "vocab/RegisterCodes.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>

namespace korvex {
namespace {

class Writers : public ::testing::Test {
protected:
    std::unique_ptr<ObjectMap> map = std::make_unique<ObjectMap>();
};

TEST_F(Writers, EmptyObjectGivesTheClearingForm) {
    EXPECT_EQ(writeObjectElement(*map, 5), "<obj n=\"5\" clear=\"1\"/>\r\n");
}

TEST_F(Writers, ObjectWithOnlyADataType) {
    map->object(6)->datatype = ObjectDataType::U16;
    EXPECT_EQ(writeObjectElement(*map, 6), "<obj n=\"6\" clear=\"1\" datatype=\"U16\"/>\r\n");
}

TEST_F(Writers, ObjectRegisterSide) {
    DataObject& o = *map->object(1);
    o.datatype = ObjectDataType::FP;
    setText(o.name, "Flow");
    o.flags = ObjectFlag::InUse | ObjectFlag::WriteOnUpdate | ObjectFlag::HighRegFirst | ObjectFlag::Packed |
              ObjectFlag::WritePeriodic;
    o.scale = 2.5f;
    o.offset = -0.125f;
    o.modreg = 40;
    o.modtype = RegisterType::Holding;
    o.moddata = RegisterFormat::FP;
    o.slave = 3;
    o.poll = 1;
    o.mask = 0xF0;
    o.fill = 0xABCDEF12;
    EXPECT_EQ(
        writeObjectElement(*map, 1),
        "<obj n=\"1\" clear=\"1\" datatype=\"FP\" name=\"Flow\" scale=\"2.500000\" offset=\"-0.125000\" "
        "modreg=\"40\" modtype=\"4X\" moddata=\"FP\" slave=\"3\" poll=\"1\" mask=\"000000F0\" "
        "fill=\"ABCDEF12\" writepolled=\"1\" writedelta=\"1\" bigend=\"1\" pack=\"1\"/>\r\n");
}

TEST_F(Writers, ObjectNVSideDefaultsAndPersistence) {
    DataObject& o = *map->object(2);
    o.datatype = ObjectDataType::U16;
    o.flags = ObjectFlag::InputNV | ObjectFlag::Structured | ObjectFlag::LockField |
              ObjectFlag::DefaultOnPowerUp | ObjectFlag::Persistent |
              ObjectFlag::Packed; // pack without 0x1 is not written
    o.lonNV = 12;
    o.lontype = 11;
    o.lonBitOffset = 8;
    o.lonScaleA = 1;
    o.lonScaleB = -2;
    o.lonMethod = 2;
    o.lonFormula = 1;
    o.defVal = 65535;
    EXPECT_EQ(writeObjectElement(*map, 2),
              "<obj n=\"2\" clear=\"1\" datatype=\"U16\" lonNVI=\"12\" lonstruct=\"1\" lonlock=\"1\" "
              "lontype=\"BIT\" "
              "lonoffset=\"0,8\" lonscale=\"1,-2,0\" lonalg=\"2,1\" defPOR=\"1\" defVal=\"65535\" "
              "persistent=\"1\"/>\r\n");
}

TEST_F(Writers, ObjectValuesTheReaderWouldRefuseAreLeftOutOrBounded) {
    DataObject& o = *map->object(3);
    o.flags = ObjectFlag::OutputNV | ObjectFlag::DefaultOnCommFail;
    o.lonNV = 0; // copied from an NV row without a function-block number
    EXPECT_EQ(writeObjectElement(*map, 3), "<obj n=\"3\" clear=\"1\" datatype=\"NULL\" defFail=\"1\"/>\r\n");
    o.lonNV = 4;
    o.lontype = 14; // a user type's "reference" category has no XML name
    o.lonByteOffset = 200;
    o.lonBitOffset = 40;
    EXPECT_EQ(writeObjectElement(*map, 3),
              "<obj n=\"3\" clear=\"1\" datatype=\"NULL\" lonNVO=\"4\" lontype=\"NULL\" "
              "lonoffset=\"31,15\" lonscale=\"0,0,0\" lonalg=\"0,0\" defFail=\"1\"/>\r\n");
}

TEST_F(Writers, DefaultValueTextByDataType) {
    struct Case {
        uint8_t datatype;
        uint32_t cell;
        const char* text;
    };
    const Case cases[] = {
        {ObjectDataType::FP, std::bit_cast<uint32_t>(12.5f), "12.5000"},
        {ObjectDataType::U32, 4294967295u, "4294967295"},
        {ObjectDataType::S32, static_cast<uint32_t>(-5), "-5"},
        {ObjectDataType::U16, 0xFFFF, "65535"},
        {ObjectDataType::S16, 0x8001, "-32767"},
        {ObjectDataType::BIT, 1, "1"},
        {ObjectDataType::BIT, 0x100, "0"},
        {ObjectDataType::None, 77, "0"},
    };
    for (const Case& c : cases) {
        DataObject o;
        o.datatype = c.datatype;
        o.defVal = c.cell;
        EXPECT_EQ(defaultValueText(o), c.text) << int(c.datatype);
    }
}

TEST(FpDefaults, DecimalsFollowTheDigitsOfTheIntegerPart) {
    const std::pair<float, const char*> cases[] = {
        {12.5f, "12.5000"},        {3.0f, "3.00000"},           {-7.0f, "-7.00000"},
        {0.25f, "0.25000"},        {-0.5f, "-0.50000"},         {999.5f, "999.500"},
        {1234.5f, "1234.50"},      {99999.0f, "99999.0"},       {123456.0f, "123456"},
        {-1234567.0f, "-1234567"}, {123456789.0f, "1.235e+08"}, {-1.0e20f, "-1.000e+20"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(fpDefaultText(value), text) << value;
}

TEST(SendTimes, LeadingZeroPartsAreLeftOut) {
    const std::pair<SendTime, const char*> cases[] = {
        {SendTime{15, 0, 0, 0}, "15"},
        {SendTime{30, 1, 0, 0}, "1:30"},
        {SendTime{0, 0, 0, 2}, "2,0:0:0"},
        {SendTime{0, 0, 5, 0}, "5:0:0"},
        {SendTime{5, 0, 0, 1}, "1,0:0:5"},
        {SendTime{0, 0, 0, 0}, "0"},
        {SendTime{0, 0, 59, 0}, "59:0:0"},
        {SendTime{75, 0, 0, 0}, "1:15"},
        {SendTime{0, 90, 0, 0}, "1:30:0"},
        {SendTime{0, 0, 60, 0}, "2,12:0:0"},
        {SendTime{65535, 65535, 65535, 65535}, "65535,23:59:59"}};
    for (const auto& [time, text] : cases) EXPECT_EQ(sendTimeText(time), text) << text;
}

TEST_F(Writers, NVElements) {
    NetVar& standard = map->nvs[0];
    standard = NetVar{};
    standard.size = 2;
    standard.snvt = 39;
    standard.fbNumber = 3;
    standard.defined = 1;
    standard.maxSendTime = SendTime{0, 0, 0, 2};
    standard.minSendTime = SendTime{15, 0, 0, 0};
    setText(standard.name, "temp");
    NetVar& user = map->nvs[1];
    user = NetVar{};
    user.isInput = 1;
    user.size = 4;
    user.baseType = 9;
    user.scaleA = 1;
    user.scope = 3;
    user.programId = {0x9F, 0xFF, 1, 2, 3, 4, 5, 6};
    user.fbNumber = 4;
    user.minSendTime = SendTime{15, 0, 0, 0}; // inputs carry no send times
    NetVar& imported = map->nvs[2];
    imported = NetVar{};
    imported.size = 1;
    imported.fbNumber = 120;
    map->nvCount = 3;
    EXPECT_EQ(writeNVElement(*map, 0, true),
              "<nv nvo=\"3\" clear=\"1\" snvt=\"39\" max_tm=\"2,0:0:0\" min_tm=\"15\" name=\"temp\"/>\r\n");
    EXPECT_EQ(writeNVElement(*map, 0, false),
              "<nv nvo=\"3\" clear=\"1\" snvt=\"39\" max_tm=\"2,0:0:0\" min_tm=\"15\"/>\r\n");
    EXPECT_EQ(writeNVElement(*map, 1, false),
              "<nv nvi=\"4\" clear=\"1\" unvt_pid=\"9F:FF:01:02:03:04:05:06\" "
              "unvt_info=\"3,0,9,4,1,0,0\"/>\r\n");
    EXPECT_EQ(writeNVElement(*map, 2, false),
              "<nv nvo=\"120\" clear=\"1\" unvt_pid=\"00:00:00:00:00:00:00:00\" "
              "unvt_info=\"0,0,0,1,0,0,0\"/>\r\n");
}

TEST_F(Writers, NVRowsThatWriteNothing) {
    map->nvCount = 4;
    for (int r = 0; r < 4; ++r) {
        map->nvs[r].size = 2;
        map->nvs[r].snvt = 8;
        map->nvs[r].fbNumber = 1;
    }
    map->nvs[0].fbNumber = 0;
    map->nvs[1].isField = 1;
    map->nvs[2].size = 0;
    map->nvs[3].fbNumber = 121;
    for (int r = 0; r < 4; ++r) EXPECT_EQ(writeNVElement(*map, r, true), "") << r;
    EXPECT_EQ(writeNVElement(*map, 4, true), "");
    EXPECT_EQ(writeNVElement(*map, -1, true), "");
}

TEST_F(Writers, PortElement) {
    EXPECT_EQ(writePortElement(*map),
              "<mod clear=\"1\" baud=\"19200\" bigend=\"1\" slavemode=\"1\" slave=\"1\" "
              "predelay=\"50\"/>\r\n");
    map->modbus = ModbusSettings{9, 25, 0, PortFlag::Parity | PortFlag::OddParity | PortFlag::TwoStopBits, 0};
    EXPECT_EQ(writePortElement(*map),
              "<mod clear=\"1\" baud=\"19200\" parity=\"1\" stop=\"2\" slavemode=\"0\" timeout=\"25\"/>\r\n");
    EXPECT_EQ(map->modbus.baud, 19200);
    map->modbus.flags = PortFlag::Parity | PortFlag::ConfirmedInDevice;
    EXPECT_EQ(writePortElement(*map),
              "<mod clear=\"1\" baud=\"19200\" parity=\"2\" slavemode=\"0\" timeout=\"25\"/>\r\n");
}

TEST_F(Writers, TcpAndNodeElements) {
    EXPECT_EQ(writeTcpSettingsElement(*map),
              "<mod ipaddr=\"0.0.0.0\" subnet=\"255.255.255.0\" gateway=\"0.0.0.0\" port=\"502\"/>\r\n");
    map->tcpMap[0] = TcpDeviceMap{1, 5, 246, {192, 168, 0, 1}, 1};
    EXPECT_EQ(writeTcpDeviceElement(*map, 1), "<mod dev=\"1\" ipmap=\"1,5,246,192.168.0.1:1\"/>\r\n");
    EXPECT_EQ(writeTcpDeviceElement(*map, 21), "");
    setText(map->node.loc, "Hall 3");
    map->node.pid = 7;
    EXPECT_EQ(writeNodeElement(*map), "<nd loc=\"Hall 3\" pid=\"7\"/>\r\n");
}

TEST_F(Writers, DoubleQuoteAndGreaterThanNeverReachAValue) {
    setText(map->node.loc, "a\"b>c<d&e");
    EXPECT_EQ(writeNodeElement(*map), "<nd loc=\"a_b_c<d&e\" pid=\"0\"/>\r\n");
    setText(map->object(1)->name, "\"Q\" > 2");
    map->object(1)->datatype = ObjectDataType::BIT;
    EXPECT_EQ(writeObjectElement(*map, 1),
              "<obj n=\"1\" clear=\"1\" datatype=\"BIT\" name=\"_Q_ _ 2\"/>\r\n");
    EXPECT_EQ(quotableText("plain"), "plain");
}

} // namespace
} // namespace korvex
