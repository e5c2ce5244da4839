// The simulator's own element-line reader and the fault switch syntax.
#include "sim/ElementLine.h"
#include "sim/FaultPlan.h"

#include <gtest/gtest.h>

namespace korvex::sim {
namespace {

TEST(ElementLineTest, ReadsKeywordAndAttributesInOrder) {
    ElementLine element;
    ASSERT_TRUE(parseElementLine("<obj n=\"5\" clear=\"1\"  name=\"a b\"/>\r\n", element));
    EXPECT_EQ(element.kind, "obj");
    ASSERT_EQ(element.attributes.size(), 3u);
    EXPECT_EQ(element.attributes[2].first, "name");
    EXPECT_EQ(*element.find("name"), "a b");
    EXPECT_EQ(intAttribute(element, "n", 0), 5);
    EXPECT_EQ(intAttribute(element, "name", -1), -1);
    EXPECT_EQ(renderAttributes(element), " n=\"5\" clear=\"1\" name=\"a b\"");
    ASSERT_TRUE(parseElementLine("<clearallconfig>", element));
    EXPECT_EQ(element.kind, "clearallconfig");
    EXPECT_TRUE(element.empty());
}

TEST(ElementLineTest, RefusesMalformedLines) {
    struct Case {
        const char* line;
        const char* reason;
    } cases[] = {
        {"obj n=\"1\"/>", "Syntax is bad"},
        {"<obj n=\"1\"", "Syntax is bad"},
        {"<obj n =\"1\"/>", "Syntax is bad"},
        {"<obj n=1/>", "Syntax is bad"},
        {"<obj n=\"1/>", "Syntax is bad"},
        {"<obj n=\"1\"m=\"2\"/>", "Syntax is bad"},
        {"<obj n=\"1\" n=\"2\"/>", "Duplicate field"},
        {"< obj/>", "Syntax is bad"},
    };
    for (const auto& c : cases) {
        ElementLine element;
        std::string error;
        EXPECT_FALSE(parseElementLine(c.line, element, &error)) << c.line;
        EXPECT_EQ(error, c.reason) << c.line;
    }
}

TEST(ElementLineTest, SetReplacesAndEraseRemoves) {
    ElementLine element{"nd", {}};
    element.set("loc", "a");
    element.set("pid", "3");
    element.set("loc", "b");
    EXPECT_EQ(renderAttributes(element), " loc=\"b\" pid=\"3\"");
    element.erase("loc");
    EXPECT_EQ(renderAttributes(element), " pid=\"3\"");
}

TEST(FaultPlanTest, SwitchesPerKindWithAFallback) {
    FaultPlan plan;
    std::string error;
    ASSERT_TRUE(plan.add("usage:delay=250", &error)) << error;
    ASSERT_TRUE(plan.add("usage:split=150", &error)) << error;
    ASSERT_TRUE(plan.add("*:error=Flash busy", &error)) << error;
    ASSERT_TRUE(plan.add("pcx:trickle=0", &error)) << error;
    ASSERT_TRUE(plan.add("obj:hangup=3", &error)) << error;
    ASSERT_TRUE(plan.add("nvitx:noreply", &error)) << error;
    ASSERT_TRUE(plan.add("mpx:garbage", &error)) << error;
    std::string key;
    const Fault* usage = plan.find("usage", &key);
    ASSERT_NE(usage, nullptr);
    EXPECT_EQ(key, "usage");
    EXPECT_EQ(usage->delayMs, 250);
    EXPECT_EQ(usage->splitGapMs, 150);
    EXPECT_TRUE(usage->errorText.empty());
    EXPECT_EQ(plan.find("pcx")->trickleMs, 0);
    EXPECT_EQ(plan.find("obj")->hangUpAfter, 3);
    EXPECT_TRUE(plan.find("nvitx")->noReply);
    EXPECT_TRUE(plan.find("mpx")->garbage);
    EXPECT_EQ(plan.find("ninfo", &key)->errorText, "Flash busy");
    EXPECT_EQ(key, "*");
    plan.clear();
    EXPECT_EQ(plan.find("usage"), nullptr);

    for (const char* bad : {"usage", ":delay=1", "usage:delay", "usage:delay=-4", "usage:delay=x",
                            "usage:wobble", "usage:error="}) {
        EXPECT_FALSE(plan.add(bad, &error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace korvex::sim
