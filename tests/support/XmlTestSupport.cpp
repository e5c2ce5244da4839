#include "support/XmlTestSupport.h"

#include "model/FixedText.h"
#include "model/ObjectLinks.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"
#include "support/MapBuilders.h"
#include "vocab/BaseType.h"
#include "vocab/RegisterCodes.h"

#include <gtest/gtest.h>

namespace korvex::test {
namespace {

using namespace korvex::testing;

void addRegistersAndTheirNVsAndObjects(ObjectMap& map) {
    addRegisterRow(map, RegisterFormat::U16, 1, false, "Level");
    addRegisterRow(map, RegisterFormat::FP, 2, false, "Flow Rate");
    addRegisterRow(map, RegisterFormat::S16, 4, true, "Set\"point>");
    RegisterDef& bit = addRegisterRow(map, RegisterFormat::BIT, 5, false, "Alarm");
    bit.mask = 0x10;
    bit.bitNumber = 5;
    addRegisterRow(map, RegisterFormat::S32, 6, true, "Level"); // same name as row 1
    RegisterDef& scaled = addRegisterRow(map, RegisterFormat::M104, 300, false, "");
    scaled.scale = 0.1f;
    scaled.offset = -40.0f;
    scaled.fill = 0xFF00;
    scaled.highRegFirst = 1;
    ASSERT_EQ(nvListFromRegisters(map), 0);
    ASSERT_EQ(masterListFromRegisters(map), 0);
}

void addStructuredNVs(ObjectMap& map) {
    const int sw = addStandardNV(map, 95, false, 0, "switch");
    ASSERT_EQ(allocateForNV(map, sw), 0);
    const int state = addStandardNV(map, 83, true, 0, "state"); // bitfields 0..15 in byte 0
    ASSERT_EQ(allocateForNV(map, state), 0);
    // A user-defined structure with fields at bytes 0 and 2, each with its object.
    const int user = addUserNV(map, BaseType::STRUCT, false, 0, "userStruct");
    ASSERT_EQ(addField(map, user), 0);
    ASSERT_EQ(addField(map, user + 1), 0);
    for (int f : {user + 1, user + 2}) {
        map.nvs[f].baseType = BaseType::UI;
        map.nvs[f].size = 2;
        map.nvs[f].byteOffset = static_cast<uint8_t>((f - user - 1) * 2);
    }
    ASSERT_EQ(allocateForNV(map, user), 0);
}

// An NV imported with a user-defined type: type index 0, no scope, size 1.
void addImportedUserTypeNV(ObjectMap& map) {
    NVAddRequest request;
    request.userType = UserNVType{1, 0, 0, 0, 0, 0, {}};
    request.name = "imported";
    const int row = map.nvCount;
    ASSERT_EQ(addNV(map, row, request), 0);
    ASSERT_EQ(allocateForNV(map, row), 0);
}

void addOddObjects(ObjectMap& map) {
    // An NV that has no function-block number yet, with an object assigned from it.
    const int unassigned = addStandardNV(map, 39, false, 0, "noFb");
    ASSERT_TRUE(copyNVRowIntoObject(map, unassigned, 380));
    map.object(390)->datatype = ObjectDataType::U32; // a data type and nothing else
    DataObject& withDefault = *map.object(2);        // the FP register's object
    withDefault.flags |= ObjectFlag::DefaultOnCommFail | ObjectFlag::Persistent;
    setDefaultValue(withDefault, 12.5);
    DataObject& s16 = *map.object(3);
    s16.flags |= ObjectFlag::DefaultOnPowerUp | ObjectFlag::DefaultOnLonFail;
    setDefaultValue(s16, -7);
    map.nvs[0].maxSendTime = SendTime{0, 0, 0, 2};
    map.nvs[0].minSendTime = SendTime{75, 0, 0, 0}; // typed as 75 seconds
}

void setSettings(ObjectMap& map) {
    map.modbus =
        ModbusSettings{7, 25, 9600, PortFlag::Parity | PortFlag::OddParity | PortFlag::TwoStopBits, 0};
    setText(map.node.loc, "Plant \"A\" > B");
    map.node.pid = 7;
    map.tcp = TcpSettings{{10, 1, 2, 3}, {255, 255, 0, 0}, {10, 1, 0, 1}, 1502};
    map.tcpMap[1] = TcpDeviceMap{1, 10, 1, {192, 168, 1, 20}, 502};
    map.tcpMap[4] = TcpDeviceMap{20, 0, 300 - 256, {0, 0, 0, 0}, 0};
}

} // namespace

void buildRichMap(ObjectMap& map, int deviceModel) {
    map.deviceModel = deviceModel;
    addRegistersAndTheirNVsAndObjects(map);
    addStructuredNVs(map);
    addImportedUserTypeNV(map);
    addOddObjects(map);
    setSettings(map);
}

} // namespace korvex::test
