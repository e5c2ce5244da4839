// korvex-cli map check|save|new: the object map file, as Open, Save As and New handle it.
#include "cli/BuildVerb.h"
#include "cli/MapLint.h"
#include "cli/Verb.h"
#include "formats/xml/MapFile.h"
#include "model/ObjectMap.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace korvex::cli {
namespace {

// Positional arguments and an optional "--model NAME"; false (with the reason printed) for
// anything else.
bool parseArgs(const char* sub, const std::vector<std::string>& args, std::vector<std::string>& positional,
               int& model) {
    model = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--model") {
            if (args[i].rfind("--", 0) == 0) {
                std::fprintf(stderr, "korvex-cli map %s: unknown option \"%s\"\n", sub, args[i].c_str());
                return false;
            }
            positional.push_back(args[i]);
            continue;
        }
        model = i + 1 < args.size() ? deviceModelFromName(args[i + 1].c_str()) : -1;
        if (model < 0) {
            std::fprintf(stderr, "korvex-cli map %s: --model takes Korvex-A, Korvex-B or Korvex-C\n", sub);
            return false;
        }
        ++i;
    }
    return true;
}

// True when `count` positional arguments were given; else prints the usage line.
bool expect(const std::vector<std::string>& positional, std::size_t count, const char* usage) {
    if (positional.size() == count) return true;
    std::fprintf(stderr, "korvex-cli map: usage: %s\n", usage);
    return false;
}

// Prints the text with exactly one line end.
void print(std::FILE* stream, const std::string& text) {
    std::fputs(text.c_str(), stream);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stream);
}

int save(ObjectMap& map, const std::string& path) {
    const MapFileResult written = writeObjectMap(map, path);
    print(written.ok ? stdout : stderr, written.ok ? std::string("File saved.") : written.text);
    return written.ok ? 0 : 1;
}

int runCheck(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    int model = 0;
    if (!parseArgs("check", args, positional, model) || !expect(positional, 1, "map check FILE")) return 2;
    auto map = std::make_unique<ObjectMap>();
    map->deviceModel = model;
    const MapFileResult read = readObjectMap(*map, positional[0]);
    print(stdout, read.ok ? std::string("No errors found") : read.text);
    printWarnings(read.warnings);
    return read.ok ? 0 : 1;
}

int runSave(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    int model = 0;
    if (!parseArgs("save", args, positional, model) ||
        !expect(positional, 2, "map save IN OUT [--model NAME]"))
        return 2;
    auto map = std::make_unique<ObjectMap>();
    map->deviceModel = model;
    const MapFileResult read = readObjectMap(*map, positional[0]);
    if (!read.ok) {
        print(stderr, read.text);
        return 1;
    }
    printWarnings(read.warnings);
    return save(*map, positional[1]);
}

int runNew(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    int model = 0;
    if (!parseArgs("new", args, positional, model) || !expect(positional, 1, "map new OUT [--model NAME]"))
        return 2;
    auto map = std::make_unique<ObjectMap>();
    map->deviceModel = model;
    newObjectMap(*map);
    return save(*map, positional[0]);
}

int runMap(const std::vector<std::string>& args) {
    const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    const std::string sub = args.empty() ? std::string() : args[0];
    if (sub == "check") return runCheck(rest);
    if (sub == "save") return runSave(rest);
    if (sub == "new") return runNew(rest);
    if (sub == "lint") return runLint(rest);
    if (sub == "rules") return runRules(rest);
    std::fprintf(stderr, "korvex-cli map: expects \"check\", \"lint\", \"rules\", \"save\" or \"new\" "
                         "(see korvex-cli --help)\n");
    return 2;
}

const VerbRegistrar mapVerb{
    "map",
    "map check FILE\n"
    "  Loads the object map file and prints \"No errors found\" (exit 0) or the reader's message with\n"
    "  the tag unit where it stopped, e.g. \"Unexpected end of file at line #57\" (exit 1).\n"
    "map lint FILE [--model Korvex-A|Korvex-B|Korvex-C] [--json]\n"
    "  Loads FILE as \"map check\" does and checks it for what will go wrong in the gateway: one line\n"
    "  per problem, by place (objects, NV rows, register rows, port, TCP entries, node), e.g.\n"
    "  \"plant.xml: object 3: error: writes holding register 100 of slave 1, as does object 7\n"
    "  [register-shared-write]\", then \"N errors, M warnings\". Exit 0 without errors, 1 with errors\n"
    "  or when FILE does not load, 2 on bad arguments. The model defaults to the one FILE names.\n"
    "  --json prints only a JSON array of {rule, severity, place, row, message} (row null for the\n"
    "  port and the node); the message of a file that does not load then goes to stderr. The\n"
    "  import verbs and build print the same lines on stderr for the map they write.\n"
    "  Example: korvex-cli map lint plant.xml || korvex-cli map lint plant.xml --json > problems.json\n"
    "map rules\n"
    "  Lists the checker's rules: id, usual severity and what each finds.\n"
    "map save IN OUT [--model Korvex-A|Korvex-B|Korvex-C]\n"
    "  Loads IN and writes it to OUT as the tool saves (OUT is replaced only once fully written).\n"
    "  The model (default Korvex-A) names the file's header; only Korvex-C keeps the Modbus TCP\n"
    "  settings and device map.\n"
    "map new OUT [--model NAME]\n"
    "  Writes the map of New: no NVs, no registers, 400 empty objects, default port settings.\n"
    "  Example: korvex-cli map check plant.xml && korvex-cli map save plant.xml copy.xml --model Korvex-C",
    runMap};

} // namespace
} // namespace korvex::cli
