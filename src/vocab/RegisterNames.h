#pragma once
// Names of the register codes: the CSV keyword, the XML attribute value and the name the
// editors show. One row per code; the row's position is its code.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "vocab/RegisterCodes.h"

namespace korvex {

struct RegisterTypeName {
    int32_t code;
    const char* keyword;     // CSV register list
    const char* xmlName;     // modtype attribute
    const char* displayName; // register editor
    int32_t modiconDigit;
};

struct RegisterFormatName {
    int32_t code;
    const char* keyword;
    const char* xmlName; // moddata attribute
    const char* displayName;
};

struct ObjectDataTypeName {
    uint8_t code;
    const char* xmlName;     // datatype attribute
    const char* displayName; // object editor
};

// How a register is accessed; exactly one of the three RegisterDef flags is set.
enum class AccessMode : uint8_t { Read = 0, Write = 1, WriteOnUpdate = 2 };

struct AccessModeName {
    AccessMode mode;
    const char* csvText;
    const char* displayName;
};

std::span<const RegisterTypeName> registerTypeNames();
std::span<const RegisterFormatName> registerFormatNames();
std::span<const ObjectDataTypeName> objectDataTypeNames();
std::span<const AccessModeName> accessModeNames();

// Codes outside the table show as code 0 ("NONE", "NO", "None", "NULL", ...), never as null.
const char* register_type_keyword(int32_t code);
const char* register_format_keyword(int32_t code);
const char* registerTypeXmlName(int32_t code);
const char* registerFormatXmlName(int32_t code);
const char* registerTypeDisplayName(int32_t code);
const char* registerFormatDisplayName(int32_t code);
const char* objectDataTypeXmlName(int32_t code);
const char* objectDataTypeDisplayName(int32_t code);
int32_t registerTypeModiconDigit(int32_t code);

// Exact, case-sensitive lookups back to the code.
std::optional<int32_t> registerTypeFromKeyword(std::string_view keyword);
std::optional<int32_t> registerFormatFromKeyword(std::string_view keyword);
std::optional<int32_t> registerTypeFromXmlName(std::string_view name);
std::optional<int32_t> registerFormatFromXmlName(std::string_view name);
std::optional<uint8_t> objectDataTypeFromXmlName(std::string_view name);

// CSV fields are matched by the first keyword they begin with. The longer keywords are tried
// first so that "COIL1" is not taken for "COIL". The format order has no "NONE".
std::optional<int32_t> registerTypeFromCsvField(std::string_view field);
std::optional<int32_t> registerFormatFromCsvField(std::string_view field);

} // namespace korvex
