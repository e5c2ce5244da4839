#include "device/commission/AsBuiltReport.h"

#include "formats/AtomicFile.h"
#include "formats/TextEscape.h"
#include "model/FixedText.h"
#include "vocab/RegisterNames.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

namespace korvex::device {

namespace {

std::string printed(const char* format, auto... values) {
    char text[128];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string address(const IpAddress& a) {
    return printed("%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
}

const char* parityName(uint8_t flags) {
    if (!(flags & PortFlag::Parity)) return "none";
    return (flags & PortFlag::OddParity) ? "odd" : "even";
}

std::string modelName(const ObjectMap& map) {
    const char* name = deviceModelName(map.deviceModel);
    return name ? name : "unknown";
}

const char* verifyResult(const GatewayRecord& record) {
    return stepResultName(record.step(Step::Verify).result);
}

// One table of the report, as the JSON and the HTML both show it: the column names, then one
// row of texts a line. Numbers are marked so the JSON writes them bare.
struct Cell {
    std::string text;
    bool number = false;
};
struct Table {
    std::vector<std::string> keys;     // JSON keys
    std::vector<std::string> headings; // HTML column headings
    std::vector<std::vector<Cell>> rows;
};

Cell num(long long value) {
    return Cell{std::to_string(value), true};
}
Cell txt(std::string text) {
    return Cell{std::move(text), false};
}

Table netVarTable(const ObjectMap& map) {
    Table t{
        {"direction", "number", "name", "type", "object"}, {"Direction", "NV", "Name", "Type", "Object"}, {}};
    for (int r = 0; r < map.nvCount; ++r) {
        const NetVar& nv = map.nvs[static_cast<std::size_t>(r)];
        if (!nv.isHeader()) continue;
        t.rows.push_back({txt(nv.isInput ? "input" : "output"), num(nv.fbNumber),
                          txt(std::string(textOf(nv.name))), txt(netVarTypeText(nv)), num(nv.objectNumber)});
    }
    return t;
}

Table objectTable(const ObjectMap& map) {
    Table t{{"number", "name", "data_type", "nv", "register", "mode", "poll"},
            {"Object", "Name", "Data type", "NV", "Register", "Mode", "Poll"},
            {}};
    for (int n = 1; n <= kObjectCount; ++n) {
        const DataObject& o = *map.object(n);
        if (!o.inUse()) continue;
        t.rows.push_back({num(n), txt(std::string(textOf(o.name))), txt(objectDataTypeXmlName(o.datatype)),
                          txt(objectNVText(o)), txt(objectRegisterText(o)), txt(objectModeText(o)),
                          num(o.poll)});
    }
    return t;
}

Table tcpDeviceTable(const ObjectMap& map) {
    Table t{{"first_unit", "last_unit", "map_to", "ip", "port"},
            {"First unit", "Last unit", "Map to", "IP address", "TCP port"},
            {}};
    for (const TcpDeviceMap& e : map.tcpMap) {
        if (!e.inUse()) continue;
        t.rows.push_back(
            {num(e.firstUnit), num(e.lastUnit), num(e.mapTo), txt(address(e.ipAddress)), num(e.port)});
    }
    return t;
}

Table stepTable(const GatewayRecord& record) {
    Table t{{"name", "result", "ms", "detail"}, {"Step", "Result", "ms", "Detail"}, {}};
    for (const Step s : kSteps) {
        const StepRecord& step = record.step(s);
        t.rows.push_back(
            {txt(stepName(s)), txt(stepResultName(step.result)), num(step.ms), txt(step.detail)});
    }
    return t;
}

// The port settings as name/value pairs, the TCP settings after them on the model with TCP.
std::vector<std::pair<std::string, Cell>> portFields(const ObjectMap& map) {
    const ModbusSettings& m = map.modbus;
    const bool slave = (m.flags & PortFlag::GatewayIsSlave) != 0;
    std::vector<std::pair<std::string, Cell>> fields = {
        {"baud", num(m.baud == 0 ? 19200 : m.baud)},
        {"parity", txt(parityName(m.flags))},
        {"stop_bits", num((m.flags & PortFlag::TwoStopBits) ? 2 : 1)},
        {"role", txt(slave ? "slave" : "master")},
        {"slave_address", num(m.slave)},
        {"timeout_tenths", num(m.timeout)},
        {"pre_delay", num(m.predelay)},
        {"high_register_first", txt((m.flags & PortFlag::HighRegFirst) ? "yes" : "no")},
    };
    if (map.hasTcp()) {
        fields.push_back({"ip", txt(address(map.tcp.ipaddr))});
        fields.push_back({"subnet", txt(address(map.tcp.subnet))});
        fields.push_back({"gateway", txt(address(map.tcp.gateway))});
        fields.push_back({"tcp_port", num(map.tcp.port)});
    }
    return fields;
}

// ---- JSON ------------------------------------------------------------------------------------

std::string jsonCell(const Cell& cell) {
    return cell.number ? cell.text : jsonString(cell.text);
}

std::string jsonTable(const Table& table, const std::string& indent) {
    if (table.rows.empty()) return "[]";
    std::string out = "[";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        out += r ? ",\n" + indent + "  {" : "\n" + indent + "  {";
        for (std::size_t c = 0; c < table.keys.size(); ++c)
            out += (c ? ", " : "") + jsonString(table.keys[c]) + ": " + jsonCell(table.rows[r][c]);
        out += "}";
    }
    return out + "\n" + indent + "]";
}

std::string jsonPort(const ObjectMap& map) {
    std::string out = "{";
    for (const auto& [key, value] : portFields(map))
        out += "\n    " + jsonString(key) + ": " + jsonCell(value) + ",";
    out += "\n    \"tcp_devices\": ";
    out += map.hasTcp() ? jsonTable(tcpDeviceTable(map), "    ") : "null";
    return out + "\n  }";
}

std::string jsonVerify(const GatewayRecord& record) {
    std::string out = "{\"result\": " + jsonString(verifyResult(record)) + ", \"differences\": [";
    for (std::size_t i = 0; i < record.differences.size(); ++i)
        out += (i ? ", " : "") + jsonString(differenceText(record.differences[i]));
    return out + "]}";
}

std::string jsonOrNull(const std::string& text) {
    return text.empty() ? "null" : jsonString(text);
}

// ---- HTML ------------------------------------------------------------------------------------

std::string htmlTable(const Table& table, const std::string& empty) {
    if (table.rows.empty()) return "<p>" + htmlText(empty) + "</p>\n";
    std::string out = "<table>\n<tr>";
    for (const std::string& heading : table.headings) out += "<th>" + htmlText(heading) + "</th>";
    out += "</tr>\n";
    for (const auto& row : table.rows) {
        out += "<tr>";
        for (const Cell& cell : row) out += "<td>" + htmlText(cell.text) + "</td>";
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

std::string htmlField(const std::string& name, const std::string& value) {
    return "<tr><th>" + htmlText(name) + "</th><td>" + htmlText(value) + "</td></tr>\n";
}

constexpr const char* kHtmlStyle =
    "body{font-family:sans-serif;margin:2em}table{border-collapse:collapse;margin-bottom:1em}"
    "th,td{border:1px solid #999;padding:2px 8px;text-align:left}th{background:#eee}";

} // namespace

std::string utcTimestamp(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto seconds = floor<std::chrono::seconds>(time);
    const auto day = floor<days>(seconds);
    const year_month_day date{day};
    const hh_mm_ss clock{seconds - day};
    return printed("%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                   static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                   static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                   static_cast<int>(clock.seconds().count()));
}

std::string asBuiltJson(const GatewayRecord& record, const ReportHeader& header) {
    const ObjectMap& map = *record.map;
    std::string out = "{\n";
    out += "  \"date\": " + jsonString(header.date) + ",\n";
    out += "  \"tool_version\": " + jsonString(header.toolVersion) + ",\n";
    out += "  \"port\": " + jsonString(record.port) + ",\n";
    out += "  \"program_id\": " + jsonOrNull(record.programId) + ",\n";
    out += "  \"neuron_id\": " + jsonOrNull(record.neuronId) + ",\n";
    out += "  \"location\": " + jsonString(record.location()) + ",\n";
    out += "  \"model\": " + jsonString(modelName(map)) + ",\n";
    out += "  \"map_sha256\": " + jsonOrNull(header.mapSha256) + ",\n";
    out += "  \"port_settings\": " + jsonPort(map) + ",\n";
    out += "  \"nvs\": " + jsonTable(netVarTable(map), "  ") + ",\n";
    out += "  \"objects\": " + jsonTable(objectTable(map), "  ") + ",\n";
    out += "  \"steps\": " + jsonTable(stepTable(record), "  ") + ",\n";
    out += "  \"verify\": " + jsonVerify(record) + "\n";
    return out + "}\n";
}

std::string asBuiltHtml(const GatewayRecord& record, const ReportHeader& header) {
    const ObjectMap& map = *record.map;
    const std::string title =
        "As-built report: " + (record.location().empty() ? record.port : record.location());
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                      htmlText(title) + "</title>\n<style>" + kHtmlStyle + "</style>\n</head>\n<body>\n";
    out += "<h1>" + htmlText(title) + "</h1>\n<table>\n";
    out += htmlField("Date", header.date);
    out += htmlField("Tool version", header.toolVersion);
    out += htmlField("Port", record.port);
    out += htmlField("Program ID", record.programId.empty() ? "not read" : record.programId);
    out += htmlField("Neuron ID", record.neuronId.empty() ? "not read" : record.neuronId);
    out += htmlField("Location", record.location());
    out += htmlField("Model", modelName(map));
    out += htmlField("Map SHA-256", header.mapSha256.empty() ? "not saved" : header.mapSha256);
    out += "</table>\n<h2>Port settings</h2>\n<table>\n";
    for (const auto& [key, value] : portFields(map)) out += htmlField(key, value.text);
    out += "</table>\n";
    if (map.hasTcp()) out += "<h2>TCP devices</h2>\n" + htmlTable(tcpDeviceTable(map), "No TCP devices.");
    out += "<h2>Network variables</h2>\n" + htmlTable(netVarTable(map), "No network variables.");
    out += "<h2>Objects and registers</h2>\n" + htmlTable(objectTable(map), "No objects in use.");
    out += "<h2>Steps</h2>\n" + htmlTable(stepTable(record), "");
    out += "<h2>Verify</h2>\n<p>Result: " + htmlText(verifyResult(record)) + "</p>\n";
    if (!record.differences.empty()) {
        out += "<ul>\n";
        for (const MapDifference& d : record.differences)
            out += "<li>" + htmlText(differenceText(d)) + "</li>\n";
        out += "</ul>\n";
    }
    return out + "</body>\n</html>\n";
}

std::string reportBaseName(const GatewayRecord& record) {
    std::string name = record.location().empty() ? record.port : record.location();
    for (char& c : name) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                          c == '-' || c == '_';
        if (!keep) c = '_';
    }
    return name;
}

std::vector<std::string> reportNames(const std::vector<GatewayRecord>& records) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const GatewayRecord& record : records) {
        const std::string base = reportBaseName(record);
        std::string name = base;
        for (int n = 2; taken.count(name); ++n) name = base + "-" + std::to_string(n);
        taken.insert(name);
        names.push_back(name);
    }
    return names;
}

ReportsWritten writeAsBuiltReports(const std::string& dir, const std::vector<GatewayRecord>& records,
                                   const ReportHeader& header) {
    ReportsWritten written;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const std::vector<std::string> names = reportNames(records);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string base = (std::filesystem::path(dir) / names[i]).string();
        for (const auto& [path, text] : {std::pair{base + ".json", asBuiltJson(records[i], header)},
                                         std::pair{base + ".html", asBuiltHtml(records[i], header)}}) {
            if (!replaceFileAtomically(path, text)) {
                written.ok = false;
                written.error = path;
                return written;
            }
            written.paths.push_back(path);
        }
    }
    return written;
}

} // namespace korvex::device
