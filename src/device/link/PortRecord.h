#pragma once
// The serial ports the system reports, as plain records, and what the link and the port list
// need of them: the stable name under which a port is opened and remembered (on Linux its link
// in /dev/serial/by-id), and the port found again after it was unplugged. The functions that
// resolve paths read the file system on the calling thread; nothing here keeps state.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::device {

struct PortRecord {
    std::string location; // as the system names it: /dev/ttyUSB0, COM3
    std::string name;     // what is opened and remembered: the by-id link, else the location
    // Empty (or unset) when the system does not know them.
    std::string description;
    std::string manufacturer;
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;
    std::string serialNumber;
};

// The ports there are now.
using PortLister = std::function<std::vector<PortRecord>()>;

inline constexpr std::string_view kSerialByIdFolder = "/dev/serial/by-id";

// Names each record after the link in folder that resolves to its location (the first by name
// when several do); a record with none keeps its location as its name. A link that resolves to
// no record's location is a port of its own, added with nothing known but its two names. A
// folder that is not there changes nothing.
void nameByLinks(std::vector<PortRecord>& records, const std::string& folder);

// The record a port name stands for: by its name, its location, or a path (a symlink) that
// resolves to its location. Null when none does.
const PortRecord* findPort(const std::vector<PortRecord>& records, std::string_view name);

// The port that went away, back under another name: the same serial number, and the same USB
// vendor and product where both records know them. Null without a serial number to go by.
const PortRecord* findReturned(const std::vector<PortRecord>& records, const PortRecord& gone);

} // namespace korvex::device
