// The Modbus Register Editor: the field rules, the enabling and the FB label as tables, the
// number readers the editors share, then the dialog driven through its widgets (the Modicon
// hint once per run, access modes on input registers, the slave-mode locks, Apply in both modes,
// Cancel), and the master list's double-click opening the three editors.
#include "ui/support/EditorTestSupport.h"

#include "vocab/ModiconHint.h"
#include "vocab/ObjectValue.h"
#include "vocab/RegisterCodes.h"
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"
#include "model/ObjectLinks.h"
#include "ui/dialogs/ModRegEdit.h"
#include "ui/dialogs/NVEdit.h"
#include "ui/dialogs/ObjEdit.h"
#include "ui/models/MasterListModel.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/widgets/NumberText.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include <cfloat>

namespace korvex::ui::test {
namespace {

using korvex::testing::addRegisterRow;
using korvex::testing::addStandardNV;
using korvex::testing::checkLinks;

TEST(EditorNumbers, HexAndFractionReadLikeTheirFormats) {
    const struct {
        const char* text;
        unsigned value;
    } hex[] = {{"", 0},
               {"zz", 0},
               {"ff", 0xFF},
               {" 0x1F", 0x1F},
               {"0X", 0},
               {"-1", 0xFFFFFFFFu},
               {"123456789", 0xFFFFFFFFu},
               {"8g", 8}};
    for (const auto& c : hex) EXPECT_EQ(scanHex(QString::fromLatin1(c.text)), c.value) << c.text;
    const struct {
        const char* text;
        double value;
    } fractions[] = {{"", 0},
                     {"abc", 0},
                     {"1.5", 1.5},
                     {" -2.25x", -2.25},
                     {"+3", 3},
                     {"1e999", DBL_MAX},
                     {"-1e999", -DBL_MAX},
                     {"1e-999", 0},
                     {"nan", 0},
                     {"inf", 0},
                     {"1,5", 1}};
    for (const auto& c : fractions) EXPECT_EQ(scanFraction(QString::fromLatin1(c.text)), c.value) << c.text;
    EXPECT_EQ(decimalIn(QStringLiteral("0")), 0);
    EXPECT_EQ(decimalIn(QStringLiteral(" -7")), -7);
    EXPECT_EQ(decimalIn(QStringLiteral("x")), std::nullopt);
    EXPECT_EQ(decimalIn(QStringLiteral("-")), std::nullopt);
}

TEST(ModRegEditFields, NumberBoxesAndTheirLimits) {
    const struct {
        const char* text;
        int slave;
        int poll;
    } cases[] = {{"", 1, 1},     {"x", 1, 1},       {"0", 1, 1},       {"-4", 1, 1},
                 {"17", 17, 17}, {"255", 255, 255}, {"300", 255, 300}, {"65536", 255, 65535}};
    for (const auto& c : cases) {
        EXPECT_EQ(slaveFrom(QString::fromLatin1(c.text)), c.slave) << c.text;
        EXPECT_EQ(pollFrom(QString::fromLatin1(c.text)), c.poll) << c.text;
    }
    EXPECT_EQ(fractionFrom(QStringLiteral("1e300")), FLT_MAX);
    EXPECT_EQ(fractionFrom(QStringLiteral("0.125")), 0.125f);
    EXPECT_EQ(hexText(0xAB), QStringLiteral("000000AB"));
    EXPECT_EQ(hexText(0xFFFFFFFFu), QStringLiteral("FFFFFFFF"));
}

TEST(ModRegEditFields, BitNumberAndMaskFollowEachOther) {
    const struct {
        bool isMask;
        const char* text;
        int storedBit;
        uint32_t mask;
        const char* shown;
    } cases[] = {
        {false, "3", 4, 0x8, "3"},  {false, "0", 1, 0x1, "0"},
        {false, "", 0, 0, ""},      {false, "-1", 0, 0, ""},
        {false, "x", 0, 0, ""},     {false, "40", 32, 0x80000000u, "31"},
        {true, "10", 5, 0x10, "4"}, {true, "C", 0, 0xC, ""},
        {true, "0", 0, 0, ""},      {true, "80000000", 32, 0x80000000u, "31"},
    };
    for (const auto& c : cases) {
        RegisterDef copy;
        copy.bitNumber = 9;
        copy.mask = 0x100;
        if (c.isMask)
            takeMask(copy, QString::fromLatin1(c.text));
        else
            takeBitNumber(copy, QString::fromLatin1(c.text));
        EXPECT_EQ(copy.bitNumber, c.storedBit) << c.text;
        EXPECT_EQ(copy.mask, c.mask) << c.text;
        EXPECT_EQ(bitNumberText(copy), QString::fromLatin1(c.shown)) << c.text;
    }
}

TEST(ModRegEditFields, RegisterNumbersInBothNotations) {
    const struct {
        bool modicon;
        int typeBefore;
        const char* text;
        int type;
        int number;
        int modiconNumber;
        bool read;
    } cases[] = {
        {true, RegisterType::Holding, "30005", RegisterType::Input, 5, 30005, true},
        {true, RegisterType::Coil, "40010", RegisterType::Holding, 10, 40010, false},
        {true, RegisterType::Holding1, "410000", RegisterType::Holding, 10000, 410000, false},
        {false, RegisterType::Holding, "12", RegisterType::Holding, 12, 40012, false},
        {false, RegisterType::Coil, "70000", RegisterType::Coil, 65535, 65535, false},
        {false, RegisterType::Holding, "-3", RegisterType::Holding, 0, 40000, false},
        {false, RegisterType::Input, "abc", RegisterType::Input, 0, 30000, false},
    };
    for (const auto& c : cases) {
        RegisterDef copy;
        copy.type = c.typeBefore;
        copy.writePeriodic = 1;
        EXPECT_EQ(takeRegisterNumber(copy, QString::fromLatin1(c.text), c.modicon, nullptr), std::nullopt);
        EXPECT_EQ(copy.type, c.type) << c.text;
        EXPECT_EQ(copy.regNumber, c.number) << c.text;
        EXPECT_EQ(copy.modicon, c.modiconNumber) << c.text;
        EXPECT_EQ(copy.readPeriodic == 1 && copy.writePeriodic == 0, c.read) << c.text;
    }
    RegisterDef copy;
    copy.regNumber = 7;
    copy.writeOnUpdate = 1;
    chooseRegisterType(copy, RegisterType::Discrete);
    EXPECT_EQ(copy.readPeriodic, 1);
    EXPECT_EQ(copy.writeOnUpdate, 0);
    EXPECT_EQ(copy.modicon, 10007);
}

TEST(ModRegEditFields, EnablingAndTheFbLabel) {
    RegisterDef read;
    read.readPeriodic = 1;
    RegisterDef write;
    write.writePeriodic = 1;
    RegisterDef readFb = read;
    readFb.fbNumber = 3;
    RegisterDef writeFb = write;
    writeFb.fbNumber = 3;
    const auto with = [](auto f) {
        RegEditEnabling e;
        f(e);
        return e;
    };
    const RegEditEnabling noWrites = with([](RegEditEnabling& e) { e.write = e.writeOnUpdate = false; });
    const RegEditEnabling noRead = with([](RegEditEnabling& e) { e.read = false; });
    const struct {
        const char* what;
        RegisterDef copy;
        std::optional<bool> linkedInput;
        bool slave;
        RegEditEnabling expected;
        const char* label;
    } cases[] = {
        {"read, no fb", read, std::nullopt, false, RegEditEnabling{}, "FB (OLS)#"},
        {"write, no fb", write, std::nullopt, false, RegEditEnabling{}, "FB (OLA)#"},
        {"read side fixed", readFb, std::nullopt, false, noWrites, "FB (OLS)#"},
        {"write side fixed", writeFb, std::nullopt, false, noRead, "FB (OLA)#"},
        {"linked input NV", readFb, true, false, noRead, "FB (OLA)#"},
        {"linked output NV", writeFb, false, false, noWrites, "FB (OLS)#"},
        {"gateway is slave", read, std::nullopt, true, with([](RegEditEnabling& e) {
             e = RegEditEnabling{false, false, false, false, false, false, false, false};
         }),
         "FB (OLS)#"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(regEditEnabling(c.copy, c.linkedInput, c.slave), c.expected) << c.what;
        EXPECT_STREQ(registerFbLabel(c.copy, c.linkedInput), c.label) << c.what;
    }
}

struct RegBench : EditorBench {
    ModiconHint hint;
    RegisterDef& holding = addRegisterRow(*map, RegisterFormat::U16, 5);
    RegisterDef& input = addRegisterRow(*map, RegisterFormat::U16, 6);
    RegBench() { input.type = RegisterType::Input; }
    EditorContext context(bool modicon = false, bool slave = false) {
        EditorContext c = EditorBench::context();
        c.modicon = modicon;
        c.gatewaySlave = slave;
        c.modiconHint = &hint;
        return c;
    }
};

TEST(ModRegEdit, LabelsFollowTheOptions) {
    RegBench bench;
    ModRegEdit plain(bench.context(), 0, RegEditMode::RegisterList);
    EXPECT_EQ(plain.windowTitle(), QStringLiteral("Modbus Register Editor"));
    EXPECT_EQ(child<QLabel>(plain, "numberLabel")->text(), QStringLiteral("Register # 1..N"));
    EXPECT_EQ(child<QLabel>(plain, "pollLabel")->text(), QStringLiteral("Poll Rate (Sec)"));
    EXPECT_EQ(textOfBox(plain, "registerNumber"), QStringLiteral("5"));
    EXPECT_EQ(child<QComboBox>(plain, "registerType")->currentText(),
              QStringLiteral("Holding Register (fc 16)"));
    EXPECT_EQ(child<QComboBox>(plain, "registerFormat")->currentText(),
              QStringLiteral("16-bit Unsigned Int"));
    EXPECT_EQ(textOfBox(plain, "mask"), QStringLiteral("00000000"));
    EXPECT_EQ(textOfBox(plain, "scale"), QStringLiteral("1.00000"));

    bench.holding.modicon = 40005;
    ModRegEdit other(bench.context(true, true), 0, RegEditMode::RegisterList);
    EXPECT_EQ(child<QLabel>(other, "numberLabel")->text(), QStringLiteral("Modicon #"));
    EXPECT_EQ(child<QLabel>(other, "pollLabel")->text(), QStringLiteral("Host Timeout (Sec)"));
    EXPECT_EQ(textOfBox(other, "registerNumber"), QStringLiteral("40005"));
    EXPECT_TRUE(child<QComboBox>(other, "registerType")->isHidden());
    for (const char* name : {"slave", "bitNumber", "mask", "fill"})
        EXPECT_FALSE(child<QLineEdit>(other, name)->isEnabled()) << name;
    for (const char* name : {"readPeriodic", "writePeriodic", "writeOnUpdate", "packed"})
        EXPECT_FALSE(child<QAbstractButton>(other, name)->isEnabled()) << name;
}

TEST(ModRegEdit, ModiconHintOncePerRun) {
    RegBench bench;
    {
        ModRegEdit dialog(bench.context(), 0, RegEditMode::RegisterList);
        typeInto(dialog, "registerNumber", QStringLiteral("40001"));
        EXPECT_EQ(bench.messages(), QStringList{QString::fromLatin1(ModiconHint::text())});
        EXPECT_EQ(bench.prompter.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(dialog.copy().regNumber, 40001); // the hint only advises
    }
    ModRegEdit again(bench.context(), 0, RegEditMode::RegisterList);
    typeInto(again, "registerNumber", QStringLiteral("40001"));
    EXPECT_EQ(bench.messages().size(), 1);
}

TEST(ModRegEdit, InputRegistersCannotBeWritten) {
    RegBench bench;
    ModRegEdit dialog(bench.context(), 1, RegEditMode::RegisterList);
    click(dialog, "writePeriodic");
    EXPECT_EQ(bench.messages(), QStringList{"Cannot write to an input."});
    EXPECT_TRUE(child<QRadioButton>(dialog, "readPeriodic")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(dialog, "writePeriodic")->isChecked());
    EXPECT_EQ(dialog.copy().readPeriodic, 1);
    EXPECT_EQ(dialog.copy().writePeriodic, 0);

    ModRegEdit holding(bench.context(), 0, RegEditMode::RegisterList);
    click(holding, "writeOnUpdate");
    EXPECT_EQ(holding.copy().writeOnUpdate, 1);
    EXPECT_EQ(holding.copy().readPeriodic, 0);
    choose(holding, "registerType", RegisterType::Input); // an input type forces read periodic
    EXPECT_EQ(holding.copy().readPeriodic, 1);
    EXPECT_TRUE(child<QRadioButton>(holding, "readPeriodic")->isChecked());
}

TEST(ModRegEdit, CancelDiscardsAndApplyStoresInRegisterListMode) {
    RegBench bench;
    const RegisterDef before = bench.holding;
    {
        ModRegEdit dialog(bench.context(), 0, RegEditMode::RegisterList);
        typeInto(dialog, "slave", QStringLiteral("300"));
        typeInto(dialog, "scale", QStringLiteral("2.5"));
        click(dialog, "cancel");
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(bench.map->registers[0], before);

    bench.holding.inDevice = 1;
    ModRegEdit dialog(bench.context(), 0, RegEditMode::RegisterList);
    typeInto(dialog, "slave", QStringLiteral("300"));
    EXPECT_EQ(textOfBox(dialog, "slave"), QStringLiteral("255"));
    typeInto(dialog, "scale", QStringLiteral("2.5"));
    typeInto(dialog, "objectNumber", QStringLiteral("9")); // shown only, never taken
    click(dialog, "apply");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(bench.holding.slave, 255);
    EXPECT_EQ(bench.holding.scale, 2.5f);
    EXPECT_EQ(bench.holding.objectNumber, 0);
    EXPECT_EQ(bench.holding.inDevice, 0);
    EXPECT_TRUE(bench.raised.empty()); // no object: nothing else to redraw
}

TEST(ModRegEdit, ApplyInMasterListModeUpdatesTheObject) {
    RegBench bench;
    ObjectMap& map = *bench.map;
    const int nv = addStandardNV(map, 8, true, 4, "In");
    ASSERT_TRUE(copyNVRowIntoObject(map, nv, 12));
    ASSERT_TRUE(linkObjectRegister(map, 12, 1));
    ASSERT_TRUE(linkRegisterNV(map, 1, nv + 1));
    bench.holding.fbNumber = 4;
    DataObject& object = *map.object(12);
    object.datatype = ObjectDataType::U16;
    object.defVal = 7;
    object.syncFlags = SyncFlag::Configured | SyncFlag::InDevice | SyncFlag::Saved;

    ModRegEdit dialog(bench.context(), 0, RegEditMode::MasterList);
    EXPECT_EQ(child<QLabel>(dialog, "fbLabel")->text(), QStringLiteral("FB (OLA)#")); // the NV is an input
    EXPECT_FALSE(child<QRadioButton>(dialog, "readPeriodic")->isEnabled());
    EXPECT_EQ(textOfBox(dialog, "objectNumber"), QStringLiteral("12"));
    EXPECT_TRUE(child<QLineEdit>(dialog, "fbNumber")->isReadOnly());
    click(dialog, "writePeriodic");
    typeInto(dialog, "registerNumber", QStringLiteral("44"));
    choose(dialog, "registerFormat", RegisterFormat::FP);
    click(dialog, "apply");

    EXPECT_EQ(object.modreg, 44);
    EXPECT_EQ(object.moddata, RegisterFormat::FP);
    EXPECT_TRUE(object.flags & ObjectFlag::WritePeriodic);
    EXPECT_FALSE(object.flags & ObjectFlag::ReadPeriodic);
    EXPECT_EQ(object.datatype, ObjectDataType::FP);
    EXPECT_EQ(object_value_to_number(object.defVal, object.datatype), 7.0); // the default kept its number
    EXPECT_EQ(object.syncFlags, SyncFlag::Configured);
    EXPECT_EQ(bench.holding.fbNumber, 4);
    EXPECT_EQ(bench.holding.modicon, 40044);
    EXPECT_EQ(bench.raised,
              (std::vector<std::pair<EditorRequest, int>>{{EditorRequest::MasterListRefresh, 12}}));
    EXPECT_TRUE(checkLinks(map));
}

// Runs the master list's double-click on a column of object n and names the editor that opened
// (empty when none did); the editor is cancelled.
QString openedBy(Tool& tool, MasterColumn column, int n) {
    auto& page = tool.page<MasterListPage>(kMasterListPage);
    page.selectObject(n);
    int index = -1;
    for (int c = 0; c < page.model()->columnCount(); ++c)
        if (page.model()->columnKind(c) == column) index = c;
    QString opened;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            // The class name without its namespace.
            opened = QString::fromLatin1(dialog->metaObject()->className()).section(QStringLiteral("::"), -1);
            if (auto* registers = qobject_cast<ModRegEdit*>(dialog))
                opened += QStringLiteral(" row %1 mode %2").arg(registers->row()).arg(int(registers->mode()));
            dialog->reject();
        }
    });
    page.openEditorFor(index);
    return opened;
}

TEST(MasterListEditors, DoubleClickZonesOpenTheirEditors) {
    Tool tool;
    ObjectMap& map = *tool.map;
    const int nv = addStandardNV(map, 8, false, 3, "Out");
    ASSERT_TRUE(copyNVRowIntoObject(map, nv, 2));
    EXPECT_EQ(map.registerCount, 0);

    // An object with only an NV gets a register row, and the editor opens on it.
    EXPECT_EQ(openedBy(tool, MasterColumn::Slave, 2), QStringLiteral("ModRegEdit row 0 mode 2"));
    EXPECT_EQ(map.registerCount, 1);
    EXPECT_EQ(map.object(2)->registerRow, 1);
    EXPECT_TRUE(checkLinks(map));
    EXPECT_EQ(openedBy(tool, MasterColumn::Access, 2), QStringLiteral("ModRegEdit row 0 mode 2"));
    EXPECT_EQ(map.registerCount, 1);

    EXPECT_EQ(openedBy(tool, MasterColumn::Fb, 2), QStringLiteral("NVEdit"));
    EXPECT_EQ(openedBy(tool, MasterColumn::Name, 2), QStringLiteral("ObjEdit"));
    EXPECT_EQ(openedBy(tool, MasterColumn::Number, 7), QStringLiteral("ObjEdit"));
    EXPECT_EQ(openedBy(tool, MasterColumn::Snvt, 7), QString()); // neither link: nothing opens
    EXPECT_EQ(openedBy(tool, MasterColumn::Slave, 7), QString());
    EXPECT_EQ(map.registerCount, 1);
}

} // namespace
} // namespace korvex::ui::test
