#pragma once
// The as-built report of a gateway: what it was given (model, port and TCP settings, NVs,
// objects and registers, the SHA-256 of the map file), what it said it is (program ID, Neuron
// ID) and how each step and the verify went, as JSON for programs and as HTML for people. Both
// are written atomically; names come from the location (or the port) made safe for any file
// system. Plain functions without shared state.
#include "device/commission/Commission.h"

#include <chrono>
#include <string>
#include <vector>

namespace korvex::device {

struct ReportHeader {
    std::string date;        // when the run ended, "2026-12-08T22:30:00Z"
    std::string toolVersion; // the program's version
    std::string mapSha256;   // of the map file as given
};

// "2026-12-08T22:30:00Z": the time in UTC to the second.
std::string utcTimestamp(std::chrono::system_clock::time_point time = std::chrono::system_clock::now());

std::string asBuiltJson(const GatewayRecord& record, const ReportHeader& header);
std::string asBuiltHtml(const GatewayRecord& record, const ReportHeader& header);

// The location, else the port, with every character but letters, digits, '-' and '_' made '_'.
std::string reportBaseName(const GatewayRecord& record);
// One name per record, "-2", "-3", ... added to a name already taken.
std::vector<std::string> reportNames(const std::vector<GatewayRecord>& records);

struct ReportsWritten {
    bool ok = true;
    std::string error;              // the file that could not be written
    std::vector<std::string> paths; // every file written, in order
};

// DIR/<name>.json and DIR/<name>.html for every record; DIR is made when missing.
ReportsWritten writeAsBuiltReports(const std::string& dir, const std::vector<GatewayRecord>& records,
                                   const ReportHeader& header);

} // namespace korvex::device
