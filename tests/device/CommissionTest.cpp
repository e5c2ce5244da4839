// Commissioning many gateways at once: the site file's checks, eight simulated gateways on eight
// pseudo-terminals with one that fails in the middle (the run is also one of the device tests
// under ThreadSanitizer), the as-built reports, and korvex-cli commission as a user runs it.
#include "device/commission/Commission.h"
#include "LinkMode.h"
#include "device/commission/AsBuiltReport.h"
#include "device/commission/SiteFile.h"
#include "device/qt/QtSerialPortDriver.h"
#include "formats/xml/MapFile.h"
#include "model/FixedText.h"
#include "sim/DemoMap.h"
#include "sim/SimulatedGateway.h"
#include "support/FileText.h"
#include "support/ProgramRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace korvex::device {
namespace {

// ---- site file -------------------------------------------------------------------------------

TEST(SiteFileTest, EachFaultIsToldWithItsLine) {
    const std::vector<std::string> ports = {"/dev/ttyUSB0", "/dev/ttyUSB1"};
    const struct {
        const char* text;
        bool hasTcp;
        const char* error; // "" when the file is taken
    } cases[] = {
        {"\xEF\xBB\xBFPort,Location,IP\n/dev/ttyUSB0,\"Room 1, east\",10.0.0.7\n\n/dev/ttyUSB1,,\n", true,
         ""},
        {"port,location,floor\n", false, "line 1: unknown column \"floor\" (port, location, ip)"},
        {"port,location,ip\n", false, "line 1: an \"ip\" column needs a Korvex-C map"},
        {"location\n", false, "line 1: the header has no \"port\" column"},
        {"port,location\n/dev/ttyUSB0,A\n/dev/ttyUSB0,B\n", false,
         "line 3: port /dev/ttyUSB0 is named twice (first on line 2)"},
        {"port,location\n/dev/ttyUSB7,A\n", false,
         "line 2: port /dev/ttyUSB7 is not one of the --port options"},
        {"port,ip\n/dev/ttyUSB0,10.0.0\n", true, "line 2: bad IP address \"10.0.0\""},
        {"port,ip\n/dev/ttyUSB0,10.0.0.256\n", true, "line 2: bad IP address \"10.0.0.256\""},
        {"port,ip\n/dev/ttyUSB0,0.1.2.3\n", true, "line 2: bad IP address \"0.1.2.3\""},
        {"port,ip\n\n/dev/ttyUSB0,10.0.0.1.5\n", true, "line 3: bad IP address \"10.0.0.1.5\""},
        {"port,location\n/dev/ttyUSB0,Room \"\"5\"\"\n", false,
         "line 2: the location holds \" or >, which the gateway cannot store"},
        {"port,location\n/dev/ttyUSB0,a-location-of-thirty-two-letters\n", false,
         "line 2: the location is longer than 31 characters"},
        {"port,location\n/dev/ttyUSB0\n", false, "line 2: 1 cells where the header names 2"},
        {"port,location\n/dev/ttyUSB0,\"open\n", false, "line 2: a quote is not closed"},
        {"", false, "the site file has no header line"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        const SiteFile site = parseSiteFile(in, ports, c.hasTcp);
        EXPECT_EQ(site.ok, std::string(c.error).empty()) << c.text;
        EXPECT_EQ(site.errorText(), c.error) << c.text;
    }
    std::istringstream in(cases[0].text);
    const SiteFile site = parseSiteFile(in, ports, true);
    ASSERT_EQ(site.rows.size(), 2u);
    EXPECT_EQ(site.rows[0].location, "Room 1, east");
    EXPECT_EQ(site.rows[0].ip, (IpAddress{10, 0, 0, 7}));
    EXPECT_EQ(site.rows[1].line, 4);
    EXPECT_FALSE(site.rows[1].location); // empty cells keep the map's
    EXPECT_FALSE(site.rows[1].ip);
}

// ---- gateways --------------------------------------------------------------------------------

std::unique_ptr<ObjectMap> demoMap() {
    auto map = std::make_unique<ObjectMap>();
    sim::DemoMapShape shape;
    shape.structuredInputs = {83};
    shape.inputs = 3;
    shape.outputs = 4;
    shape.tcpEntries = 2;
    EXPECT_GT(sim::buildDemoMap(*map, shape), 0);
    setText(map->node.loc, "From the map");
    return map;
}

struct Gateways {
    std::vector<std::unique_ptr<sim::SimulatedGateway>> sims;

    explicit Gateways(int count) {
        for (int i = 0; i < count; ++i) {
            sims.push_back(std::make_unique<sim::SimulatedGateway>());
            sims.back()->setEraseMs(20);
            std::string error;
            EXPECT_TRUE(sims.back()->start(&error)) << error;
        }
    }
    std::string location(int i) {
        return sims[static_cast<std::size_t>(i)]->withConfig(
            [](sim::GatewayConfig& c) { return c.location; });
    }
    std::string port(int i) const { return sims[static_cast<std::size_t>(i)]->slavePath(); }
};

// Eight at once, each with its own location and IP; the fifth refuses its second object, and
// only its row fails, at that step.
TEST(CommissionTest, EightGatewaysAndOneThatFailsInTheMiddle) {
    constexpr int kGateways = 8;
    constexpr int kFaulty = 4;
    Gateways gateways(kGateways);
    gateways.sims[kFaulty]->addFault("obj:after=1");
    gateways.sims[kFaulty]->addFault("obj:error=Flash busy");
    const auto map = demoMap();
    std::vector<GatewayPlan> plans;
    for (int i = 0; i < kGateways; ++i)
        plans.push_back({gateways.port(i), "Room " + std::to_string(i + 1),
                         IpAddress{10, 1, 0, static_cast<uint8_t>(i + 1)}});
    plans[7].location.reset(); // the map's
    CommissionOptions options;
    options.erase = options.verify = options.yes = true;
    options.silence = test::silenceRun();

    const std::vector<GatewayRecord> records =
        commissionGateways(*map, plans, options, [] { return std::make_unique<QtSerialPortDriver>(); });

    ASSERT_EQ(records.size(), static_cast<std::size_t>(kGateways));
    for (int i = 0; i < kGateways; ++i) {
        const GatewayRecord& r = records[static_cast<std::size_t>(i)];
        SCOPED_TRACE(r.port);
        if (i == kFaulty) {
            EXPECT_FALSE(r.passed());
            EXPECT_EQ(r.step(Step::NetVars).result, StepResult::Passed);
            EXPECT_EQ(r.step(Step::Objects).result, StepResult::Failed);
            EXPECT_EQ(r.step(Step::Objects).detail, "Obj 2 Flash busy.");
            EXPECT_EQ(r.step(Step::Port).result, StepResult::NotRun);
            EXPECT_EQ(r.step(Step::Verify).result, StepResult::NotRun);
            EXPECT_EQ(gateways.location(i), "");
            continue;
        }
        EXPECT_TRUE(r.passed()) << r.step(Step::Verify).detail;
        EXPECT_EQ(r.step(Step::Erase).result, StepResult::Passed);
        EXPECT_EQ(r.programId.size(), 23u);
        EXPECT_EQ(gateways.location(i), i == 7 ? "From the map" : "Room " + std::to_string(i + 1));
        EXPECT_EQ(r.map->tcp.ipaddr, (IpAddress{10, 1, 0, static_cast<uint8_t>(i + 1)}));
    }
}

// ---- reports ---------------------------------------------------------------------------------

// The top-level keys of a report, in order ("  \"key\": " lines).
std::vector<std::string> topLevelKeys(const std::string& json) {
    std::vector<std::string> keys;
    std::istringstream in(json);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("  \"") && !line.starts_with("   "))
            keys.push_back(line.substr(3, line.find('"', 3) - 3));
    }
    return keys;
}

TEST(AsBuiltReportTest, EveryFieldInBothFormsAndNamesThatDoNotCollide) {
    std::vector<GatewayRecord> records(4);
    const std::string locations[] = {"Plant room <1>", "Plant room <1>", "", "Plant_room__1_"};
    for (std::size_t i = 0; i < records.size(); ++i) {
        GatewayPlan plan{"/dev/ttyUSB" + std::to_string(i), locations[i], std::nullopt};
        records[i].map = gatewayMap(*demoMap(), plan);
        if (locations[i].empty()) setText(records[i].map->node.loc, "");
        records[i].port = plan.port;
    }
    records[0].programId = "9F:FF:FF:05:00:0A:04:02";
    records[0].step(Step::Verify) = {StepResult::Failed, "1 difference.", 7};
    records[0].differences = {{"object 3", "register", "HOLD 1 slave 1", "HOLD 2 slave 1"}};
    const std::string sha(64, 'f');
    const ReportHeader header{"2026-12-08T22:30:00Z", "2.14", sha};

    const std::string json = asBuiltJson(records[0], header);
    EXPECT_EQ(topLevelKeys(json),
              (std::vector<std::string>{"date", "tool_version", "port", "program_id", "neuron_id", "location",
                                        "model", "map_sha256", "port_settings", "nvs", "objects", "steps",
                                        "verify"}));
    for (const char* piece :
         {"\"program_id\": \"9F:FF:FF:05:00:0A:04:02\"", "\"neuron_id\": null", "\"model\": \"Korvex-C\"",
          "\"ip\": \"192.168.1.50\"", "\"tcp_devices\": [", "\"type\": \"SNVT_", "\"register\": \"HOLD ",
          "{\"name\": \"verify\", \"result\": \"failed\", \"ms\": 7, \"detail\": \"1 difference.\"}",
          "\"verify\": {\"result\": \"failed\", \"differences\": [\"object 3: register: HOLD 1 slave 1 | "
          "HOLD 2 "
          "slave 1\"]}"})
        EXPECT_NE(json.find(piece), std::string::npos) << piece;

    const std::string html = asBuiltHtml(records[0], header);
    for (const char* piece :
         {"<title>As-built report: Plant room &lt;1&gt;</title>", "2026-12-08T22:30:00Z", "<td>2.14</td>",
          "/dev/ttyUSB0", "9F:FF:FF:05:00:0A:04:02", "<td>not read</td>", "Korvex-C", sha.c_str(),
          "192.168.1.50", "<th>NV</th>", "<th>Register</th>", "<td>probe</td>", "object 3: register"})
        EXPECT_NE(html.find(piece), std::string::npos) << piece;

    using namespace std::chrono;
    EXPECT_EQ(utcTimestamp(sys_days{2026y / 12 / 8} + 22h + 30min + 5s + 900ms), "2026-12-08T22:30:05Z");
    EXPECT_EQ(reportNames(records), (std::vector<std::string>{"Plant_room__1_", "Plant_room__1_-2",
                                                              "_dev_ttyUSB2", "Plant_room__1_-3"}));
}

// ---- korvex-cli commission -------------------------------------------------------------------

class CommissionVerbTest : public ::testing::Test {
protected:
    std::string cli = korvex::test::programPath("korvex-cli");
    std::string dir = ::testing::TempDir() + "korvex-commission-" + std::to_string(::getpid());

    void SetUp() override {
        if (::access(cli.c_str(), X_OK) != 0) GTEST_SKIP() << cli << " not built";
        std::filesystem::create_directories(dir);
        const auto map = demoMap();
        ASSERT_TRUE(writeObjectMap(*map, dir + "/map.xml").ok);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    korvex::test::ProgramRun commission(const std::string& args) {
        return korvex::test::runCli("commission --map " + dir + "/map.xml" +
                                    (test::silenceRun() ? " --silence " : " ") + args);
    }
};

// As a new user: three gateways, a site file with three locations, --verify --report.
TEST_F(CommissionVerbTest, ThreeGatewaysWithTheirLocationsAndReports) {
    Gateways gateways(3);
    std::ofstream(dir + "/site.csv") << "port,location,ip\n"
                                     << gateways.port(0) << ",Boiler room,10.0.0.11\n"
                                     << gateways.port(1) << ",Roof AHU,\n"
                                     << gateways.port(2) << ",Car park fans,10.0.0.13\n";
    std::string ports;
    for (int i = 0; i < 3; ++i) ports += " --port " + gateways.port(i);
    const auto run = commission(ports + " --site " + dir + "/site.csv --verify --report " + dir + "/out");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("3 of 3 gateways passed.\n"), std::string::npos) << run.out;
    const char* locations[] = {"Boiler room", "Roof AHU", "Car park fans"};
    const char* names[] = {"Boiler_room", "Roof_AHU", "Car_park_fans"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(gateways.location(i), locations[i]);
        for (const char* ext : {".json", ".html"})
            EXPECT_TRUE(std::filesystem::exists(dir + "/out/" + names[i] + ext)) << names[i] << ext;
    }
    EXPECT_NE(korvex::test::slurp(dir + "/out/Roof_AHU.json").find("\"ip\": \"192.168.1.50\""),
              std::string::npos);
}

// Refused before anything is sent.
TEST_F(CommissionVerbTest, BadArgumentsSendNothing) {
    Gateways gateways(1);
    const std::string port = " --port " + gateways.port(0);
    std::ofstream(dir + "/site.csv") << "port,location\n" << gateways.port(0) << ",A\n/dev/other,B\n";
    const struct {
        std::string args;
        const char* text;
    } cases[] = {
        {port + " --erase",
         "korvex-cli commission: --erase wipes the configuration of every gateway named; add "
         "--yes to confirm it"},
        {port + port, "is given twice"},
        {port + " --site " + dir + "/site.csv",
         "site.csv: line 3: port /dev/other is not one of the --port options"},
        {"", "at least one --port is required"},
    };
    for (const auto& c : cases) {
        const auto run = commission(c.args);
        EXPECT_EQ(run.status, 2) << c.args;
        EXPECT_NE(run.out.find(c.text), std::string::npos) << run.out;
    }
    EXPECT_EQ(gateways.sims[0]->commandCount(), 0);
}

} // namespace
} // namespace korvex::device
