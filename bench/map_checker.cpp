// Cost of the map checker, which the window runs on every change of the map: a full map (400
// objects on holding registers of four slaves behind a Korvex-C TCP device map, 999 NV rows of
// 120 plain inputs and 120 structured outputs with their fields, 999 register rows of which the
// 599 that no object keeps are each reported), a clean map of the same shape with only the 400
// kept register rows, and the worst case for shared registers (all 400 objects on one register).
// Target: well under 2 ms a check, so that checking on every change costs nothing visible.
#include "vocab/RegisterCodes.h"
#include "model/FixedText.h"
#include "model/check/MapChecker.h"
#include "model/RegisterObjectCopy.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace korvex;

NetVar& appendNV(ObjectMap& map, bool input, int fb, bool field) {
    NetVar& row = map.nvs[static_cast<std::size_t>(map.nvCount++)];
    row.defined = 1;
    row.isInput = input;
    row.isField = field;
    row.snvt = field ? 0 : 8;
    row.baseType = 4;
    row.size = 2;
    row.fbNumber = fb;
    setText(row.name, (input ? "nviPoint" : "nvoPoint") + std::to_string(fb));
    return row;
}

// 120 plain input NVs, then 120 structured output NVs whose fields fill the list to 999 rows.
void fillNVs(ObjectMap& map) {
    for (int fb = 1; fb <= kFbNumbers; ++fb) appendNV(map, true, fb, false);
    for (int fb = 1; fb <= kFbNumbers; ++fb) {
        appendNV(map, false, fb, false).baseType = 9;
        const int fields = fb <= 39 ? 7 : 6;
        for (int f = 0; f < fields; ++f)
            appendNV(map, false, fb, true).byteOffset = static_cast<uint8_t>(2 * f);
    }
}

void fillObjects(ObjectMap& map) {
    for (int n = 1; n <= kObjectCount; ++n) {
        DataObject& o = *map.object(n);
        const bool input = n <= kFbNumbers;
        o.flags = ObjectFlag::InUse | (input ? ObjectFlag::WritePeriodic : ObjectFlag::ReadPeriodic) |
                  (input ? ObjectFlag::InputNV : ObjectFlag::OutputNV | ObjectFlag::Structured);
        o.moddata = n % 2 ? RegisterFormat::U16 : RegisterFormat::FP;
        o.datatype = dataTypeFromFormat(o.moddata);
        o.modtype = RegisterType::Holding;
        o.modreg = static_cast<uint16_t>(2 * n);
        o.slave = static_cast<uint8_t>(n % 4 + 1);
        o.poll = 1;
        o.lonNV = static_cast<uint8_t>(input ? n : (n - kFbNumbers - 1) % kFbNumbers + 1);
        o.lonByteOffset = static_cast<uint8_t>(2 * ((n - kFbNumbers - 1) / kFbNumbers));
        if (n % 10 == 0) o.flags |= ObjectFlag::DefaultOnPowerUp, setDefaultValue(o, n);
        setText(o.name, "Point " + std::to_string(n));
    }
}

// The kept register rows, one per object, and `staged` rows that no object keeps.
void fillRegisters(ObjectMap& map, int staged) {
    for (int n = 1; n <= kObjectCount; ++n) {
        RegisterDef& reg = map.registers[static_cast<std::size_t>(map.registerCount++)];
        copyObjectToRegister(*map.object(n), reg);
        reg.objectNumber = n;
        map.object(n)->registerRow = static_cast<uint16_t>(map.registerCount);
    }
    for (int i = 0; i < staged; ++i) {
        RegisterDef& reg = map.registers[static_cast<std::size_t>(map.registerCount++)];
        reg.defined = 1;
        reg.type = RegisterType::Holding;
        reg.format = RegisterFormat::U16;
        reg.regNumber = static_cast<uint16_t>(1000 + i);
        reg.slave = 1;
        reg.readPeriodic = 1;
    }
}

std::unique_ptr<ObjectMap> fullMap(int staged) {
    auto map = std::make_unique<ObjectMap>();
    map->deviceModel = kTcpDeviceModel;
    map->modbus.flags = PortFlag::HighRegFirst; // master
    map->tcp.ipaddr = {192, 168, 1, 50};
    map->tcpMap[0] = TcpDeviceMap{1, 2, 1, {192, 168, 1, 101}, 502};
    map->tcpMap[1] = TcpDeviceMap{3, 4, 1, {192, 168, 1, 102}, 502};
    fillNVs(*map);
    fillObjects(*map);
    fillRegisters(*map, staged);
    return map;
}

void runCheck(benchmark::State& state, const ObjectMap& map) {
    std::size_t problems = 0;
    for (auto _ : state) {
        const auto found = checkMap(map, map.deviceModel);
        problems = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["problems"] = static_cast<double>(problems);
}

void BM_FullMapWithStagedRegisters(benchmark::State& state) {
    const auto map = fullMap(kEditRowLimit - kObjectCount);
    runCheck(state, *map);
}
BENCHMARK(BM_FullMapWithStagedRegisters)->Unit(benchmark::kMicrosecond);

void BM_FullMapKeptRegistersOnly(benchmark::State& state) {
    const auto map = fullMap(0);
    runCheck(state, *map);
}
BENCHMARK(BM_FullMapKeptRegistersOnly)->Unit(benchmark::kMicrosecond);

void BM_AllObjectsOnOneRegister(benchmark::State& state) {
    const auto map = fullMap(0);
    for (DataObject& o : map->objects) o.modreg = 1, o.slave = 1, o.moddata = RegisterFormat::U16;
    runCheck(state, *map);
}
BENCHMARK(BM_AllObjectsOnOneRegister)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
