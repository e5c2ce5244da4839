// korvex-cli device against the simulated gateway: the printed results and the exit statuses.
// Skipped where the command-line program is not built (the sanitizer build of the device tests).
#include "LinkMode.h"
#include "formats/xml/MapFile.h"
#include "sim/GatewayConsole.h"
#include "sim/SimulatedGateway.h"
#include "support/FileText.h"
#include "support/ProgramRun.h"
#include "vocab/TraceLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace korvex::device {
namespace {

using korvex::test::slurp;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class DeviceVerbTest : public ::testing::Test {
protected:
    sim::SimulatedGateway gateway{sim::sampleConfig()};
    std::string cli = korvex::test::programPath("korvex-cli");
    std::string scratch = ::testing::TempDir() + "korvex-cli-" + std::to_string(::getpid());

    void SetUp() override {
        if (::access(cli.c_str(), X_OK) != 0) GTEST_SKIP() << cli << " not built";
        ASSERT_TRUE(gateway.start());
    }
    void TearDown() override {
        ::unlink((scratch + ".out").c_str());
        ::unlink((scratch + ".err").c_str());
    }

    CliRun run(const std::string& args) {
        const std::string mode = test::silenceRun() ? " --silence " : " ";
        const std::string command =
            cli + " device" + mode + args + " >" + scratch + ".out 2>" + scratch + ".err";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(scratch + ".out"),
                slurp(scratch + ".err")};
    }
};

TEST_F(DeviceVerbTest, UsageAndConsole) {
    const std::string port = "--port " + gateway.slavePath();
    CliRun usage = run(port + " usage");
    EXPECT_EQ(usage.status, 0) << usage.err;
    EXPECT_EQ(usage.out, "Last object: 3\nInput NVs: 1\nOutput NVs: 3\nTCP map entries: 0\n");

    CliRun console = run(port + " --model Korvex-A console pr 1");
    EXPECT_EQ(console.status, 0) << console.err;
    EXPECT_EQ(console.out, "\r\n10.500000\r\n:->\n");
}

TEST_F(DeviceVerbTest, FailuresAndBadArguments) {
    const std::string port = "--port " + gateway.slavePath();
    gateway.addFault("usage:error=Flash busy");
    struct Case {
        std::string args;
        int status;
        std::string err; // start of stderr
    } cases[] = {
        {port + " usage", 1, "Parse error: 1.\n"},
        {"--port /nonexistent/ttyKorvex usage", 2, "Error opening COM port.\n"},
        {"usage", 2, "korvex-cli device: --port is required"},
        {port + " --model Korvex-D usage", 2, "korvex-cli device: unknown model"},
        {port + " reboot", 2, "korvex-cli device: unknown command"},
        {port + " console", 2, "korvex-cli device: console needs the line"},
        {port + " usage now", 2, "korvex-cli device: usage takes no arguments"},
        {port + " get-objects 5-2", 2, "korvex-cli device: bad arguments for get-objects"},
        {port + " get-nvs 1-3", 2, "korvex-cli device: bad arguments for get-nvs"},
        {port + " set-domain 2 1 1 -", 2, "korvex-cli device: bad arguments for set-domain"},
        {port + " set-domain 0 1 1 a5b", 2, "korvex-cli device: bad arguments for set-domain"},
        {port + " write-value 0 1", 2, "korvex-cli device: bad arguments for write-value"},
        {port + " alter-pid", 2, "korvex-cli device: alter-pid needs more arguments"},
        {port + " --map /nonexistent/map.xml get-ids", 1, "Error opening object map XML file"},
        {port + " read-values 1-2 --watch -1", 2, "korvex-cli device: --watch takes the seconds"},
        {port + " read-values 1-2 --watch 1 --count 0", 2, "korvex-cli device: --count takes a number"},
        {port + " read-values 1-2 usage --watch 1", 2, "korvex-cli device: --watch needs one read-values"},
        {port + " read-values 1-2 --csv x.csv", 2, "korvex-cli device: --count and --csv need --watch"},
        {"--port /nonexistent/ttyKorvex read-values 1 --watch 1", 1, "Error opening COM port.\n"},
        {port + " read-values 4 --watch 0 --count 2", 1, ""}, // no read brought a value
    };
    for (const auto& c : cases) {
        const CliRun result = run(c.args);
        EXPECT_EQ(result.status, c.status) << c.args;
        EXPECT_EQ(result.err.substr(0, c.err.size()), c.err) << c.args;
    }
}

// Several commands in one run, the map saved afterwards, and the values and node commands.
TEST_F(DeviceVerbTest, CommandsRunInOrderAndTheMapIsSaved) {
    const std::string port = "--port " + gateway.slavePath();
    const std::string saved = scratch + ".xml";
    CliRun got = run(port + " get-nvs get-objects 1-3 write-value 2 77 read-values 1-2 --out " + saved);
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, "NVI 1 read ok.\nNVO 1 read ok.\nNVO 2 read ok.\nNVO 3 read ok.\n"
                       "Object #1 read ok.\nObject #2 read ok.\nObject #3 read ok.\n"
                       "Object #2 written ok.\n"
                       "Object #1 read ok.\nObject #2 read ok.\nObject #1 = 10.500000\nObject #2 = 77\n");
    const std::string file = slurp(saved);
    EXPECT_NE(file.find("<obj n=\"3\" clear=\"1\" datatype=\"S32\""), std::string::npos);
    EXPECT_NE(file.find("<nv nvi=\"1\" clear=\"1\" snvt=\"95\""), std::string::npos);

    CliRun node = run(port + " set-domain 1 9 3 0a0b0c get-domains set-location Roof get-location");
    EXPECT_EQ(node.status, 0) << node.err;
    EXPECT_EQ(node.out,
              "Domain 1 written\nDomain 0 read\nDomain 1 read\n"
              "Domain 0: subnet 1, node 12, ID length 1, ID A5\n"
              "Domain 1: subnet 9, node 3, ID length 3, ID 0A 0B 0C\n"
              "Node Location written\nNode Location read\nLocation: Roof\nProgram ID selector: 0\n");
    ::unlink(saved.c_str());
}

// A watch prints a line per cycle and logs every read; a failed read is a gap, not a failure.
TEST_F(DeviceVerbTest, WatchPrintsACycleALineAndLogsEachRead) {
    const std::string csv = scratch + ".csv";
    CliRun watched =
        run("--port " + gateway.slavePath() + " read-values 2-4 --watch 0 --count 2 --csv " + csv);
    EXPECT_EQ(watched.status, 0) << watched.err;
    const std::string time = "20[0-9][0-9]-[01][0-9]-[0-3][0-9]T[0-2][0-9]:[0-5][0-9]:[0-6][0-9]\\.[0-9]{3}Z";
    const std::string cycle = time + " 2=21.000000 3=31.500000 4=Undef\n";
    EXPECT_TRUE(std::regex_match(watched.out, std::regex(cycle + cycle))) << watched.out;
    const std::string row = time + ",2,,21.000000\r\n" + time + ",3,,31.500000\r\n" + time + ",4,,Undef\r\n";
    const std::string log = slurp(csv);
    EXPECT_TRUE(std::regex_match(log, std::regex("time,object,name,value\r\n" + row + row))) << log;
    ::unlink(csv.c_str());
}

// The device model comes from --model, else from the map's header (Korvex-A when there is
// neither), as the file verbs take it; the map written afterwards keeps that model.
TEST_F(DeviceVerbTest, TheModelIsTheMapsUnlessOneIsGiven) {
    const std::string port = "--port " + gateway.slavePath();
    const std::string in = scratch + "-in.xml";
    const std::string out = scratch + "-out.xml";
    struct Case {
        int mapModel; // -1: no map
        std::string option;
        std::size_t lines; // sent to the gateway by send-port
        bool tcpWritten;   // IP settings in the map written
    } cases[] = {
        {-1, "", 1, false},
        {0, "", 1, false},
        {kTcpDeviceModel, "--model Korvex-A", 1, false},
        {kTcpDeviceModel, "", 4, true}, // its file is the one read below
    };
    for (const Case& c : cases) {
        auto map = std::make_unique<ObjectMap>();
        map->deviceModel = c.mapModel < 0 ? 0 : c.mapModel;
        map->tcp.ipaddr = {10, 0, 0, 5};
        map->tcpMap[0] = TcpDeviceMap{1, 2, 1, {10, 0, 0, 9}, 502};
        ASSERT_TRUE(writeObjectMap(*map, in).ok);
        const std::string mapArg = c.mapModel < 0 ? "" : " --map " + in;
        const int before = gateway.commandCount();
        const CliRun result = run(port + mapArg + " " + c.option + " --yes send-port --out " + out);
        EXPECT_EQ(result.status, 0) << c.option << result.err;
        EXPECT_EQ(result.out, "Done\n") << c.option;
        EXPECT_EQ(static_cast<std::size_t>(gateway.commandCount() - before), c.lines)
            << c.mapModel << c.option;
        EXPECT_EQ(slurp(out).find("ipaddr=") != std::string::npos, c.tcpWritten) << c.mapModel << c.option;
    }
    // A read that keeps the map's own IP settings says that they differ from the gateway's.
    gateway.withConfig([](sim::GatewayConfig& config) { config.ipSettings.set("ipaddr", "10.0.0.6"); });
    const CliRun read = run(port + " --map " + in + " --model Korvex-C get-port");
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out, "Done\nThe gateway's TCP/IP settings differ from the map's; the map's were kept.\n");
    ::unlink(in.c_str());
    ::unlink(out.c_str());
}

TEST_F(DeviceVerbTest, QuestionsFailuresAndGuardsStopTheRun) {
    const std::string port = "--port " + gateway.slavePath();
    gateway.addFault("merr:garbage");
    struct Case {
        std::string args;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {"get-nvs all erase get-ids", 1, "NVI 1 read ok.\nNVI 2 Error 1.\n", ""},
        {"erase get-ids", 1, "",
         "Are you sure you want to erase all configuration in device?\n(answer with --yes)\n"},
        {"error-info 3 get-ids", 1, "Parse error: -2.\n", ""},
        {"--commissioned alter-pid 5 get-ids", 1, "",
         "Once node is commissioned,\nyou cannot change program ID.\n"},
        {"alter-pid 5", 0, "Program ID alteration written\n",
         "LonWorks has been restarted with new Program ID.\n"}, // shown with the error icon
        {"send-objects send-nvs", 0, // an empty map: nothing to send, said once per command
         "Nothing to transfer in the chosen range.\nNothing to transfer in the chosen range.\n", ""},
    };
    for (const Case& c : cases) {
        const CliRun result = run(port + " " + c.args);
        EXPECT_EQ(result.status, c.status) << c.args;
        EXPECT_EQ(result.out, c.out) << c.args;
        EXPECT_EQ(result.err, c.err) << c.args;
    }
}

// The payloads of the trace lines with one tag, each command's received pieces joined.
std::vector<std::string> tracePayloads(const std::string& trace, char tag) {
    std::vector<std::string> found;
    std::istringstream lines(trace);
    char last = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos || space + 3 > line.size()) continue;
        const char lineTag = line[space + 1];
        if (lineTag == tag && (tag != '<' || last != '<')) found.emplace_back();
        if (lineTag == tag) found.back() += line.substr(space + 3);
        last = lineTag;
    }
    return found;
}

std::string escaped(const std::string& bytes) {
    std::string text;
    appendEscaped(text, bytes);
    return text;
}

TEST_F(DeviceVerbTest, TraceOfTheRunGoesToItsFileOrStderr) {
    const std::string port = "--port " + gateway.slavePath();
    const std::string log = scratch + ".log";
    CliRun got = run(port + " --trace " + log + " get-ids");
    EXPECT_EQ(got.status, 0) << got.err;
    const std::string trace = slurp(log);
    EXPECT_EQ(trace.rfind("0.000000 ! open " + gateway.slavePath() + "\n", 0), 0u) << trace;
    EXPECT_EQ(tracePayloads(trace, '>'), (std::vector<std::string>{"npid\\r\\n", "nid\\r\\n"}));
    EXPECT_EQ(tracePayloads(trace, '<'),
              (std::vector<std::string>{escaped(sim::framedReply("Prog ID: 9F:FF:FF:05:00:0A:04:02")),
                                        escaped(sim::framedReply("Neuron ID: 00:04:A2:3C:51:07"))}));
    EXPECT_EQ(tracePayloads(trace, '=').size(), 2u);
    EXPECT_EQ(tracePayloads(trace, '!').back(), "close");

    // A failed command still leaves its trace; "-" writes it to stderr.
    gateway.addFault("nid:error=Flash busy");
    got = run(port + " --trace - get-ids");
    EXPECT_EQ(got.status, 1);
    EXPECT_NE(got.err.find(" < \\r\\nFlash busy\\r\\n:->\n"), std::string::npos) << got.err;

    // A trace that could not be written is refused before anything is sent.
    const int before = gateway.commandCount();
    for (const std::string& bad : {scratch + "-none/t.log", ::testing::TempDir()}) {
        got = run(port + " --trace " + bad + " get-ids");
        EXPECT_EQ(got.status, 2) << bad;
        EXPECT_EQ(got.err.rfind("korvex-cli device: cannot write the trace to \"" + bad + "\": ", 0), 0u)
            << got.err;
    }
    EXPECT_EQ(gateway.commandCount(), before);
    ::unlink(log.c_str());
}

} // namespace
} // namespace korvex::device

namespace korvex::device {
namespace {

// Sent, then compared as a new user would; a compare leaves the map to --out as it was, a gateway
// that stores something else gives the differences and exit 1, and a part it does not know is a
// bad argument.
TEST_F(DeviceVerbTest, SendThenCompare) {
    const std::string port = "--port " + gateway.slavePath();
    const std::string in = scratch + "-in.xml";
    const std::string out = scratch + "-out.xml";
    gateway.setEraseMs(10);
    CliRun fetched = run(port + " get-nvs get-objects --out " + in);
    ASSERT_EQ(fetched.status, 0) << fetched.err;
    ASSERT_EQ(run(port + " erase --yes").status, 0);

    CliRun sent = run(port + " --map " + in + " send-nvs send-objects compare nvs objects");
    EXPECT_EQ(sent.status, 0) << sent.err;
    EXPECT_EQ(sent.out.substr(sent.out.size() - 25), "Gateway matches the map.\n");

    CliRun again = run(port + " --map " + in + " compare nvs objects --out " + out);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(slurp(out), slurp(in));

    gateway.withConfig([](sim::GatewayConfig& c) { c.objects[2].set("slave", "9"); });
    CliRun differs = run(port + " --map " + in + " compare objects node");
    EXPECT_EQ(differs.status, 1);
    EXPECT_EQ(differs.out, "object 2: register: HOLD 40002 slave 1 | HOLD 40002 slave 9\n"
                           "node: location: (empty) | Plant room\n2 differences.\n");
    EXPECT_EQ(run(port + " compare objects ports").status, 2);
    ::unlink(in.c_str());
    ::unlink(out.c_str());
}

} // namespace
} // namespace korvex::device
