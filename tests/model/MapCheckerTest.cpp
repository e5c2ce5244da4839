// The map checker: for each rule a small map that raises it once and a neighbour that does not,
// both made from one clean map (an output and an input NV, each tied to a holding register);
// the order of the problems; and the texts shared by the CLI and the window.
#include "model/check/MapChecker.h"
#include "vocab/RegisterCodes.h"
#include "model/FixedText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>
#include <memory>
#include <set>

namespace korvex {
namespace {

using Edit = std::function<void(ObjectMap&)>;

DataObject& obj(ObjectMap& m, int n) {
    return *m.object(n);
}

void addNVRow(ObjectMap& m, bool input, int fb, const char* name) {
    NetVar& row = m.nvs[static_cast<std::size_t>(m.nvCount++)];
    row.defined = 1;
    row.isInput = input;
    row.snvt = 8;
    row.baseType = 4;
    row.size = 2;
    row.fbNumber = fb;
    setText(row.name, name);
}

void setRegisterSide(DataObject& o, uint32_t mode, uint16_t reg, uint32_t nvFlag, const char* name) {
    o.flags = ObjectFlag::InUse | mode | nvFlag;
    o.datatype = ObjectDataType::U16;
    o.modreg = reg;
    o.modtype = RegisterType::Holding;
    o.moddata = RegisterFormat::U16;
    o.slave = 1;
    o.poll = 1;
    o.lonNV = 1;
    setText(o.name, name);
}

// Gateway as master; object 1 reads holding register 100 into NVO 1, object 2 writes NVI 1 into
// holding register 101.
std::unique_ptr<ObjectMap> cleanMap(int model) {
    auto m = std::make_unique<ObjectMap>();
    m->deviceModel = model;
    m->modbus.flags = PortFlag::HighRegFirst;
    m->tcp.ipaddr = {10, 0, 0, 2};
    addNVRow(*m, false, 1, "nvoTemp");
    addNVRow(*m, true, 1, "nviSet");
    setRegisterSide(obj(*m, 1), ObjectFlag::ReadPeriodic, 100, ObjectFlag::OutputNV, "Temp");
    setRegisterSide(obj(*m, 2), ObjectFlag::WritePeriodic, 101, ObjectFlag::InputNV, "Set");
    return m;
}

void slaveMode(ObjectMap& m) {
    m.modbus.flags |= PortFlag::GatewayIsSlave;
}

void tcpEntry(ObjectMap& m, int d, uint8_t first, uint8_t last, uint16_t port = 502) {
    m.tcpMap[static_cast<std::size_t>(d - 1)] = TcpDeviceMap{first, last, 1, {10, 0, 0, 9}, port};
}

struct RuleCase {
    const char* rule;
    Edit raise;
    Edit neighbour;
    int model = 0;
};

const std::vector<RuleCase>& ruleCases() {
    static const std::vector<RuleCase> cases = {
        // Holding registers written with fc 6 and fc 16 are one register; disjoint bits are not.
        {"register-shared-write",
         [](auto& m) { obj(m, 3) = obj(m, 2), obj(m, 3).modtype = RegisterType::Holding1; },
         [](auto& m) {
             for (int n : {2, 3})
                 obj(m, n) = obj(m, 2), obj(m, n).moddata = RegisterFormat::BIT, obj(m, n).mask = 1u << n;
         }},
        {"register-shared", [](auto& m) { obj(m, 3) = obj(m, 1); },
         [](auto& m) { obj(m, 3) = obj(m, 1), obj(m, 3).modtype = RegisterType::Input; }},
        {"register-overlap", [](auto& m) { obj(m, 1).moddata = RegisterFormat::FP; },
         [](auto& m) { obj(m, 1).moddata = RegisterFormat::FP, obj(m, 2).modreg = 102; }},
        {"write-to-input", [](auto& m) { obj(m, 2).modtype = RegisterType::Input; },
         [](auto& m) { obj(m, 1).modtype = RegisterType::Input; }},
        {"register-incomplete", [](auto& m) { obj(m, 1).modreg = 0; }, [](auto& m) { obj(m, 1).modreg = 1; }},
        {"register-past-end",
         [](auto& m) { obj(m, 1).modreg = 65535, obj(m, 1).moddata = RegisterFormat::FP; },
         [](auto& m) { obj(m, 1).modreg = 65534, obj(m, 1).moddata = RegisterFormat::FP; }},
        {"slave-zero", [](auto& m) { obj(m, 1).slave = 0; },
         [](auto& m) { obj(m, 1).slave = 0, slaveMode(m); }},
        {"slave-reserved", [](auto& m) { obj(m, 1).slave = 248; }, [](auto& m) { obj(m, 1).slave = 247; }},
        {"tcp-slave-unmapped", [](auto& m) { tcpEntry(m, 1, 2, 5); }, [](auto& m) { tcpEntry(m, 1, 1, 5); },
         2},
        {"direction-mismatch",
         [](auto& m) { obj(m, 2).flags ^= ObjectFlag::WritePeriodic | ObjectFlag::ReadPeriodic; },
         [](auto& m) {
             obj(m, 2).flags ^= ObjectFlag::WritePeriodic | ObjectFlag::ReadPeriodic, slaveMode(m);
         }},
        {"object-nv-missing", [](auto& m) { obj(m, 1).lonNV = 2; },
         [](auto& m) { obj(m, 1).lonNV = 2, m.nvs[0].fbNumber = 2; }},
        {"object-unlinked", [](auto& m) { obj(m, 5).datatype = ObjectDataType::U16; },
         [](auto& m) { obj(m, 5).syncFlags = SyncFlag::Configured; }},
        {"object-no-register", [](auto& m) { obj(m, 1).modtype = 0, obj(m, 1).modreg = 0; }, [](auto&) {}},
        {"object-no-nv", [](auto& m) { obj(m, 1).flags &= ~ObjectFlag::OutputNV; }, [](auto&) {}},
        {"default-clamped",
         [](auto& m) {
             obj(m, 1).datatype = ObjectDataType::FP, obj(m, 1).flags |= ObjectFlag::DefaultOnPowerUp;
             obj(m, 1).defVal = std::bit_cast<uint32_t>(-5.0f);
         },
         [](auto& m) {
             obj(m, 1).datatype = ObjectDataType::FP, obj(m, 1).flags |= ObjectFlag::DefaultOnPowerUp;
             obj(m, 1).defVal = std::bit_cast<uint32_t>(5.0f);
         }},
        {"data-type-narrow", [](auto& m) { obj(m, 1).moddata = RegisterFormat::S16; },
         [](auto& m) { obj(m, 1).moddata = RegisterFormat::S16, obj(m, 1).datatype = ObjectDataType::S32; }},
        // Two fields of one structured NV repeat its name.
        {"duplicate-object-name", [](auto& m) { setText(obj(m, 2).name, "Temp"); },
         [](auto& m) {
             obj(m, 1).flags |= ObjectFlag::Structured;
             obj(m, 3) = obj(m, 1), obj(m, 3).modreg = 102;
         }},
        {"name-changed-on-save", [](auto& m) { setText(m.nvs[0].name, "nvo Temp"); },
         [](auto& m) { setText(m.nvs[0].name, "nvoTemperature"); }},
        {"name-changed-on-save", [](auto& m) { setText(m.nvs[1].name, "nvoTemp"); },
         [](auto& m) { setText(m.nvs[1].name, "nvoTemp2"); }},
        {"name-changed-on-save", [](auto& m) { setText(obj(m, 1).name, "T>1"); },
         [](auto& m) { setText(obj(m, 1).name, "T=1"); }},
        {"name-changed-on-save", [](auto& m) { setText(m.node.loc, "Hall \"B\""); },
         [](auto& m) { setText(m.node.loc, "Hall B"); }},
        {"nv-not-saved", [](auto& m) { addNVRow(m, false, 0, "nvoSpare"); }, [](auto&) {}},
        {"nv-not-saved", [](auto& m) { m.nvs[0].size = 0; }, [](auto&) {}},
        {"nv-fb-duplicate", [](auto& m) { addNVRow(m, false, 1, "nvoOther"); },
         [](auto& m) { addNVRow(m, false, 2, "nvoOther"); }},
        {"nv-no-object", [](auto& m) { addNVRow(m, false, 2, "nvoSpare"); }, [](auto&) {}},
        {"send-times-inverted",
         [](auto& m) { m.nvs[0].minSendTime.minutes = 1, m.nvs[0].maxSendTime.seconds = 30; },
         [](auto& m) { m.nvs[0].minSendTime.seconds = 30, m.nvs[0].maxSendTime.minutes = 1; }},
        {"register-not-saved",
         [](auto& m) { m.registerCount = 1, m.registers[0] = RegisterDef{}, m.registers[0].defined = 1; },
         [](auto& m) {
             m.registerCount = 1, m.registers[0].defined = 1;
             m.registers[0].objectNumber = 1, obj(m, 1).registerRow = 1;
         }},
        {"port-baud", [](auto& m) { m.modbus.baud = 1234; }, [](auto& m) { m.modbus.baud = 9600; }},
        {"port-slave-address", [](auto& m) { slaveMode(m), m.modbus.slave = 0; },
         [](auto& m) { slaveMode(m), m.modbus.slave = 247; }},
        {"port-timeout-zero", [](auto& m) { m.modbus.timeout = 0; },
         [](auto& m) { m.modbus.timeout = 0, slaveMode(m); }},
        {"tcp-settings-missing", [](auto& m) { m.tcp.port = 0; }, [](auto& m) { m.tcp.port = 503; }, 2},
        {"tcp-entry-range", [](auto& m) { tcpEntry(m, 1, 5, 1); }, [](auto& m) { tcpEntry(m, 1, 1, 5); }, 2},
        {"tcp-entry-overlap", [](auto& m) { tcpEntry(m, 1, 1, 5), tcpEntry(m, 3, 5, 9); },
         [](auto& m) { tcpEntry(m, 1, 1, 5), tcpEntry(m, 3, 6, 9); }, 2},
        {"tcp-entry-normalised", [](auto& m) { tcpEntry(m, 1, 1, 247); },
         [](auto& m) { tcpEntry(m, 1, 1, 246); }, 2},
        {"node-pid-reserved", [](auto& m) { m.node.pid = 20; }, [](auto& m) { m.node.pid = 21; }},
    };
    return cases;
}

int countRule(const std::vector<Problem>& problems, std::string_view rule) {
    return static_cast<int>(std::count_if(problems.begin(), problems.end(),
                                          [&](const Problem& p) { return p.ruleId() == rule; }));
}

std::string listed(const std::vector<Problem>& problems) {
    std::string text;
    for (const Problem& p : problems)
        text += placeText(p) + ": " + severityName(p.severity) + ": " + p.message + " [" + p.ruleId() + "]\n";
    return text;
}

TEST(MapChecker, TheCleanMapHasNoProblemsOnEveryModel) {
    for (int model = 0; model < kDeviceModelCount; ++model) {
        const auto map = cleanMap(model);
        EXPECT_EQ(listed(checkMap(*map, model)), "") << "model " << model;
    }
}

TEST(MapChecker, EachRuleRaisedByItsMapAndNotByItsNeighbour) {
    std::set<std::string_view> covered;
    for (const RuleCase& c : ruleCases()) {
        auto raised = cleanMap(c.model);
        c.raise(*raised);
        const auto problems = checkMap(*raised, c.model);
        EXPECT_EQ(countRule(problems, c.rule), 1) << c.rule << "\n" << listed(problems);
        auto near = cleanMap(c.model);
        c.neighbour(*near);
        const auto clean = checkMap(*near, c.model);
        EXPECT_EQ(countRule(clean, c.rule), 0) << c.rule << " neighbour\n" << listed(clean);
        covered.insert(c.rule);
    }
    for (const RuleInfo& rule : mapRules()) EXPECT_TRUE(covered.count(rule.id)) << rule.id << " has no case";
}

TEST(MapChecker, MessagesInPlaceOrder) {
    auto m = cleanMap(0);
    m->node.pid = 3;
    m->modbus.baud = 100;
    addNVRow(*m, true, 0, "nviSpare");
    obj(*m, 7) = obj(*m, 2);
    obj(*m, 3) = obj(*m, 2), obj(*m, 3).modtype = RegisterType::Holding1;
    setText(obj(*m, 3).name, "Set3"), setText(obj(*m, 7).name, "Set7");
    obj(*m, 1).moddata = RegisterFormat::FP, obj(*m, 1).datatype = ObjectDataType::FP;
    EXPECT_EQ(listed(checkMap(*m, 0)),
              "object 1: error: FP at holding register 100 of slave 1 spans registers 100 to 101 and overlaps "
              "objects 2, 3 and 7 [register-overlap]\n"
              "object 2: error: writes holding register 101 of slave 1, as do objects 3 and 7 "
              "[register-shared-write]\n"
              "nv 3: error: has no function-block number, so the map file does not keep it [nv-not-saved]\n"
              "port: error: baud rate 100 is not one the gateway offers (1200, 2400, 4800, 9600, 19200 or 38400) "
              "[port-baud]\n"
              "node: warning: program-ID selector 3 is reserved (2 to 20); 1 is the product's own ID "
              "[node-pid-reserved]\n");
    // Only readers overlapping: a warning.
    obj(*m, 2).flags = obj(*m, 1).flags;
    for (int n : {3, 7}) obj(*m, n) = DataObject{};
    const auto problems = checkMap(*m, 0);
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0].rule, Rule::RegisterOverlap);
    EXPECT_EQ(problems[0].severity, Severity::Warning);
}

TEST(MapChecker, CountTextAndRuleTable) {
    EXPECT_EQ(countText({0, 0}), "0 errors, 0 warnings");
    EXPECT_EQ(countText({1, 1}), "1 error, 1 warning");
    EXPECT_EQ(countText({2, 3}), "2 errors, 3 warnings");
    std::set<std::string_view> ids;
    for (const RuleInfo& rule : mapRules()) EXPECT_TRUE(ids.insert(rule.id).second) << rule.id;
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(Rule::Count));
}

} // namespace
} // namespace korvex
