// korvex-cli regs import|export: the register list from and to CSV files.
#include "cli/BuildVerb.h"
#include "cli/Verb.h"
#include "formats/csv/CsvResult.h"
#include "formats/csv/RegisterCsvFile.h"

#include <cstdio>
#include <memory>

namespace korvex::cli {
namespace {

int importRegisters(const std::vector<std::string>& args) {
    MapJob job;
    if (!parseMapJob("regs import", args, {"--map", "--out", "--modicon", "--select", "--then", "--model"},
                     job))
        return 2;
    if (job.positional.size() != 1 || job.out.empty()) {
        std::fprintf(stderr,
                     "korvex-cli regs import: usage: regs import CSV [--map IN] --out OUT [options]\n");
        return 2;
    }
    auto map = std::make_unique<ObjectMap>();
    if (!loadMapFile(*map, job.mapIn, job.model)) return 1;
    auto list = std::make_unique<RegisterImportList>();
    const CsvFileOutcome read = importRegisterCsvFile(job.positional[0], *list, job.modicon);
    printText(read.message, !read.ok);
    if (!read.ok) return 1;

    std::vector<int> picks;
    bool all = false;
    if (!parseSelection("regs import", job.select, list->count, picks, all)) return 2;
    if (all)
        selectAllImported(*list);
    else
        selectImported(*list, picks);
    printText(entriesAddedText(addSelectedRegisters(*list, *map)), false);
    return finishMapJob(*map, job) ? 0 : 1;
}

int exportRegisters(const std::vector<std::string>& args) {
    MapJob job;
    if (!parseMapJob("regs export", args, {"--modicon", "--model"}, job)) return 2;
    if (job.positional.size() != 2) {
        std::fprintf(stderr, "korvex-cli regs export: usage: regs export MAP CSV [--modicon]\n");
        return 2;
    }
    auto map = std::make_unique<ObjectMap>();
    if (!loadMapFile(*map, job.positional[0], job.model)) return 1;
    const std::string path = csvExportPath(job.positional[1]);
    const CsvFileOutcome written = exportRegisterCsvFile(path, *map, job.modicon);
    if (!written.ok) {
        printText(written.message, true);
        printText(CsvText::FailedToCreate, true);
        return 1;
    }
    int rows = 0;
    for (int i = 0; i < map->registerCount; ++i) rows += map->registers[i].defined ? 1 : 0;
    std::printf("%d registers written to %s.\n", rows, path.c_str());
    return 0;
}

int runRegs(const std::vector<std::string>& args) {
    const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (!args.empty() && args[0] == "import") return importRegisters(rest);
    if (!args.empty() && args[0] == "export") return exportRegisters(rest);
    std::fprintf(stderr, "korvex-cli regs: expects \"import\" or \"export\" (see korvex-cli --help)\n");
    return 2;
}

const VerbRegistrar regsVerb{
    "regs",
    "regs import CSV [--map IN] --out OUT [--modicon] [--select all|i,j,...] [--then ACTION[,ACTION...]]\n"
    "  Reads a register list from CSV, adds the selected entries (numbered from 0 as read; default all)\n"
    "  to the register list of IN (an empty map without --map), runs the build ACTIONs in order and\n"
    "  writes OUT. The map file keeps only registers that have a data object, so give\n"
    "  --then objects-from-registers (after nvs-from-registers if NVs are wanted). --modicon reads\n"
    "  every file as Modicon-addressed. ACTIONs and --model as for \"build\".\n"
    "  Example: korvex-cli regs import pumps.csv --out plant.xml --then "
    "nvs-from-registers,objects-from-registers\n"
    "regs export MAP CSV [--modicon]\n"
    "  Writes the register list of MAP as CSV (\".csv\" is added when missing); --modicon writes a\n"
    "  MODICON column instead of REG and TYPE. An existing file is replaced.\n"
    "  Example: korvex-cli regs export plant.xml registers.csv",
    runRegs};

} // namespace
} // namespace korvex::cli
