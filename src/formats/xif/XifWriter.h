#pragma once
// Writes the gateway's own external interface file (XIF 4.402 text layout): header, program ID,
// the fixed node description, the node object's NVs, 120 sensor and 120 actuator blocks filled
// from the NV list, the configuration template, the value file with send times and types, the
// node location and the read-only file. Lines end in CR LF.
#include "model/ObjectMap.h"

#include <ctime>
#include <ostream>
#include <string>
#include <string_view>

namespace korvex {

inline constexpr const char* kXifToolVersion = "v2.14";

struct XifHeaderInfo {
    std::string fileName;  // the export file's name, without directories
    std::string modelName; // device model name, "Unrecognized" when none is selected
    std::string version = kXifToolVersion;
    std::string dateText; // see xifDateText
};

class XifWriter {
public:
    // Writes the whole file. The names of the NVs written are made safe in the NV list itself.
    // False when the stream failed.
    bool write(std::ostream& out, ObjectMap& map, const XifHeaderInfo& header) const;
    // The same text, for callers that write it elsewhere.
    std::string text(ObjectMap& map, const XifHeaderInfo& header) const;
};

// "Wed Jan 5 09:03:07 2025": weekday, month, day, time and year.
std::string xifDateText(const std::tm& when);
std::string xifDateNow();
// The device model name for the header: "Unrecognized" outside 0..2.
std::string xifModelName(int deviceModel);

// The name rule: cut to 16 characters, anything but an ASCII letter or digit becomes '_'.
std::string xifSafeName(std::string_view name);

} // namespace korvex
