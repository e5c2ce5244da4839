// Node management: the reply parsers and the set-domain line, then the commands through the
// engine and the reporting pass against the simulated gateway's console.
#include "DeviceTestSupport.h"
#include "model/FixedText.h"

namespace korvex::device {
namespace {

using test::Harness;

TEST(DomainReplyTest, Parses) {
    struct Case {
        std::string reply;
        bool ok;
        DomainEntry entry;
    } cases[] = {
        {"Domain 0: Subnet: 1 Node: 12 Len: 1 Id: a5", true, {1, 12, 1, {0xA5}, false}},
        {"Domain 1: Subnet: 200 Node: 127 Len: 6 Id: 01 02 03 04 05 ff",
         true,
         {200, 127, 6, {1, 2, 3, 4, 5, 255}}},
        {"Subnet: 3 Node: 4 Len: 0", true, {3, 4, 0, {}, false}},
        {"Domain 1 unused", true, {0, 0, 0, {}, true}},
        {"Subnet: 1 Node: 2 Len: 3 Id: 01 02 unused", true, {0, 0, 0, {}, true}}, // "unused" wins
        {"Subnet: 1 Node: 2 Len: 3 Id: 01 02", false, {}},                        // too few bytes
        {"Subnet: 1 Node: 2 Len: 1 Id: 01 02", false, {}},                        // too many
        {"Subnet: 1 Node: 2 Len: 2 Id: 01 02", false, {}},                        // no such length
        {"Subnet: 1 Node: 2 Len: 1 Id: 1ff", false, {}},                          // not a byte
        {"Subnet: 1 Len: 0", false, {}},                                          // no node
        {"Subnet:", false, {}},
        {"", false, {}},
    };
    for (const Case& c : cases) {
        DomainEntry entry{9, 9, 9, {9}, false};
        const DomainEntry before = entry;
        EXPECT_EQ(parseDomainReply(c.reply, entry), c.ok) << c.reply;
        EXPECT_EQ(entry, c.ok ? c.entry : before) << c.reply;
    }
}

TEST(DomainReplyTest, SetLine) {
    EXPECT_EQ(setDomainLine(0, DomainEntry{1, 12, 1, {0xA5}}), "ndomain 0 1 12 1 a5\r\n");
    EXPECT_EQ(setDomainLine(1, DomainEntry{3, 4, 0, {7}}), "ndomain 1 3 4 0\r\n");
    EXPECT_EQ(setDomainLine(1, DomainEntry{3, 4, 3, {0x0B, 0xC0, 0x01}}), "ndomain 1 3 4 3 0b c0 01\r\n");
    EXPECT_EQ(setDomainLine(0, DomainEntry{3, 4, 9, {1, 2, 3, 4, 5, 6}}),
              "ndomain 0 3 4 9 01 02 03 04 05 06\r\n");
}

TEST(IdReplyTest, ProgramAndNeuronIds) {
    std::array<int, 8> pid{};
    EXPECT_TRUE(parseProgramIdReply("\r\nProg ID: 9F:FF:FF:05:00:0A:04:02\r\n:->", pid));
    EXPECT_EQ(programIdText(pid), "9F:FF:FF:05:00:0A:04:02");
    const std::array<int, 8> kept = pid;
    EXPECT_FALSE(parseProgramIdReply("Prog ID: 9F:FF:FF:05:00:0A:04", pid));
    EXPECT_FALSE(parseProgramIdReply("Program: 9F:FF:FF:05:00:0A:04:02", pid));
    EXPECT_FALSE(parseProgramIdReply("Prog ID", pid));
    EXPECT_EQ(pid, kept);
    std::array<int, 6> nid{};
    EXPECT_TRUE(parseNeuronIdReply("Neuron ID: 00:04:a2:3c:51:07", nid));
    EXPECT_EQ(neuronIdText(nid), "00:04:A2:3C:51:07");
    EXPECT_FALSE(parseNeuronIdReply("Neuron ID: 00-04-a2-3c-51-07", nid));
}

TEST(NodeCommandsTest, GetDomainsReadsBothEntriesAndRefreshesThePage) {
    Harness h;
    h.driver.console.config() = sim::sampleConfig();
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startGetDomains());
    h.run();
    EXPECT_EQ(h.driver.lines(), (std::vector<std::string>{"ndomain 0", "ndomain 1"}));
    EXPECT_EQ(h.engine.identity.domains[0], (DomainEntry{1, 12, 1, {0xA5}, false}));
    EXPECT_TRUE(h.engine.identity.domains[1].vacant);
    EXPECT_EQ(h.sink.box(Page::LonWorks), "Domain 0 read\nDomain 1 read\n");
    EXPECT_EQ(h.sink.refreshCount(Refresh::NodePage), 1);
}

TEST(NodeCommandsTest, SetDomainSendsTheHeldEntry) {
    Harness h;
    h.engine.identity.domains[1] = DomainEntry{5, 6, 1, {0xA5}};
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startSetDomain(1));
    h.run();
    EXPECT_EQ(h.driver.lines(), std::vector<std::string>{"ndomain 1 5 6 1 a5"});
    EXPECT_EQ(h.gateway().domains[1].subnet, 5);
    EXPECT_EQ(h.sink.box(Page::LonWorks), "Domain 1 written\n");
}

TEST(NodeCommandsTest, ProgramIdAnsweredNeuronIdSilent) {
    Harness h;
    h.driver.hook = [](const std::string& line) -> std::optional<std::string> {
        if (line == "nid") return std::string();
        return std::nullopt;
    };
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startGetNodeIds());
    h.run();
    EXPECT_EQ(h.sink.box(Page::LonWorks), "Program ID read\nDevice timeout\n");
    EXPECT_EQ(programIdText(h.engine.identity.programId), "9F:FF:FF:05:00:0A:04:02");
    EXPECT_EQ(h.engine.identity.neuronId, (std::array<int, 6>{}));
    EXPECT_EQ(h.sink.refreshCount(Refresh::NodePage), 0);
}

TEST(NodeCommandsTest, NodeInformationLocationAndProgramIdSelector) {
    Harness h;
    h.driver.console.config() = sim::sampleConfig();
    h.sink.nodeInSync = false;
    ASSERT_TRUE(h.link.open());
    ASSERT_TRUE(h.engine.startGetNodeInfo());
    h.run();
    EXPECT_EQ(textOf(h.map.node.loc), "Plant room");
    EXPECT_EQ(h.sink.box(Page::LonWorks), "Node Location read");
    EXPECT_TRUE(h.sink.nodeInSync);

    setText(h.map.node.loc, "Roof \"A\"");
    h.map.node.pid = 42;
    ASSERT_TRUE(h.engine.startSetLocation());
    h.run();
    ASSERT_TRUE(h.engine.startAlterProgramId());
    h.run();
    EXPECT_EQ(h.driver.lines().at(1), "<nd loc=\"Roof _A_\"/>");
    EXPECT_EQ(h.driver.lines().at(2), "nalterpid 42");
    EXPECT_EQ(h.gateway().location, "Roof _A_");
    EXPECT_EQ(h.gateway().pid, 42);
    EXPECT_EQ(h.sink.box(Page::LonWorks), "Program ID alteration written");
}

TEST(NodeCommandsTest, Failures) {
    struct Case {
        const char* name;
        std::function<bool(CommandEngine&)> start;
        std::string reply;
        std::string box;
        bool nodeInSync;
    } cases[] = {
        {"domain refused", [](CommandEngine& e) { return e.startSetDomain(0); }, "Bad domain",
         "Error trying to set domain\n", false},
        {"domain unparsable", [](CommandEngine& e) { return e.startGetDomains(); }, "Subnet: x",
         "Unable to parse reply\n", false},
        {"domain time-out", [](CommandEngine& e) { return e.startGetDomains(); }, "", "Device timeout\n",
         false},
        {"ids unparsable", [](CommandEngine& e) { return e.startGetNodeIds(); }, "Prog ID: 1:2",
         "Unable to parse reply\n", false},
        // Only a location really read puts the node settings in sync.
        {"node info bad", [](CommandEngine& e) { return e.startGetNodeInfo(); }, "<nd pid=\"300\"/>",
         "Unable to parse reply\n", false},
        {"node info time-out", [](CommandEngine& e) { return e.startGetNodeInfo(); }, "", "Device timeout\n",
         false},
        {"location refused", [](CommandEngine& e) { return e.startSetLocation(); }, "Flash busy\r\n:->",
         "Flash busy\n", false},
        {"pid time-out", [](CommandEngine& e) { return e.startAlterProgramId(); }, "", "Device timeout\n",
         false},
    };
    for (const Case& c : cases) {
        Harness h;
        h.sink.nodeInSync = false;
        h.driver.hook = [&](const std::string&) { return c.reply; };
        ASSERT_TRUE(h.link.open());
        ASSERT_TRUE(c.start(h.engine)) << c.name;
        h.run();
        EXPECT_EQ(h.sink.box(Page::LonWorks), c.box) << c.name;
        EXPECT_EQ(h.sink.nodeInSync, c.nodeInSync) << c.name;
        EXPECT_EQ(h.reporter.failuresReported(), 1) << c.name;
    }
}

} // namespace
} // namespace korvex::device
