// korvex-cli nvs import|export: NVs from another device's XIF file, and the gateway's own XIF.
#include "cli/BuildVerb.h"
#include "cli/Verb.h"
#include "formats/xif/XifFile.h"
#include "formats/xif/XifWriter.h"

#include <cstdio>
#include <memory>

namespace korvex::cli {
namespace {

int importNVs(const std::vector<std::string>& args) {
    MapJob job;
    if (!parseMapJob("nvs import", args, {"--map", "--out", "--select", "--then", "--model"}, job)) return 2;
    if (job.positional.size() != 1 || job.out.empty()) {
        std::fprintf(stderr, "korvex-cli nvs import: usage: nvs import XIF [--map IN] --out OUT [options]\n");
        return 2;
    }
    auto map = std::make_unique<ObjectMap>();
    if (!loadMapFile(*map, job.mapIn, job.model)) return 1;
    auto table = std::make_unique<ImportTable>();
    const XifFileOutcome read = importXifFile(job.positional[0], *table);
    printText(read.message, !read.ok);
    if (!read.ok) return 1;
    printWarnings(read.notes);

    std::vector<int> picks;
    bool all = false;
    if (!parseSelection("nvs import", job.select, table->count, picks, all)) return 2;
    if (all)
        selectAllImportEntries(*table);
    else
        selectImportEntries(*table, picks);
    std::vector<std::string> notes;
    printText(nvEntriesAddedText(add_selected(*table, *map, &notes)), false);
    printWarnings(notes);
    return finishMapJob(*map, job) ? 0 : 1;
}

int exportNVs(const std::vector<std::string>& args) {
    MapJob job;
    if (!parseMapJob("nvs export", args, {"--model", "--date"}, job)) return 2;
    if (job.positional.size() != 2) {
        std::fprintf(stderr,
                     "korvex-cli nvs export: usage: nvs export MAP XIF [--model NAME] [--date TEXT]\n");
        return 2;
    }
    auto map = std::make_unique<ObjectMap>();
    if (!loadMapFile(*map, job.positional[0], job.model)) return 1;
    const std::string path = xifExportPath(job.positional[1]);
    const std::string date = job.hasDate ? job.date : xifDateNow();
    const XifFileOutcome written = exportXifFile(path, *map, xifModelName(map->deviceModel), date);
    printText(written.message, !written.ok);
    return written.ok ? 0 : 1;
}

int runNvs(const std::vector<std::string>& args) {
    const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (!args.empty() && args[0] == "import") return importNVs(rest);
    if (!args.empty() && args[0] == "export") return exportNVs(rest);
    std::fprintf(stderr, "korvex-cli nvs: expects \"import\" or \"export\" (see korvex-cli --help)\n");
    return 2;
}

const VerbRegistrar nvsVerb{
    "nvs",
    "nvs import XIF [--map IN] --out OUT [--select all|i,j,...] [--then ACTION[,ACTION...]]\n"
    "  Reads the NVs of another device's XIF file, adds the selected entries (numbered from 0 by\n"
    "  their NV index; default all) to the NV list of IN with their direction reversed, runs the\n"
    "  build ACTIONs in order and writes OUT. The map file keeps only NVs with a function-block\n"
    "  number, so give --then assign-fb. ACTIONs and --model as for \"build\". An NV of a standard\n"
    "  type newer than the catalogue is kept as a user-defined type laid out by the file's type\n"
    "  lines; it, and every NV left out, is named on stderr in a \"warning:\" line.\n"
    "  Example: korvex-cli nvs import partner.xif --out plant.xml --select 3,4 --then "
    "assign-fb,objects-from-nvs\n"
    "nvs export MAP XIF [--model Korvex-A|Korvex-B|Korvex-C] [--date TEXT]\n"
    "  Writes the gateway's XIF file for the NV list of MAP (\".xif\" is added when missing). The\n"
    "  header names the device model (default: the one MAP names) and the date TEXT (default: now,\n"
    "  as \"Mon Jan 6 09:03:07 2025\"). An existing file is replaced.\n"
    "  Example: korvex-cli nvs export plant.xml gateway.xif",
    runNvs};

} // namespace
} // namespace korvex::cli
