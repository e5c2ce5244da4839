// The marks beside the port settings: what a page edit, a TCP edit or the device link's finding
// does to the confirmed marks and the saved indicator.
#include "model/PortSettingsMarks.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvex {
namespace {

constexpr uint8_t kConfirmed = PortFlag::ConfirmedInDevice;

TEST(PortSettingsMarks, ThePageEditDropsOnlyWhatDiffers) {
    struct Case {
        const char* what;
        bool differsFromPage;
        bool differsFromFile;
        bool unconfirmed; // returned, and the confirmed flag gone
        bool saved;
    };
    const Case cases[] = {
        {"as shown and as saved", false, false, false, true},
        {"as shown, not as saved", false, true, false, false},
        {"changed, still as saved", true, false, true, true},
        {"changed from both", true, true, true, false},
    };
    for (const Case& c : cases) {
        auto map = std::make_unique<ObjectMap>();
        ModbusSettings typed = map->modbus;
        typed.flags |= kConfirmed;
        map->pageSnapshot = map->fileSnapshot = typed;
        if (c.differsFromPage) map->pageSnapshot.baud = 1200;
        if (c.differsFromFile) map->fileSnapshot.baud = 1200;
        map->fileSnapshot.flags &= static_cast<uint8_t>(~kConfirmed); // never compared
        EXPECT_EQ(takePortSettingsFromPage(*map, typed), c.unconfirmed) << c.what;
        EXPECT_EQ((map->modbus.flags & kConfirmed) == 0, c.unconfirmed) << c.what;
        EXPECT_EQ(map->modbus.baud, typed.baud) << c.what;
        EXPECT_EQ(map->saveIndicators.portSettings, c.saved) << c.what;
    }
}

TEST(PortSettingsMarks, TcpEditsAndTheDeviceLinkTakeTheConfirmationAway) {
    auto map = std::make_unique<ObjectMap>();
    const auto confirmAll = [&] {
        map->modbus.flags |= kConfirmed;
        map->tcpConfirmed = true;
        map->saveIndicators.portSettings = true;
    };
    map->deviceModel = kTcpDeviceModel;
    confirmAll();
    EXPECT_TRUE(portSettingsConfirmed(*map));

    noteTcpSettingsTyped(*map);
    EXPECT_FALSE(map->tcpConfirmed);
    EXPECT_TRUE(map->modbus.flags & kConfirmed);
    EXPECT_FALSE(map->saveIndicators.portSettings);
    EXPECT_FALSE(portSettingsConfirmed(*map));

    confirmAll();
    noteTcpMapEdited(*map);
    EXPECT_FALSE(map->tcpConfirmed || (map->modbus.flags & kConfirmed) || map->saveIndicators.portSettings);

    confirmAll();
    clearPortConfirmation(*map);
    EXPECT_FALSE(map->tcpConfirmed || (map->modbus.flags & kConfirmed));
    EXPECT_TRUE(map->saveIndicators.portSettings);

    // Without Modbus TCP the TCP mark does not count.
    map->deviceModel = 0;
    map->modbus.flags |= kConfirmed;
    EXPECT_TRUE(portSettingsConfirmed(*map));
}

} // namespace
} // namespace korvex
