// The `obj` element: attribute effects, the order rules (n first, clear, register attributes
// after modreg, defVal after datatype), the commit (FP default, sync flags, NV link and register
// row) and value forms at their ranges.
#include "formats/xml/XmlError.h"
#include "model/FixedText.h"
#include "support/LinkCheck.h"
#include "support/MapBuilders.h"
#include "support/XmlTestSupport.h"
#include "vocab/RegisterCodes.h"

#include <gtest/gtest.h>

#include <bit>
#include <memory>

namespace korvex {
namespace {

using test::readObject;

class ObjectElement : public ::testing::Test {
protected:
    std::unique_ptr<ObjectMap> map = std::make_unique<ObjectMap>();
    DataObject& object(int n) { return *map->object(n); }
};

TEST_F(ObjectElement, ClearAloneEmptiesTheObjectAndKeepsDataTypeZero) {
    ASSERT_EQ(readObject(*map, "n=\"5\" name=\"old\" modreg=\"3\""), XmlError::Ok);
    ASSERT_EQ(readObject(*map, "n=\"5\" clear=\"1\""), XmlError::Ok);
    EXPECT_EQ(object(5).flags, 0u);
    EXPECT_EQ(object(5).datatype, 0);
    EXPECT_EQ(textOf(object(5).name), "");
    EXPECT_EQ(object(5).syncFlags, SyncFlag::Configured | SyncFlag::InDevice);
}

TEST_F(ObjectElement, AnAttributeAfterClearGivesTheDefaultDataTypeFP) {
    ASSERT_EQ(readObject(*map, "n=\"5\" clear=\"1\" name=\"Pump\""), XmlError::Ok);
    EXPECT_EQ(textOf(object(5).name), "Pump");
    EXPECT_EQ(object(5).datatype, ObjectDataType::FP);
}

TEST_F(ObjectElement, WithoutClearOnlyNamedAttributesChange) {
    ASSERT_EQ(readObject(*map, "n=\"9\" datatype=\"U16\" name=\"Keep\" poll=\"4\""), XmlError::Ok);
    ASSERT_EQ(readObject(*map, "n=\"9\" poll=\"7\""), XmlError::Ok);
    EXPECT_EQ(textOf(object(9).name), "Keep");
    EXPECT_EQ(object(9).datatype, ObjectDataType::U16);
    EXPECT_EQ(object(9).poll, 7);
}

TEST_F(ObjectElement, ClearNeedsAnEarlierObjectNumber) {
    EXPECT_EQ(readObject(*map, "clear=\"1\" n=\"5\""), XmlError::OutOfRange);
}

TEST_F(ObjectElement, ClearZeroesTheStoredObjectAtOnceEvenWhenTheElementFails) {
    ASSERT_EQ(readObject(*map, "n=\"4\" name=\"gone\""), XmlError::Ok);
    EXPECT_EQ(readObject(*map, "n=\"4\" clear=\"1\" modtype=\"4X\""), XmlError::Conflicting);
    EXPECT_TRUE(object(4).isEmpty());
}

TEST_F(ObjectElement, RegisterAttributesNeedModregFirst) {
    EXPECT_EQ(readObject(*map, "n=\"1\" clear=\"1\" modtype=\"4X\" modreg=\"10\""), XmlError::Conflicting);
    EXPECT_EQ(readObject(*map, "n=\"1\" clear=\"1\" slave=\"2\""), XmlError::Conflicting);
    EXPECT_EQ(readObject(*map, "n=\"1\" clear=\"1\" bigend=\"1\""), XmlError::Conflicting);
    EXPECT_EQ(readObject(*map, "n=\"1\" clear=\"1\" moddata=\"FP\""), XmlError::Conflicting);
    ASSERT_EQ(readObject(*map, "n=\"1\" clear=\"1\" modreg=\"10\" modtype=\"4X\""), XmlError::Ok);
    // The stored object is in use now, so without clear modtype alone is accepted.
    EXPECT_EQ(readObject(*map, "n=\"1\" modtype=\"3X\""), XmlError::Ok);
    EXPECT_EQ(object(1).modtype, RegisterType::Input);
}

TEST_F(ObjectElement, ModregSetsInUseAndReadPeriodicUnlessAWriteModeCameFirst) {
    ASSERT_EQ(readObject(*map, "n=\"1\" modreg=\"1\""), XmlError::Ok);
    EXPECT_EQ(object(1).flags, ObjectFlag::InUse | ObjectFlag::ReadPeriodic);
    ASSERT_EQ(readObject(*map, "n=\"2\" writedelta=\"1\" modreg=\"1\""), XmlError::Ok);
    EXPECT_EQ(object(2).flags, ObjectFlag::InUse | ObjectFlag::WriteOnUpdate);
    ASSERT_EQ(readObject(*map, "n=\"3\" modreg=\"1\" writepolled=\"1\""), XmlError::Ok);
    EXPECT_EQ(object(3).flags, ObjectFlag::InUse | ObjectFlag::WritePeriodic);
    ASSERT_EQ(readObject(*map, "n=\"3\" writepolled=\"0\""), XmlError::Ok);
    EXPECT_EQ(object(3).flags, ObjectFlag::InUse);
}

TEST_F(ObjectElement, DefaultValueNeedsADataTypeAndFollowsIt) {
    EXPECT_EQ(readObject(*map, "n=\"1\" clear=\"1\" defVal=\"3\""), XmlError::UnknownObjectFormat);
    ASSERT_EQ(readObject(*map, "n=\"1\" clear=\"1\" datatype=\"S16\" defVal=\"-40000\""), XmlError::Ok);
    EXPECT_EQ(static_cast<int16_t>(object(1).defVal & 0xFFFF), -32767);
    ASSERT_EQ(readObject(*map, "n=\"2\" datatype=\"FP\" defVal=\"12.5\""), XmlError::Ok);
    EXPECT_EQ(std::bit_cast<float>(object(2).defVal), 12.5f);
    EXPECT_EQ(readObject(*map, "n=\"2\" defVal=\"x\""), XmlError::BadSyntax);
}

struct ValueCase {
    const char* attributes;
    XmlError code;
};

class ObjectValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ObjectValues, AtTheirRanges) {
    auto map = std::make_unique<ObjectMap>();
    EXPECT_EQ(readObject(*map, std::string("n=\"1\" ") + GetParam().attributes), GetParam().code)
        << GetParam().attributes;
}

INSTANTIATE_TEST_SUITE_P(
    Obj, ObjectValues,
    ::testing::Values(
        ValueCase{"modreg=\"0\"", XmlError::Ok}, ValueCase{"modreg=\"65535\"", XmlError::Ok},
        ValueCase{"modreg=\"65536\"", XmlError::OutOfRange}, ValueCase{"modreg=\"-1\"", XmlError::OutOfRange},
        ValueCase{"modreg=\"1\" slave=\"255\"", XmlError::Ok},
        ValueCase{"modreg=\"1\" slave=\"256\"", XmlError::OutOfRange},
        ValueCase{"poll=\"65536\"", XmlError::OutOfRange}, ValueCase{"lonNVO=\"0\"", XmlError::OutOfRange},
        ValueCase{"lonNVO=\"-1\"", XmlError::OutOfRange}, ValueCase{"lonNVO=\"120\"", XmlError::Ok},
        ValueCase{"lonNVI=\"121\"", XmlError::OutOfRange}, ValueCase{"lonoffset=\"31,7\"", XmlError::Ok},
        ValueCase{"lonoffset=\"32,0\"", XmlError::OutOfRange}, ValueCase{"lonoffset=\"0,15\"", XmlError::Ok},
        ValueCase{"lonoffset=\"0,16\"", XmlError::OutOfRange},
        ValueCase{"lonoffset=\"1\"", XmlError::BadSyntax},
        ValueCase{"lonoffset=\"1;2\"", XmlError::BadSyntax},
        ValueCase{"lonscale=\"1,-2,32767\"", XmlError::Ok},
        ValueCase{"lonscale=\"1,-2,32768\"", XmlError::OutOfRange},
        ValueCase{"lonscale=\"1,2\"", XmlError::BadSyntax}, ValueCase{"lonalg=\"2,255\"", XmlError::Ok},
        ValueCase{"lonalg=\"3,0\"", XmlError::OutOfRange},
        ValueCase{"lonalg=\"0,256\"", XmlError::OutOfRange},
        ValueCase{"datatype=\"fp\"", XmlError::UnknownTag},
        ValueCase{"lontype=\"REF\"", XmlError::UnknownTag},
        ValueCase{"modreg=\"1\" modtype=\"4x\"", XmlError::UnknownTag},
        ValueCase{"modreg=\"1\" moddata=\"S64\"", XmlError::Ok},
        ValueCase{"mask=\"zz\"", XmlError::BadSyntax}, ValueCase{"mask=\"0x1F\"", XmlError::Ok},
        ValueCase{"scale=\"1e400\"", XmlError::Ok}, ValueCase{"scale=\".\"", XmlError::BadSyntax},
        ValueCase{"pack=\"\"", XmlError::BadSyntax}));

TEST_F(ObjectElement, EveryAttributeReachesItsField) {
    ASSERT_EQ(readObject(
                  *map, "n=\"12\" clear=\"1\" scale=\"2.5\" offset=\"-1\" name=\"All\" datatype=\"S32\" "
                        "mask=\"000000F0\" fill=\"0000000F\" modreg=\"300\" modtype=\"4XS\" moddata=\"M103\" "
                        "slave=\"17\" poll=\"9\" writedelta=\"1\" bigend=\"1\" pack=\"1\" defPOR=\"1\" "
                        "defFail=\"1\" defVal=\"-5\" persistent=\"1\" lonNVI=\"44\" lonstruct=\"1\" "
                        "lonlock=\"1\" lontype=\"SQ\" lonoffset=\"3,6\" lonscale=\"-1,2,-3\" lonalg=\"2,9\" "
                        "lonDefFail=\"1\""),
              XmlError::Ok);
    const DataObject& o = object(12);
    EXPECT_EQ(o.scale, 2.5f);
    EXPECT_EQ(o.offset, -1.0f);
    EXPECT_EQ(textOf(o.name), "All");
    EXPECT_EQ(o.datatype, ObjectDataType::S32);
    EXPECT_EQ(o.mask, 0xF0u);
    EXPECT_EQ(o.fill, 0xFu);
    EXPECT_EQ(o.modreg, 300);
    EXPECT_EQ(o.modtype, RegisterType::Holding1);
    EXPECT_EQ(o.moddata, RegisterFormat::M103);
    EXPECT_EQ(o.slave, 17);
    EXPECT_EQ(o.poll, 9);
    EXPECT_EQ(static_cast<int32_t>(o.defVal), -5);
    EXPECT_EQ(o.flags, ObjectFlag::InUse | ObjectFlag::WriteOnUpdate | ObjectFlag::HighRegFirst |
                           ObjectFlag::Packed | ObjectFlag::DefaultOnPowerUp | ObjectFlag::DefaultOnCommFail |
                           ObjectFlag::Persistent | ObjectFlag::InputNV | ObjectFlag::Structured |
                           ObjectFlag::LockField | ObjectFlag::DefaultOnLonFail);
    EXPECT_EQ(o.lonNV, 44);
    EXPECT_EQ(o.lontype, 13);
    EXPECT_EQ(o.lonByteOffset, 3);
    EXPECT_EQ(o.lonBitOffset, 6);
    EXPECT_EQ(o.lonScaleA, -1);
    EXPECT_EQ(o.lonScaleB, 2);
    EXPECT_EQ(o.lonScaleC, -3);
    EXPECT_EQ(o.lonMethod, 2);
    EXPECT_EQ(o.lonFormula, 9);
}

TEST_F(ObjectElement, CommitLinksToTheNVRowAndAppendsARegisterRow) {
    const int row = testing::addStandardNV(*map, 39, false, 7, "temp");
    ASSERT_EQ(readObject(*map,
                         "n=\"3\" clear=\"1\" datatype=\"FP\" modreg=\"5\" modtype=\"4X\" moddata=\"FP\" "
                         "slave=\"1\" poll=\"1\" lonNVO=\"7\" lontype=\"SL\""),
              XmlError::Ok);
    EXPECT_EQ(object(3).nvRow, row + 1);
    EXPECT_EQ(map->nvs[row].objectNumber, 3);
    ASSERT_EQ(map->registerCount, 1);
    EXPECT_EQ(map->registers[0].regNumber, 5);
    EXPECT_EQ(map->registers[0].objectNumber, 3);
    EXPECT_TRUE(testing::checkLinks(*map));
}

TEST_F(ObjectElement, AClearedObjectDoesNotLinkToAnUnnumberedNVRow) {
    testing::addStandardNV(*map, 39, false, 0, "unassigned");
    ASSERT_EQ(readObject(*map, "n=\"3\" clear=\"1\""), XmlError::Ok);
    EXPECT_EQ(object(3).nvRow, 0);
    EXPECT_EQ(map->nvs[0].objectNumber, 0);
}

} // namespace
} // namespace korvex
