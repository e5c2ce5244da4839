#pragma once
// A gateway that does not keep what it is sent: each alteration names one item of the
// configuration and one of its attributes, and the simulated gateway stores and reports that
// attribute with the given value whenever the item is written or read. Given on the command
// line as KIND:N:ATTR=VALUE in the console's own names: obj:3:modreg=209, nvo:2:snvt=95,
// mod:0:baud=38400 (the port and IP settings), mod:4:ipmap=1,5,1,10.0.0.9:502 (TCP entry 4),
// nd:0:loc=Other.
#include "sim/GatewayConfig.h"

#include <string>
#include <string_view>

namespace korvex::sim {

struct Alteration {
    std::string kind; // "obj", "nvi", "nvo", "mod", "nd"
    int number = 0;
    std::string attribute;
    std::string value;
};

// Reads KIND:N:ATTR=VALUE; false with the reason for anything the gateway could not hold.
bool parseAlteration(std::string_view spec, Alteration& alteration, std::string* error = nullptr);

// Puts the alteration into the configuration where its item is there to hold it (an object or
// NV only once it is defined).
void applyAlteration(GatewayConfig& config, const Alteration& alteration);

// The attributes of the port-settings and IP-settings "mod" elements.
bool isPortAttribute(std::string_view name);
bool isIpAttribute(std::string_view name);

} // namespace korvex::sim
