#include "vocab/TextFormat.h"

namespace korvex {

std::string formatArgs(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    out.reserve(format.size() + 16 * args.size());
    const FormatArg* next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '{' && i + 1 < format.size() && format[i + 1] == '}' && next != args.end()) {
            out += (next++)->text();
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

} // namespace korvex
