// The cost of the wire trace: the full send of 240 NV definitions and 400 data objects to the
// simulated gateway (prompt paced, as the tool runs by default) with the link's trace off and on,
// alternating over rounds in one run; the ratio of the send times on / off (target within 1.01).
// Twice: with the gateway's line held to 115200 baud, as the device's port runs, and with the
// pseudo-terminal as fast as it goes, where scheduling noise on a busy machine is far larger than
// the trace and the tool's processor time is shown beside the wall time. Then what the ring holds
// after a traced run, and the recorder on its own: one recorded event, and one call while off.
//   bench_wire_trace [--rounds N]   (default 3 at line speed, 5 times as many unlimited)
#include "TransferRig.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace bench;

// A typical piece of a reply.
constexpr std::string_view kPiece = "\r\n<obj n=\"400\" clear=\"1\" datatype=\"S32\"/>\r\n:->";

struct Times {
    std::vector<double> wall, cpu;
    double median(const std::vector<double>& v) const { return v[v.size() / 2]; }
};

// Sends rounds times with the trace off and on; false when a transfer failed.
bool compare(int baud, int rounds, Times& off, Times& on, TraceUsage& usage) {
    for (int round = 0; round < rounds; ++round) {
        // Alternating which goes first, so a machine that slows down or speeds up favours neither.
        for (const bool traced : {round % 2 == 1, round % 2 == 0}) {
            const Figures figures = run(baud, false, traced ? &usage : nullptr);
            if (figures.send.seconds < 0 || figures.send.commands != 640) return false;
            Times& times = traced ? on : off;
            times.wall.push_back(figures.send.seconds);
            times.cpu.push_back(figures.send.cpuSeconds);
        }
    }
    for (Times* times : {&off, &on}) {
        std::sort(times->wall.begin(), times->wall.end());
        std::sort(times->cpu.begin(), times->cpu.end());
    }
    return true;
}

void print(const char* line, int rounds, const Times& off, const Times& on) {
    std::printf("send 240 NVs + 400 objects (640 commands), %s, %d rounds of trace off and on:\n", line,
                rounds);
    std::printf("  best        off %7.4f s  on %7.4f s  ratio %.4f\n", off.wall[0], on.wall[0],
                on.wall[0] / off.wall[0]);
    std::printf("  median      off %7.4f s  on %7.4f s  ratio %.4f\n", off.median(off.wall),
                on.median(on.wall), on.median(on.wall) / off.median(off.wall));
    std::printf("  tool's processor time, median  off %.4f s  on %.4f s  ratio %.4f\n", off.median(off.cpu),
                on.median(on.cpu), on.median(on.cpu) / off.median(off.cpu));
}

// Nanoseconds per record() call over count events.
double recordNanos(TraceRecorder& recorder, int count) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i) recorder.record(TraceKind::Received, i, kPiece);
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / count;
}

} // namespace

int main(int argc, char** argv) {
    int rounds = 3;
    if (argc > 2 && std::strcmp(argv[1], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[2]));
    Times lineOff, lineOn, fastOff, fastOn;
    TraceUsage usage;
    if (!compare(kLineBaud, rounds, lineOff, lineOn, usage) ||
        !compare(0, rounds * 5, fastOff, fastOn, usage)) {
        std::fprintf(stderr, "a transfer failed\n");
        return 1;
    }
    print("line at 115200 baud", rounds, lineOff, lineOn);
    print("line unlimited", rounds * 5, fastOff, fastOn);
    std::printf("ring after a traced send and read: %zu events, %zu payload bytes, %.2f MB in use, %llu "
                "dropped,\n  of %.1f MB set aside when the trace was turned on\n",
                usage.events, usage.payloadBytes, static_cast<double>(usage.heldBytes) / (1024.0 * 1024.0),
                static_cast<unsigned long long>(usage.dropped),
                static_cast<double>(usage.reservedBytes) / (1024.0 * 1024.0));

    TraceRecorder recorder;
    const double offNanos = recordNanos(recorder, 10'000'000);
    recorder.setEnabled(true);
    const double onNanos = recordNanos(recorder, 2'000'000);
    std::printf("recorder alone: %.1f ns per recorded event (a %zu-byte piece), %.2f ns per call while off\n",
                onNanos, kPiece.size(), offNanos);
    return 0;
}
