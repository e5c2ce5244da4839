// Writes the seeds of the reply handler fuzz target: every operation run against the simulated
// gateway's console holding the template configuration, with the replies it gave recorded as a
// script (support/ReplyScript.h). Beside each clean run come variants with one reply turned into
// noise, an error text, a split reply or silence, as a misbehaving gateway would send them.
// Built and run by fuzz/make-reply-seeds.sh.
#include "support/ReplyScript.h"

#include "sim/FaultPlan.h"
#include "sim/GatewayConsole.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace korvex;
using namespace korvex::device;
namespace reply = korvex::fuzz::reply;

// Answers each command line through the console at once and records the replies.
class RecordingDriver : public SerialPortDriver {
public:
    RecordingDriver(sim::GatewayConsole& console, std::int64_t& clock) : console_(console), clock_(clock) {}

    bool open(const std::string&) override { return open_ = true; }
    bool isOpen() override { return open_; }
    void close() override { open_ = false; }
    int flushInput() override {
        const int dropped = static_cast<int>(pending_.size());
        pending_.clear();
        return dropped;
    }
    bool write(const char* data, std::size_t length) override {
        for (std::size_t i = 0; i < length; ++i) {
            if (data[i] != '\r' && data[i] != '\n') {
                line_ += data[i];
            } else if (!line_.empty()) {
                replies.push_back(sim::framedReply(console_.answer(line_)));
                pending_ += replies.back();
                line_.clear();
            }
        }
        return true;
    }
    int read(char* dest, std::size_t capacity, int) override {
        if (pending_.empty()) {
            clock_ += std::int64_t{kPollWaitMs} * 1000;
            return 0;
        }
        const std::size_t n = std::min(capacity, pending_.size());
        std::memcpy(dest, pending_.data(), n);
        pending_.erase(0, n);
        return static_cast<int>(n);
    }

    std::vector<std::string> replies;

private:
    sim::GatewayConsole& console_;
    std::int64_t& clock_;
    std::string line_;
    std::string pending_;
    bool open_ = false;
};

struct Seed {
    std::string name;
    std::array<std::uint8_t, reply::kHeaderSize> header;
};

// Runs one operation on a copy of the template map against the console; returns the replies.
std::vector<std::string> record(sim::GatewayConsole& console, const Seed& seed) {
    auto map = std::make_unique<ObjectMap>();
    if (seed.header[6] & reply::kFlagRichMap) reply::buildTemplateMap(*map);
    map->deviceModel = seed.header[6] & reply::kFlagTcpModel ? kTcpDeviceModel : 0;
    std::int64_t clock = 0;
    RecordingDriver driver(console, clock);
    SerialLink link(driver, [&clock] { return clock; });
    std::mutex mutex;
    ValueTable values;
    CommandEngine engine(link, *map, mutex, values);
    engine.deviceLastObjectKnown = (seed.header[6] & reply::kFlagLastKnown) != 0;
    engine.deviceLastObject = seed.header[7] * 2;
    link.setPortName("/dev/ttySEED");
    if (!link.open() || !reply::startOperation(engine, seed.header[0], seed.header.data() + 2)) return {};
    for (int i = 0; i < 100000 && engine.busy(); ++i) {
        link.pump();
        engine.tick();
    }
    return driver.replies;
}

std::string script(const Seed& seed, const std::vector<std::string>& replies) {
    std::string bytes(seed.header.begin(), seed.header.end());
    for (std::size_t i = 0; i < replies.size(); ++i) {
        if (i > 0) bytes += std::string(1, reply::kSeparator) + '\0';
        bytes += replies[i];
    }
    return bytes;
}

void write(const std::filesystem::path& dir, const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
}

// The clean run, and variants that spoil the last reply of the run.
void writeVariants(const std::filesystem::path& dir, const Seed& seed, std::vector<std::string> replies) {
    write(dir, seed.name, script(seed, replies));
    if (replies.empty()) return;
    const std::string last = replies.back();
    replies.back() = std::string(sim::kGarbageReply);
    write(dir, seed.name + "-garbage", script(seed, replies));
    replies.back() = sim::framedReply("Parameter out of range");
    write(dir, seed.name + "-error", script(seed, replies));
    // Split with a gap longer than a quiet poll: the second half comes as the next reply.
    const std::size_t half = last.size() / 2;
    replies.back() =
        last.substr(0, half) + reply::kSeparator + '\x0C' + reply::kSeparator + '\xF0' + last.substr(half);
    write(dir, seed.name + "-split", script(seed, replies));
    replies.pop_back();
    write(dir, seed.name + "-silent", script(seed, replies));
}

// The operations with arguments that give each a few commands.
std::vector<Seed> seeds() {
    constexpr std::uint8_t kAll = reply::kFlagRichMap | reply::kFlagTcpModel | reply::kFlagLastKnown;
    const std::uint8_t none = 0x80; // no second operation
    return {
        {"console", {reply::kConsole, none, 0, 0, 0, 0, kAll, 0}},
        {"console-help", {reply::kConsole, none, 1, 0, 0, 0, kAll, 0}},
        {"usage", {reply::kUsage, none, 0, 0, 0, 0, kAll, 0}},
        {"get-nvs", {reply::kGetNetVars, none, 120, 3, 120, 6, kAll, 0}},
        {"send-nvs", {reply::kSendNetVars, none, 120, 3, 120, 6, kAll, 0}},
        {"get-objects", {reply::kGetObjects, none, 0, 4, 0, 0, kAll, 5}},
        {"send-objects", {reply::kSendObjects, none, 0, 7, 0, 0, kAll, 0}},
        {"clear", {reply::kClearConfig, none, 0, 0, 0, 0, kAll, 0}},
        {"read-values", {reply::kReadValues, none, 0, 4, 0, 0, kAll, 0}},
        {"write-values", {reply::kWriteValues, none, 0, 4, 0, 0, kAll, 0}},
        {"get-port", {reply::kGetPortSettings, none, 0, 0, 0, 0, kAll, 0}},
        {"get-port-rtu", {reply::kGetPortSettings, none, 0, 0, 0, 0, reply::kFlagRichMap, 0}},
        {"send-port", {reply::kSendPortSettings, none, 0, 0, 0, 0, kAll, 0}},
        {"error-info", {reply::kGetErrorInfo, none, 1, 0, 0, 0, kAll, 0}},
        {"set-domain", {reply::kSetDomain, none, 0, 0, 0, 0, kAll, 0}},
        {"get-domains", {reply::kGetDomains, none, 0, 0, 0, 0, kAll, 0}},
        {"get-ids", {reply::kGetNodeIds, none, 0, 0, 0, 0, kAll, 0}},
        {"node-info", {reply::kGetNodeInfo, none, 0, 0, 0, 0, kAll, 0}},
        {"set-location", {reply::kSetLocation, none, 0, 0, 0, 0, kAll, 0}},
        {"alter-pid", {reply::kAlterProgramId, none, 0, 0, 0, 0, kAll, 0}},
        {"usage-then-get-objects", {reply::kUsage, reply::kGetObjects, 0, 3, 0, 0, kAll, 0}},
        {"get-objects-empty-map", {reply::kGetObjects, none, 0, 7, 0, 0, 0, 0}},
        {"get-nvs-empty-map", {reply::kGetNetVars, none, 120, 7, 120, 7, 0, 0}},
    };
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);

    // The gateway holds the template configuration, sent the way the tool sends it, and a domain.
    sim::GatewayConsole console(sim::sampleConfig());
    for (reply::Operation send : {reply::kSendNetVars, reply::kSendObjects, reply::kSendPortSettings}) {
        const Seed all{"", {send, 0x80, 120, 7, 120, 7, reply::kFlagRichMap | reply::kFlagTcpModel, 0}};
        const Seed objects{"", {send, 0x80, 0, 7, 0, 0, reply::kFlagRichMap | reply::kFlagTcpModel, 0}};
        record(console, send == reply::kSendObjects ? objects : all);
    }
    console.answer("ndomain 1 5 12 3 4a 0b 9c");

    int written = 0;
    for (const Seed& seed : seeds()) {
        sim::GatewayConsole copy = console; // each operation sees the same gateway
        writeVariants(dir, seed, record(copy, seed));
        ++written;
    }
    std::printf("%d operations written to %s\n", written, dir.c_str());
    return 0;
}
