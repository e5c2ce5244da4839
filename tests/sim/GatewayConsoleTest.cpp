// The simulated gateway's answers: every command of the console contract in the form the
// configuration tool reads, what the elements it is sent change, and erasing.
#include "sim/GatewayConsole.h"
#include "device/CommandEngine.h"
#include "device/ReplyText.h"

#include <gtest/gtest.h>

namespace korvex::sim {
namespace {

TEST(GatewayConsoleTest, AnswersOfTheSampleConfiguration) {
    GatewayConsole console(sampleConfig());
    struct Case {
        const char* line;
        const char* reply;
    } cases[] = {
        {"usage", "Last Obj,NVI,NVO,Map: 3,1,3,0"},
        {"pcx 2", "<obj n=\"2\" clear=\"1\" datatype=\"U16\" modreg=\"40002\" modtype=\"4X\" moddata=\"S16\" "
                  "slave=\"1\" "
                  "poll=\"1000\" lonNVO=\"2\"/>"},
        {"pcx 9", "<obj n=\"9\" clear=\"1\"/>"},
        {"pcx 401", "Bad object number"},
        {"nvotx 3", "<nv nvo=\"3\" clear=\"1\" snvt=\"105\"/>"},
        {"nvitx 1", "<nv nvi=\"1\" clear=\"1\" snvt=\"95\"/>"},
        {"nvitx 2", "NV not defined"},
        {"mpx", "<mod clear=\"1\" baud=\"19200\" slavemode=\"0\" timeout=\"1000\"/>"},
        {"sipcfg", "<mod ipaddr=\"0.0.0.0\" subnet=\"0.0.0.0\" gateway=\"0.0.0.0\" port=\"502\"/>"},
        {"smap 20", "<mod dev=\"20\" ipmap=\"0,0,0,0.0.0.0:0\"/>"},
        {"smap 21", "Bad device number"},
        {"ninfo", "<nd loc=\"Plant room\" pid=\"0\"/>"},
        {"pr 1", "10.500000"},
        {"pr 4", "Undef object"},
        {"pw 4 1.0", "Undef object"},
        {"merr 1", "0 0"},
        {"ndomain 0", "Domain 0: Subnet: 1 Node: 12 Len: 1 Id: a5"},
        {"ndomain 1", "Domain 1 unused"},
        {"ndomain 2", "Bad domain index"},
        {"npid", "Prog ID: 9F:FF:FF:05:00:0A:04:02"},
        {"nid", "Neuron ID: 00:04:A2:3C:51:07"},
        {"frobnicate", "Unknown command"},
        {"", ""},
        {"<obj n=\"1\"", "Syntax is bad"},
        {"<xyz a=\"1\"/>", "Unrecognized tag name"},
    };
    for (const auto& c : cases) EXPECT_EQ(console.answer(c.line), c.reply) << c.line;
}

TEST(GatewayConsoleTest, ElementsChangeWhatIsReadBack) {
    GatewayConsole console(sampleConfig());
    struct Step {
        const char* line;
        const char* reply;
    } steps[] = {
        {"<obj n=\"7\" clear=\"1\" datatype=\"BIT\" name=\"Pump\"/>", "Ok"},
        {"pcx 7", "<obj n=\"7\" clear=\"1\" datatype=\"BIT\" name=\"Pump\"/>"},
        {"<obj n=\"7\" name=\"Fan\" persistent=\"1\"/>", "Ok"}, // no clear: merged
        {"pcx 7", "<obj n=\"7\" clear=\"1\" datatype=\"BIT\" name=\"Fan\" persistent=\"1\"/>"},
        {"pw 7 1.000000", "Ok"},
        {"pr 7", "1.000000"},
        {"usage", "Last Obj,NVI,NVO,Map: 7,1,3,0"},
        {"<obj n=\"7\" clear=\"1\"/>", "Ok"}, // the clearing form empties it
        {"pr 7", "Undef object"},
        {"<obj n=\"0\" clear=\"1\"/>", "Parameter out of range"},
        {"<nv nvi=\"4\" clear=\"1\" snvt=\"39\" name=\"nviTemp\"/>", "Ok"},
        {"nvitx 4", "<nv nvi=\"4\" clear=\"1\" snvt=\"39\" name=\"nviTemp\"/>"},
        {"<nv nvo=\"121\" clear=\"1\"/>", "Parameter out of range"},
        {"<mod clear=\"1\" baud=\"9600\" parity=\"2\" slavemode=\"1\" slave=\"4\"/>", "Ok"},
        {"mpx", "<mod clear=\"1\" baud=\"9600\" parity=\"2\" slavemode=\"1\" slave=\"4\"/>"},
        {"<mod ipaddr=\"10.0.0.2\" subnet=\"255.255.255.0\" gateway=\"10.0.0.1\" port=\"502\"/>", "Ok"},
        {"sipcfg", "<mod ipaddr=\"10.0.0.2\" subnet=\"255.255.255.0\" gateway=\"10.0.0.1\" port=\"502\"/>"},
        {"<mod dev=\"2\" ipmap=\"1,5,1,10.0.0.9:502\"/>", "Ok"},
        {"smap 2", "<mod dev=\"2\" ipmap=\"1,5,1,10.0.0.9:502\"/>"},
        {"<mod ipmap=\"1,5,1,10.0.0.9:502\"/>", "Parameter out of range"},
        {"<mod speed=\"1\"/>", "Unrecognized tag name"},
        {"usage", "Last Obj,NVI,NVO,Map: 3,4,3,2"},
        {"<nd loc=\"Roof\"/>", "Ok"},
        {"nalterpid 7", "Ok"},
        {"ninfo", "<nd loc=\"Roof\" pid=\"7\"/>"},
        {"ndomain 1 5 6 3 0a 0b 0c", "Ok"},
        {"ndomain 1", "Domain 1: Subnet: 5 Node: 6 Len: 3 Id: 0a 0b 0c"},
        {"ndomain 1 5 6 3 0a 0b", "Bad domain"},
        {"ndomain 0 1 2 2 aa bb", "Bad domain"},
        {"ndomain 1 0 0 0", "Ok"},
        {"ndomain 1", "Domain 1: Subnet: 0 Node: 0 Len: 0 Id: "},
        {"<clearallconfig>", "Ok"},
        {"usage", "Last Obj,NVI,NVO,Map: 0,0,0,0"},
        {"mpx", "<mod clear=\"1\" baud=\"9600\" parity=\"2\" slavemode=\"1\" slave=\"4\"/>"},
    };
    for (const auto& step : steps) EXPECT_EQ(console.answer(step.line), step.reply) << step.line;
}

TEST(GatewayConsoleTest, RepliesReadAtTheOffsetsTheToolUses) {
    GatewayConsole console(sampleConfig());
    console.config().errorCounters[3] = ErrorCounters{2, 0x31};
    std::array<int, 4> usage{};
    EXPECT_EQ(device::parseUsageReply(framedReply(console.answer("usage")), usage),
              device::UsageParse::Complete);
    EXPECT_EQ(usage, (std::array<int, 4>{3, 1, 3, 0}));

    // Label, offset of the first number after the label's start, the number expected there.
    struct Labelled {
        const char* command;
        const char* label;
        std::size_t offset;
        unsigned first;
        bool hex;
    } cases[] = {
        {"ndomain 0", "Subnet", 7, 1, false}, {"ndomain 0", "Node", 5, 12, false},
        {"ndomain 0", "Len", 4, 1, false},    {"ndomain 0", "Id", 4, 0xA5, true},
        {"npid", "Prog ID", 9, 0x9F, true},   {"nid", "Neuron ID", 11, 0x00, true},
        {"merr 3", "", 0, 2, true},
    };
    for (const auto& c : cases) {
        const std::string reply = console.answer(c.command);
        const std::size_t at = reply.find(c.label);
        ASSERT_NE(at, std::string::npos) << c.command;
        std::string_view rest = std::string_view(reply).substr(at + c.offset);
        unsigned value = 0;
        int decimal = 0;
        const bool read = c.hex ? device::scanHex(rest, value) : device::scanDecimal(rest, decimal);
        ASSERT_TRUE(read) << c.command << " " << c.label;
        EXPECT_EQ(c.hex ? value : static_cast<unsigned>(decimal), c.first) << c.command << " " << c.label;
    }
    EXPECT_EQ(console.answer("merr 3"), "2 31");
}

TEST(GatewayConsoleTest, KindAndFraming) {
    struct Case {
        const char* line;
        const char* kind;
    } cases[] = {{"usage", "usage"},          {"pcx 12", "pcx"},
                 {"<obj n=\"1\"/>", "obj"},   {"<clearallconfig>", "clearallconfig"},
                 {"  ndomain 0 ", "ndomain"}, {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(commandKind(c.line), c.kind) << c.line;
    EXPECT_EQ(framedReply("Ok"), "\r\nOk\r\n:->");
    EXPECT_TRUE(device::isOk(framedReply("Ok")));
}

} // namespace
} // namespace korvex::sim
