#pragma once
// The simulated gateway's own reading of the element lines it is sent: a keyword and a list of
// name="value" attributes, kept in the order they came. It is deliberately independent of the
// configuration tool's element codec, so the two can check each other.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvex::sim {

struct ElementLine {
    std::string kind; // "obj", "nv", "mod", "nd", "clearallconfig"
    std::vector<std::pair<std::string, std::string>> attributes;

    const std::string* find(std::string_view name) const;
    void set(std::string_view name, std::string_view value); // replaces or appends
    void erase(std::string_view name);
    bool empty() const { return attributes.empty(); }
};

// Reads "<kind a="1" b="x"/>" (or "<kind>"), blanks allowed between attributes. Returns false
// with a reason for anything else, including an attribute given twice.
bool parseElementLine(std::string_view line, ElementLine& element, std::string* error = nullptr);

// The attributes as ` name="value"` pieces, in order.
std::string renderAttributes(const ElementLine& element);

// Integer value of an attribute, or fallback when it is absent or not a whole number.
int intAttribute(const ElementLine& element, std::string_view name, int fallback);

} // namespace korvex::sim
