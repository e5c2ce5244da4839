// Cases the reply handler fuzz target and the fault soak turned up, kept as plain tests: each
// went wrong before its fix.
#include "DeviceTestSupport.h"
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"

#include <climits>

namespace korvex::device {
namespace {

using test::Harness;

// Every NV number the engine asks for is answered with a plain definition.
std::optional<std::string> anyNetVar(const std::string& line) {
    const bool input = line.rfind("nvitx ", 0) == 0;
    if (!input && line.rfind("nvotx ", 0) != 0) return std::nullopt;
    return std::string(input ? "<nv nvi=\"" : "<nv nvo=\"") + line.substr(6) +
           "\" clear=\"1\" snvt=\"105\"/>";
}

// Ranges past the last function-block number (120) end there; a direction starting beyond it
// is left out. The walk used to run on to INT_MAX and overflow.
TEST(EngineRobustnessTest, NetVarRangesStopAtTheLastFunctionBlockNumber) {
    struct Case {
        int fi, li, fo, lo;
        std::vector<std::string> lines;
    } cases[] = {
        {INT_MAX, INT_MAX, 0, 0, {}},     {119, INT_MAX, 0, 0, {"nvitx 119", "nvitx 120"}},
        {0, 0, 120, 1000, {"nvotx 120"}}, {121, 125, 120, INT_MAX, {"nvotx 120"}},
        {INT_MAX, 1, INT_MAX, 1, {}},
    };
    for (const Case& c : cases) {
        Harness h;
        h.driver.hook = anyNetVar;
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(h.engine.startGetNetVars(c.fi, c.li, c.fo, c.lo));
        h.run();
        EXPECT_EQ(h.driver.lines(), c.lines) << c.fi << ".." << c.li << ", " << c.fo << ".." << c.lo;
        EXPECT_TRUE(korvex::testing::checkLinks(h.map));
    }
}

TEST(EngineRobustnessTest, SendingNetVarsWithRangesPastTheNumbersEndsAtTheLastOne) {
    Harness h;
    korvex::testing::addStandardNV(h.map, 105, false, 120, "last");
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startSendNetVars(INT_MAX, INT_MAX, 100, INT_MAX));
    h.run();
    ASSERT_EQ(h.driver.lines().size(), 1u);
    EXPECT_EQ(h.driver.lines()[0].rfind("<nv nvo=\"120\"", 0), 0u);
    EXPECT_EQ(h.map.nvs[0].inDevice, 1);
}

} // namespace
} // namespace korvex::device
