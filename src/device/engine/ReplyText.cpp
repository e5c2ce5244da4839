#include "device/engine/ReplyText.h"
#include "vocab/CharClass.h"

#include <cstring>
#include <limits>

namespace korvex::device {

namespace {

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 32;
}

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// Blanks, sign and digits in the given base; the magnitude saturates at limit.
bool scanMagnitude(std::string_view& text, int base, unsigned long long limit, bool& negative,
                   unsigned long long& magnitude) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (base == 16 && i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        i + 2 < text.size() && digitValue(text[i + 2], 16) >= 0)
        i += 2;
    const std::size_t first = i;
    magnitude = 0;
    for (; i < text.size() && digitValue(text[i], base) >= 0; ++i) {
        magnitude =
            magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digitValue(text[i], base));
        if (magnitude > limit) magnitude = limit;
    }
    if (i == first) return false;
    text.remove_prefix(i);
    return true;
}

} // namespace

std::string_view Reply::text() const {
    return skipLeadingControl(bytes());
}

std::string_view skipLeadingControl(std::string_view reply) {
    std::size_t i = 0;
    while (i < reply.size() && isControl(reply[i])) ++i;
    return reply.substr(i);
}

bool isOk(std::string_view reply) {
    return skipLeadingControl(reply).substr(0, 2) == "Ok";
}

std::size_t copyErrorText(char* dest, std::size_t capacity, std::string_view reply) {
    if (capacity == 0) return 0;
    std::memset(dest, 0, capacity);
    std::string_view text = skipLeadingControl(reply).substr(0, capacity - 1);
    const std::size_t prompt = text.find(kPrompt);
    if (prompt != std::string_view::npos) text = text.substr(0, prompt);
    while (!text.empty() && isControl(text.back())) text.remove_suffix(1);
    std::memcpy(dest, text.data(), text.size());
    return text.size();
}

DeviceResult elementReplyResult(XmlError readerCode, int& parseCode) {
    parseCode = codeNumber(readerCode);
    return readerCode == XmlError::Ok ? DeviceResult::Ok : DeviceResult::BadReply;
}

bool scanDecimal(std::string_view& text, int& value) {
    constexpr unsigned long long kLimit = 1ULL + std::numeric_limits<int>::max();
    bool negative = false;
    unsigned long long magnitude = 0;
    if (!scanMagnitude(text, 10, kLimit, negative, magnitude)) return false;
    if (negative) {
        value = magnitude >= kLimit ? std::numeric_limits<int>::min() : -static_cast<int>(magnitude);
    } else {
        value = magnitude >= kLimit ? std::numeric_limits<int>::max() : static_cast<int>(magnitude);
    }
    return true;
}

bool scanHex(std::string_view& text, unsigned& value) {
    bool negative = false;
    unsigned long long magnitude = 0;
    if (!scanMagnitude(text, 16, std::numeric_limits<unsigned>::max(), negative, magnitude)) return false;
    value = static_cast<unsigned>(magnitude);
    if (negative) value = 0U - value;
    return true;
}

bool scanLiteral(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

} // namespace korvex::device
