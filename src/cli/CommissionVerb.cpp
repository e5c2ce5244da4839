// korvex-cli commission: the same map sent to many gateways at once, each with its own location
// and IP address from a site file, with a summary table and an as-built report per gateway.
// This file only reads the arguments and prints; the run itself is device/commission's.
#include "cli/BuildVerb.h"
#include "cli/DeviceCli.h"
#include "cli/Verb.h"
#include "device/commission/AsBuiltReport.h"
#include "device/commission/Commission.h"
#include "device/commission/SiteFile.h"
#include "device/qt/QtSerialPortDriver.h"
#include "formats/Sha256.h"
#include "vocab/Version.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace korvex::cli {

namespace {

using namespace korvex::device;

struct CommissionArgs {
    std::string map;
    std::string model;
    std::vector<std::string> ports;
    std::string site;
    std::string reportDir;
    CommissionOptions options;
};

int badCommission(const std::string& why) {
    std::fprintf(stderr, "korvex-cli commission: %s (try korvex-cli --help)\n", why.c_str());
    return kExitBadArguments;
}

int readArgs(const std::vector<std::string>& in, CommissionArgs& args) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        const std::string& option = in[i];
        if (option == "--erase") {
            args.options.erase = true;
        } else if (option == "--verify") {
            args.options.verify = true;
        } else if (option == "--yes") {
            args.options.yes = true;
        } else if (option == "--silence") {
            args.options.silence = true;
        } else if (option != "--map" && option != "--port" && option != "--site" && option != "--report" &&
                   option != "--model") {
            return badCommission(option.starts_with("--") ? "unknown option " + option
                                                          : "unexpected \"" + option + "\"");
        } else if (i + 1 >= in.size() || in[i + 1].empty()) {
            return badCommission(option + " needs a value");
        } else if (option == "--port") {
            if (std::find(args.ports.begin(), args.ports.end(), in[i + 1]) != args.ports.end())
                return badCommission("port " + in[i + 1] + " is given twice");
            args.ports.push_back(in[++i]);
        } else {
            std::string& value = option == "--map"     ? args.map
                                 : option == "--site"  ? args.site
                                 : option == "--model" ? args.model
                                                       : args.reportDir;
            value = in[++i];
        }
    }
    if (args.map.empty()) return badCommission("--map is required");
    if (args.ports.empty()) return badCommission("at least one --port is required");
    if (!args.model.empty() && deviceModelFromName(args.model.c_str()) < 0)
        return badCommission("unknown model \"" + args.model + "\" (Korvex-A, Korvex-B or Korvex-C)");
    // Nobody is there to answer "erase all configuration?" for each gateway: it is asked once,
    // on the command line.
    if (args.options.erase && !args.options.yes)
        return badCommission(
            "--erase wipes the configuration of every gateway named; add --yes to confirm it");
    return kExitOk;
}

// The report folder must take new files before anything is sent.
int checkReportDir(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error || ::access(dir.c_str(), W_OK) != 0) {
        std::fprintf(stderr, "korvex-cli commission: cannot write reports into %s\n", dir.c_str());
        return kExitBadArguments;
    }
    return kExitOk;
}

std::vector<GatewayPlan> plansFor(const CommissionArgs& args, const SiteFile& site) {
    std::vector<GatewayPlan> plans;
    for (const std::string& port : args.ports) {
        GatewayPlan plan{port, std::nullopt, std::nullopt};
        if (const SiteRow* row = site.rowFor(port)) {
            plan.location = row->location;
            plan.ip = row->ip;
        }
        plans.push_back(plan);
    }
    return plans;
}

// PORT, LOCATION, one column per step, TIME.
void printTable(const std::vector<GatewayRecord>& records) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> heading = {"PORT", "LOCATION"};
    for (const Step s : kSteps) {
        std::string name = stepName(s);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return static_cast<char>(c - 32); });
        heading.push_back(name);
    }
    heading.push_back("TIME");
    rows.push_back(heading);
    for (const GatewayRecord& r : records) {
        std::vector<std::string> row = {r.port, r.location().empty() ? "-" : r.location()};
        for (const Step s : kSteps) row.push_back(stepResultName(r.step(s).result));
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f s", static_cast<double>(r.ms) / 1000.0);
        row.push_back(seconds);
        rows.push_back(row);
    }
    std::vector<std::size_t> widths(heading.size(), 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row[c] + std::string(widths[c] - row[c].size() + 2, ' ') : row[c];
        std::printf("%s\n", line.c_str());
    }
}

// Why each failed gateway failed, the verify's differences below it, then the count.
void printFailures(const std::vector<GatewayRecord>& records) {
    int passed = 0;
    for (const GatewayRecord& r : records) {
        if (r.passed()) {
            ++passed;
            continue;
        }
        for (const Step s : kSteps) {
            if (r.step(s).result == StepResult::Failed)
                std::printf("%s: %s: %s\n", r.port.c_str(), stepName(s), r.step(s).detail.c_str());
        }
        for (const MapDifference& d : r.differences) std::printf("  %s\n", differenceText(d).c_str());
    }
    std::printf("%d of %zu gateways passed.\n", passed, records.size());
}

int runCommission(const std::vector<std::string>& in) {
    CommissionArgs args;
    if (const int status = readArgs(in, args)) return status;
    auto map = std::make_unique<ObjectMap>();
    std::optional<int> model;
    if (!args.model.empty()) model = deviceModelFromName(args.model.c_str());
    if (!loadMapFile(*map, args.map, model)) return kExitFailed;
    const std::optional<std::string> digest = sha256OfFile(args.map);
    if (!digest) {
        std::fprintf(stderr, "korvex-cli commission: cannot read %s\n", args.map.c_str());
        return kExitFailed;
    }
    SiteFile site;
    if (!args.site.empty()) {
        site = readSiteFile(args.site, args.ports, map->hasTcp());
        if (!site.ok) {
            std::fprintf(stderr, "korvex-cli commission: %s: %s\n", args.site.c_str(),
                         site.errorText().c_str());
            return kExitBadArguments;
        }
    }
    if (!args.reportDir.empty()) {
        if (const int status = checkReportDir(args.reportDir)) return status;
    }

    const std::vector<GatewayRecord> records = commissionGateways(
        *map, plansFor(args, site), args.options, [] { return std::make_unique<QtSerialPortDriver>(); });
    printTable(records);
    printFailures(records);

    int status = std::all_of(records.begin(), records.end(), [](const auto& r) { return r.passed(); })
                     ? kExitOk
                     : kExitFailed;
    if (!args.reportDir.empty()) {
        const ReportsWritten written =
            writeAsBuiltReports(args.reportDir, records, {utcTimestamp(), kVersion, *digest});
        if (!written.ok) {
            std::fprintf(stderr, "korvex-cli commission: cannot write %s\n", written.error.c_str());
            status = kExitFailed;
        } else {
            std::printf("Reports written to %s (%zu files).\n", args.reportDir.c_str(), written.paths.size());
        }
    }
    return status;
}

const VerbRegistrar commissionVerb(
    "commission",
    "commission --map FILE --port PORT [--port PORT ...] [--site CSV] [--erase --yes] [--verify]\n"
    "           [--report DIR] [--model NAME] [--silence]\n"
    "  Configures every gateway named by a --port from the same map, all at once, each on its own\n"
    "  link: probe (usage), read the program ID and Neuron ID, erase (with --erase, which needs\n"
    "  --yes), send the NV definitions, the objects in use, the port settings and the location,\n"
    "  then, with --verify, read back and compare the NVs, objects, port settings and location.\n"
    "  A gateway's sequence stops at its first failed step; the others go on. CSV is a site file\n"
    "  whose header names the columns port, location and (Korvex-C maps only) ip; each line gives\n"
    "  the gateway on that port its location and IP address (an empty cell, or a port not in the\n"
    "  file, keeps the map's). A site file with an unknown column, a port named twice or not given\n"
    "  by --port, or a bad IP address is refused with its line number before anything is sent\n"
    "  (exit 2). Questions are answered OK by --yes; without it a question fails its step. Prints\n"
    "  a table: port, location, the result of each step (passed, failed, not run, not asked) and\n"
    "  the time, then why each failed gateway failed. With --report, DIR gets <name>.json and\n"
    "  <name>.html for each gateway, named by its location (or port) with characters other than\n"
    "  letters, digits, - and _ made _ (-2, -3 added to a name already taken): date, tool version,\n"
    "  port, program ID, Neuron ID, location, model, the map file's SHA-256, port and TCP settings,\n"
    "  NVs, objects, each step's result and time, and the verify result. Exit 0 only when every\n"
    "  gateway passed, 1 when one failed, 2 on bad arguments.\n"
    "  Example: korvex-cli commission --map plant.xml --port /dev/ttyUSB0 --port /dev/ttyUSB1 \\\n"
    "             --site site.csv --verify --report as-built/\n"
    "           where site.csv holds:  port,location\n"
    "                                  /dev/ttyUSB0,Plant room 1\n"
    "                                  /dev/ttyUSB1,Plant room 2",
    runCommission);

} // namespace

} // namespace korvex::cli
