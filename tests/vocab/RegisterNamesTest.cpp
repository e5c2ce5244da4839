#include <gtest/gtest.h>

#include <string>

#include "vocab/RegisterCodes.h"
#include "vocab/RegisterNames.h"

using namespace korvex;

TEST(RegisterNames, EveryCodeRoundTripsThroughKeywordAndXmlName) {
    for (const auto& t : registerTypeNames()) {
        EXPECT_EQ(registerTypeFromKeyword(register_type_keyword(t.code)), t.code);
        EXPECT_EQ(registerTypeFromXmlName(registerTypeXmlName(t.code)), t.code);
    }
    for (const auto& f : registerFormatNames()) {
        EXPECT_EQ(registerFormatFromKeyword(register_format_keyword(f.code)), f.code);
        EXPECT_EQ(registerFormatFromXmlName(registerFormatXmlName(f.code)), f.code);
    }
    for (const auto& d : objectDataTypeNames())
        EXPECT_EQ(objectDataTypeFromXmlName(objectDataTypeXmlName(d.code)), d.code);
}

TEST(RegisterNames, RowsSitAtTheirCode) {
    for (size_t i = 0; i < registerTypeNames().size(); ++i)
        EXPECT_EQ(registerTypeNames()[i].code, int32_t(i));
    for (size_t i = 0; i < registerFormatNames().size(); ++i)
        EXPECT_EQ(registerFormatNames()[i].code, int32_t(i));
    for (size_t i = 0; i < objectDataTypeNames().size(); ++i)
        EXPECT_EQ(objectDataTypeNames()[i].code, uint8_t(i));
}

TEST(RegisterNames, SampleNamesAndOutOfRangeCodes) {
    EXPECT_STREQ(register_type_keyword(RegisterType::Holding1), "HOLD1");
    EXPECT_STREQ(registerTypeXmlName(RegisterType::Coil1), "0XS");
    EXPECT_STREQ(registerTypeDisplayName(RegisterType::Holding), "Holding Register (fc 16)");
    EXPECT_STREQ(registerFormatXmlName(RegisterFormat::None), "NULL");
    EXPECT_STREQ(registerFormatDisplayName(RegisterFormat::M103), "Mod10, 3-register");
    EXPECT_STREQ(objectDataTypeDisplayName(ObjectDataType::None), "Unused");
    for (int32_t bad : {-1, 7, 1000}) EXPECT_STREQ(register_type_keyword(bad), "NONE");
    for (int32_t bad : {-1, 11, 1000}) EXPECT_STREQ(register_format_keyword(bad), "NONE");
    EXPECT_STREQ(objectDataTypeXmlName(7), "NULL");
}

TEST(RegisterNames, LookupsAreExactAndCaseSensitive) {
    EXPECT_FALSE(registerTypeFromKeyword("hold"));
    EXPECT_FALSE(registerTypeFromKeyword("HOLD "));
    EXPECT_FALSE(registerTypeFromXmlName("4x"));
    EXPECT_FALSE(registerFormatFromXmlName("NONE")); // the XML name of format 0 is NULL
    EXPECT_FALSE(objectDataTypeFromXmlName(""));
}

TEST(RegisterNames, CsvFieldsMatchByLongestKeywordFirst) {
    struct Case {
        const char* field;
        std::optional<int32_t> type;
    };
    for (const Case& c : {Case{"COIL1", RegisterType::Coil1}, Case{"COIL", RegisterType::Coil},
                          Case{"HOLD1x", RegisterType::Holding1}, Case{"HOLDING", RegisterType::Holding},
                          Case{"INPUT", RegisterType::Input}, Case{"NONE", RegisterType::None},
                          Case{"hold", std::nullopt}, Case{" HOLD", std::nullopt}})
        EXPECT_EQ(registerTypeFromCsvField(c.field), c.type) << c.field;
    EXPECT_EQ(registerFormatFromCsvField("M104"), RegisterFormat::M104);
    EXPECT_EQ(registerFormatFromCsvField("FP32"), RegisterFormat::FP);
    EXPECT_FALSE(registerFormatFromCsvField("s16"));
}

TEST(RegisterNames, CopyRulesBetweenFormatAndDataType) {
    const std::pair<int32_t, uint8_t> toObject[] = {
        {RegisterFormat::None, ObjectDataType::U16}, {RegisterFormat::S16, ObjectDataType::S16},
        {RegisterFormat::U16, ObjectDataType::U16},  {RegisterFormat::S32, ObjectDataType::S32},
        {RegisterFormat::U32, ObjectDataType::U32},  {RegisterFormat::FP, ObjectDataType::FP},
        {RegisterFormat::BIT, ObjectDataType::BIT},  {RegisterFormat::M102, ObjectDataType::FP},
        {RegisterFormat::M103, ObjectDataType::FP},  {RegisterFormat::M104, ObjectDataType::FP},
        {RegisterFormat::S64, ObjectDataType::FP}};
    for (auto [format, datatype] : toObject) EXPECT_EQ(dataTypeFromFormat(format), datatype) << format;

    const std::pair<uint8_t, int32_t> toRegister[] = {
        {ObjectDataType::None, RegisterFormat::U16}, {ObjectDataType::FP, RegisterFormat::FP},
        {ObjectDataType::U32, RegisterFormat::U32},  {ObjectDataType::S32, RegisterFormat::S32},
        {ObjectDataType::U16, RegisterFormat::U16},  {ObjectDataType::S16, RegisterFormat::S16},
        {ObjectDataType::BIT, RegisterFormat::BIT},  {uint8_t{200}, RegisterFormat::U16}};
    for (auto [datatype, format] : toRegister)
        EXPECT_EQ(formatFromDataType(datatype), format) << int(datatype);
}

TEST(RegisterNames, AccessModeTexts) {
    const auto modes = accessModeNames();
    ASSERT_EQ(modes.size(), 3u);
    EXPECT_STREQ(modes[0].csvText, "R");
    EXPECT_STREQ(modes[2].csvText, "W+");
    EXPECT_STREQ(modes[2].displayName, "Write On Update");
}
