#include "formats/xif/XifTypeText.h"

#include "vocab/SnvtCatalogue.h"

#include <array>
#include <cstdio>
#include <optional>

namespace korvex {
namespace {

std::string fiveNumbers(int a, int b, int c, int d, int e) {
    char text[80];
    std::snprintf(text, sizeof text, "%d %d %d %d %d\n", a, b, c, d, e);
    return text;
}

std::string countLine(int t, int count) {
    char text[40];
    std::snprintf(text, sizeof text, "%d * %d\n", t, count);
    return text;
}

// Kind and signedness of the integer categories.
struct Scalar {
    int kind;
    int isSigned;
};

std::optional<Scalar> scalarOf(int category) {
    switch (category) {
    case NvtCatSignedChar:
        return Scalar{0, 1};
    case NvtCatUnsignedChar:
        return Scalar{0, 0};
    case NvtCatSignedShort:
        return Scalar{1, 1};
    case NvtCatUnsignedShort:
    case NvtCatEnum:
        return Scalar{1, 0};
    case NvtCatSignedLong:
        return Scalar{2, 1};
    case NvtCatUnsignedLong:
        return Scalar{2, 0};
    default:
        return std::nullopt;
    }
}

// One member of a structure (catalogue field or user field row); none for categories that
// have no member form.
std::optional<std::string> memberLine(int category, int size, int bit) {
    if (const auto scalar = scalarOf(category)) return fiveNumbers(scalar->kind, 0, 0, scalar->isSigned, 0);
    switch (category) {
    case NvtCatArray:
    case NvtCatUnion:
        return fiveNumbers(4, 0, size, 0, 0);
    case NvtCatBitfield:
        return fiveNumbers(3, bit, 1, 0, 0);
    case NvtCatFloat:
    case NvtCatSignedQuad:
        return fiveNumbers(4, 0, 4, 0, 0);
    default:
        return std::nullopt;
    }
}

std::string rawBytes(int t, int size) {
    return countLine(t, 1) + fiveNumbers(4, 0, size, 0, 0);
}

std::string standardStructure(int t, int size) {
    const auto fields = snvt_fields(t);
    if (fields.empty()) return rawBytes(t, size);
    const int count = snvt_field_count(t);
    std::string text = countLine(t, count);
    for (int k = 0; k < count; ++k) {
        const SnvtField& field = fields[k];
        if (auto line = memberLine(field.category, field.sizeOrBit, field.sizeOrBit)) text += *line;
    }
    return text;
}

// The members are the field rows right below the header. Only members that have a line are
// counted, so that the count always matches the lines that follow it.
std::string userStructure(const ObjectMap& map, int r) {
    std::string members;
    int count = 0;
    for (int i = r + 1; i < map.nvCount && map.nvs[i].isField; ++i) {
        const NetVar& member = map.nvs[i];
        if (auto line = memberLine(member.baseType, member.size, member.bitOffset)) {
            members += *line;
            ++count;
        }
    }
    if (count == 0) return rawBytes(0, map.nvs[r].size);
    return countLine(0, count) + members;
}

} // namespace

std::string xifTypeDescription(const ObjectMap& map, int r) {
    const NetVar& nv = map.nvs[r];
    const int t = nv.snvt;
    if (nv.baseType != NvtCatStruct) {
        if (const auto scalar = scalarOf(nv.baseType))
            return countLine(t, 1) + fiveNumbers(scalar->kind, 0, 0, scalar->isSigned, 0);
        return rawBytes(t, nv.size);
    }
    return t == 0 ? userStructure(map, r) : standardStructure(t, nv.size);
}

std::string xifBytes(const uint8_t* bytes, int count) {
    std::string text;
    char hex[8];
    for (int i = 0; i < count; ++i) {
        std::snprintf(hex, sizeof hex, i == 0 ? "\\x%02X" : " \\x%02X", bytes[i]);
        text += hex;
    }
    return text;
}

std::string xifTypeValue(const NetVar& nv) {
    const auto hi = [](int16_t v) { return static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8); };
    const auto lo = [](int16_t v) { return static_cast<uint8_t>(static_cast<uint16_t>(v) & 0xFF); };
    const std::array<uint8_t, 8> second{
        nv.scope, 0, nv.snvt, nv.baseType, nv.size, hi(nv.scaleA), lo(nv.scaleA), hi(nv.scaleB)};
    const std::array<uint8_t, 3> third{lo(nv.scaleB), hi(nv.scaleC), lo(nv.scaleC)};
    return xifBytes(nv.programId.data(), 8) + "\n\t" + xifBytes(second.data(), 8) + "\n\t" +
           xifBytes(third.data(), 3) + "\n";
}

std::string xifSendTime(const SendTime& time) {
    const std::array<uint8_t, 7> bytes{static_cast<uint8_t>(time.days >> 8),
                                       static_cast<uint8_t>(time.days & 0xFF),
                                       static_cast<uint8_t>(time.hours & 0xFF),
                                       static_cast<uint8_t>(time.minutes & 0xFF),
                                       static_cast<uint8_t>(time.seconds & 0xFF),
                                       0,
                                       0};
    return xifBytes(bytes.data(), 7) + "\n";
}

} // namespace korvex
