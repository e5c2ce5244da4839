#include "vocab/RegisterNames.h"

#include <array>

namespace korvex {
namespace {

constexpr std::array<RegisterTypeName, RegisterType::Count> kTypes{{
    {RegisterType::None, "NONE", "NO", "None", 0},
    {RegisterType::Coil, "COIL", "0X", "Coil (fc 15)", 0},
    {RegisterType::Discrete, "DISC", "1X", "Discrete Input", 1},
    {RegisterType::Input, "INPUT", "3X", "Input Register", 3},
    {RegisterType::Holding, "HOLD", "4X", "Holding Register (fc 16)", 4},
    {RegisterType::Coil1, "COIL1", "0XS", "Coil (fc 5)", 0},
    {RegisterType::Holding1, "HOLD1", "4XS", "Holding Register (fc 6)", 4},
}};

constexpr std::array<RegisterFormatName, RegisterFormat::Count> kFormats{{
    {RegisterFormat::None, "NONE", "NULL", "Undefined"},
    {RegisterFormat::S16, "S16", "S16", "16-bit Signed Int"},
    {RegisterFormat::U16, "U16", "U16", "16-bit Unsigned Int"},
    {RegisterFormat::S32, "S32", "S32", "32-bit Signed Int"},
    {RegisterFormat::U32, "U32", "U32", "32-bit Unsigned Int"},
    {RegisterFormat::FP, "FP", "FP", "Floating Point"},
    {RegisterFormat::BIT, "BIT", "BIT", "Boolean/Bit"},
    {RegisterFormat::M102, "M102", "M102", "Mod10, 2-register"},
    {RegisterFormat::M103, "M103", "M103", "Mod10, 3-register"},
    {RegisterFormat::M104, "M104", "M104", "Mod10, 4-register"},
    {RegisterFormat::S64, "S64", "S64", "64-bit Signed Int"},
}};

constexpr std::array<ObjectDataTypeName, ObjectDataType::Count> kDataTypes{{
    {ObjectDataType::None, "NULL", "Unused"},
    {ObjectDataType::FP, "FP", "Floating Point"},
    {ObjectDataType::U32, "U32", "32-bit Unsigned Int"},
    {ObjectDataType::S32, "S32", "32-bit Signed Int"},
    {ObjectDataType::U16, "U16", "16-bit Unsigned Int"},
    {ObjectDataType::S16, "S16", "16-bit Signed Int"},
    {ObjectDataType::BIT, "BIT", "Boolean/Bit"},
}};

constexpr std::array<AccessModeName, 3> kAccessModes{{
    {AccessMode::Read, "R", "Read Periodic"},
    {AccessMode::Write, "W", "Write Periodic"},
    {AccessMode::WriteOnUpdate, "W+", "Write On Update"},
}};

constexpr std::array<int32_t, 7> kCsvTypeOrder{
    RegisterType::Coil1, RegisterType::Holding1, RegisterType::Coil, RegisterType::Discrete,
    RegisterType::Input, RegisterType::Holding,  RegisterType::None};

template <typename Table> const auto& row(const Table& table, int32_t code) {
    return (code >= 0 && code < static_cast<int32_t>(table.size())) ? table[code] : table[0];
}

template <typename Table, typename Field>
std::optional<int32_t> findExact(const Table& table, Field field, std::string_view text) {
    for (const auto& entry : table)
        if (text == entry.*field) return static_cast<int32_t>(entry.code);
    return std::nullopt;
}

} // namespace

std::span<const RegisterTypeName> registerTypeNames() {
    return kTypes;
}
std::span<const RegisterFormatName> registerFormatNames() {
    return kFormats;
}
std::span<const ObjectDataTypeName> objectDataTypeNames() {
    return kDataTypes;
}
std::span<const AccessModeName> accessModeNames() {
    return kAccessModes;
}

const char* register_type_keyword(int32_t code) {
    return row(kTypes, code).keyword;
}
const char* register_format_keyword(int32_t code) {
    return row(kFormats, code).keyword;
}
const char* registerTypeXmlName(int32_t code) {
    return row(kTypes, code).xmlName;
}
const char* registerFormatXmlName(int32_t code) {
    return row(kFormats, code).xmlName;
}
const char* registerTypeDisplayName(int32_t code) {
    return row(kTypes, code).displayName;
}
const char* registerFormatDisplayName(int32_t code) {
    return row(kFormats, code).displayName;
}
const char* objectDataTypeXmlName(int32_t code) {
    return row(kDataTypes, code).xmlName;
}
const char* objectDataTypeDisplayName(int32_t code) {
    return row(kDataTypes, code).displayName;
}
int32_t registerTypeModiconDigit(int32_t code) {
    return row(kTypes, code).modiconDigit;
}

std::optional<int32_t> registerTypeFromKeyword(std::string_view keyword) {
    return findExact(kTypes, &RegisterTypeName::keyword, keyword);
}
std::optional<int32_t> registerFormatFromKeyword(std::string_view keyword) {
    return findExact(kFormats, &RegisterFormatName::keyword, keyword);
}
std::optional<int32_t> registerTypeFromXmlName(std::string_view name) {
    return findExact(kTypes, &RegisterTypeName::xmlName, name);
}
std::optional<int32_t> registerFormatFromXmlName(std::string_view name) {
    return findExact(kFormats, &RegisterFormatName::xmlName, name);
}
std::optional<uint8_t> objectDataTypeFromXmlName(std::string_view name) {
    auto code = findExact(kDataTypes, &ObjectDataTypeName::xmlName, name);
    if (!code) return std::nullopt;
    return static_cast<uint8_t>(*code);
}

std::optional<int32_t> registerTypeFromCsvField(std::string_view field) {
    for (int32_t code : kCsvTypeOrder)
        if (field.starts_with(kTypes[code].keyword)) return code;
    return std::nullopt;
}

std::optional<int32_t> registerFormatFromCsvField(std::string_view field) {
    // Table order already puts no keyword before one that it is a prefix of.
    for (int32_t code = RegisterFormat::S16; code < RegisterFormat::Count; ++code)
        if (field.starts_with(kFormats[code].keyword)) return code;
    return std::nullopt;
}

} // namespace korvex
