// Object map records: accessors at their bounds, clear all, marks, range queries,
// link renumbering, fill free objects, TCP map normalise-and-pack, saved indicators.
#include "support/MapBuilders.h"

#include "model/FixedText.h"
#include "model/ObjectMap.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvex {
namespace {

using testing::newMap;

TEST(ObjectMapAccess, ObjectNumbersOutsideOneTo400GiveNoRecordAndTheLookupWritesNothing) {
    auto map = newMap();
    const ObjectMap& view = *map;
    for (int n : {0, 401, -1, 100000}) {
        EXPECT_EQ(map->object(n), nullptr) << n;
        EXPECT_EQ(view.object(n), nullptr) << n;
    }
    for (int n : {1, 400}) {
        map->object(n)->modreg = static_cast<uint16_t>(n);
        EXPECT_EQ(view.object(n), &map->objects[n - 1]);
        EXPECT_EQ(map->objects[n - 1].modreg, n);
    }
    for (int n = 2; n < 400; ++n) EXPECT_TRUE(map->object(n)->isEmpty()) << n;
}

TEST(ObjectMapAccess, LinkAccessorsRejectRowsOutsideTheList) {
    auto map = newMap();
    map->nvCount = 2;
    map->registerCount = 1;
    EXPECT_EQ(map->nvAtLink(0), nullptr);
    EXPECT_EQ(map->nvAtLink(1), &map->nvs[0]);
    EXPECT_EQ(map->nvAtLink(2), &map->nvs[1]);
    EXPECT_EQ(map->nvAtLink(3), nullptr);
    EXPECT_EQ(map->registerAtLink(1), &map->registers[0]);
    EXPECT_EQ(map->registerAtLink(2), nullptr);
}

TEST(ObjectMapDefaults, StartUpValues) {
    auto map = newMap();
    EXPECT_EQ(map->modbus.slave, 1);
    EXPECT_EQ(map->modbus.timeout, 10);
    EXPECT_EQ(map->modbus.baud, 19200);
    EXPECT_EQ(map->modbus.flags, 3);
    EXPECT_EQ(map->modbus.predelay, 50);
    EXPECT_EQ(map->tcp.subnet, (IpAddress{255, 255, 255, 0}));
    EXPECT_EQ(map->tcp.port, 502);
    EXPECT_EQ(map->deviceModel, 0);
    EXPECT_TRUE(map->saveIndicators.all());
    EXPECT_STREQ(deviceModelName(2), "Korvex-C");
    EXPECT_EQ(deviceModelName(3), nullptr);
    EXPECT_EQ(deviceModelFromName("Korvex-B"), 1);
    EXPECT_EQ(deviceModelFromName("korvex-b"), -1);
}

TEST(ObjectMapClear, ClearAllKeepsPortSettingsAndModel) {
    auto map = newMap();
    map->deviceModel = 2;
    map->modbus.baud = 9600;
    map->objects[5].flags = 0x1;
    map->nvCount = 3;
    map->nvs[0].objectNumber = 6;
    map->registerCount = 2;
    map->tcpMap[0].firstUnit = 4;
    map->tcpConfirmed = true;
    setText(map->node.loc, "Plant room");
    map->node.pid = 7;
    clearAll(*map);
    EXPECT_TRUE(map->objects[5].isEmpty());
    EXPECT_EQ(map->nvCount, 0);
    EXPECT_EQ(map->nvs[0].objectNumber, 0);
    EXPECT_EQ(map->registerCount, 0);
    EXPECT_FALSE(map->tcpMap[0].inUse());
    EXPECT_FALSE(map->tcpConfirmed);
    EXPECT_EQ(textOf(map->node.loc), "");
    EXPECT_EQ(map->node.pid, 0);
    EXPECT_EQ(map->deviceModel, 2);
    EXPECT_EQ(map->modbus.baud, 9600);
}

TEST(ObjectMapLinks, RenumberMovesOnlyLinksAtOrBeyondThePosition) {
    auto map = newMap();
    map->objects[0].nvRow = 1;
    map->objects[1].nvRow = 3;
    map->objects[2].nvRow = 0; // no link stays no link
    map->objects[0].registerRow = 2;
    map->objects[1].registerRow = 5;
    map->registerCount = 2;
    map->registers[0].nvRow = 4;
    map->registers[1].nvRow = 2;
    map->nvCount = 2;
    map->nvs[0].registerRow = 5;
    map->nvs[1].registerRow = 1;

    renumberNVLinks(*map, 3, 2);
    EXPECT_EQ(map->objects[0].nvRow, 1);
    EXPECT_EQ(map->objects[1].nvRow, 5);
    EXPECT_EQ(map->objects[2].nvRow, 0);
    EXPECT_EQ(map->registers[0].nvRow, 6);
    EXPECT_EQ(map->registers[1].nvRow, 2);

    renumberRegisterLinks(*map, 2, -1);
    EXPECT_EQ(map->objects[0].registerRow, 1);
    EXPECT_EQ(map->objects[1].registerRow, 4);
    EXPECT_EQ(map->nvs[0].registerRow, 4);
    EXPECT_EQ(map->nvs[1].registerRow, 1);
}

TEST(ObjectMapQueries, RangesAndMarks) {
    auto map = newMap();
    EXPECT_EQ(objectsInUseRange(*map, false), NumberRange{});
    map->object(3)->flags = ObjectFlag::InUse;
    map->object(10)->flags = ObjectFlag::OutputNV;
    map->object(200)->flags = ObjectFlag::InputNV;
    map->object(200)->syncFlags = SyncFlag::InDevice;
    map->object(300)->datatype = 1; // data type alone is not "in use"
    EXPECT_EQ(objectsInUseRange(*map, false), (NumberRange{3, 200}));
    EXPECT_EQ(objectsInUseRange(*map, true), (NumberRange{3, 10}));
    EXPECT_TRUE(anyObjectInUse(*map));

    map->nvCount = 4;
    map->nvs[0] = NetVar{.isInput = 1, .defined = 1, .fbNumber = 7};
    map->nvs[1] = NetVar{.isInput = 1, .defined = 1, .inDevice = 1, .fbNumber = 1};
    map->nvs[2] = NetVar{.isInput = 1, .defined = 1, .fbNumber = 3};
    map->nvs[3] = NetVar{.isInput = 0, .defined = 1, .fbNumber = 9};
    EXPECT_EQ(fbRangeNotInDevice(*map, true), (NumberRange{3, 7}));
    EXPECT_EQ(fbRangeNotInDevice(*map, false), (NumberRange{9, 9}));
    EXPECT_TRUE(anyHeaderNVNotInDevice(*map));
    EXPECT_TRUE(anyHeaderNVUnsaved(*map));
    markDefinedNVsSaved(*map);
    EXPECT_FALSE(anyHeaderNVUnsaved(*map));
    clearNVsInDevice(*map);
    EXPECT_EQ(map->nvs[1].inDevice, 0);

    EXPECT_TRUE(anyObjectUnsaved(*map));
    markAllObjectsSaved(*map);
    EXPECT_FALSE(anyObjectUnsaved(*map));
    EXPECT_FALSE(allObjectsInDevice(*map));
    fillFreeObjects(*map);
    EXPECT_EQ(map->object(300)->datatype, 0);
    EXPECT_EQ(map->object(300)->syncFlags, SyncFlag::Configured | SyncFlag::InDevice);
    EXPECT_EQ(map->object(3)->flags, ObjectFlag::InUse) << "objects in use are kept";
    clearObjectsInDevice(*map);
    EXPECT_EQ(map->object(300)->syncFlags, SyncFlag::Configured);
}

TEST(ObjectMapIndicators, RecomputeFollowsMarksAndFileSnapshot) {
    auto map = newMap();
    recomputeSaveIndicators(*map);
    EXPECT_TRUE(map->saveIndicators.all());
    map->object(1)->datatype = 1;
    map->modbus.flags |= PortFlag::ConfirmedInDevice; // device mark is not a change
    recomputeSaveIndicators(*map);
    EXPECT_FALSE(map->saveIndicators.objects);
    EXPECT_TRUE(map->saveIndicators.portSettings);
    map->modbus.baud = 4800;
    recomputeSaveIndicators(*map);
    EXPECT_FALSE(map->saveIndicators.portSettings);
}

struct TcpCase {
    TcpDeviceMap in;
    TcpDeviceMap out;
};

TEST(TcpDeviceMapNormalise, NormalisesEntriesInUseAndPacksThemToTheFront) {
    const TcpCase cases[] = {
        {{0, 5, 250, {0, 0, 7, 0}, 0}, {1, 5, 246, {192, 168, 7, 1}, 1}},
        {{3, 4, 5, {10, 1, 2, 3}, 502}, {3, 4, 5, {10, 1, 2, 3}, 502}},
        {{0, 0, 1, {0, 0, 0, 0}, 0}, {1, 1, 1, {192, 168, 0, 1}, 1}},
        {{246, 247, 255, {172, 0, 0, 9}, 65535}, {246, 246, 246, {172, 0, 0, 9}, 65535}},
    };
    std::array<TcpDeviceMap, kTcpMapEntries> entries{};
    for (std::size_t i = 0; i < std::size(cases); ++i) entries[i * 4 + 1] = cases[i].in;
    entries[19].ipAddress = {1, 2, 3, 4}; // not in use: no unit number
    EXPECT_EQ(tcpMapEntriesInUse(entries), 4);
    normaliseTcpMap(entries);
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(entries[i], cases[i].out) << i;
    for (std::size_t i = std::size(cases); i < entries.size(); ++i)
        EXPECT_EQ(entries[i], TcpDeviceMap{}) << i;
}

} // namespace
} // namespace korvex
