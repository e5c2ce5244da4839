#pragma once
// The LonWorks page's field rules, apart from the widgets: the program-ID selector, the node
// location and the domain table's subnet, node, length and domain ID. The page and the tests
// share them.
#include "device/engine/NodeIdentity.h"
#include "model/Settings.h"

#include <QString>

#include <array>

namespace korvex::ui::pages {

inline constexpr std::array<int, 4> kDomainLengths{0, 1, 3, 6};

inline constexpr char kReservedProgramIds[] = "Program ID's 1-20 are reserved.\nKorvex LonMark ID is 1.";
inline constexpr char kUnassignedLocation[] = "Unassigned";
inline constexpr char kInvalidSubnet[] = "Subnet must be a number from 1 to 255.";
inline constexpr char kInvalidNode[] = "Node must be a number from 1 to 127.";

// A map without a location has "Unassigned", as at start-up.
void giveDefaultLocation(NodeInfo& node);

// A value a file or the gateway gave was never typed into its box, so what a command sends is
// checked when it starts: the message of the value's box, nullptr when it is good. A program
// ID is 1 or 21..255; a domain's subnet 1..255 and node 1..127.
const char* programIdProblem(int pid);
const char* domainProblem(const device::DomainEntry& entry);

struct SelectorValue {
    int pid = 1;
    bool reserved = false; // below 21 (or not a number): the reserved-ID message is due
};
// A value below 21 becomes 1, above 255 becomes 255; a text that is not a number counts as
// below 21.
SelectorValue programIdSelector(const QString& text);

// Decimal; below 1 or not a number gives 1; held to 255 (subnet) or 127 (node).
int subnetFromText(const QString& text);
int nodeFromText(const QString& text);

// Entry of the length list for a length; lengths outside the list show entry 0.
int lengthEntry(int length);
int lengthOfEntry(int entry);

// "%x:%x:%x:%x:%x:%x" into the entry: a count other than 1, 3 or 6 gives an empty ID; each byte
// is held to 0..255; the count becomes the length.
void takeDomainId(const QString& text, device::DomainEntry& entry);
// "%02X", "%02X:%02X:%02X" or six bytes for lengths 1, 3 and 6; empty otherwise.
QString domainIdText(const device::DomainEntry& entry);

} // namespace korvex::ui::pages
