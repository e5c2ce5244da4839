// Live values: the slot conversions, the "pr" and "pw" sequences with "Undef" and refusals, the
// single value write that the status loop starts, and the View Data box.
#include "DeviceTestSupport.h"
#include "vocab/ObjectValue.h"
#include "vocab/RegisterCodes.h"

#include <bit>
#include <cmath>
#include <limits>

namespace korvex::device {
namespace {

using test::Harness;
namespace T = ObjectDataType;

TEST(ValueSlotTest, NumberToSlot) {
    struct Case {
        double x;
        int type;
        uint32_t slot;
    } cases[] = {
        {70000, T::U16, 65535},
        {-5, T::U16, 0},
        {2.5, T::U16, 3},
        {-40000, T::S16, static_cast<uint16_t>(int16_t{-32767})},
        {40000, T::S16, 32767},
        {2.5, T::S16, 3},
        {-2.5, T::S16, static_cast<uint16_t>(int16_t{-3})}, // halves away from zero, as for defaults
        {-3, T::S16, static_cast<uint16_t>(int16_t{-3})},
        {-3, T::S32, static_cast<uint32_t>(-3)},
        {3e9, T::S32, 0x7FFFFFFFu},
        {-3e9, T::S32, 0x80000000u},
        {-1, T::U32, 0},
        {4294967296.4, T::U32, 0xFFFFFFFFu}, // held to the range
        {4294967295.0, T::U32, 0xFFFFFFFFu},
        {0.1, T::BIT, 1},
        {0, T::BIT, 0},
        {1.5, T::FP, std::bit_cast<uint32_t>(1.5f)},
        {std::nan(""), T::S32, 0},
        {12, 9, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(object_value_from_number(c.x, c.type), c.slot) << c.x << " type " << c.type;
}

TEST(ValueSlotTest, SlotToNumberAndItsText) {
    EXPECT_EQ(fixedSix(object_value_to_number(2, T::BIT)), "1.000000");
    EXPECT_EQ(fixedSix(object_value_to_number(0xFFFF, T::S16)), "-1.000000");
    EXPECT_EQ(fixedSix(object_value_to_number(0xFFFFFFFFu, T::U32)), "4294967295.000000");
    EXPECT_EQ(fixedSix(object_value_to_number(std::bit_cast<uint32_t>(-0.125f), T::FP)), "-0.125000");
    EXPECT_EQ(fixedSix(object_value_to_number(77, 0)), "0.000000");
    double x = 0;
    EXPECT_TRUE(scanReal("\r\n  -12.5e1\r\n:->", x));
    EXPECT_EQ(x, -125.0);
    EXPECT_TRUE(scanReal("1e-400", x));
    EXPECT_EQ(x, 0.0);
    EXPECT_FALSE(scanReal("Undef object", x));
    EXPECT_FALSE(scanReal("", x));
    EXPECT_FALSE(scanReal("--1", x));
}

// Objects 5, 6, 8 and 9 defined in the gateway with values; 7 is not.
void gatewayValues(sim::GatewayConfig& config) {
    for (int n : {5, 6, 8, 9}) {
        config.objects[n].kind = "obj";
        config.objects[n].set("datatype", "FP");
        config.values[static_cast<std::size_t>(n)] = n + 0.25;
    }
}

TEST(ValueTransferTest, ReadStopsAtAnObjectTheGatewayDoesNotKnow) {
    Harness h;
    gatewayValues(h.gateway());
    h.map.object(5)->datatype = T::U16;
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startReadValues(5, 9));
    h.run();
    EXPECT_EQ(h.driver.lines(), (std::vector<std::string>{"pr 5", "pr 6", "pr 7"}));
    EXPECT_EQ(h.sink.box(Page::ViewData),
              "Object #5 read ok.\nObject #6 read ok.\nObject 7 not defined in device.\n");
    EXPECT_EQ(h.values.slot(5), (ValueSlot{5, true}));
    EXPECT_EQ(h.map.object(6)->datatype, T::FP); // no type yet: taken as FP
    EXPECT_EQ(h.values.slot(6), (ValueSlot{std::bit_cast<uint32_t>(6.25f), true}));
    EXPECT_FALSE(h.values.slot(7).fresh);
    EXPECT_EQ(h.sink.refreshCount(Refresh::Values), 1);
}

TEST(ValueTransferTest, WriteSendsTheSlotsAsNumbers) {
    Harness h;
    gatewayValues(h.gateway());
    h.map.object(5)->datatype = T::BIT;
    h.map.object(6)->datatype = T::S16;
    h.values.slot(5).value = 2;
    h.values.slot(6).value = 0xFFFE;
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startWriteValues(5, 6));
    h.run();
    EXPECT_EQ(h.driver.lines(), (std::vector<std::string>{"pw 5 1.000000", "pw 6 -2.000000"}));
    EXPECT_EQ(h.gateway().values[6], -2.0);
    EXPECT_TRUE(h.values.slot(6).fresh);
    EXPECT_EQ(h.sink.box(Page::ViewData), "Object #5 written ok.\nObject #6 written ok.\n");
}

TEST(ValueTransferTest, Failures) {
    struct Case {
        bool write;
        std::string reply;
        std::string box;
    } cases[] = {
        {false, "", "Device timed out.\n"},
        {false, "no number here", "Unable to parse result.\n"},
        {false, "Undef", "Object 5 not defined in device.\n"},
        {true, "Read only", "Error writing object.\n"},
        {true, "Object Undef", "Object 5 not defined in device.\n"},
        {true, "", "Device timed out.\n"},
    };
    for (const Case& c : cases) {
        Harness h;
        h.driver.hook = [&](const std::string&) { return c.reply; };
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(c.write ? h.engine.startWriteValues(5, 6) : h.engine.startReadValues(5, 6));
        h.run();
        EXPECT_EQ(h.driver.lines().size(), 1u) << c.reply;
        EXPECT_EQ(h.sink.box(Page::ViewData), c.box) << c.reply;
    }
}

TEST(ValueTransferTest, SingleWriteRequestIsStartedByTheStatusLoop) {
    Harness h;
    gatewayValues(h.gateway());
    h.map.object(8)->datatype = T::U16;
    h.values.slot(8).value = 1234;
    raiseRequest(h.engine.requests.valueWriteRequest, 8);
    h.run();
    EXPECT_EQ(h.driver.lines(), std::vector<std::string>{"pw 8 1234.000000"});
    EXPECT_TRUE(h.sink.connected);
    EXPECT_EQ(h.sink.box(Page::ViewData), "Object #8 written ok.\n");

    // While another command runs the value stays in the slot only.
    ASSERT_TRUE(h.engine.startUsage());
    raiseRequest(h.engine.requests.valueWriteRequest, 8);
    h.reporter.pass();
    EXPECT_EQ(h.sink.box(Page::ViewData), "Object #8 written ok.\nComm port busy\n");
    EXPECT_EQ(h.engine.requests.valueWriteRequest.load(), 0);
    h.run();
    EXPECT_EQ(h.driver.lines().size(), 2u);
}

} // namespace
} // namespace korvex::device
