// The simulated gateway on its pseudo-terminal, seen by a plain client on the slave side: the
// reply bytes, each fault switch, hanging up and coming back, and the program's command line.
#include "sim/SimulatedGateway.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace korvex::sim {
namespace {

// The slave side opened raw, as a serial port would be.
class Client {
public:
    explicit Client(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios raw{};
        if (fd_ >= 0 && ::tcgetattr(fd_, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(fd_, TCSANOW, &raw);
        }
    }
    ~Client() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool ok() const { return fd_ >= 0; }
    void send(const std::string& line) {
        ASSERT_EQ(::write(fd_, line.data(), line.size()), ssize_t(line.size()));
    }
    // One read after waiting up to waitMs: "" when quiet, "<hangup>" when the line is gone.
    std::string readOnce(int waitMs) {
        pollfd fd{fd_, POLLIN, 0};
        if (::poll(&fd, 1, waitMs) <= 0) return "";
        char buffer[512];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) return "<hangup>";
        return std::string(buffer, static_cast<std::size_t>(n));
    }
    // Everything until the line has been quiet for quietMs.
    std::string readReply(int quietMs = 150) {
        std::string reply;
        for (;;) {
            const std::string piece = readOnce(quietMs);
            if (piece.empty() || piece == "<hangup>") return reply.empty() ? piece : reply;
            reply += piece;
        }
    }

private:
    int fd_;
};

class SimulatedGatewayTest : public ::testing::Test {
protected:
    SimulatedGateway gateway{sampleConfig()};
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(gateway.start(&error)) << error;
    }
};

TEST_F(SimulatedGatewayTest, AnswersOneLineAtATimeAndRecordsThem) {
    Client client(gateway.slavePath());
    ASSERT_TRUE(client.ok());
    client.send("usage\r\n");
    EXPECT_EQ(client.readReply(), framedReply("Last Obj,NVI,NVO,Map: 3,1,3,0"));
    client.send("<nd loc=\"Roof\"/>\r\nninfo\r\n");
    EXPECT_EQ(client.readReply(), framedReply("Ok") + framedReply("<nd loc=\"Roof\" pid=\"0\"/>"));
    EXPECT_EQ(gateway.receivedLines(), (std::vector<std::string>{"usage", "<nd loc=\"Roof\"/>", "ninfo"}));
    EXPECT_EQ(gateway.withConfig([](GatewayConfig& config) { return config.location; }), "Roof");
}

// A command ends at CR LF only: a tool that sends half of the line end gets no answer.
TEST_F(SimulatedGatewayTest, OnlyCrLfEndsACommand) {
    Client client(gateway.slavePath());
    client.send("usage\n");
    EXPECT_EQ(client.readReply(100), "");
    client.send("\r\n");
    EXPECT_EQ(client.readReply(), "\r\nUnknown command\r\n:->");
    client.send("nid\r");
    EXPECT_EQ(client.readReply(100), "");
    client.send("nid\r\n"); // "nid", a bare CR, "nid"
    EXPECT_EQ(client.readReply(), "\r\nUnknown command\r\n:->");
}

// Erasing takes its time before the answer comes.
TEST_F(SimulatedGatewayTest, EraseAnswersOnceItsTimeHasPassed) {
    Client client(gateway.slavePath());
    gateway.setEraseMs(250);
    client.send("<clearallconfig>\r\n");
    EXPECT_EQ(client.readOnce(120), "");
    EXPECT_EQ(client.readReply(300), "\r\nOk\r\n:->");
    EXPECT_EQ(gateway.withConfig([](GatewayConfig& config) { return config.objects.size(); }), 0u);
}

TEST_F(SimulatedGatewayTest, FaultSwitchesShapeTheReply) {
    Client client(gateway.slavePath());
    const std::string whole = framedReply("Last Obj,NVI,NVO,Map: 3,1,3,0");
    struct Case {
        const char* fault;
        std::size_t firstReadAtMost; // bytes one read right after the reply starts may return
        std::string reply;           // the reply once the line is quiet
    } cases[] = {
        {"usage:split=200", whole.size() / 2, whole},
        {"usage:trickle=15", whole.size() / 2, whole}, // one byte at a time, the reader may lag a little
        {"usage:garbage", kGarbageReply.size(), std::string(kGarbageReply)},
        {"usage:error=Flash busy", 99, framedReply("Flash busy")},
        {"usage:delay=200", 99, whole},
        {"usage:tail=100", whole.size(), whole + ":->"},
        {"*:noreply", 0, ""},
    };
    for (const auto& c : cases) {
        gateway.clearFaults();
        ASSERT_TRUE(gateway.addFault(c.fault));
        client.send("usage\r\n");
        const std::string first = client.readOnce(600);
        EXPECT_LE(first.size(), c.firstReadAtMost) << c.fault;
        EXPECT_EQ(first + client.readReply(400), c.reply) << c.fault;
    }
}

// Without the prompt a reply ends at its line end; at a baud rate the command and the reply take
// at least their ten bits a byte on the line.
TEST_F(SimulatedGatewayTest, PromptAndLineSpeedSwitches) {
    Client client(gateway.slavePath());
    const std::string text = "Last Obj,NVI,NVO,Map: 3,1,3,0";
    gateway.setPrompt(false);
    client.send("usage\r\n");
    EXPECT_EQ(client.readReply(), framedReply(text, false));
    gateway.setPrompt(true);
    gateway.setBaud(9600);
    const auto start = std::chrono::steady_clock::now();
    client.send("usage\r\n");
    std::string reply;
    while (reply.size() < framedReply(text).size()) reply += client.readOnce(1000);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(reply, framedReply(text));
    EXPECT_GE(ms, (7 + reply.size()) * 10 * 1000.0 / 9600);
}

TEST_F(SimulatedGatewayTest, RefusedCommandIsNotCarriedOut) {
    Client client(gateway.slavePath());
    gateway.addFault("nd:error=Flash busy");
    client.send("<nd loc=\"Roof\"/>\r\n");
    EXPECT_EQ(client.readReply(), framedReply("Flash busy"));
    EXPECT_EQ(gateway.withConfig([](GatewayConfig& config) { return config.location; }), "Plant room");
}

TEST_F(SimulatedGatewayTest, HangsUpAfterNCommandsAndComesBackOnTheLink) {
    const std::string link = ::testing::TempDir() + "korvex-sim-" + std::to_string(::getpid());
    ASSERT_TRUE(gateway.setLink(link));
    gateway.addFault("usage:hangup=1");
    {
        Client client(link);
        ASSERT_TRUE(client.ok());
        client.send("usage\r\n");
        EXPECT_EQ(client.readReply(), framedReply("Last Obj,NVI,NVO,Map: 3,1,3,0"));
        client.send("usage\r\n");
        EXPECT_EQ(client.readOnce(1000), "<hangup>");
        EXPECT_TRUE(gateway.isHungUp());
    }
    gateway.clearFaults();
    ASSERT_TRUE(gateway.comeBack());
    EXPECT_FALSE(gateway.isHungUp());
    Client client(link);
    ASSERT_TRUE(client.ok());
    client.send("npid\r\n");
    EXPECT_EQ(client.readReply(), framedReply("Prog ID: 9F:FF:FF:05:00:0A:04:02"));

    gateway.setAutoReturn(30);
    gateway.hangUp();
    EXPECT_EQ(client.readOnce(1000), "<hangup>");
    for (int i = 0; i < 200 && gateway.isHungUp(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(gateway.isHungUp());
    Client again(link);
    ASSERT_TRUE(again.ok());
    again.send("nid\r\n");
    EXPECT_EQ(again.readReply(), framedReply("Neuron ID: 00:04:A2:3C:51:07"));
    ::unlink(link.c_str());
}

// The gateway's own trace: its line opening and closing, and the bytes from its side.
TEST(GatewayTraceTest, TheGatewayTracesItsSideOfTheLine) {
    const std::string path = ::testing::TempDir() + "korvex-simtrace-" + std::to_string(::getpid());
    SimulatedGateway gateway(sampleConfig());
    std::string error;
    EXPECT_FALSE(gateway.traceTo("/nonexistent/trace.log", &error));
    EXPECT_NE(error.find("cannot write the trace to \"/nonexistent/trace.log\""), std::string::npos) << error;
    ASSERT_TRUE(gateway.traceTo(path, &error)) << error;
    ASSERT_TRUE(gateway.start(&error)) << error;
    {
        Client client(gateway.slavePath());
        client.send("nid\r\n");
        EXPECT_EQ(client.readReply(), framedReply("Neuron ID: 00:04:A2:3C:51:07"));
        gateway.stop();
    }
    std::ifstream in(path);
    std::vector<std::string> tags;
    std::map<std::string, std::string> payloads;
    for (std::string line; std::getline(in, line);) {
        const std::size_t space = line.find(' ');
        ASSERT_TRUE(space + 3 <= line.size() && line[space + 2] == ' ') << line;
        const std::string tag = line.substr(space + 1, 1);
        if (tags.empty() || tags.back() != tag) tags.push_back(tag);
        payloads[tag] += line.substr(space + 3) + (tag == "!" ? "|" : "");
    }
    EXPECT_EQ(tags, (std::vector<std::string>{"!", "<", ">", "!"}));
    EXPECT_EQ(payloads["<"], "nid\\r\\n");
    EXPECT_EQ(payloads[">"], "\\r\\nNeuron ID: 00:04:A2:3C:51:07\\r\\n:->");
    EXPECT_EQ(payloads["!"], "open " + gateway.slavePath() + "|close|");
    ::unlink(path.c_str());
}

// The program's folder: KORVEX_BIN_DIR, else src/ beside this test program's folder.
std::string programPath(const char* name) {
    if (const char* dir = std::getenv("KORVEX_BIN_DIR")) return std::string(dir) + "/" + name;
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    path = path.substr(0, path.rfind('/'));
    return path.substr(0, path.rfind('/')) + "/src/" + name;
}

TEST(GatewaySimProgramTest, PrintsTheSlavePathMakesTheLinkAndStopsOnSignal) {
    const std::string program = programPath("korvex-gateway-sim");
    if (::access(program.c_str(), X_OK) != 0) GTEST_SKIP() << program << " not built";
    EXPECT_EQ(std::system((program + " --help >/dev/null").c_str()), 0);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --fault usage:wobble 2>/dev/null").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --erase-ms soon 2>/dev/null").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --baud 0 2>/dev/null").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " --trace /nonexistent/t.log 2>/dev/null").c_str())), 2);

    const std::string link = ::testing::TempDir() + "korvex-simprog-" + std::to_string(::getpid());
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execl(program.c_str(), program.c_str(), "--sample", "--erase-ms", "50", "--no-prompt", "--baud",
                "115200", "--link", link.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    std::string printed;
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') printed += c;
    char target[256] = {};
    EXPECT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(printed, target);
    {
        Client client(link);
        client.send("usage\r\n");
        EXPECT_EQ(client.readReply(), framedReply("Last Obj,NVI,NVO,Map: 3,1,3,0", false));
        client.send("<clearallconfig>\r\nusage\r\n");
        EXPECT_EQ(client.readReply(),
                  framedReply("Ok", false) + framedReply("Last Obj,NVI,NVO,Map: 0,0,0,0", false));
    }
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(out[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(::access(link.c_str(), F_OK), 0); // the link is removed on the way out
}

} // namespace
} // namespace korvex::sim
