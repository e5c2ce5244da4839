#pragma once
// The input layout of the reply handler fuzz target, shared with the tool that writes its seeds
// (fuzz/seeds/ReplySeeds.cpp), so both read and write the same bytes.
//
// An input is an 8-byte header and a script of reply pieces:
//   [0] first operation, [1] second operation (started once the first has ended),
//   [2..5] argument bytes, [6] flags (kFlag...), [7] the gateway's last object for the flag.
// The rest is split at 0xFF. The bytes before the first 0xFF are one reply, answered at once;
// every later piece starts with a control byte: low four bits 0-7 a reply (the line goes quiet
// after it), 8-11 part of a reply (more follows at once), 12-13 a quiet poll, 14 a failed read,
// 15 a failed write. The high four bits times 16 ms is how long the piece takes to arrive; a
// piece without bytes is a quiet poll. Once the script is spent the line stays quiet.
#include "device/engine/CommandEngine.h"
#include "formats/xml/ElementReader.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvex::fuzz::reply {

inline constexpr std::size_t kHeaderSize = 8;
inline constexpr char kSeparator = '\xFF';

inline constexpr std::uint8_t kFlagRichMap = 0x1;   // start from the template map, not an empty one
inline constexpr std::uint8_t kFlagTcpModel = 0x2;  // the model with Modbus TCP
inline constexpr std::uint8_t kFlagLastKnown = 0x4; // the gateway's last object is known (byte 7)

enum PieceKind { kReply, kPart, kQuiet, kReadFails, kWriteFails };

inline PieceKind pieceKind(std::uint8_t control) {
    const int low = control & 0x0F;
    if (low < 8) return kReply;
    if (low < 12) return kPart;
    if (low < 14) return kQuiet;
    return low == 14 ? kReadFails : kWriteFails;
}

inline int pieceCostMs(std::uint8_t control) {
    return (control >> 4) * 16;
}

// The operations, in the order of the header's operation byte (taken modulo the count).
enum Operation {
    kConsole,
    kUsage,
    kGetNetVars,
    kSendNetVars,
    kGetObjects,
    kSendObjects,
    kClearConfig,
    kReadValues,
    kWriteValues,
    kGetPortSettings,
    kSendPortSettings,
    kGetErrorInfo,
    kSetDomain,
    kGetDomains,
    kGetNodeIds,
    kGetNodeInfo,
    kSetLocation,
    kAlterProgramId,
    kOperationCount
};

// An argument byte: below 0xF8 a number low + x % span; the top eight values are the edges a
// caller might pass by mistake.
inline int argument(std::uint8_t x, int low, int span) {
    constexpr int kEdges[8] = {0, -1, 1, 401, 121, 1000, INT_MIN, INT_MAX};
    if (x >= 0xF8) return kEdges[x - 0xF8];
    return low + x % span;
}

// The end of a range that starts at first: up to 7 further, or an edge value.
inline int rangeEnd(int first, std::uint8_t x) {
    if (x >= 0xF8) return argument(x, 0, 1);
    if (first > INT_MAX - 8) return first;
    return first + x % 8;
}

// Starts the operation; false when the engine refused (it was busy).
inline bool startOperation(device::CommandEngine& engine, int operation, const std::uint8_t* a) {
    const int first = argument(a[0], 1, 400);
    const int firstIn = a[0] == 0 ? 0 : argument(a[0], 1, 120);
    const int firstOut = a[2] == 0 ? 0 : argument(a[2], 1, 120);
    switch (operation % kOperationCount) {
    case kConsole:
        return engine.startConsole(a[0] & 1 ? "help" : "ninfo");
    case kUsage:
        return engine.startUsage();
    case kGetNetVars:
        return engine.startGetNetVars(firstIn, rangeEnd(firstIn, a[1]), firstOut, rangeEnd(firstOut, a[3]));
    case kSendNetVars:
        return engine.startSendNetVars(firstIn, rangeEnd(firstIn, a[1]), firstOut, rangeEnd(firstOut, a[3]));
    case kGetObjects:
        return engine.startGetObjects(first, rangeEnd(first, a[1]));
    case kSendObjects:
        return engine.startSendObjects(first, rangeEnd(first, a[1]));
    case kClearConfig:
        return engine.startClearConfig();
    case kReadValues:
        return engine.startReadValues(first, rangeEnd(first, a[1]));
    case kWriteValues:
        return engine.startWriteValues(first, rangeEnd(first, a[1]));
    case kGetPortSettings:
        return engine.startGetPortSettings();
    case kSendPortSettings:
        return engine.startSendPortSettings();
    case kGetErrorInfo:
        return engine.startGetErrorInfo(argument(a[0], 0, 248));
    case kSetDomain:
        return engine.startSetDomain(argument(a[0], 0, 3));
    case kGetDomains:
        return engine.startGetDomains();
    case kGetNodeIds:
        return engine.startGetNodeIds();
    case kGetNodeInfo:
        return engine.startGetNodeInfo();
    case kSetLocation:
        return engine.startSetLocation();
    case kAlterProgramId:
        return engine.startAlterProgramId();
    default:
        return false;
    }
}

// The template map: NVs of both directions (structured, user-type and plain), objects linked to
// them and to holding registers, port and TCP settings, device-map entries and a location at its
// full length, all as the gateway would send them.
inline constexpr std::string_view kTemplateLines[] = {
    R"(<nv nvo="1" clear="1" snvt="8" max_tm="2,0:0:0" min_tm="1:15" name="Level"/>)",
    R"(<nv nvo="2" clear="1" snvt="51" min_tm="15" name="Flow_Rate"/>)",
    R"(<nv nvi="1" clear="1" snvt="9" name="Set_point_"/>)",
    R"(<nv nvo="3" clear="1" snvt="8" min_tm="15" name="Alarm"/>)",
    R"(<nv nvi="2" clear="1" snvt="51" name="nviActValue_2"/>)",
    R"(<nv nvo="4" clear="1" snvt="51" min_tm="15" name="Auto_NVO__4_"/>)",
    R"(<nv nvo="5" clear="1" snvt="95" name="switch"/>)",
    R"(<nv nvi="3" clear="1" snvt="83" name="state"/>)",
    R"(<nv nvo="6" clear="1" unvt_pid="9F:FF:01:02:03:04:05:06" unvt_info="3,0,9,4,1,0,0" name="userStruct"/>)",
    R"(<obj n="1" clear="1" datatype="U16" name="Level" scale="1.000000" modreg="1" modtype="4X" moddata="U16" slave="1" poll="1" lonNVO="1" lontype="UL" lonoffset="0,0" lonscale="1,0,0" lonalg="0,0"/>)",
    R"(<obj n="2" clear="1" datatype="FP" name="Flow Rate" scale="1.000000" modreg="2" modtype="4X" moddata="FP" slave="1" poll="1" lonNVO="2" lontype="FP" lonoffset="0,0" lonscale="0,0,0" lonalg="0,0" defFail="1" defVal="12.5000" persistent="1"/>)",
    R"(<obj n="3" clear="1" datatype="S16" name="Set_point_" scale="1.000000" modreg="4" modtype="4X" moddata="S16" slave="1" poll="1" writepolled="1" lonNVI="1" lontype="SL" lonoffset="0,0" lonscale="1,0,0" lonalg="0,0" defPOR="1" lonDefFail="1" defVal="-7"/>)",
    R"(<obj n="4" clear="1" datatype="BIT" name="Alarm" scale="1.000000" modreg="5" modtype="4X" moddata="BIT" slave="1" poll="1" mask="00000010" lonNVO="3" lontype="UL" lonoffset="0,0" lonscale="1,0,0" lonalg="0,0"/>)",
    R"(<obj n="5" clear="1" datatype="S32" name="Level" scale="1.000000" modreg="6" modtype="4X" moddata="S32" slave="1" poll="1" writepolled="1" lonNVI="2" lontype="FP" lonoffset="0,0" lonscale="0,0,0" lonalg="0,0"/>)",
    R"(<obj n="6" clear="1" datatype="FP" name="Auto NVO [4]" scale="0.100000" offset="-40.000000" modreg="300" modtype="4X" moddata="M104" slave="1" poll="1" fill="0000FF00" bigend="1" lonNVO="4" lontype="FP" lonoffset="0,0" lonscale="0,0,0" lonalg="0,0"/>)",
    R"(<obj n="7" clear="1" datatype="U16" name="switch" modreg="0" modtype="NO" moddata="NULL" slave="0" poll="0" lonNVO="5" lonstruct="1" lontype="UI" lonoffset="0,0" lonscale="0,0,0" lonalg="0,0"/>)",
    R"(<obj n="8" clear="1" datatype="S16" name="switch" modreg="0" modtype="NO" moddata="NULL" slave="0" poll="0" lonNVO="5" lonstruct="1" lontype="SI" lonoffset="1,0" lonscale="0,0,0" lonalg="0,0"/>)",
    R"(<obj n="9" clear="1" datatype="U16" name="state" modreg="0" modtype="NO" moddata="NULL" slave="0" poll="0" lonNVI="3" lonstruct="1" lontype="BIT" lonoffset="0,0" lonscale="1,0,0" lonalg="0,0"/>)",
    R"(<obj n="25" clear="1" datatype="U16" name="userStruct" modreg="0" modtype="NO" moddata="NULL" slave="0" poll="0" lonNVO="6" lonstruct="1" lontype="UI" lonoffset="0,0" lonscale="0,0,0" lonalg="0,0"/>)",
    R"(<obj n="390" clear="1" datatype="U32"/>)",
    R"(<mod clear="1" baud="9600" parity="1" stop="2" slavemode="0" timeout="25"/>)",
    R"(<mod ipaddr="10.1.2.3" subnet="255.255.0.0" gateway="10.1.0.1" port="1502"/>)",
    R"(<mod dev="1" ipmap="1,10,1,192.168.1.20:502"/>)",
    R"(<mod dev="2" ipmap="20,1,44,192.168.0.1:1"/>)",
    R"(<nd loc="Plant room 2 of 4, east wing AB" pid="7"/>)",
};

// Builds the template into an empty map (of the model with Modbus TCP, so the device-map lines
// are taken); returns false when a line was refused.
inline bool buildTemplateMap(ObjectMap& map) {
    map.deviceModel = kTcpDeviceModel;
    ElementReader reader(map);
    for (std::string_view line : kTemplateLines) {
        XmlError code = XmlError::Ok;
        if (line.starts_with("<nv "))
            code = reader.parseNVElement(line);
        else if (line.starts_with("<obj "))
            code = reader.parseObjectElement(line);
        else if (line.starts_with("<mod "))
            code = reader.parsePortElement(line);
        else
            code = reader.parseNodeElement(line);
        if (code != XmlError::Ok) return false;
    }
    return true;
}

} // namespace korvex::fuzz::reply
