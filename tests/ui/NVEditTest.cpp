// The NV Editor: send-time forms and the enabling rules as tables, then the dialog driven through
// its widgets: field rules and their messages, the private copy (Cancel and the close button
// discard it), Auto Assign, and what Apply stores, links and refuses.
#include "ui/support/EditorTestSupport.h"

#include "vocab/BaseType.h"
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"
#include "model/ModelMessages.h"
#include "model/lists/NVEditRules.h"
#include "ui/dialogs/NVEdit.h"
#include "ui/dialogs/rules/NVEditApply.h"
#include "ui/dialogs/rules/NVEditFields.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

namespace korvex::ui::test {
namespace {

using korvex::testing::addStandardNV;
using korvex::testing::addUserNV;
using korvex::testing::checkLinks;

constexpr int kSnvtCount = 8;
constexpr int kSnvtTemp = 39;

TEST(NVEditFields, SendTimeFormsInTheirOrder) {
    const struct {
        const char* text;
        SendTime time; // seconds, minutes, hours, days
    } cases[] = {
        {"1 02:03:04", {4, 3, 2, 1}},
        {"1   2:3:4", {4, 3, 2, 1}},
        {"02:03:04", {4, 3, 2, 0}},
        {"3:04", {4, 3, 0, 0}},
        {"45", {45, 0, 0, 0}},
        {" 7 ", {7, 0, 0, 0}},
        {"1 02:03", {1, 0, 0, 0}}, // only the seconds form matches: the first number is taken
        {"abc", {}},
        {"", {}},
        {":5", {}},
        {"-5", {}}, // held to 0..65535
        {"99999", {65535, 0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseSendTime(c.text), c.time) << c.text;
    EXPECT_EQ(sendTimeText({4, 3, 2, 1}), "1 02:03:04");
    EXPECT_EQ(sendTimeText({}), "0 00:00:00");
    EXPECT_EQ(sendTimeText({5, 0, 0, 12}), "12 00:00:05");
}

TEST(NVEditFields, EnablingRules) {
    NetVar output;
    output.defined = 1;
    output.snvt = kSnvtCount;
    output.baseType = BaseType::UL;
    NetVar input = output;
    input.isInput = 1;
    NetVar withFb = output;
    withFb.fbNumber = 3;
    NetVar withObject = output;
    withObject.objectNumber = 9;
    NetVar structHeader = output;
    structHeader.snvt = kSnvtSwitch;
    structHeader.baseType = BaseType::STRUCT;
    NetVar field = output;
    field.snvt = 0;
    field.isField = 1;
    NetVar userFloat = output;
    userFloat.snvt = 0;
    userFloat.baseType = BaseType::FP;
    NetVar userArray = userFloat;
    userArray.baseType = BaseType::ARRAY;

    const auto on = [](auto f) {
        NVEditEnabling e;
        f(e);
        return e;
    };
    const NVEditEnabling standard = on(
        [](NVEditEnabling& e) { e.category = e.scales = e.offsets = e.lock = e.size = e.scopePid = false; });
    const struct {
        const char* what;
        NetVar row;
        int parentType;
        NVEditEnabling expected;
    } cases[] = {
        {"standard output", output, kSnvtCount, standard},
        {"input: no send times", input, kSnvtCount, on([&](NVEditEnabling& e) {
             e = standard;
             e.sendTimes = false;
         })},
        {"fb: direction and fb fixed", withFb, kSnvtCount, on([&](NVEditEnabling& e) {
             e = standard;
             e.direction = e.fbNumber = e.autoAssign = false;
         })},
        {"object: object fixed too", withObject, kSnvtCount, on([&](NVEditEnabling& e) {
             e = standard;
             e.direction = e.fbNumber = e.objectNumber = e.autoAssign = false;
         })},
        {"struct header: no object", structHeader, kSnvtSwitch, on([&](NVEditEnabling& e) {
             e = standard;
             e.objectNumber = false;
         })},
        {"field of a standard type", field, kSnvtSwitch, on([&](NVEditEnabling& e) {
             e = standard;
             e.name = e.type = e.direction = e.fbNumber = e.method = e.formula = false;
         })},
        {"field of a user type", field, 0,
         on([](NVEditEnabling& e) { e.name = e.type = e.direction = e.fbNumber = e.size = false; })},
        {"user float: all open", userFloat, 0, NVEditEnabling{}},
        {"user array: no scaling", userArray, 0,
         on([](NVEditEnabling& e) { e.scales = e.offsets = e.lock = false; })},
    };
    for (const auto& c : cases) EXPECT_EQ(nvEditEnabling(c.row, c.parentType), c.expected) << c.what;
    EXPECT_STREQ(fbLabel(true), "FB (OLA)#");
    EXPECT_STREQ(fbLabel(false), "FB (OLS)#");
    EXPECT_EQ(formulaText(0, kSnvtSwitch), "---");
    EXPECT_EQ(formulaText(2, kSnvtSwitch), "1");
    EXPECT_EQ(formulaText(2, kSnvtElapsedTime), "2");
    EXPECT_EQ(formulaText(2, kSnvtTemp), "0");
}

struct NVBench : EditorBench {
    int temp = addStandardNV(*map, kSnvtTemp, false, 0, "Temp");
    int other = addStandardNV(*map, kSnvtCount, false, 7, "Other");
};

TEST(NVEdit, ShowsTheRowAndItsTitle) {
    NVBench bench;
    bench.map->nvs[bench.temp].maxSendTime = SendTime{4, 3, 2, 1};
    NVEdit dialog(bench.context(), bench.temp);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("NV Editor"));
    EXPECT_EQ(textOfBox(dialog, "name"), QStringLiteral("Temp"));
    EXPECT_EQ(child<QComboBox>(dialog, "type")->currentText(), QStringLiteral("SNVT_temp"));
    EXPECT_EQ(child<QComboBox>(dialog, "type")->itemText(0), QStringLiteral("User Defined"));
    EXPECT_EQ(child<QComboBox>(dialog, "type")->count(), 178);
    EXPECT_EQ(textOfBox(dialog, "maxSendTime"), QStringLiteral("1 02:03:04"));
    EXPECT_EQ(textOfBox(dialog, "formula"), QStringLiteral("---"));
    EXPECT_EQ(child<QLabel>(dialog, "fbLabel")->text(), QStringLiteral("FB (OLS)#"));
    EXPECT_EQ(textOfBox(dialog, "scopePid"), QStringLiteral("[0] 00:00:00:00:00:00:00:00"));
}

TEST(NVEdit, SpecialConversionWithoutAlgorithmKeepsFormulaZero) {
    NVBench bench;
    NVEdit dialog(bench.context(), bench.temp);
    choose(dialog, "method", 2);
    EXPECT_EQ(bench.messages(), QStringList{"No algorithm available."});
    EXPECT_EQ(dialog.copy().formula, 0);
    EXPECT_EQ(textOfBox(dialog, "formula"), QStringLiteral("0"));

    const int sw = addStandardNV(*bench.map, kSnvtSwitch, false, 0, "Sw");
    NVEdit onSwitch(bench.context(), sw);
    choose(onSwitch, "method", 2);
    EXPECT_EQ(bench.messages().size(), 1);
    EXPECT_EQ(onSwitch.copy().formula, 1);
    EXPECT_EQ(textOfBox(onSwitch, "formula"), QStringLiteral("1"));
}

TEST(NVEdit, InputsGetNoSendTimes) {
    NVBench bench;
    bench.map->nvs[bench.temp].minSendTime = SendTime{15, 0, 0, 0};
    NVEdit dialog(bench.context(), bench.temp);
    EXPECT_TRUE(child<QLineEdit>(dialog, "minSendTime")->isEnabled());
    click(dialog, "nvi");
    EXPECT_FALSE(child<QLineEdit>(dialog, "minSendTime")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(dialog, "maxSendTime")->isEnabled());
    EXPECT_TRUE(dialog.copy().minSendTime.isZero());
    EXPECT_EQ(child<QLabel>(dialog, "fbLabel")->text(), QStringLiteral("FB (OLA)#"));
    click(dialog, "nvo");
    EXPECT_TRUE(child<QLineEdit>(dialog, "maxSendTime")->isEnabled());
}

TEST(NVEdit, FunctionBlockNumbers) {
    NVBench bench;
    const struct {
        const char* typed;
        int fb;
        const char* message;
    } cases[] = {
        {"121", 0, "Invalid function block number."},
        {"-3", 0, "Invalid function block number."},
        {"7", 0, "Function block already allocated elsewhere in list."}, // "Other" is output FB 7
        {"12", 12, nullptr},
        {"abc", 0, nullptr},
        {"0", 0, nullptr},
    };
    for (const auto& c : cases) {
        NVEdit dialog(bench.context(), bench.temp);
        bench.prompter.messages.clear();
        typeInto(dialog, "fbNumber", QString::fromLatin1(c.typed));
        EXPECT_EQ(dialog.copy().fbNumber, c.fb) << c.typed;
        EXPECT_EQ(bench.messages(), c.message ? QStringList{c.message} : QStringList{}) << c.typed;
    }
    // Typing 0 clears a number set earlier in the dialog.
    NVEdit dialog(bench.context(), bench.temp);
    typeInto(dialog, "fbNumber", QStringLiteral("12"));
    EXPECT_FALSE(child<QLineEdit>(dialog, "fbNumber")->isEnabled()); // a number fixes the box
    bench.prompter.messages.clear();
    NVEdit again(bench.context(), bench.temp);
    typeInto(again, "fbNumber", QStringLiteral("0"));
    EXPECT_EQ(again.copy().fbNumber, 0);
}

TEST(NVEdit, NamesAreCleanedAndUnique) {
    NVBench bench;
    NVEdit dialog(bench.context(), bench.temp);
    typeInto(dialog, "name", QStringLiteral("Pump Speed #1 and more"));
    EXPECT_EQ(textOfBox(dialog, "name"), QStringLiteral("Pump_Speed__1_an"));
    EXPECT_TRUE(bench.messages().isEmpty());
    typeInto(dialog, "name", QStringLiteral("Other"));
    EXPECT_EQ(bench.messages(), QStringList{"NV names must be unique, 16-char max."});
    EXPECT_EQ(textOfBox(dialog, "name"), QString());
}

TEST(NVEdit, SendTimesAreShownBackInTheDaysForm) {
    NVBench bench;
    NVEdit dialog(bench.context(), bench.temp);
    typeInto(dialog, "maxSendTime", QStringLiteral("1 02:03:04"));
    EXPECT_EQ(textOfBox(dialog, "maxSendTime"), QStringLiteral("1 02:03:04"));
    EXPECT_EQ(dialog.copy().maxSendTime, (SendTime{4, 3, 2, 1}));
    typeInto(dialog, "minSendTime", QStringLiteral("90"));
    EXPECT_EQ(textOfBox(dialog, "minSendTime"), QStringLiteral("0 00:00:90"));
    typeInto(dialog, "maxSendTime", QStringLiteral("soon"));
    EXPECT_EQ(textOfBox(dialog, "maxSendTime"), QStringLiteral("0 00:00:00"));
}

TEST(NVEdit, ScopeAndPidOnlyForUserTypes) {
    NVBench bench;
    const int user = addUserNV(*bench.map, BaseType::FP, false, 0, "U");
    NVEdit dialog(bench.context(), user);
    EXPECT_TRUE(child<QLineEdit>(dialog, "scopePid")->isEnabled());
    typeInto(dialog, "scopePid", QStringLiteral("[7] 1:2:3:4:5:6:7:8"));
    EXPECT_EQ(bench.messages(), QStringList{"Invalid scope/PID."});
    EXPECT_EQ(textOfBox(dialog, "scopePid"), QStringLiteral("[3] 9F:FF:01:02:03:04:05:06"));
    typeInto(dialog, "scopePid", QStringLiteral("[5] 90:0:0:0:0:0:1:ff"));
    EXPECT_EQ(textOfBox(dialog, "scopePid"), QStringLiteral("[5] 90:00:00:00:00:00:01:FF"));

    NVEdit standard(bench.context(), bench.temp);
    EXPECT_FALSE(child<QLineEdit>(standard, "scopePid")->isEnabled());
    EXPECT_FALSE(child<QComboBox>(standard, "category")->isEnabled());
}

TEST(NVEdit, CancelAndCloseDiscardTheCopy) {
    for (const bool byCloseButton : {false, true}) {
        NVBench bench;
        const NetVar before = bench.map->nvs[bench.temp];
        NVEdit dialog(bench.context(), bench.temp);
        dialog.show();
        typeInto(dialog, "name", QStringLiteral("Changed"));
        typeInto(dialog, "fbNumber", QStringLiteral("33"));
        click(dialog, "nvi");
        if (byCloseButton)
            dialog.close();
        else
            click(dialog, "cancel");
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(bench.map->nvs[bench.temp], before);
        EXPECT_TRUE(bench.raised.empty());
    }
}

TEST(NVEdit, ReturnTakesTheBoxButPressesNoButton) {
    NVBench bench;
    NVEdit dialog(bench.context(), bench.temp);
    dialog.show();
    typeInto(dialog, "name", QStringLiteral("Renamed"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(textOf(bench.map->nvs[bench.temp].name), "Temp");
}

TEST(NVEdit, ApplyStoresTheCopyAndLinksTheObject) {
    NVBench bench;
    bench.map->nvs[bench.temp].inDevice = 1;
    bench.map->object(5)->syncFlags = SyncFlag::InDevice | SyncFlag::Saved;
    NVEdit dialog(bench.context(), bench.temp);
    dialog.show();
    typeInto(dialog, "name", QStringLiteral("Supply"));
    typeInto(dialog, "fbNumber", QStringLiteral("4"));
    typeInto(dialog, "objectNumber", QStringLiteral("5"));
    typeInto(dialog, "maxSendTime", QStringLiteral("0 00:01:00"));
    click(dialog, "apply");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const NetVar& row = bench.map->nvs[bench.temp];
    EXPECT_EQ(textOf(row.name), "Supply");
    EXPECT_EQ(row.fbNumber, 4);
    EXPECT_EQ(row.objectNumber, 5);
    EXPECT_EQ(row.maxSendTime.minutes, 1);
    EXPECT_EQ(row.inDevice, 0);
    const DataObject& object = *bench.map->object(5);
    EXPECT_EQ(object.nvRow, bench.temp + 1);
    EXPECT_EQ(object.lonNV, 4);
    EXPECT_TRUE(object.flags & ObjectFlag::OutputNV);
    EXPECT_EQ(object.syncFlags, SyncFlag::Configured);
    EXPECT_EQ(bench.raised,
              (std::vector<std::pair<EditorRequest, int>>{{EditorRequest::MasterListRefresh, 5}}));
    EXPECT_TRUE(checkLinks(*bench.map));
}

TEST(NVEdit, ApplyTakesABoxLeftTypedAndStopsOnItsMessage) {
    NVBench bench;
    NVEdit dialog(bench.context(), bench.temp);
    dialog.show();
    QLineEdit* fb = child<QLineEdit>(dialog, "fbNumber");
    QTest::keyClicks(fb, QStringLiteral("500")); // no Return, no focus change before the click
    click(dialog, "apply");
    EXPECT_EQ(bench.messages(), QStringList{"Invalid function block number."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(bench.map->nvs[bench.temp].fbNumber, 0);
}

TEST(NVEdit, UserTypesNeedScopeAndPid) {
    NVBench bench;
    const int user = addUserNV(*bench.map, BaseType::FP, false, 0, "U", 0);
    const NetVar before = bench.map->nvs[user];
    NVEdit dialog(bench.context(), user);
    dialog.show();
    typeInto(dialog, "name", QStringLiteral("Renamed"));
    click(dialog, "apply");
    EXPECT_EQ(bench.messages(), QStringList{"Scope [S] must be non-zero\nfor user defined NV type."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(bench.map->nvs[user], before);
    typeInto(dialog, "scopePid", QStringLiteral("[2] 0:0:0:0:0:0:0:0"));
    click(dialog, "apply");
    EXPECT_EQ(bench.messages().last(), QStringLiteral("Invalid PID\nfor user defined NV type."));
    EXPECT_EQ(bench.map->nvs[user], before);
    typeInto(dialog, "scopePid", QStringLiteral("[2] 0:0:0:0:0:0:0:1"));
    click(dialog, "apply");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(textOf(bench.map->nvs[user].name), "Renamed");
}

TEST(NVEdit, TypeChangeGoesThroughTheListAndDropsLinksOfAnotherShape) {
    NVBench bench;
    NVEdit dialog(bench.context(), bench.temp);
    typeInto(dialog, "name", QStringLiteral("Switch"));
    choose(dialog, "type", kSnvtSwitch);
    EXPECT_FALSE(child<QLineEdit>(dialog, "objectNumber")->isEnabled()); // a STRUCT has no object
    click(dialog, "apply");
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    const ObjectMap& map = *bench.map;
    EXPECT_EQ(map.nvs[bench.temp].snvt, kSnvtSwitch);
    EXPECT_EQ(map.nvCount, 4); // header and two fields, then "Other"
    EXPECT_EQ(textOf(map.nvs[bench.temp + 1].name), "Switch");
    EXPECT_EQ(map.nvs[bench.temp + 1].isField, 1);
    EXPECT_EQ(textOf(map.nvs[3].name), "Other");
    EXPECT_TRUE(checkLinks(map));
}

TEST(NVEdit, RefusedTypeChangeKeepsTheOldTypeAndStoresTheRest) {
    NVBench bench;
    korvex::testing::fillPlainNVRows(*bench.map, kEditRowLimit - bench.map->nvCount);
    NVEdit dialog(bench.context(), bench.temp);
    typeInto(dialog, "name", QStringLiteral("Kept"));
    choose(dialog, "type", kSnvtSwitch); // three rows where one is: the list is full
    click(dialog, "apply");
    EXPECT_EQ(bench.messages(), QStringList{"Unable to change NV type."});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const NetVar& row = bench.map->nvs[bench.temp];
    EXPECT_EQ(row.snvt, kSnvtTemp);
    EXPECT_EQ(row.baseType, BaseType::SL);
    EXPECT_EQ(textOf(row.name), "Kept");
}

TEST(NVEdit, CommissionedNodeRefusesTypeChangesOnly) {
    NVBench bench;
    EditorContext context = bench.context();
    context.commissioned = true;
    const NetVar before = bench.map->nvs[bench.temp];
    NVEdit dialog(context, bench.temp);
    dialog.show();
    choose(dialog, "type", kSnvtCount);
    click(dialog, "apply");
    EXPECT_EQ(bench.messages(),
              QStringList{"Once node is commissioned,\nyou must make NV type changes via your "
                          "LNS tool.\nFailure to do so will result in a broken network."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(bench.map->nvs[bench.temp], before);

    NVEdit rename(context, bench.temp);
    typeInto(rename, "name", QStringLiteral("Renamed"));
    click(rename, "apply");
    EXPECT_EQ(rename.result(), QDialog::Accepted);
    EXPECT_EQ(textOf(bench.map->nvs[bench.temp].name), "Renamed");
}

TEST(NVEdit, AutoAssignIsAPromiseUntilApply) {
    NVBench bench;
    const int sw = addStandardNV(*bench.map, kSnvtSwitch, true, 0, "Sw");
    bench.map->object(1)->flags = ObjectFlag::InUse; // taken: the allocation starts at 2
    const auto before = std::make_unique<ObjectMap>(*bench.map);
    {
        NVEdit dialog(bench.context(), sw);
        click(dialog, "autoAssign");
        EXPECT_EQ(dialog.copy().fbNumber, 1); // the first input number
        EXPECT_FALSE(child<QPushButton>(dialog, "autoAssign")->isEnabled());
        click(dialog, "cancel");
    }
    EXPECT_EQ(bench.map->nvs, before->nvs);
    EXPECT_EQ(bench.map->objects, before->objects);

    NVEdit dialog(bench.context(), sw);
    click(dialog, "autoAssign");
    click(dialog, "apply");
    const ObjectMap& map = *bench.map;
    EXPECT_EQ(map.nvs[sw].fbNumber, 1);
    EXPECT_EQ(map.nvs[sw + 1].objectNumber, 2);
    EXPECT_EQ(map.nvs[sw + 2].objectNumber, 3);
    EXPECT_EQ(map.object(3)->lonNV, 1);
    EXPECT_EQ(bench.raised.size(), 2u);
    EXPECT_TRUE(checkLinks(map));
}

TEST(NVEdit, AutoAssignFailuresAreReported) {
    {
        NVBench bench;
        for (DataObject& o : bench.map->objects) o.flags = ObjectFlag::InUse;
        NVEdit dialog(bench.context(), bench.temp);
        click(dialog, "autoAssign");
        EXPECT_EQ(bench.messages(), QStringList{"No available objects to allocate."});
        EXPECT_EQ(dialog.copy().fbNumber, 0);
    }
    {
        NVBench bench;
        bench.map->nvs[bench.other].fbNumber = 120;
        NVEdit dialog(bench.context(), bench.temp);
        click(dialog, "autoAssign");
        EXPECT_EQ(bench.messages(), QStringList{"No available network variables to allocate."});
    }
}

TEST(NVEdit, FieldRowsFollowTheirHeader) {
    NVBench bench;
    const int sw = addStandardNV(*bench.map, kSnvtSwitch, false, 0, "Sw");
    NVEdit field(bench.context(), sw + 1);
    EXPECT_EQ(child<QComboBox>(field, "type")->currentText(), QStringLiteral("Struct Field"));
    for (const char* name : {"name", "fbNumber", "size"})
        EXPECT_FALSE(child<QLineEdit>(field, name)->isEnabled()) << name;
    EXPECT_FALSE(child<QComboBox>(field, "method")->isEnabled());

    bench.map->nvs[sw].method = 2;
    NVEdit again(bench.context(), sw + 1);
    EXPECT_EQ(textOfBox(again, "formula"), QStringLiteral("1")); // the header's method and type
}

} // namespace
} // namespace korvex::ui::test
