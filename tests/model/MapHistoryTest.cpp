// The map's undo history: steps and their limits, what is shared between snapshots, marks that
// are no step, and which in-device marks an undo may keep.
#include "support/MapBuilders.h"

#include "model/FixedText.h"
#include "model/MapHistory.h"
#include "model/PortSettingsMarks.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvex {
namespace {

using testing::newMap;
using Recorded = MapHistory::Recorded;

bool sameMap(const ObjectMap& a, const ObjectMap& b) {
    return a.objects == b.objects && a.nvs == b.nvs && a.nvCount == b.nvCount && a.registers == b.registers &&
           a.registerCount == b.registerCount && a.node == b.node && a.modbus == b.modbus;
}

void rename(ObjectMap& map, int nvRow, const char* name) {
    setText(map.nvs[static_cast<std::size_t>(nvRow)].name, name);
}

TEST(MapHistory, UndoAndRedoWalkTheStepsAndANewChangeDropsWhatCouldBeRedone) {
    auto map = newMap();
    map->nvCount = 1;
    MapHistory history;
    history.reset(*map);
    const auto start = std::make_unique<ObjectMap>(*map);

    rename(*map, 0, "first");
    EXPECT_EQ(history.record(*map), Recorded::Step);
    history.closeStep();
    map->object(7)->modreg = 40;
    map->registerCount = 1;
    EXPECT_EQ(history.record(*map), Recorded::Step);
    history.closeStep();
    const auto edited = std::make_unique<ObjectMap>(*map);

    EXPECT_EQ(history.undo(*map), HistoryPart::Objects | HistoryPart::RegisterList);
    EXPECT_EQ(history.undo(*map), HistoryPart::NVList);
    EXPECT_EQ(history.undo(*map), 0u) << "nothing before the start";
    EXPECT_TRUE(sameMap(*map, *start));
    EXPECT_EQ(history.redoSteps(), 2);
    history.redo(*map);
    history.redo(*map);
    EXPECT_TRUE(sameMap(*map, *edited));

    history.undo(*map);
    map->node.pid = 3;
    EXPECT_EQ(history.record(*map), Recorded::Step);
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undoSteps(), 2);
}

TEST(MapHistory, ChangesWhileAStepIsOpenAreOneStep) {
    auto map = newMap();
    MapHistory history;
    history.reset(*map);
    for (int n = 1; n <= kObjectCount; ++n) {
        map->object(n)->modreg = static_cast<uint16_t>(n);
        history.record(*map);
    }
    history.closeStep();
    EXPECT_EQ(history.undoSteps(), 1);
    EXPECT_EQ(history.undo(*map), HistoryPart::Objects);
    EXPECT_EQ(map->object(400)->modreg, 0);
}

// Three steps are kept, a fourth drops the oldest; one-row edits of a full map share every chunk
// but the one they touch.
TEST(MapHistory, StepsAreBoundedAndSnapshotsShareWhatDidNotChange) {
    auto map = newMap();
    map->nvCount = map->registerCount = kListCapacity;
    MapHistory few(3);
    few.reset(*map);
    for (int i = 0; i < 4; ++i) {
        map->nvs[0].fbNumber = i + 1;
        few.record(*map);
        few.closeStep();
    }
    EXPECT_EQ(few.undoSteps(), 3);
    while (few.canUndo()) few.undo(*map);
    EXPECT_EQ(map->nvs[0].fbNumber, 1);

    MapHistory history;
    history.reset(*map);
    const std::size_t base = history.bytesUsed();
    EXPECT_GT(base, sizeof(ObjectMap) * 9 / 10);
    for (int i = 0; i < 50; ++i) {
        map->registers[static_cast<std::size_t>(i * 20)].poll = static_cast<uint16_t>(i + 1);
        history.record(*map);
        history.closeStep();
    }
    EXPECT_EQ(history.undoSteps(), 50);
    EXPECT_LT(history.bytesUsed() - base, 50 * 6 * 1024u) << "each step copies one chunk of registers";
}

// A send marks rows as in the device: no step. An undo brings its rows back with their in-device
// marks only while the device cannot have been sent anything since their state was current.
TEST(MapHistory, MarksAloneAreNoStepAndUndoTrustsOldInDeviceMarksOnlyWithoutASendSince) {
    struct Case {
        const char* name;
        bool sendAfterEdit;
        uint8_t inDeviceAfterUndo;
    };
    for (const Case& c : {Case{"no send since", false, 1}, Case{"sent the edit", true, 0}}) {
        auto map = newMap();
        map->nvCount = 2;
        map->nvs[0].inDevice = map->nvs[1].inDevice = 1;
        MapHistory history;
        history.reset(*map);
        rename(*map, 0, "edited");
        map->nvs[0].inDevice = 0;
        history.record(*map);
        history.closeStep();
        if (c.sendAfterEdit) {
            map->nvs[0].inDevice = 1;
            EXPECT_EQ(history.record(*map), Recorded::Marks) << c.name;
        }
        EXPECT_EQ(history.undoSteps(), 1) << c.name;
        history.undo(*map);
        EXPECT_EQ(map->nvs[0].inDevice, c.inDeviceAfterUndo) << c.name;
        EXPECT_EQ(map->nvs[1].inDevice, 1) << c.name << ": a row the undo left alone keeps its marks";
    }
}

TEST(MapHistory, PortSettingsThatAnUndoChangesAreNoLongerConfirmed) {
    auto map = newMap();
    map->modbus.flags |= PortFlag::ConfirmedInDevice;
    map->tcpConfirmed = true;
    MapHistory history;
    history.reset(*map);
    map->modbus.baud = 9600;
    history.record(*map);
    EXPECT_EQ(history.undo(*map), HistoryPart::PortSettings);
    EXPECT_EQ(map->modbus.baud, 19200);
    EXPECT_FALSE(portSettingsConfirmed(*map));
    EXPECT_FALSE(map->tcpConfirmed);
}

} // namespace
} // namespace korvex
