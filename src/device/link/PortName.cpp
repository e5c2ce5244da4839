#include "device/link/PortName.h"

#include <charconv>

namespace korvex::device {

namespace {

// The number after "COM", or 0 when the text is not "COM" followed by decimal digits only.
int comNumber(std::string_view name) {
    if (name.size() < 4 || name.substr(0, 3) != "COM") return 0;
    int n = 0;
    const char* first = name.data() + 3;
    const char* last = name.data() + name.size();
    auto [end, ec] = std::from_chars(first, last, n);
    if (ec != std::errc() || end != last || n < 1) return 0;
    return n;
}

} // namespace

std::string resolvePortName(std::string_view name, bool windows) {
    if (windows) return std::string(name);
    const int n = comNumber(name);
    if (n == 0) return std::string(name);
    return "/dev/ttyS" + std::to_string(n - 1);
}

std::string resolvePortName(std::string_view name) {
#ifdef _WIN32
    return resolvePortName(name, true);
#else
    return resolvePortName(name, false);
#endif
}

} // namespace korvex::device
