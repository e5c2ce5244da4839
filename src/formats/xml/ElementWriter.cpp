#include "formats/xml/ElementWriter.h"

#include "formats/xml/Elements.h"
#include "model/FixedText.h"
#include "model/lists/NVEditRules.h"
#include "vocab/NumberDisplay.h"
#include "vocab/RegisterCodes.h"
#include "vocab/RegisterNames.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace korvex {
namespace {

// Appends printf-style text; every piece written here is far below the buffer size.
void append(std::string& out, const char* format, ...) {
    char text[160];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n > 0) out.append(text, std::min(static_cast<std::size_t>(n), sizeof text - 1));
}

void appendText(std::string& out, const char* prefix, std::string_view text) {
    out += prefix;
    out += quotableText(text);
    out += '"';
}

void appendAddress(std::string& out, const IpAddress& a) {
    append(out, "%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
}

const char* lonTypeName(uint8_t code) {
    return code < xml::kLonTypeNames.size() ? xml::kLonTypeNames[code] : xml::kLonTypeNames[0];
}

void appendRegisterSide(std::string& out, const DataObject& o) {
    if (o.scale != 0.0f) out += " scale=\"" + formatFixed(o.scale, 6) + "\"";
    if (o.offset != 0.0f) out += " offset=\"" + formatFixed(o.offset, 6) + "\"";
    append(out, " modreg=\"%d\" modtype=\"%s\" moddata=\"%s\" slave=\"%d\" poll=\"%d\"", o.modreg,
           registerTypeXmlName(o.modtype), registerFormatXmlName(o.moddata), o.slave, o.poll);
    if (o.mask != 0) append(out, " mask=\"%08X\"", o.mask);
    if (o.fill != 0) append(out, " fill=\"%08X\"", o.fill);
    if (o.flags & ObjectFlag::WritePeriodic) out += " writepolled=\"1\"";
    if (o.flags & ObjectFlag::WriteOnUpdate) out += " writedelta=\"1\"";
    if (o.flags & ObjectFlag::HighRegFirst) out += " bigend=\"1\"";
    if (o.flags & ObjectFlag::Packed) out += " pack=\"1\"";
}

// The NV side is written only for a function-block number the reader takes (1..120): an object
// copied from an NV row that has none yet would otherwise make the whole file unreadable.
void appendNVSide(std::string& out, const DataObject& o) {
    if (!o.hasNV() || o.lonNV < 1 || o.lonNV > kFbNumbers) return;
    append(out, (o.flags & ObjectFlag::InputNV) ? " lonNVI=\"%d\"" : " lonNVO=\"%d\"", o.lonNV);
    if (o.flags & ObjectFlag::Structured) out += " lonstruct=\"1\"";
    if (o.flags & ObjectFlag::LockField) out += " lonlock=\"1\"";
    append(out, " lontype=\"%s\"", lonTypeName(o.lontype));
    append(out, " lonoffset=\"%d,%d\"", std::min<int>(o.lonByteOffset, xml::kMaxLonByteOffset),
           std::min<int>(o.lonBitOffset, xml::kMaxLonBitOffset));
    append(out, " lonscale=\"%d,%d,%d\"", o.lonScaleA, o.lonScaleB, o.lonScaleC);
    append(out, " lonalg=\"%d,%d\"", std::min<int>(o.lonMethod, 2), o.lonFormula);
}

void appendDefaults(std::string& out, const DataObject& o) {
    if (o.flags & ObjectFlag::DefaultOnPowerUp) out += " defPOR=\"1\"";
    if (o.flags & ObjectFlag::DefaultOnCommFail) out += " defFail=\"1\"";
    if (o.flags & ObjectFlag::DefaultOnLonFail) out += " lonDefFail=\"1\"";
    constexpr uint32_t kAnyDefault =
        ObjectFlag::DefaultOnPowerUp | ObjectFlag::DefaultOnCommFail | ObjectFlag::DefaultOnLonFail;
    // Without a data type the reader refuses a default value (code 18); it carries nothing then.
    if ((o.flags & kAnyDefault) && o.datatype != ObjectDataType::None)
        out += " defVal=\"" + defaultValueText(o) + "\"";
}

// Days, hours, minutes and seconds with every part below 60 (hours below 24 once carried).
SendTime carried(const SendTime& t) {
    if (t.seconds < 60 && t.minutes < 60 && t.hours < 60) return t;
    uint64_t total = t.seconds + 60ull * t.minutes + 3600ull * t.hours + 86400ull * t.days;
    total = std::min<uint64_t>(total, 86400ull * 0xFFFF + 86399ull);
    return SendTime{static_cast<uint16_t>(total % 60), static_cast<uint16_t>(total / 60 % 60),
                    static_cast<uint16_t>(total / 3600 % 24), static_cast<uint16_t>(total / 86400)};
}

} // namespace

std::string quotableText(std::string_view text) {
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '"' || c == '>'; }, '_');
    return out;
}

std::string sendTimeText(const SendTime& time) {
    const SendTime t = carried(time);
    std::string out;
    bool written = false;
    if (t.days != 0) {
        append(out, "%d,", t.days);
        written = true;
    }
    if (t.hours != 0 || written) {
        append(out, "%d:", t.hours);
        written = true;
    }
    if (t.minutes != 0 || written) append(out, "%d:", t.minutes);
    append(out, "%d", t.seconds);
    return out;
}

std::string fpDefaultText(float value) {
    const double v = value;
    if (!std::isfinite(v)) return formatScientific(v, 3);
    double magnitude = std::trunc(std::fabs(v));
    int k = 0;
    while (magnitude >= 10.0 && k < 7) {
        magnitude /= 10.0;
        ++k;
    }
    if (k > 6) return formatScientific(v, 3);
    if (k >= 5) return formatFixed(v, 0);
    return formatFixed(v, 5 - k);
}

std::string defaultValueText(const DataObject& o) {
    std::string out;
    switch (o.datatype) {
    case ObjectDataType::FP:
        return fpDefaultText(std::bit_cast<float>(o.defVal));
    case ObjectDataType::U32:
        append(out, "%u", o.defVal);
        return out;
    case ObjectDataType::S32:
        append(out, "%d", static_cast<int32_t>(o.defVal));
        return out;
    case ObjectDataType::U16:
        append(out, "%hu", static_cast<unsigned short>(o.defVal & 0xFFFFu));
        return out;
    case ObjectDataType::S16:
        append(out, "%hd", static_cast<short>(static_cast<int16_t>(o.defVal & 0xFFFFu)));
        return out;
    case ObjectDataType::BIT:
        return (o.defVal & 0xFFu) != 0 ? "1" : "0";
    default:
        return "0";
    }
}

std::string writeObjectElement(const ObjectMap& map, int n) {
    const DataObject none{}; // a number outside the map is written as an empty object
    const DataObject* found = map.object(n);
    const DataObject& o = found ? *found : none;
    std::string out;
    append(out, "<obj n=\"%d\" clear=\"1\"", n);
    if (!o.isEmpty()) {
        append(out, " datatype=\"%s\"", objectDataTypeXmlName(o.datatype));
        if (!textOf(o.name).empty()) appendText(out, " name=\"", textOf(o.name));
        if (o.hasRegister()) appendRegisterSide(out, o);
        appendNVSide(out, o);
        appendDefaults(out, o);
        if (o.flags & ObjectFlag::Persistent) out += " persistent=\"1\"";
    }
    out += "/>\r\n";
    return out;
}

std::string writeNVElement(const ObjectMap& map, int r, bool withName, std::string_view name) {
    if (r < 0 || r >= map.nvCount) return {};
    const NetVar& row = map.nvs[static_cast<std::size_t>(r)];
    if (row.fbNumber < 1 || row.fbNumber > kFbNumbers || row.isField || row.size == 0) return {};
    std::string out;
    append(out, row.isInput ? "<nv nvi=\"%d\" clear=\"1\"" : "<nv nvo=\"%d\" clear=\"1\"", row.fbNumber);
    // A user type imported without a scope has no standard type index to stand for it; its
    // description (scope 0, type index 0) reads back as the same one-row user type.
    if (row.scope != 0 || row.snvt == 0) {
        const auto& p = row.programId;
        append(out, " unvt_pid=\"%02X:%02X:%02X:%02X:%02X:%02X:%02X:%02X\"", p[0], p[1], p[2], p[3], p[4],
               p[5], p[6], p[7]);
        append(out, " unvt_info=\"%d,%d,%d,%d,%d,%d,%d\"", std::min<int>(row.scope, 6), 0,
               std::min<int>(row.baseType, 14), std::min<int>(row.size, 31), row.scaleA, row.scaleB,
               row.scaleC);
    } else {
        append(out, " snvt=\"%d\"", row.snvt);
    }
    if (!row.isInput && !row.maxSendTime.isZero()) out += " max_tm=\"" + sendTimeText(row.maxSendTime) + "\"";
    if (!row.isInput && !row.minSendTime.isZero()) out += " min_tm=\"" + sendTimeText(row.minSendTime) + "\"";
    if (withName) appendText(out, " name=\"", name.empty() ? cleanNVName(textOf(row.name)) : name);
    out += "/>\r\n";
    return out;
}

std::string writePortElement(ObjectMap& map) {
    ModbusSettings& m = map.modbus;
    if (m.baud == 0) m.baud = 19200;
    std::string out;
    append(out, "<mod clear=\"1\" baud=\"%d\"", m.baud);
    if ((m.flags & PortFlag::Parity) && (m.flags & PortFlag::OddParity)) out += " parity=\"1\"";
    if ((m.flags & PortFlag::Parity) && !(m.flags & PortFlag::OddParity)) out += " parity=\"2\"";
    if (m.flags & PortFlag::TwoStopBits) out += " stop=\"2\"";
    if (m.flags & PortFlag::HighRegFirst) out += " bigend=\"1\"";
    if (m.flags & PortFlag::GatewayIsSlave)
        append(out, " slavemode=\"1\" slave=\"%d\"", m.slave);
    else
        append(out, " slavemode=\"0\" timeout=\"%d\"", m.timeout);
    if (m.predelay != 0) append(out, " predelay=\"%d\"", m.predelay);
    out += "/>\r\n";
    return out;
}

std::string writeTcpSettingsElement(const ObjectMap& map) {
    std::string out = "<mod ipaddr=\"";
    appendAddress(out, map.tcp.ipaddr);
    out += "\" subnet=\"";
    appendAddress(out, map.tcp.subnet);
    out += "\" gateway=\"";
    appendAddress(out, map.tcp.gateway);
    append(out, "\" port=\"%d\"/>\r\n", map.tcp.port);
    return out;
}

std::string writeTcpDeviceElement(const ObjectMap& map, int d) {
    if (d < 1 || d > kTcpMapEntries) return {};
    const TcpDeviceMap& e = map.tcpMap[static_cast<std::size_t>(d - 1)];
    std::string out;
    append(out, "<mod dev=\"%d\" ipmap=\"%d,%d,%d,", d, e.firstUnit, e.lastUnit, e.mapTo);
    appendAddress(out, e.ipAddress);
    append(out, ":%d\"/>\r\n", e.port);
    return out;
}

std::string writeNodeElement(const ObjectMap& map) {
    std::string out;
    appendText(out, "<nd loc=\"", textOf(map.node.loc));
    append(out, " pid=\"%d\"/>\r\n", map.node.pid);
    return out;
}

} // namespace korvex
