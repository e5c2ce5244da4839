#include <gtest/gtest.h>

#include <algorithm>

#include "vocab/ModiconHint.h"
#include "vocab/RegisterCodes.h"

using namespace korvex;

TEST(ModiconHint, TextIsSevenLinesWithoutTrailingLineFeed) {
    const std::string text = ModiconHint::text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
    EXPECT_EQ(text.substr(0, 44), "You appear to be entering a Modicon number.\n");
    EXPECT_EQ(text.back(), ')');
}

TEST(ModiconHint, ShownOnceForAModiconLookingNumber) {
    ModiconHint hint;
    auto shown = hint.check(30001, RegisterType::Input);
    ASSERT_TRUE(shown);
    EXPECT_EQ(*shown, ModiconHint::text());
    EXPECT_FALSE(hint.check(30001, RegisterType::Input));
    EXPECT_FALSE(hint.check(40001, RegisterType::Holding));
}

TEST(ModiconHint, FirstInputOrHoldingEntrySettlesItForTheRun) {
    ModiconHint hint;
    EXPECT_FALSE(hint.check(5, RegisterType::Input));
    EXPECT_TRUE(hint.considered());
    EXPECT_FALSE(hint.check(30001, RegisterType::Input));
    EXPECT_FALSE(hint.check(40001, RegisterType::Holding));
}

TEST(ModiconHint, OtherTypesLeaveItPending) {
    ModiconHint hint;
    for (int32_t type : {RegisterType::None, RegisterType::Coil, RegisterType::Discrete, RegisterType::Coil1,
                         RegisterType::Holding1})
        EXPECT_FALSE(hint.check(40001, type));
    EXPECT_FALSE(hint.considered());
    EXPECT_TRUE(hint.check(40001, RegisterType::Holding));
}

TEST(ModiconHint, RangeEdges) {
    struct Case {
        int64_t number;
        int32_t type;
        bool shown;
    };
    for (const Case& c : {Case{30000, RegisterType::Input, false}, Case{39999, RegisterType::Input, true},
                          Case{40001, RegisterType::Input, false}, Case{40000, RegisterType::Holding, false},
                          Case{49999, RegisterType::Holding, true}, Case{50000, RegisterType::Holding, false},
                          Case{440001, RegisterType::Holding, false}}) {
        ModiconHint hint;
        EXPECT_EQ(hint.check(c.number, c.type).has_value(), c.shown) << c.number;
        EXPECT_TRUE(hint.considered());
    }
}
