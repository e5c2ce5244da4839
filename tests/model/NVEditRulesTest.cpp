// NV editor field rules: name cleaning and uniqueness, scope/program-ID text both ways,
// function-block and object numbers, conversion method and formula; and the message table.
#include "support/MapBuilders.h"

#include "model/ModelMessages.h"
#include "model/lists/NVEditRules.h"

#include <gtest/gtest.h>

#include <string>

namespace korvex {
namespace {

using testing::addStandardNV;
using testing::newMap;

TEST(CleanNVName, CutTo16AndEveryNonAlphanumericBecomesUnderscore) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"Pump Speed #1", "Pump_Speed__1"},
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOP"},
        {std::string(60, 'x'), std::string(16, 'x')},
        {"temp-\xC3\xA9t\xE9", "temp___t_"},
        {"", ""},
        {"a\tb\nc_d", "a_b_c_d"},
        {std::string("z\0y", 3), "z_y"},
    };
    for (const Case& c : cases) EXPECT_EQ(cleanNVName(c.in), c.out) << c.in;
}

TEST(EditNVName, AnotherNVsNameIsRefusedAndEmptiedButTheNVsOwnRowsDoNotCount) {
    auto map = newMap();
    addStandardNV(*map, 8, false, 0, "Pump_Speed__1");
    const int sw = addStandardNV(*map, 95, false, 0, "Valve");
    NetVar copy = map->nvs[sw];
    int code = editNVName(*map, sw, "Pump Speed #1", copy);
    EXPECT_EQ(code, kRefused);
    EXPECT_STREQ(modelMessage(ModelOp::EditNVName, code), "NV names must be unique, 16-char max.");
    EXPECT_EQ(textOf(copy.name), "");
    EXPECT_EQ(editNVName(*map, sw, "Valve", copy), kOk) << "its field rows repeat the name";
    EXPECT_EQ(textOf(copy.name), "Valve");
    EXPECT_EQ(editNVName(*map, sw, "pump_speed__1", copy), kOk) << "case-sensitive";
    NetVar fresh;
    EXPECT_EQ(editNVName(*map, -1, "Valve", fresh), kRefused) << "a new NV has no rows of its own";
}

TEST(EditScopePid, AcceptedFormsAndRefusals) {
    struct Case {
        const char* text;
        bool ok;
        uint8_t scope;
        std::array<uint8_t, 8> pid;
    };
    const Case cases[] = {
        {"[3] 9F:FF:0:1:2:3:4:5", true, 3, {0x9F, 0xFF, 0, 1, 2, 3, 4, 5}},
        {"[0]80:00:0A:0b:1FF:0x1A:7:100", true, 0, {0x80, 0, 0x0A, 0x0B, 0xFF, 0x1A, 7, 0}},
        {"[6]   1: 2: 3: 4: 5: 6: 7: 8 trailing", true, 6, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"[7] 1:2:3:4:5:6:7:8", false, 0, {}},
        {"[-1] 1:2:3:4:5:6:7:8", false, 0, {}},
        {"[3] 1:2:3:4:5:6:7", false, 0, {}},
        {"3 1:2:3:4:5:6:7:8", false, 0, {}},
        {" [3] 1:2:3:4:5:6:7:8", false, 0, {}},
        {"[3] 1:2:3:4:5:6:7:zz", false, 0, {}},
        {"[3 1:2:3:4:5:6:7:8", false, 0, {}},
        {"", false, 0, {}},
    };
    for (const Case& c : cases) {
        NetVar copy;
        copy.scope = 2;
        copy.programId = {9, 9, 9, 9, 9, 9, 9, 9};
        const int code = editScopePid(c.text, copy);
        EXPECT_EQ(code, c.ok ? kOk : kRefused) << c.text;
        EXPECT_EQ(copy.scope, c.ok ? c.scope : 2) << c.text;
        EXPECT_EQ(copy.programId, c.ok ? c.pid : (std::array<uint8_t, 8>{9, 9, 9, 9, 9, 9, 9, 9})) << c.text;
    }
    EXPECT_STREQ(modelMessage(ModelOp::EditScopePid, kRefused), "Invalid scope/PID.");
}

TEST(EditScopePid, ShownTextReadsBackTheSame) {
    NetVar row;
    row.scope = 5;
    row.programId = {0x9F, 0xFF, 0x0A, 0, 1, 2, 3, 0xC4};
    EXPECT_EQ(scopePidText(row), "[5] 9F:FF:0A:00:01:02:03:C4");
    NetVar back;
    ASSERT_EQ(editScopePid(scopePidText(row), back), kOk);
    EXPECT_EQ(back.scope, row.scope);
    EXPECT_EQ(back.programId, row.programId);
}

TEST(EditFbNumber, RangeAndNumbersHeldInTheSameDirection) {
    auto map = newMap();
    const int own = addStandardNV(*map, 8, false, 5);
    addStandardNV(*map, 8, true, 6);
    struct Case {
        const char* text;
        int code;
        int stored;
    };
    const Case cases[] = {{"", kOk, 0},
                          {"0", kOk, 0},
                          {"abc", kOk, 0},
                          {"121", EditNumberResult::Invalid, 77},
                          {"-3", EditNumberResult::Invalid, 77},
                          {"99999999999999", EditNumberResult::Invalid, 77},
                          {"5", EditNumberResult::AllocatedElsewhere, 77}, // the edited NV's own number
                          {"6", kOk, 6},                                   // held by an input only
                          {"120", kOk, 120},
                          {" 7x", kOk, 7}};
    for (const Case& c : cases) {
        NetVar copy = map->nvs[own];
        copy.fbNumber = 77;
        EXPECT_EQ(editFbNumber(*map, c.text, copy), c.code) << c.text;
        EXPECT_EQ(copy.fbNumber, c.stored) << c.text;
    }
    EXPECT_STREQ(modelMessage(ModelOp::EditFbNumber, 1), "Invalid function block number.");
    EXPECT_STREQ(modelMessage(ModelOp::EditFbNumber, 2),
                 "Function block already allocated elsewhere in list.");
}

TEST(EditObjectNumber, RangeAndObjectsLinkedFromAnyRow) {
    auto map = newMap();
    addStandardNV(*map, 8, true);
    map->nvs[0].objectNumber = 12;
    struct Case {
        const char* text;
        int code;
        int stored;
    };
    const Case cases[] = {{"", kOk, 0},
                          {"0", kOk, 0},
                          {"401", EditNumberResult::Invalid, 33},
                          {"-1", EditNumberResult::Invalid, 33},
                          {"12", EditNumberResult::AllocatedElsewhere, 33},
                          {"400", kOk, 400},
                          {"1", kOk, 1}};
    for (const Case& c : cases) {
        NetVar copy;
        copy.objectNumber = 33;
        EXPECT_EQ(editObjectNumber(*map, c.text, copy), c.code) << c.text;
        EXPECT_EQ(copy.objectNumber, c.stored) << c.text;
    }
    EXPECT_STREQ(modelMessage(ModelOp::EditObjectNumber, 1), "Invalid object number.");
    EXPECT_STREQ(modelMessage(ModelOp::EditObjectNumber, 2), "Object already allocated elsewhere in list.");
}

TEST(EditMethod, OnlySwitchAndElapsedTimeHaveAConversionAlgorithm) {
    struct Case {
        int method;
        int snvt;
        int code;
        uint8_t formula;
    };
    const Case cases[] = {{2, 95, kOk, 1},     {2, 87, kOk, 2}, {2, 39, kRefused, 0},
                          {2, 0, kRefused, 0}, {1, 95, kOk, 0}, {0, 87, kOk, 0}};
    for (const Case& c : cases) {
        NetVar copy;
        copy.formula = 9;
        EXPECT_EQ(editMethod(c.method, c.snvt, copy), c.code);
        EXPECT_EQ(copy.method, c.method);
        EXPECT_EQ(copy.formula, c.formula);
    }
    EXPECT_STREQ(modelMessage(ModelOp::EditMethod, kRefused), "No algorithm available.");
}

TEST(ModelMessages, ZeroHasNoTextAndUnlistedCodesGiveTheCatchAll) {
    EXPECT_EQ(modelMessage(ModelOp::NVListFromRegisters, kOk), nullptr);
    EXPECT_STREQ(modelMessage(ModelOp::NVListFromRegisters, 3),
                 "Unspecified error trying to create NV list.");
    EXPECT_STREQ(modelMessage(ModelOp::MasterListFromRegisters, 3), "Unspecified error.");
    EXPECT_STREQ(modelMessage(ModelOp::MasterListFromNVs, 9), "Unspecified error in attempt to assign.");
    EXPECT_STREQ(kConfirmClearNVList, "Are you sure you want to\ndiscard all network variables?");
    EXPECT_STREQ(kConfirmClearRegisterList, "Are you sure you want to\ndiscard all register configuration?");
}

} // namespace
} // namespace korvex
