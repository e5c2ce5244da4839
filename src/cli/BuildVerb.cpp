// korvex-cli build ACTION --map IN --out OUT: one list-building operation on a map file, and the
// pieces every verb that changes a map file shares.
#include "cli/BuildVerb.h"

#include "cli/MapLint.h"
#include "cli/Verb.h"
#include "formats/xml/MapFile.h"
#include "model/lists/ListBuilding.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

namespace korvex::cli {
namespace {

constexpr std::array<BuildAction, 9> kActions{{
    {"nvs-from-registers", nvListFromRegisters, ModelOp::NVListFromRegisters,
     "Auto-create NV's and assign FB #'s: one NV per register row"},
    {"objects-from-registers", masterListFromRegisters, ModelOp::MasterListFromRegisters,
     "Auto-assign data objects: register row i becomes object i"},
    {"unlink-registers", removeRegisterObjectAssignments, ModelOp::MasterListFromRegisters,
     "Remove data object assignments from the registers"},
    {"rebuild-registers", rebuildRegisterList, ModelOp::MasterListFromRegisters,
     "Rebuild the Modbus register list from the master list"},
    {"assign-fb", assignFbNumbers, ModelOp::AssignFbNumbers, "Auto-assign new NV function blocks"},
    {"objects-from-nvs", masterListFromNVs, ModelOp::MasterListFromNVs,
     "Auto-assign new data objects from the NVs"},
    {"registers-from-objects", registerListFromMaster, ModelOp::RegisterListFromMaster,
     "Auto-create the Modbus register list from the master list"},
    {"unlink-nvs", removeNVObjectAssignments, ModelOp::MasterListFromNVs,
     "Remove data object assignments from the NVs"},
    {"clear-fb", removeNVFbAssignments, ModelOp::RemoveNVFbAssignments,
     "Remove NV function block assignments"},
}};

bool takesValue(std::string_view option) {
    return option != "--modicon";
}

bool parseModel(const std::string& verb, const std::string& name, MapJob& job) {
    const int model = deviceModelFromName(name.c_str());
    if (model < 0) {
        std::fprintf(stderr, "korvex-cli %s: unknown device model \"%s\" (Korvex-A, Korvex-B or Korvex-C)\n",
                     verb.c_str(), name.c_str());
        return false;
    }
    job.model = model;
    return true;
}

bool parseThen(const std::string& verb, const std::string& list, MapJob& job) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        const std::string name = list.substr(start, comma - start);
        const BuildAction* action = findBuildAction(name);
        if (!action) {
            std::fprintf(stderr, "korvex-cli %s: unknown action \"%s\" (one of %s)\n", verb.c_str(),
                         name.c_str(), buildActionNames().c_str());
            return false;
        }
        job.then.push_back(action);
        start = comma + 1;
    }
    return true;
}

bool applyOption(const std::string& verb, const std::string& option, const std::string& value, MapJob& job) {
    if (option == "--map")
        job.mapIn = value;
    else if (option == "--out")
        job.out = value;
    else if (option == "--select")
        job.select = value;
    else if (option == "--modicon")
        job.modicon = true;
    else if (option == "--date")
        job.date = value, job.hasDate = true;
    else if (option == "--model")
        return parseModel(verb, value, job);
    else if (option == "--then")
        return parseThen(verb, value, job);
    return true;
}

} // namespace

// The model named in the map file's header comment, so that a Korvex-C map keeps its TCP
// settings through a load and save.
std::optional<int> modelNamedInFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    for (int model = 0; model < kDeviceModelCount; ++model)
        if (head.find(std::string("<!-- Created by ") + deviceModelName(model) + " Tool") !=
            std::string::npos)
            return model;
    return std::nullopt;
}

namespace {

// Rows the map file does not keep: registers without a data object (the register list is
// rebuilt from the objects on loading), NVs without a function-block number and NVs of no size
// (a type the catalogue does not know).
void noteRowsNotKept(const ObjectMap& map, const std::string& out) {
    int registers = 0, nvs = 0, sizeless = 0;
    for (int i = 0; i < map.registerCount; ++i) {
        const DataObject* object = map.object(map.registers[i].objectNumber);
        if (map.registers[i].defined && !(object && object->hasRegister())) ++registers;
    }
    for (int i = 0; i < map.nvCount; ++i) {
        if (!map.nvs[i].isHeader()) continue;
        if (map.nvs[i].fbNumber == 0)
            ++nvs;
        else if (map.nvs[i].size == 0)
            ++sizeless;
    }
    if (sizeless)
        std::fprintf(stderr, "note: %d NVs have a size of 0 (an unknown type) and are not kept in %s\n",
                     sizeless, out.c_str());
    if (registers)
        std::fprintf(stderr,
                     "note: %d register rows have no data object and are not kept in %s "
                     "(--then objects-from-registers gives them one)\n",
                     registers, out.c_str());
    if (nvs)
        std::fprintf(stderr,
                     "note: %d NVs have no function-block number and are not kept in %s "
                     "(--then assign-fb gives them one)\n",
                     nvs, out.c_str());
}

int objectsInUse(const ObjectMap& map) {
    int count = 0;
    for (const DataObject& object : map.objects) count += object.inUse() ? 1 : 0;
    return count;
}

} // namespace

std::span<const BuildAction> buildActions() {
    return kActions;
}

const BuildAction* findBuildAction(std::string_view name) {
    for (const BuildAction& action : kActions)
        if (name == action.name) return &action;
    return nullptr;
}

std::string buildActionNames() {
    std::string names;
    for (const BuildAction& action : kActions)
        names += (names.empty() ? "" : ", ") + std::string(action.name);
    return names;
}

void printText(const std::string& text, bool error) {
    std::FILE* stream = error ? stderr : stdout;
    std::fputs(text.c_str(), stream);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stream);
}

void printWarnings(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) std::fprintf(stderr, "warning: %s\n", line.c_str());
}

bool runBuildAction(ObjectMap& map, const BuildAction& action) {
    const int code = action.run(map);
    if (code != kOk) {
        const char* text = modelMessage(action.op, code);
        printText(text ? text : "", true);
        return false;
    }
    std::printf("%s: %d NV rows, %d register rows, %d objects in use.\n", action.name, map.nvCount,
                map.registerCount, objectsInUse(map));
    return true;
}

bool parseMapJob(const std::string& verb, const std::vector<std::string>& args,
                 std::initializer_list<std::string_view> allowed, MapJob& job) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            job.positional.push_back(arg);
            continue;
        }
        if (std::find(allowed.begin(), allowed.end(), arg) == allowed.end()) {
            std::fprintf(stderr, "korvex-cli %s: unknown option %s (see korvex-cli --help)\n", verb.c_str(),
                         arg.c_str());
            return false;
        }
        std::string value;
        if (takesValue(arg)) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "korvex-cli %s: %s needs a value\n", verb.c_str(), arg.c_str());
                return false;
            }
            value = args[++i];
        }
        if (!applyOption(verb, arg, value, job)) return false;
    }
    return true;
}

bool loadMapFile(ObjectMap& map, const std::string& path, std::optional<int> model) {
    clearAll(map);
    map.deviceModel = model.value_or(path.empty() ? 0 : modelNamedInFile(path).value_or(0));
    if (path.empty()) return true;
    const MapFileResult result = readObjectMap(map, path);
    if (!result.ok) printText(result.text, true);
    printWarnings(result.warnings);
    return result.ok;
}

bool finishMapJob(ObjectMap& map, const MapJob& job) {
    for (const BuildAction* action : job.then)
        if (!runBuildAction(map, *action)) return false;
    noteRowsNotKept(map, job.out);
    printMapProblems(map, job.out);
    const MapFileResult result = writeObjectMap(map, job.out);
    if (!result.ok) {
        printText(result.text, true);
        return false;
    }
    std::printf("Object map written to %s.\n", job.out.c_str());
    return true;
}

bool parseSelection(const std::string& verb, const std::string& text, int count, std::vector<int>& picks,
                    bool& all) {
    all = text == "all";
    if (all) return true;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        int index = -1;
        const char* first = text.data() + start;
        const char* last = text.data() + comma;
        const auto [end, ec] = std::from_chars(first, last, index);
        if (ec != std::errc() || end != last || index < 0) {
            std::fprintf(stderr, "korvex-cli %s: --select takes \"all\" or entry numbers such as 0,2,5\n",
                         verb.c_str());
            return false;
        }
        if (index >= count) {
            std::fprintf(stderr, "korvex-cli %s: entry %d is not in the import list (0 to %d)\n",
                         verb.c_str(), index, count - 1);
            return false;
        }
        picks.push_back(index);
        start = comma + 1;
    }
    return true;
}

namespace {

int runBuild(const std::vector<std::string>& args) {
    MapJob job;
    if (!parseMapJob("build", args, {"--map", "--out", "--model"}, job)) return 2;
    if (job.positional.size() != 1 || job.mapIn.empty() || job.out.empty()) {
        std::fprintf(stderr, "korvex-cli build: usage: build ACTION --map IN --out OUT\n");
        return 2;
    }
    const BuildAction* action = findBuildAction(job.positional[0]);
    if (!action) {
        std::fprintf(stderr, "korvex-cli build: unknown action \"%s\" (one of %s)\n",
                     job.positional[0].c_str(), buildActionNames().c_str());
        return 2;
    }
    job.then.insert(job.then.begin(), action);
    auto map = std::make_unique<ObjectMap>();
    if (!loadMapFile(*map, job.mapIn, job.model)) return 1;
    return finishMapJob(*map, job) ? 0 : 1;
}

std::string buildHelp() {
    std::string help = "build ACTION --map IN --out OUT [--model Korvex-A|Korvex-B|Korvex-C]\n"
                       "  Loads IN, runs one list-building action and writes OUT. A refused action prints\n"
                       "  its message, exits 1 and writes nothing. ACTION is one of:\n";
    for (const BuildAction& action : kActions)
        help += "    " + std::string(action.name) + ": " + action.summary + "\n";
    help += "  The device model defaults to the one IN names (Korvex-A when none).\n"
            "  Example: korvex-cli build objects-from-nvs --map plant.xml --out plant.xml";
    return help;
}

const VerbRegistrar buildVerb{"build", buildHelp(), runBuild};

} // namespace
} // namespace korvex::cli
