// Configuration transfer timing against the simulated gateway (run in a child process so its own
// work does not count): sending 240 NV definitions and then 400 data objects through the page
// actions, and reading the 400 values back, with the status loop thread running the engine and
// its reporting. Three runs, each on a fresh gateway and map:
//   - the silence rule (every reply ends with one quiet 100 ms poll): held against that floor;
//   - prompt pacing (replies end at the gateway's prompt): held against the silence run;
//   - prompt pacing with the gateway's line held to 115200 baud, ten bits a byte: held against
//     the time the bytes sent and received take on such a line.
//   bench_transfers [--no-silence]   (leaves out the silence run, which takes some 100 s)
#include "TransferRig.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace bench;

double lineSeconds(long bytes) {
    return static_cast<double>(bytes) * 10.0 / kLineBaud;
}

void print(const char* what, const Step& step, const std::string& against) {
    std::printf("%-44s %4d commands %7.2f s  %6.1f ms each  %s\n", what, step.commands, step.seconds,
                step.seconds * 1000.0 / step.commands, against.c_str());
}

std::string againstFloor(const Step& step) {
    const double floor = step.commands * 0.1;
    char text[96];
    std::snprintf(text, sizeof text, "quiet-poll floor %.1f s, +%.2f %%", floor,
                  (step.seconds / floor - 1) * 100);
    return text;
}

std::string againstSilence(const Step& step, const Step& silence) {
    if (silence.seconds <= 0) return "(silence run left out)";
    char text[96];
    std::snprintf(text, sizeof text, "%.2f %% of the silence time", 100.0 * step.seconds / silence.seconds);
    return text;
}

std::string againstLine(const Step& step) {
    char text[128];
    std::snprintf(text, sizeof text, "%ld bytes = %.2f s on the line, %.2f times that", step.bytes,
                  lineSeconds(step.bytes), step.seconds / lineSeconds(step.bytes));
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const bool withSilence = !(argc > 1 && std::strcmp(argv[1], "--no-silence") == 0);
    Figures silence;
    if (withSilence) silence = run(0, true);
    const Figures paced = run(0, false);
    const Figures line = run(kLineBaud, false);
    const bool failed = (withSilence && (silence.send.seconds < 0 || silence.read.seconds < 0)) ||
                        paced.send.seconds < 0 || paced.read.seconds < 0 || line.send.seconds < 0 ||
                        line.read.seconds < 0;
    if (failed) {
        std::fprintf(stderr, "a transfer failed\n");
        return 1;
    }
    if (withSilence) {
        print("send 240 NVs + 400 objects, silence rule", silence.send, againstFloor(silence.send));
        print("read 400 values, silence rule", silence.read, againstFloor(silence.read));
    }
    print("send 240 NVs + 400 objects, prompt paced", paced.send, againstSilence(paced.send, silence.send));
    print("read 400 values, prompt paced", paced.read, againstSilence(paced.read, silence.read));
    print("send, prompt paced, line at 115200 baud", line.send, againstLine(line.send));
    print("read 400 values, line at 115200 baud", line.read, againstLine(line.read));
    return 0;
}
