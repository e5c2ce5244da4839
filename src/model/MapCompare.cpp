#include "model/MapCompare.h"

#include "model/FixedText.h"
#include "vocab/NumberDisplay.h"
#include "vocab/ObjectValue.h"
#include "vocab/RegisterNames.h"
#include "vocab/SnvtCatalogue.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace korvex {

namespace {

constexpr std::string_view kEmpty = "empty";
constexpr std::string_view kNone = "none";

std::string printed(const char* format, auto... values) {
    char text[128];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// Gathers the differences of one place, field by field.
class PlaceDiff {
public:
    PlaceDiff(std::vector<MapDifference>& out, std::string place) : out_(out), place_(std::move(place)) {}
    void field(std::string_view name, const std::string& mapValue, const std::string& gatewayValue) {
        if (mapValue != gatewayValue)
            out_.push_back(MapDifference{place_, std::string(name), mapValue, gatewayValue});
    }

private:
    std::vector<MapDifference>& out_;
    std::string place_;
};

// ---- NV definitions ---------------------------------------------------------------------------

// The type as the wire carries it: a standard type by its name, a user type by its whole
// description, so that a difference in any of it is the one "type" difference.
std::string netVarType(const NetVar& nv) {
    if (nv.scope == 0 && nv.snvt != 0) return snvt_name(nv.snvt);
    const auto& p = nv.programId;
    return printed("user type scope %d PID %02X:%02X:%02X:%02X:%02X:%02X:%02X:%02X base %d size %d scale "
                   "%d,%d,%d",
                   std::min<int>(nv.scope, 6), p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7],
                   std::min<int>(nv.baseType, 14), std::min<int>(nv.size, 31), nv.scaleA, nv.scaleB,
                   nv.scaleC);
}

std::string sendTime(const SendTime& t) {
    const unsigned long long total = t.seconds + 60ull * t.minutes + 3600ull * t.hours + 86400ull * t.days;
    return printed("%llu s", total);
}

// A row the map can send: a header with a number the wire takes and a size.
const NetVar* sendableRow(const ObjectMap& map, int fbNumber, bool input) {
    const int r = netVarHeaderRow(map, fbNumber, input);
    if (r < 0) return nullptr;
    const NetVar& row = map.nvs[static_cast<std::size_t>(r)];
    return row.size != 0 ? &row : nullptr;
}

void compareNetVar(std::vector<MapDifference>& out, const ObjectMap& edited, const ObjectMap& gateway, int n,
                   bool input) {
    const NetVar* mine = sendableRow(edited, n, input);
    const NetVar* theirs = sendableRow(gateway, n, input);
    if (!mine && !theirs) return;
    PlaceDiff diff(out, printed(input ? "NVI %d" : "NVO %d", n));
    const std::string mineType = mine ? netVarType(*mine) : std::string(kNone);
    const std::string theirType = theirs ? netVarType(*theirs) : std::string(kNone);
    diff.field("type", mineType, theirType);
    if (!mine || !theirs || mineType != theirType || input) return;
    diff.field("max send time", sendTime(mine->maxSendTime), sendTime(theirs->maxSendTime));
    diff.field("min send time", sendTime(mine->minSendTime), sendTime(theirs->minSendTime));
}

// ---- data objects -----------------------------------------------------------------------------

std::string flagText(uint32_t flags, uint32_t bit) {
    return (flags & bit) ? "yes" : "no";
}

std::string registerText(const DataObject& o) {
    return printed("%s %u slave %u", register_type_keyword(o.modtype), static_cast<unsigned>(o.modreg),
                   static_cast<unsigned>(o.slave));
}

std::string modeText(uint32_t flags) {
    if (flags & ObjectFlag::WriteOnUpdate) return "write on update";
    if (flags & ObjectFlag::WritePeriodic) return "write periodic";
    return "read periodic";
}

std::string nvSideText(const DataObject& o) {
    if (!o.hasNV()) return std::string(kNone);
    std::string text = printed((o.flags & ObjectFlag::InputNV) ? "NVI %d" : "NVO %d", o.lonNV);
    if (o.flags & ObjectFlag::Structured) text += printed(" field at %d.%d", o.lonByteOffset, o.lonBitOffset);
    if (o.flags & ObjectFlag::LockField) text += " lock";
    return text;
}

void compareRegisterSide(PlaceDiff& diff, const DataObject& a, const DataObject& b) {
    diff.field("register", registerText(a), registerText(b));
    diff.field("format", register_format_keyword(a.moddata), register_format_keyword(b.moddata));
    diff.field("mode", modeText(a.flags), modeText(b.flags));
    diff.field("poll", std::to_string(a.poll), std::to_string(b.poll));
    diff.field("scale", formatFixed(a.scale, 6), formatFixed(b.scale, 6));
    diff.field("offset", formatFixed(a.offset, 6), formatFixed(b.offset, 6));
    diff.field("mask", printed("%08X", a.mask), printed("%08X", b.mask));
    diff.field("fill", printed("%08X", a.fill), printed("%08X", b.fill));
    diff.field("high register first", flagText(a.flags, ObjectFlag::HighRegFirst),
               flagText(b.flags, ObjectFlag::HighRegFirst));
    diff.field("packed", flagText(a.flags, ObjectFlag::Packed), flagText(b.flags, ObjectFlag::Packed));
}

void compareNVSide(PlaceDiff& diff, const DataObject& a, const DataObject& b) {
    diff.field("NV", nvSideText(a), nvSideText(b));
    if (!a.hasNV() || !b.hasNV()) return;
    diff.field("LonWorks type", std::to_string(a.lontype), std::to_string(b.lontype));
    diff.field("LonWorks scaling", printed("%d,%d,%d", a.lonScaleA, a.lonScaleB, a.lonScaleC),
               printed("%d,%d,%d", b.lonScaleA, b.lonScaleB, b.lonScaleC));
    diff.field("conversion", printed("%d,%d", a.lonMethod, a.lonFormula),
               printed("%d,%d", b.lonMethod, b.lonFormula));
}

constexpr uint32_t kDefaultFlags =
    ObjectFlag::DefaultOnPowerUp | ObjectFlag::DefaultOnCommFail | ObjectFlag::DefaultOnLonFail;

std::string defaultsText(const DataObject& o) {
    if (!(o.flags & kDefaultFlags)) return std::string(kNone);
    std::string text = object_value_to_text(o.defVal, o.datatype);
    if (o.flags & ObjectFlag::DefaultOnPowerUp) text += " on power-up";
    if (o.flags & ObjectFlag::DefaultOnCommFail) text += " on comm fail";
    if (o.flags & ObjectFlag::DefaultOnLonFail) text += " on LonWorks fail";
    return text;
}

// A text as the wire quotes it: '"' and '>' reach the gateway as '_'.
std::string wireText(std::string_view text) {
    if (text.empty()) return "(empty)";
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '"' || c == '>'; }, '_');
    return out;
}

void compareObject(std::vector<MapDifference>& out, const DataObject& a, const DataObject& b, int n) {
    if (a.isEmpty() && b.isEmpty()) return;
    PlaceDiff diff(out, printed("object %d", n));
    if (a.isEmpty() || b.isEmpty()) {
        diff.field("object", a.isEmpty() ? std::string(kEmpty) : "defined",
                   b.isEmpty() ? std::string(kEmpty) : "defined");
        return;
    }
    diff.field("data type", objectDataTypeXmlName(a.datatype), objectDataTypeXmlName(b.datatype));
    diff.field("name", wireText(textOf(a.name)), wireText(textOf(b.name)));
    diff.field("register side", a.hasRegister() ? "yes" : "no", b.hasRegister() ? "yes" : "no");
    if (a.hasRegister() && b.hasRegister()) compareRegisterSide(diff, a, b);
    compareNVSide(diff, a, b);
    diff.field("default", defaultsText(a), defaultsText(b));
    diff.field("persistent", flagText(a.flags, ObjectFlag::Persistent),
               flagText(b.flags, ObjectFlag::Persistent));
}

// ---- port, TCP and node ---------------------------------------------------------------------

std::string characterFormat(uint8_t flags) {
    const char* parity = !(flags & PortFlag::Parity) ? "No" : (flags & PortFlag::OddParity) ? "Odd" : "Even";
    return printed("8 Data, %s Parity, %d Stop", parity, (flags & PortFlag::TwoStopBits) ? 2 : 1);
}

std::string roleText(const ModbusSettings& m) {
    if (m.flags & PortFlag::GatewayIsSlave)
        return printed("slave, address %u", static_cast<unsigned>(m.slave));
    return printed("master, time-out %u", static_cast<unsigned>(m.timeout));
}

void comparePort(std::vector<MapDifference>& out, const ModbusSettings& a, const ModbusSettings& b) {
    PlaceDiff diff(out, "port");
    // A baud rate of 0 goes out as 19200.
    const auto baud = [](uint16_t v) { return std::to_string(v == 0 ? 19200 : v); };
    diff.field("baud", baud(a.baud), baud(b.baud));
    diff.field("character format", characterFormat(a.flags), characterFormat(b.flags));
    diff.field("high register first", flagText(a.flags, PortFlag::HighRegFirst),
               flagText(b.flags, PortFlag::HighRegFirst));
    diff.field("role", roleText(a), roleText(b));
    diff.field("pre-delay", std::to_string(a.predelay), std::to_string(b.predelay));
}

std::string address(const IpAddress& a) {
    return printed("%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
}

std::string tcpEntryText(const TcpDeviceMap& e) {
    if (!e.inUse()) return "unused";
    return printed("units %d-%d as %d, %s:%u", e.firstUnit, e.lastUnit, e.mapTo, address(e.ipAddress).c_str(),
                   static_cast<unsigned>(e.port));
}

void compareTcp(std::vector<MapDifference>& out, const ObjectMap& edited, const ObjectMap& gateway) {
    PlaceDiff diff(out, "TCP/IP");
    diff.field("IP address", address(edited.tcp.ipaddr), address(gateway.tcp.ipaddr));
    diff.field("subnet mask", address(edited.tcp.subnet), address(gateway.tcp.subnet));
    diff.field("gateway", address(edited.tcp.gateway), address(gateway.tcp.gateway));
    diff.field("port", std::to_string(edited.tcp.port), std::to_string(gateway.tcp.port));
    // The map goes out normalised and packed, and the reader packs what it takes.
    auto mine = edited.tcpMap;
    auto theirs = gateway.tcpMap;
    normaliseTcpMap(mine);
    normaliseTcpMap(theirs);
    for (int d = 1; d <= kTcpMapEntries; ++d) {
        const auto i = static_cast<std::size_t>(d - 1);
        PlaceDiff(out, printed("TCP device %d", d))
            .field("entry", tcpEntryText(mine[i]), tcpEntryText(theirs[i]));
    }
}

} // namespace

CompareScope CompareScope::all(unsigned parts) {
    CompareScope scope;
    scope.parts = parts;
    scope.inputs.set();
    scope.outputs.set();
    scope.inputs.reset(0);
    scope.outputs.reset(0);
    return scope;
}

int netVarHeaderRow(const ObjectMap& map, int fbNumber, bool input) {
    for (int r = 0; r < map.nvCount; ++r) {
        const NetVar& row = map.nvs[static_cast<std::size_t>(r)];
        if (row.fbNumber == fbNumber && (row.isInput != 0) == input && row.isField == 0) return r;
    }
    return -1;
}

std::string differenceText(const MapDifference& d) {
    return d.place + ": " + d.field + ": " + d.mapValue + " | " + d.gatewayValue;
}

std::string differenceSummary(std::size_t count) {
    if (count == 0) return "Gateway matches the map.";
    if (count == 1) return "1 difference.";
    return std::to_string(count) + " differences.";
}

std::string differenceReport(const std::vector<MapDifference>& differences, std::string_view lineEnd) {
    std::string out;
    for (const MapDifference& d : differences) (out += differenceText(d)) += lineEnd;
    (out += differenceSummary(differences.size())) += lineEnd;
    return out;
}

std::vector<MapDifference> compareMaps(const ObjectMap& edited, const ObjectMap& gateway,
                                       const CompareScope& scope) {
    std::vector<MapDifference> out;
    if (scope.parts & ComparePart::NetVars) {
        for (const bool input : {true, false}) {
            const auto& numbers = input ? scope.inputs : scope.outputs;
            for (int n = 1; n <= kFbNumbers; ++n)
                if (numbers.test(static_cast<std::size_t>(n))) compareNetVar(out, edited, gateway, n, input);
        }
    }
    if (scope.parts & ComparePart::Objects) {
        for (int n = std::max(scope.firstObject, 1); n <= std::min(scope.lastObject, kObjectCount); ++n)
            compareObject(out, *edited.object(n), *gateway.object(n), n);
    }
    if (scope.parts & ComparePart::Port) {
        comparePort(out, edited.modbus, gateway.modbus);
        if (edited.hasTcp()) compareTcp(out, edited, gateway);
    }
    if (scope.parts & ComparePart::Node)
        PlaceDiff(out, "node")
            .field("location", wireText(textOf(edited.node.loc)), wireText(textOf(gateway.node.loc)));
    return out;
}

std::string netVarTypeText(const NetVar& nv) {
    return netVarType(nv);
}

std::string objectRegisterText(const DataObject& object) {
    return object.hasRegister() ? registerText(object) : std::string(kNone);
}

std::string objectModeText(const DataObject& object) {
    return modeText(object.flags);
}

std::string objectNVText(const DataObject& object) {
    return nvSideText(object);
}

} // namespace korvex
