#include "sim/ElementLine.h"
#include "sim/ParseFailure.h"

#include <cctype>
#include <charconv>

namespace korvex::sim {

namespace {

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// What may stand between the attributes of an element line: blanks and line ends.
bool isAttributeGap(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void skipBlanks(std::string_view& s) {
    while (!s.empty() && isAttributeGap(s.front())) s.remove_prefix(1);
}

std::string_view takeName(std::string_view& s) {
    std::size_t n = 0;
    while (n < s.size() && isNameChar(s[n])) ++n;
    std::string_view name = s.substr(0, n);
    s.remove_prefix(n);
    return name;
}

// One name="value" attribute at the front of s.
bool takeAttribute(std::string_view& s, ElementLine& element, std::string* error) {
    const std::string_view name = takeName(s);
    if (name.empty()) return fail(error, "Syntax is bad");
    if (s.size() < 2 || s[0] != '=' || s[1] != '"') return fail(error, "Syntax is bad");
    s.remove_prefix(2);
    const std::size_t close = s.find('"');
    if (close == std::string_view::npos) return fail(error, "Syntax is bad");
    if (element.find(name)) return fail(error, "Duplicate field");
    element.attributes.emplace_back(std::string(name), std::string(s.substr(0, close)));
    s.remove_prefix(close + 1);
    return true;
}

} // namespace

const std::string* ElementLine::find(std::string_view name) const {
    for (const auto& [key, value] : attributes) {
        if (key == name) return &value;
    }
    return nullptr;
}

void ElementLine::set(std::string_view name, std::string_view value) {
    for (auto& [key, current] : attributes) {
        if (key == name) {
            current = value;
            return;
        }
    }
    attributes.emplace_back(std::string(name), std::string(value));
}

void ElementLine::erase(std::string_view name) {
    std::erase_if(attributes, [&](const auto& attribute) { return attribute.first == name; });
}

bool parseElementLine(std::string_view line, ElementLine& element, std::string* error) {
    element = ElementLine{};
    skipBlanks(line);
    if (line.empty() || line.front() != '<') return fail(error, "Syntax is bad");
    line.remove_prefix(1);
    element.kind = std::string(takeName(line));
    if (element.kind.empty()) return fail(error, "Syntax is bad");
    for (;;) {
        const bool separated = !line.empty() && isAttributeGap(line.front());
        skipBlanks(line);
        if (line.starts_with("/>") || line.starts_with(">")) return true;
        if (line.empty()) return fail(error, "Syntax is bad");
        if (!separated) return fail(error, "Syntax is bad");
        if (!takeAttribute(line, element, error)) return false;
    }
}

std::string renderAttributes(const ElementLine& element) {
    std::string text;
    for (const auto& [name, value] : element.attributes) text += " " + name + "=\"" + value + "\"";
    return text;
}

int intAttribute(const ElementLine& element, std::string_view name, int fallback) {
    const std::string* value = element.find(name);
    if (!value) return fallback;
    int n = 0;
    const char* first = value->data();
    const char* last = first + value->size();
    auto [end, ec] = std::from_chars(first, last, n);
    return ec == std::errc() && end == last ? n : fallback;
}

} // namespace korvex::sim
