#include "formats/xif/XifTypeLayout.h"

#include "vocab/BaseType.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace korvex {
namespace {

constexpr int kMaxNVSize = 31;

// Base type and bytes of a member kind that is not a bitfield; size 0 for a kind not known here.
struct KindShape {
    uint8_t baseType;
    int size;
};

KindShape shapeOf(long kind, long length, bool isSigned) {
    switch (kind) {
    case 0:
        return {isSigned ? BaseType::SC : BaseType::UC, 1};
    case 1:
        return {isSigned ? BaseType::SI : BaseType::UI, 1};
    case 2:
        return {isSigned ? BaseType::SL : BaseType::UL, 2};
    case 4:
        return {BaseType::ARRAY, length >= 1 && length <= kMaxNVSize ? static_cast<int>(length) : 0};
    default:
        return {BaseType::None, 0};
    }
}

} // namespace

bool XifTypeLayout::start(std::string_view rest) {
    *this = XifTypeLayout{};
    std::size_t i = 0;
    while (i < rest.size() && std::isspace(static_cast<unsigned char>(rest[i]))) ++i;
    if (i == rest.size() || rest[i] != '*') return false;
    const std::string digits(rest.substr(i + 1));
    char* end = nullptr;
    const long count = std::strtol(digits.c_str(), &end, 10);
    if (end == digits.c_str() || count < 1 || count > kMaxMembers) return false;
    count_ = static_cast<int>(count);
    return true;
}

// Bitfields share a byte while each starts at or after the bits taken before it; any other
// member, or a bitfield that starts lower, closes that byte.
void XifTypeLayout::addMember(long kind, long bit, long length, long isSigned) {
    if (!wantsMore()) return;
    ImportField field;
    if (kind == 3) {
        if (bit < 0 || length < 1 || bit + length > 8) {
            bad_ = true;
            return;
        }
        if (bitEnd_ >= 0 && bit < bitEnd_) ++byte_;
        if (bitEnd_ < 0 || bit < bitEnd_) bitEnd_ = 0;
        field = {BaseType::BIT, static_cast<uint8_t>(length), static_cast<uint8_t>(byte_),
                 static_cast<uint8_t>(bit)};
        bitEnd_ = static_cast<int>(bit + length);
    } else {
        if (bitEnd_ >= 0) ++byte_;
        bitEnd_ = -1;
        const KindShape shape = shapeOf(kind, length, isSigned != 0);
        if (shape.size == 0) {
            bad_ = true;
            return;
        }
        field = {shape.baseType, static_cast<uint8_t>(shape.size), static_cast<uint8_t>(byte_), 0};
        byte_ += shape.size;
    }
    if (byte_ > kMaxNVSize) bad_ = true;
    if (seen_ == 0) firstType_ = field.baseType;
    if (seen_ < kMaxFields) fields_[static_cast<std::size_t>(seen_)] = field;
    ++seen_;
}

int XifTypeLayout::size() const {
    return byte_ + (bitEnd_ >= 0 ? 1 : 0);
}

bool XifTypeLayout::usable() const {
    return !bad_ && count_ > 0 && seen_ == count_ && size() >= 1 && size() <= kMaxNVSize;
}

uint8_t XifTypeLayout::baseType() const {
    return count_ == 1 ? firstType_ : BaseType::STRUCT;
}

int XifTypeLayout::fieldCount() const {
    return count_ > 1 && count_ <= kMaxFields ? count_ : 0;
}

} // namespace korvex
