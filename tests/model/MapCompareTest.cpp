// The map comparison's own rules: what counts as one difference, what is not compared, the order
// of the places and the scope a verify gives it.
#include "model/MapCompare.h"
#include "support/MapBuilders.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

using testing::addStandardNV;
using testing::addUserNV;
using testing::newMap;

std::vector<std::string> lines(const ObjectMap& a, const ObjectMap& b, const CompareScope& scope) {
    std::vector<std::string> out;
    for (const MapDifference& d : compareMaps(a, b, scope)) out.push_back(differenceText(d));
    return out;
}

TEST(MapCompareTest, OneDifferenceAPlaceFieldAndInOrder) {
    auto mine = newMap();
    auto theirs = newMap();
    addStandardNV(*mine, 105, false, 2, "Supply temp");
    addStandardNV(*theirs, 105, false, 2, "another name"); // names are not compared
    addUserNV(*mine, 3, true, 1);
    addStandardNV(*theirs, 95, true, 1); // a type that differs is one line, not size or scaling too
    mine->object(7)->flags = ObjectFlag::InUse | ObjectFlag::ReadPeriodic;
    mine->object(7)->modtype = 4;
    mine->object(7)->modreg = 100;
    mine->object(7)->slave = 3;
    *theirs->object(7) = *mine->object(7);
    theirs->object(7)->modreg = 101;
    mine->object(3)->datatype = 1; // nothing at 3 in the gateway: its objects above the last are empty
    theirs->modbus.baud = 38400;
    setText(theirs->node.loc, "Roof");
    EXPECT_EQ(lines(*mine, *theirs, CompareScope::all()),
              (std::vector<std::string>{
                  "NVI 1: type: user type scope 3 PID 9F:FF:01:02:03:04:05:06 base 3 size 4 scale 1,0,0 | "
                  "SNVT_switch",
                  "object 3: object: defined | empty",
                  "object 7: register: HOLD 100 slave 3 | HOLD 101 slave 3",
                  "port: baud: 19200 | 38400",
                  "node: location: (empty) | Roof",
              }));
    EXPECT_EQ(differenceSummary(0), "Gateway matches the map.");
    EXPECT_EQ(differenceSummary(1), "1 difference.");
    EXPECT_EQ(differenceSummary(5), "5 differences.");

    // A verify of objects 7 to 9 looks at nothing else.
    CompareScope objects;
    objects.parts = ComparePart::Objects;
    objects.firstObject = 7;
    objects.lastObject = 9;
    EXPECT_EQ(lines(*mine, *theirs, objects).size(), 1u);
}

} // namespace
} // namespace korvex
