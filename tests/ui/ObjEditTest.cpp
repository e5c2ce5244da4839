// The Object Editor: the default value stored in the object's data format (clamps and rounding),
// kept through a format change, and the dialog's Apply and Cancel.
#include "ui/support/EditorTestSupport.h"

#include "vocab/RegisterCodes.h"
#include "model/FixedText.h"
#include "ui/dialogs/ObjEdit.h"

#include <QCheckBox>
#include <QLabel>

namespace korvex::ui::test {
namespace {

TEST(ObjEditFields, DefaultValueIsStoredInTheDataFormat) {
    const struct {
        uint8_t datatype;
        const char* typed;
        const char* shown;
    } cases[] = {
        {ObjectDataType::FP, "1.25", "1.250000"},
        {ObjectDataType::FP, "abc", "0.000000"},
        {ObjectDataType::U32, "2.5", "3"},
        {ObjectDataType::U32, "-5", "0"},
        {ObjectDataType::U32, "4294967296", "4294967295"},
        {ObjectDataType::S32, "-2.5", "-3"}, // halves away from zero, negatives keep their size
        {ObjectDataType::S32, "-2.7", "-3"},
        {ObjectDataType::S32, "", "0"},
        {ObjectDataType::U16, "-1", "0"},
        {ObjectDataType::U16, "70000", "65535"},
        {ObjectDataType::U16, "1.5", "2"},
        {ObjectDataType::S16, "40000", "32767"},
        {ObjectDataType::S16, "-40000", "-32767"},
        {ObjectDataType::S16, "-1.5", "-2"},
        {ObjectDataType::BIT, "0.1", "1"},
        {ObjectDataType::BIT, "0", "0"},
        {ObjectDataType::None, "5", "0"},
    };
    for (const auto& c : cases) {
        DataObject copy;
        copy.datatype = c.datatype;
        takeDefaultValue(copy, QString::fromLatin1(c.typed));
        EXPECT_EQ(defaultValueText(copy), QString::fromLatin1(c.shown)) << int(c.datatype) << " " << c.typed;
    }
}

TEST(ObjEditFields, AFormatChangeKeepsTheDefaultsNumber) {
    const struct {
        uint8_t from;
        const char* typed;
        uint8_t to;
        const char* shown;
    } cases[] = {
        {ObjectDataType::S16, "-5", ObjectDataType::FP, "-5.000000"},
        {ObjectDataType::FP, "70000", ObjectDataType::U16, "65535"},
        {ObjectDataType::FP, "-7.5", ObjectDataType::S32, "-8"},
        {ObjectDataType::U16, "3", ObjectDataType::BIT, "1"},
    };
    for (const auto& c : cases) {
        DataObject copy;
        copy.datatype = c.from;
        takeDefaultValue(copy, QString::fromLatin1(c.typed));
        chooseDataFormat(copy, c.to);
        EXPECT_EQ(copy.datatype, c.to);
        EXPECT_EQ(defaultValueText(copy), QString::fromLatin1(c.shown)) << c.typed;
    }
}

struct ObjBench : EditorBench {
    DataObject& object = *map->object(7);
    ObjBench() {
        object.flags = ObjectFlag::InUse | ObjectFlag::ReadPeriodic | ObjectFlag::Persistent;
        object.datatype = ObjectDataType::U16;
        object.defVal = 12;
        object.syncFlags = SyncFlag::Configured | SyncFlag::InDevice | SyncFlag::Saved;
        setText(object.name, "Pump");
    }
};

TEST(ObjEdit, ShowsTheObject) {
    ObjBench bench;
    ObjEdit dialog(bench.context(), 7);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Object Editor"));
    EXPECT_EQ(child<QLabel>(dialog, "heading")->text(), QStringLiteral("Object Number 7"));
    EXPECT_EQ(textOfBox(dialog, "name"), QStringLiteral("Pump"));
    EXPECT_EQ(child<QComboBox>(dialog, "dataFormat")->currentText(), QStringLiteral("16-bit Unsigned Int"));
    EXPECT_EQ(child<QComboBox>(dialog, "dataFormat")->itemText(0), QStringLiteral("Unused"));
    EXPECT_TRUE(child<QCheckBox>(dialog, "persistent")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(dialog, "defaultOnPowerUp")->isChecked());
    EXPECT_EQ(textOfBox(dialog, "defaultValue"), QStringLiteral("12"));
}

TEST(ObjEdit, ApplyStoresTheEditedFieldsOnly) {
    ObjBench bench;
    ObjEdit dialog(bench.context(), 7);
    typeInto(dialog, "name", QString(45, QLatin1Char('n')));
    choose(dialog, "dataFormat", ObjectDataType::S16);
    click(dialog, "defaultOnPowerUp");
    click(dialog, "defaultOnCommFail");
    click(dialog, "persistent");
    typeInto(dialog, "defaultValue", QStringLiteral("-40000"));
    EXPECT_EQ(textOfBox(dialog, "defaultValue"), QStringLiteral("-32767"));
    click(dialog, "apply");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const DataObject& object = bench.object;
    EXPECT_EQ(textOf(object.name), std::string(kNameSize - 1, 'n'));
    EXPECT_EQ(object.datatype, ObjectDataType::S16);
    EXPECT_EQ(object.flags, ObjectFlag::InUse | ObjectFlag::ReadPeriodic | ObjectFlag::DefaultOnPowerUp |
                                ObjectFlag::DefaultOnCommFail);
    EXPECT_EQ(static_cast<int16_t>(object.defVal), -32767);
    EXPECT_EQ(object.syncFlags, SyncFlag::Configured);
    EXPECT_EQ(bench.raised,
              (std::vector<std::pair<EditorRequest, int>>{{EditorRequest::MasterListRefresh, 7}}));
}

TEST(ObjEdit, CancelAndCloseDiscard) {
    for (const bool byClose : {false, true}) {
        ObjBench bench;
        const DataObject before = bench.object;
        ObjEdit dialog(bench.context(), 7);
        dialog.show();
        typeInto(dialog, "name", QStringLiteral("Other"));
        click(dialog, "persistent");
        typeInto(dialog, "defaultValue", QStringLiteral("99"));
        if (byClose)
            dialog.close();
        else
            click(dialog, "cancel");
        EXPECT_EQ(bench.object, before);
        EXPECT_TRUE(bench.raised.empty());
    }
}

} // namespace
} // namespace korvex::ui::test
