// Bounded copies into the records' fixed text fields, at and past their limits.
#include "model/FixedText.h"
#include "model/ObjectMap.h"

#include <gtest/gtest.h>

#include <string>

namespace korvex {
namespace {

TEST(FixedText, CopiesAreCutToTheFieldAndAlwaysTerminated) {
    struct Case {
        std::size_t length;
        std::size_t kept;
    };
    // A 40-byte name keeps at most 39 characters and its terminator.
    for (const Case c : {Case{0, 0}, Case{38, 38}, Case{39, 39}, Case{40, 39}, Case{41, 39}, Case{500, 39}}) {
        DataObject o;
        o.syncFlags = 0x5A5A5A5A; // the field after the name must survive
        setText(o.name, std::string(c.length, 'n'));
        EXPECT_EQ(textOf(o.name).size(), c.kept) << c.length;
        EXPECT_EQ(o.name[kNameSize - 1], '\0');
        EXPECT_EQ(o.syncFlags, 0x5A5A5A5Au);
    }
}

TEST(FixedText, LocationKeepsThirtyOneCharactersAndAnExplicitLimitCutsShorter) {
    NodeInfo node;
    setText(node.loc, std::string(31, 'L'));
    EXPECT_EQ(textOf(node.loc).size(), 31u);
    setText(node.loc, std::string(32, 'L'));
    EXPECT_EQ(textOf(node.loc).size(), 31u);
    NetVar nv;
    setText(nv.name, "nviAVeryLongNetworkVariableName", 16);
    EXPECT_EQ(textOf(nv.name), "nviAVeryLongNetw");
    setText(nv.name, "ab\0cd"); // an embedded zero ends the text as the field sees it
    EXPECT_EQ(textOf(nv.name), "ab");
}

TEST(FixedText, UnterminatedFieldReadsAtMostItsWidth) {
    NetVar nv;
    nv.name.fill('x');
    EXPECT_EQ(textOf(nv.name).size(), static_cast<std::size_t>(kNameSize));
}

} // namespace
} // namespace korvex
