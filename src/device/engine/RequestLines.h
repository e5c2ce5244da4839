#pragma once
// The command lines that ask the gateway for one item of its configuration, shared by the reads
// that fetch into the map and the read-back that compares.
#include <cstdio>
#include <string>

namespace korvex::device {

inline std::string numberedRequest(const char* format, int number) {
    char line[32];
    std::snprintf(line, sizeof line, format, number);
    return line;
}
inline std::string netVarRequest(bool input, int number) {
    return numberedRequest(input ? "nvitx %d\r\n" : "nvotx %d\r\n", number);
}
inline std::string objectRequest(int n) {
    return numberedRequest("pcx %d\r\n", n);
}
inline std::string mapEntryRequest(int d) {
    return numberedRequest("smap %d\r\n", d);
}
inline constexpr const char* kUsageRequest = "usage\r\n";
inline constexpr const char* kPortRequest = "mpx\r\n";
inline constexpr const char* kIpSettingsRequest = "sipcfg\r\n";
inline constexpr const char* kNodeInfoRequest = "ninfo\r\n";

// The parse code of a usage reply that lacks its four numbers ("Last Obj" among them).
inline constexpr int kUsageParseCode = 1;

} // namespace korvex::device
