#pragma once
// Comparing the edited map with a map read back from the gateway, item by item and field by
// field, as the wire carries them: NV names travel nowhere and are not compared, an NV whose
// type differs is one difference whatever its size and scaling, and every value is compared as
// the text it is shown with, so a value the wire rounds never counts as a difference. Plain
// functions on two maps the caller holds still (no locks here).
#include "model/ObjectMap.h"

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

// The parts of the configuration a compare reads and compares.
namespace ComparePart {
inline constexpr unsigned NetVars = 0x1;
inline constexpr unsigned Objects = 0x2;
inline constexpr unsigned Port = 0x4; // with the TCP settings and device map on the model with TCP
inline constexpr unsigned Node = 0x8; // the location
inline constexpr unsigned All = NetVars | Objects | Port | Node;
} // namespace ComparePart

// What is compared: the parts, and within them the NV numbers and the object range (a verify
// looks only at what its send wrote).
struct CompareScope {
    unsigned parts = ComparePart::All;
    std::bitset<kFbNumbers + 1> inputs; // function-block numbers; index 0 unused
    std::bitset<kFbNumbers + 1> outputs;
    int firstObject = 1;
    int lastObject = kObjectCount;

    // Every NV number and every object of the parts.
    static CompareScope all(unsigned parts = ComparePart::All);
};

// One difference: where, which field, the map's value and the gateway's.
struct MapDifference {
    std::string place; // "NVI 3", "object 12", "port", "TCP/IP", "TCP device 2", "node"
    std::string field;
    std::string mapValue;
    std::string gatewayValue;
    bool operator==(const MapDifference&) const = default;
};

// "object 12: register: HOLD 100 slave 3 | HOLD 101 slave 3", without a line end.
std::string differenceText(const MapDifference& difference);
// "Gateway matches the map.", "1 difference." or "N differences.".
std::string differenceSummary(std::size_t count);
// The text form of a compare: each difference's line, then the summary, every line ending with
// lineEnd. What korvex-cli prints, and the report the window saves (with CR LF).
std::string differenceReport(const std::vector<MapDifference>& differences, std::string_view lineEnd = "\n");

// The differences in the order NVs (inputs, then outputs), objects, port, TCP, node, and
// numerically within each.
std::vector<MapDifference> compareMaps(const ObjectMap& edited, const ObjectMap& gateway,
                                       const CompareScope& scope);

// A field as a compare shows it, for other views of the map: the NV's type ("SNVT_temp_p" or
// the user type's description), an object's register ("HOLD 100 slave 3", "none"), its mode
// ("read periodic", ...) and its NV ("NVI 3", "NVO 2 field at 1.0", "none").
std::string netVarTypeText(const NetVar& nv);
std::string objectRegisterText(const DataObject& object);
std::string objectModeText(const DataObject& object);
std::string objectNVText(const DataObject& object);

// The row of the NV header with this number and direction, -1 when the list holds none.
int netVarHeaderRow(const ObjectMap& map, int fbNumber, bool input);

} // namespace korvex
