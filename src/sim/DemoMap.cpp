#include "sim/DemoMap.h"

#include "model/FixedText.h"
#include "model/lists/ListBuilding.h"
#include "model/lists/ListEditing.h"

#include <string>

namespace korvex::sim {

namespace {

constexpr int kPlainType = 105; // a one-row standard type

bool addStandard(ObjectMap& map, int snvt, bool input, int fb) {
    NVAddRequest request;
    request.snvt = snvt;
    request.isInput = input;
    request.fbNumber = fb;
    const std::string name = std::string(input ? "in" : "out") + std::to_string(fb);
    request.name = name;
    return addNV(map, map.nvCount, request) == kOk;
}

bool addUser(ObjectMap& map, bool input, int fb) {
    NVAddRequest request;
    request.userType = UserNVType{4, 6, 1, -2, 0, 3, {0x9F, 0xFF, 0x12, 0x34, 0x56, 0x78, 0x04, 0x01}};
    request.isInput = input;
    request.fbNumber = fb;
    const std::string name = std::string(input ? "user_in" : "user_out") + std::to_string(fb);
    request.name = name;
    return addNV(map, map.nvCount, request) == kOk;
}

bool addDirection(ObjectMap& map, bool input, const std::vector<int>& structured, int users, int total) {
    int fb = 1;
    for (int snvt : structured)
        if (!addStandard(map, snvt, input, fb++)) return false;
    for (int i = 0; i < users; ++i)
        if (!addUser(map, input, fb++)) return false;
    for (; fb <= total; ++fb) {
        if (!addStandard(map, kPlainType, input, fb)) return false;
        NetVar& row = map.nvs[static_cast<std::size_t>(map.nvCount - 1)];
        if (!input && fb % 3 == 0) row.maxSendTime = SendTime{15, 0, 0, 0};
        if (!input && fb % 4 == 0) row.minSendTime = SendTime{30, 1, 0, 0};
    }
    return true;
}

void portSettings(ObjectMap& map, int tcpEntries) {
    map.deviceModel = kTcpDeviceModel;
    map.modbus = ModbusSettings{7, 25, 9600, PortFlag::Parity | PortFlag::HighRegFirst, 10};
    map.tcp = TcpSettings{{192, 168, 1, 50}, {255, 255, 255, 0}, {192, 168, 1, 1}, 502};
    for (int d = 0; d < tcpEntries && d < kTcpMapEntries; ++d) {
        const auto unit = static_cast<uint8_t>(10 * d + 1);
        map.tcpMap[static_cast<std::size_t>(d)] = TcpDeviceMap{
            unit, static_cast<uint8_t>(unit + 5), 1, {192, 168, 1, static_cast<uint8_t>(100 + d)}, 502};
    }
}

// A few objects with names, defaults and write modes, so that those attributes travel too. Only
// objects in use get them: a transfer never carries the others, so a smaller map would not come
// back as it was sent.
void objectDetails(ObjectMap& map, int lastInUse) {
    for (int n = 5; n <= lastInUse; n += 37) {
        DataObject& object = *map.object(n);
        if (!object.inUse()) continue;
        setText(object.name, "Point " + std::to_string(n));
        object.flags |= ObjectFlag::DefaultOnPowerUp | ObjectFlag::Persistent;
        setDefaultValue(object, n / 10.0);
    }
}

} // namespace

int buildDemoMap(ObjectMap& map, const DemoMapShape& shape) {
    if (!addDirection(map, true, shape.structuredInputs, shape.userInputs, shape.inputs) ||
        !addDirection(map, false, shape.structuredOutputs, shape.userOutputs, shape.outputs))
        return -1;
    if (masterListFromNVs(map) != kOk || registerListFromMaster(map) != kOk) return -1;
    const NumberRange used = objectsInUseRange(map, false);
    objectDetails(map, used.high);
    portSettings(map, shape.tcpEntries);
    return used.high;
}

DemoMapShape roundTripShape() {
    DemoMapShape shape;
    shape.structuredInputs = {83, 83};
    shape.userInputs = 2;
    shape.inputs = 8;
    shape.structuredOutputs.assign(20, 83);
    shape.structuredOutputs.push_back(88);
    shape.structuredOutputs.push_back(158);
    shape.userOutputs = 3;
    shape.outputs = 36;
    return shape;
}

DemoMapShape fullNetVarShape() {
    DemoMapShape shape;
    shape.inputs = 120;
    shape.structuredOutputs.assign(10, 83);
    shape.structuredOutputs.push_back(106);
    shape.structuredOutputs.push_back(106);
    shape.outputs = 120;
    return shape;
}

} // namespace korvex::sim
