// The simulated gateway's answers: every command of the console contract in its literal form,
// what the elements it is sent change, erasing, and where a command line ends.
#include "sim/GatewayConsole.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

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

// The window runs with the user's locale; values still go both ways with a decimal point.
TEST(GatewayConsoleTest, ValuesIgnoreTheProgramsLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',') {
            comma = true;
            break;
        }
    }
    GatewayConsole console(sampleConfig());
    const std::string written = console.answer("pw 1 12.25");
    const std::string read = console.answer("pr 1");
    std::setlocale(LC_NUMERIC, before.c_str());
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma here";
    EXPECT_EQ(written, "Ok");
    EXPECT_EQ(read, "12.250000");
}

TEST(GatewayConsoleTest, ValuesMoveWithEveryReadOfTheirObject) {
    struct Case {
        const char* word;
        std::vector<std::string> replies; // pr 1, pr 1, pr 2, pr 1
    } cases[] = {
        {"still", {"10.500000", "10.500000", "21.000000", "10.500000"}},
        {"ramp", {"10.500000", "11.500000", "21.000000", "12.500000"}},
        {"sine", {"18.914710", "19.433383", "30.092974", "19.854180"}},
    };
    for (const Case& c : cases) {
        GatewayConsole console(sampleConfig());
        ValueMotion motion = ValueMotion::Still;
        EXPECT_EQ(parseValueMotion(c.word, motion), std::string(c.word) != "still");
        console.setValueMotion(motion);
        std::vector<std::string> replies;
        for (const char* line : {"pr 1", "pr 1", "pr 2", "pr 1"}) replies.push_back(console.answer(line));
        EXPECT_EQ(replies, c.replies) << c.word;
    }
    GatewayConsole ramp(sampleConfig());
    ramp.setValueMotion(ValueMotion::Ramp);
    for (int i = 0; i < 100; ++i) ramp.answer("pr 1");
    EXPECT_EQ(ramp.answer("pr 1"), "10.500000"); // back after 100 reads
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
        {"usage", "Last Obj,NVI,NVO,Map: 3,2,3,1"}, // inputs 1 and 4, one map entry
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

// "usage": "Last Obj" and, from the reply's 23rd character, the highest object number in use,
// the input and output NVs defined and the TCP map entries in use, comma-separated.
TEST(GatewayConsoleTest, UsageCountsWhatTheGatewayHolds) {
    struct Case {
        std::vector<int> objects;
        std::vector<int> inputs;
        std::vector<int> outputs;
        std::vector<int> mapEntries; // 1-based entries in use
        const char* numbers;
    } cases[] = {
        {{}, {}, {}, {}, "0,0,0,0"},
        {{2, 9}, {1, 5}, {}, {1, 4}, "9,2,0,2"},
        {{400}, {}, {3, 7, 120}, {20}, "400,0,3,1"},
    };
    for (const Case& c : cases) {
        GatewayConfig config;
        for (int n : c.objects) config.objects[n] = ElementLine{"obj", {{"datatype", "FP"}}};
        for (int n : c.inputs) config.netVars[{true, n}] = ElementLine{"nv", {{"snvt", "105"}}};
        for (int n : c.outputs) config.netVars[{false, n}] = ElementLine{"nv", {{"snvt", "105"}}};
        for (int d : c.mapEntries) config.tcpMap[static_cast<std::size_t>(d - 1)] = "1,2,1,10.0.0.9:502";
        config.tcpMap[2] = "0,0,0,10.0.0.7:502"; // no units: not in use
        GatewayConsole console(config);
        const std::string reply = console.answer("usage");
        EXPECT_EQ(reply.substr(0, 8), "Last Obj");
        EXPECT_EQ(reply.substr(22), c.numbers);
    }
    GatewayConsole console(sampleConfig());
    console.config().errorCounters[3] = ErrorCounters{2, 0x31};
    EXPECT_EQ(console.answer("merr 3"), "2 31"); // two hexadecimal numbers
}

// Only CR LF ends a command: a CR or LF alone stays in the line, which then is no command.
TEST(GatewayConsoleTest, OnlyCrLfEndsACommandLine) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"usage\r\n", {"usage"}},
        {"usage\n", {}},
        {"usage\r", {}},
        {"us\rage\r\n", {"us\rage"}},
        {"usage\n\r\n", {"usage\n"}},
        {"nid\r\r\nnpid\r\n", {"nid\r", "npid"}},
        {"\r\n", {""}},
    };
    for (const Case& c : cases) {
        CommandLineReader reader;
        std::vector<std::string> lines;
        for (char b : c.bytes)
            if (reader.take(b)) lines.push_back(reader.line());
        EXPECT_EQ(lines, c.lines);
    }
    GatewayConsole console(sampleConfig());
    EXPECT_EQ(console.answer("usage\n"), "Unknown command");
    EXPECT_EQ(console.answer("us\rage"), "Unknown command");
    EXPECT_EQ(console.answer(" npid "), "Prog ID: 9F:FF:FF:05:00:0A:04:02");
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
}

} // namespace
} // namespace korvex::sim

namespace korvex::sim {
namespace {

// An alteration is stored and reported for its item; a spec the gateway cannot hold is refused.
TEST(GatewayConsoleTest, AlterationsAreStoredAndReported) {
    GatewayConsole console(sampleConfig());
    for (const char* spec : {"obj:2:modreg=209", "mod:0:baud=38400", "nd:0:loc=Other", "obj:9:slave=4"}) {
        Alteration alteration;
        ASSERT_TRUE(parseAlteration(spec, alteration)) << spec;
        console.addAlteration(alteration);
    }
    EXPECT_EQ(console.answer("<obj n=\"2\" clear=\"1\" modreg=\"7\"/>"), "Ok");
    EXPECT_EQ(*console.config().objects[2].find("modreg"), "209");
    EXPECT_EQ(console.answer("mpx"), "<mod clear=\"1\" baud=\"38400\" slavemode=\"0\" timeout=\"1000\"/>");
    EXPECT_EQ(console.answer("ninfo"), "<nd loc=\"Other\" pid=\"0\"/>");
    EXPECT_EQ(console.answer("pcx 9"), "<obj n=\"9\" clear=\"1\"/>"); // not defined: nothing to alter

    for (const char* bad : {"obj:0:modreg=1", "obj:3", "nvx:1:snvt=3", "mod:0:ipmap=1", "mod:2:baud=1",
                            "nd:0:name=x", "nd:0:pid=256", "obj:3:n=4", "obj:3:name=a\"b"}) {
        Alteration alteration;
        std::string error;
        EXPECT_FALSE(parseAlteration(bad, alteration, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

} // namespace
} // namespace korvex::sim
