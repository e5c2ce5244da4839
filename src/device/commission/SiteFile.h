#pragma once
// The site file of a commissioning run: a CSV file whose header names the columns "port",
// "location" and, for the model with Modbus TCP only, "ip"; each further line gives the gateway
// on that port its own location and IP address. Everything is checked before anything is sent,
// and the first fault is told with its line number. Plain functions; any thread.
#include "model/Settings.h"

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::device {

struct SiteRow {
    std::string port;
    std::optional<std::string> location; // nullopt (no column, or an empty cell): the map's
    std::optional<IpAddress> ip;         // nullopt (no column, or an empty cell): the map's
    int line = 0;
};

struct SiteFile {
    bool ok = false;
    std::vector<SiteRow> rows;
    int errorLine = 0; // 0: the file as a whole (it cannot be read)
    std::string error; // "unknown column \"floor\"", ...

    // "line 3: port /dev/ttyUSB1 is named twice" (or the error alone for line 0).
    std::string errorText() const;
    // The row of the port, nullptr when the file does not name it.
    const SiteRow* rowFor(std::string_view port) const;
};

// Reads the site file. ports are the ports of the run; hasTcp tells whether the map's model takes
// an "ip" column.
SiteFile parseSiteFile(std::istream& in, const std::vector<std::string>& ports, bool hasTcp);
SiteFile readSiteFile(const std::string& path, const std::vector<std::string>& ports, bool hasTcp);

// Four dotted decimal numbers 0..255, the first not 0 (a gateway cannot take that address).
std::optional<IpAddress> parseIpAddress(std::string_view text);

} // namespace korvex::device
