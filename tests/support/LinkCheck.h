#pragma once
// Walks the three lists of an object map and checks every link in both directions: an object's
// registerRow/nvRow, a register's objectNumber/nvRow and an NV row's objectNumber/registerRow
// must each name a record that names it back, function-block numbers must agree along a
// register-NV link and an object-NV link, and nothing may sit in the storage beyond either list.
// Use as EXPECT_TRUE(checkLinks(map)) after every step of a scenario.
#include "model/ObjectMap.h"

#include <gtest/gtest.h>

#include <sstream>

namespace korvex::testing {

inline ::testing::AssertionResult checkLinks(const ObjectMap& map) {
    std::ostringstream faults;
    if (map.nvCount < 0 || map.nvCount > kListCapacity) faults << "nvCount " << map.nvCount << "; ";
    if (map.registerCount < 0 || map.registerCount > kListCapacity)
        faults << "registerCount " << map.registerCount << "; ";
    const std::string early = faults.str();
    if (!early.empty()) return ::testing::AssertionFailure() << early;

    for (int n = 1; n <= kObjectCount; ++n) {
        const DataObject& o = map.objects[n - 1];
        if (o.registerRow != 0) {
            if (o.registerRow > map.registerCount)
                faults << "object " << n << " registerRow " << o.registerRow << " beyond the list; ";
            else if (map.registers[o.registerRow - 1].objectNumber != n)
                faults << "object " << n << " -> register " << o.registerRow << " points at object "
                       << map.registers[o.registerRow - 1].objectNumber << "; ";
        }
        if (o.nvRow != 0) {
            if (o.nvRow > map.nvCount)
                faults << "object " << n << " nvRow " << o.nvRow << " beyond the list; ";
            else if (map.nvs[o.nvRow - 1].objectNumber != n)
                faults << "object " << n << " -> NV row " << o.nvRow << " points at object "
                       << map.nvs[o.nvRow - 1].objectNumber << "; ";
            else if (o.lonNV != map.nvs[o.nvRow - 1].fbNumber)
                faults << "object " << n << " lonNV " << int(o.lonNV) << " but NV row " << o.nvRow << " FB "
                       << map.nvs[o.nvRow - 1].fbNumber << "; ";
        }
    }
    for (int i = 0; i < map.registerCount; ++i) {
        const RegisterDef& r = map.registers[i];
        const int link = i + 1;
        if (r.objectNumber != 0 && (r.objectNumber < 1 || r.objectNumber > kObjectCount ||
                                    map.objects[r.objectNumber - 1].registerRow != link))
            faults << "register " << link << " -> object " << r.objectNumber << " not pointing back; ";
        if (r.nvRow != 0) {
            if (r.nvRow < 1 || r.nvRow > map.nvCount || map.nvs[r.nvRow - 1].registerRow != link)
                faults << "register " << link << " -> NV row " << r.nvRow << " not pointing back; ";
            else if (r.fbNumber != map.nvs[r.nvRow - 1].fbNumber)
                faults << "register " << link << " FB " << r.fbNumber << " but NV row " << r.nvRow << " FB "
                       << map.nvs[r.nvRow - 1].fbNumber << "; ";
        }
    }
    for (int i = 0; i < map.nvCount; ++i) {
        const NetVar& v = map.nvs[i];
        const int link = i + 1;
        if (v.objectNumber != 0 && (v.objectNumber < 1 || v.objectNumber > kObjectCount ||
                                    map.objects[v.objectNumber - 1].nvRow != link))
            faults << "NV row " << link << " -> object " << v.objectNumber << " not pointing back; ";
        if (v.registerRow != 0 && (v.registerRow < 1 || v.registerRow > map.registerCount ||
                                   map.registers[v.registerRow - 1].nvRow != link))
            faults << "NV row " << link << " -> register " << v.registerRow << " not pointing back; ";
    }
    for (int i = map.nvCount; i < kListCapacity; ++i)
        if (!(map.nvs[i] == NetVar{})) faults << "NV storage row " << i << " beyond the list is not blank; ";
    for (int i = map.registerCount; i < kListCapacity; ++i)
        if (!(map.registers[i] == RegisterDef{}))
            faults << "register storage row " << i << " beyond the list is not blank; ";

    const std::string text = faults.str();
    if (text.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << text;
}

} // namespace korvex::testing
