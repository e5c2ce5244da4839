// korvex-cli device against the simulated gateway: the printed results and the exit statuses.
// Skipped where the command-line program is not built (the sanitizer build of the device tests).
#include "sim/SimulatedGateway.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace korvex::device {
namespace {

std::string programPath(const char* name) {
    if (const char* dir = std::getenv("KORVEX_BIN_DIR")) return std::string(dir) + "/" + name;
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    path = path.substr(0, path.rfind('/'));
    return path.substr(0, path.rfind('/')) + "/src/" + name;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class DeviceVerbTest : public ::testing::Test {
protected:
    sim::SimulatedGateway gateway{sim::sampleConfig()};
    std::string cli = programPath("korvex-cli");
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
        const std::string command = cli + " device " + args + " >" + scratch + ".out 2>" + scratch + ".err";
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
    };
    for (const auto& c : cases) {
        const CliRun result = run(c.args);
        EXPECT_EQ(result.status, c.status) << c.args;
        EXPECT_EQ(result.err.substr(0, c.err.size()), c.err) << c.args;
    }
}

} // namespace
} // namespace korvex::device
