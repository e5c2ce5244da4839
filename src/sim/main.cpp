// korvex-gateway-sim: a simulated gateway on a pseudo-terminal, for trying the configuration
// tool and korvex-cli without the device.
#include "sim/PtyLine.h"
#include "sim/SimulatedGateway.h"
#include "vocab/Version.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

volatile std::sig_atomic_t stopSignal = 0;

void onSignal(int) {
    stopSignal = 1;
}

void printHelp() {
    std::puts("Usage: korvex-gateway-sim [--link PATH] [--sample] [--return MS] [--erase-ms MS]\n"
              "                          [--no-prompt] [--baud RATE] [--trace FILE]\n"
              "                          [--fault KIND:SWITCH]... [--alter KIND:N:ATTR=VALUE]...\n"
              "                          [--values ramp|sine]\n"
              "       korvex-gateway-sim --help | --version\n"
              "Acts as a Korvex gateway on the master side of a pseudo-terminal and prints the slave\n"
              "path; open that path (or the --link symlink) as the serial port. Runs until interrupted.\n\n"
              "  --link PATH         make PATH a symlink to the slave side (gone while hung up)\n"
              "  --sample            start with a small configuration (3 objects, 4 NVs, a domain)\n"
              "  --return MS         after a hang-up, come back on a new line after MS milliseconds\n"
              "  --erase-ms MS       erasing the configuration takes MS milliseconds (default 3000)\n"
              "  --no-prompt         end replies without the console prompt \":->\"\n"
              "  --baud RATE         hold the line to RATE baud, ten bits a byte (e.g. 115200), in both\n"
              "                      directions; without it bytes go as fast as the terminal takes them\n"
              "  --trace FILE        write the line as the gateway sees it to FILE, a line at a time:\n"
              "                      seconds since the line opened, '<' received, '>' sent, '!' open or\n"
              "                      close, then the bytes (\\r, \\n, \\t, \\\\ and \\xNN escaped)\n"
              "  --fault KIND:SWITCH fault for one command kind (usage, pcx, nvitx, obj, nv, mod, ...;\n"
              "                      * for all); switches: noreply, garbage, delay=MS, split=MS,\n"
              "                      error=TEXT, hangup=N (hang up on the command after N), trickle=MS,\n"
              "                      after=N (the first N commands of the kind are answered normally),\n"
              "                      tail=MS (MS after the reply, print the prompt once more)\n"
              "  --alter KIND:N:ATTR=VALUE  store and report ATTR of item N as VALUE whenever the item\n"
              "                      is written or read: obj:N (object), nvi:N / nvo:N (NV), mod:0 (port\n"
              "                      and IP settings), mod:N:ipmap (TCP entry N), nd:0:loc or nd:0:pid\n"
              "  --values ramp|sine  every read of an object's value (pr N) moves it: ramp adds one per\n"
              "                      read and falls back after 100 reads; sine swings 10 around the\n"
              "                      stored value, one period per 60 reads, each object in its own phase\n\n"
              "Example: korvex-gateway-sim --link /tmp/korvex --fault usage:delay=500 --fault pcx:split=150\n"
              "         korvex-gateway-sim --link /tmp/korvex --trace gateway.log\n"
              "         korvex-gateway-sim --link /tmp/korvex --sample --values sine\n"
              "         korvex-gateway-sim --link /tmp/korvex --alter obj:3:modreg=209 --alter mod:0:baud=38400");
}

bool needValue(int i, int argc, const char* option) {
    if (i + 1 < argc) return true;
    std::fprintf(stderr, "korvex-gateway-sim: %s needs a value\n", option);
    return false;
}

// A whole number within [low, high].
bool readNumber(const char* text, long low, long high, int& value) {
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || n < low || n > high) return false;
    value = static_cast<int>(n);
    return true;
}

struct Options {
    bool sample = false;
    int returnMs = -1;
    int eraseMs = korvex::sim::kDefaultEraseMs;
    bool prompt = true;
    int baud = 0;
    std::string link;
    std::string trace;
    std::vector<std::string> faults;
    std::vector<std::string> alterations;
    korvex::sim::ValueMotion motion = korvex::sim::ValueMotion::Still;
};

// Reads one option at argv[i] (advancing past its value); -1 to go on, else the exit status.
int readOption(int& i, int argc, char** argv, Options& options) {
    const std::string arg = argv[i];
    std::string error;
    if (arg == "--help" || arg == "-h") {
        printHelp();
        return 0;
    } else if (arg == "--version") {
        std::printf("korvex-gateway-sim %s\n", korvex::kVersion);
        return 0;
    } else if (arg == "--sample") {
        options.sample = true;
    } else if (arg == "--link" && needValue(i, argc, "--link")) {
        options.link = argv[++i];
    } else if (arg == "--trace" && needValue(i, argc, "--trace")) {
        options.trace = argv[++i];
    } else if (arg == "--return" && needValue(i, argc, "--return")) {
        options.returnMs = std::atoi(argv[++i]);
    } else if (arg == "--erase-ms" && needValue(i, argc, "--erase-ms")) {
        if (readNumber(argv[++i], 0, 3600000, options.eraseMs)) return -1;
        std::fprintf(stderr, "korvex-gateway-sim: --erase-ms takes a number of milliseconds\n");
        return 2;
    } else if (arg == "--no-prompt") {
        options.prompt = false;
    } else if (arg == "--baud" && needValue(i, argc, "--baud")) {
        if (readNumber(argv[++i], 1, 100000000, options.baud)) return -1;
        std::fprintf(stderr, "korvex-gateway-sim: --baud takes a positive rate\n");
        return 2;
    } else if (arg == "--fault" && needValue(i, argc, "--fault")) {
        options.faults.emplace_back(argv[++i]);
        if (korvex::sim::FaultPlan().add(options.faults.back(), &error)) return -1;
        std::fprintf(stderr, "korvex-gateway-sim: %s\n", error.c_str());
        return 2;
    } else if (arg == "--alter" && needValue(i, argc, "--alter")) {
        options.alterations.emplace_back(argv[++i]);
        korvex::sim::Alteration alteration;
        if (korvex::sim::parseAlteration(options.alterations.back(), alteration, &error)) return -1;
        std::fprintf(stderr, "korvex-gateway-sim: bad --alter \"%s\": %s\n", argv[i], error.c_str());
        return 2;
    } else if (arg == "--values" && needValue(i, argc, "--values")) {
        if (korvex::sim::parseValueMotion(argv[++i], options.motion)) return -1;
        std::fprintf(stderr, "korvex-gateway-sim: --values takes ramp or sine\n");
        return 2;
    } else {
        std::fprintf(stderr, "korvex-gateway-sim: unknown argument \"%s\" (try --help)\n", arg.c_str());
        return 2;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (const int status = readOption(i, argc, argv, options); status >= 0) return status;
    }

    korvex::sim::SimulatedGateway gateway(options.sample ? korvex::sim::sampleConfig()
                                                         : korvex::sim::GatewayConfig());
    for (const auto& fault : options.faults) gateway.addFault(fault);
    for (const auto& alteration : options.alterations) gateway.addAlteration(alteration);
    gateway.setAutoReturn(options.returnMs);
    gateway.setEraseMs(options.eraseMs);
    gateway.setPrompt(options.prompt);
    gateway.setValueMotion(options.motion);
    gateway.setBaud(options.baud);
    const std::string& link = options.link;
    std::string error;
    if (!options.trace.empty() && !gateway.traceTo(options.trace, &error)) {
        std::fprintf(stderr, "korvex-gateway-sim: %s\n", error.c_str());
        return 2;
    }
    if (!gateway.start(&error) || (!link.empty() && !gateway.setLink(link, &error))) {
        std::fprintf(stderr, "korvex-gateway-sim: %s\n", error.c_str());
        return 1;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::string shown = gateway.slavePath();
    std::printf("%s\n", shown.c_str());
    std::fflush(stdout);
    while (!stopSignal) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::string current = gateway.slavePath();
        if (current != shown && !gateway.isHungUp()) {
            shown = current;
            std::printf("%s\n", shown.c_str());
            std::fflush(stdout);
        }
    }
    gateway.stop();
    if (!link.empty()) korvex::sim::unlinkLine(link);
    return 0;
}
