// korvex-cli map lint FILE [--model NAME] [--json]: loads the map as "map check" does and prints
// what the map checker finds. Exit 0 without errors (warnings may be printed), 1 with errors or
// when the file does not load, 2 on bad arguments.
#include "cli/MapLint.h"

#include "cli/BuildVerb.h"
#include "formats/TextEscape.h"
#include "formats/xml/MapFile.h"
#include "model/check/MapChecker.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace korvex::cli {
namespace {

struct LintArgs {
    std::string path;
    std::optional<int> model;
    bool json = false;
};

bool parseLintArgs(const std::vector<std::string>& args, LintArgs& lint) {
    int positional = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            lint.json = true;
        } else if (args[i] == "--model") {
            const int model = i + 1 < args.size() ? deviceModelFromName(args[i + 1].c_str()) : -1;
            if (model < 0) {
                std::fprintf(stderr, "korvex-cli map lint: --model takes Korvex-A, Korvex-B or Korvex-C\n");
                return false;
            }
            lint.model = model;
            ++i;
        } else if (args[i].starts_with("--")) {
            std::fprintf(stderr, "korvex-cli map lint: unknown option \"%s\"\n", args[i].c_str());
            return false;
        } else {
            lint.path = args[i];
            ++positional;
        }
    }
    if (positional != 1) {
        std::fprintf(stderr, "korvex-cli map: usage: map lint FILE [--model NAME] [--json]\n");
        return false;
    }
    return true;
}

void printLines(std::FILE* stream, const std::vector<Problem>& problems, const std::string& file) {
    for (const Problem& p : problems)
        std::fprintf(stream, "%s: %s: %s: %s [%s]\n", file.c_str(), placeText(p).c_str(),
                     severityName(p.severity), p.message.c_str(), p.ruleId());
    std::fprintf(stream, "%s\n", countText(countProblems(problems)).c_str());
}

void printJson(const std::vector<Problem>& problems) {
    std::string out = "[";
    for (std::size_t i = 0; i < problems.size(); ++i) {
        const Problem& p = problems[i];
        out += i == 0 ? "\n" : ",\n";
        out += "  {\"rule\": " + jsonString(p.ruleId()) +
               ", \"severity\": " + jsonString(severityName(p.severity)) +
               ", \"place\": " + jsonString(placeKindName(p.place)) +
               ", \"row\": " + (placeHasRow(p.place) ? std::to_string(p.row) : std::string("null")) +
               ", \"message\": " + jsonString(p.message) + "}";
    }
    out += problems.empty() ? "]\n" : "\n]\n";
    std::fputs(out.c_str(), stdout);
}

} // namespace

void printMapProblems(const ObjectMap& map, const std::string& file) {
    std::fflush(stdout); // the problems follow what was printed before them
    const std::vector<Problem> problems = checkMap(map, map.deviceModel);
    if (!problems.empty()) printLines(stderr, problems, file);
}

int runLint(const std::vector<std::string>& args) {
    LintArgs lint;
    if (!parseLintArgs(args, lint)) return 2;
    auto map = std::make_unique<ObjectMap>();
    map->deviceModel = lint.model.value_or(modelNamedInFile(lint.path).value_or(0));
    const MapFileResult read = readObjectMap(*map, lint.path);
    if (!read.ok) {
        // As "map check" prints it; with --json stdout carries nothing but the array, so the
        // reader's message goes to stderr and no array is printed.
        std::FILE* stream = lint.json ? stderr : stdout;
        std::fputs(read.text.c_str(), stream);
        if (read.text.empty() || read.text.back() != '\n') std::fputc('\n', stream);
        return 1;
    }
    printWarnings(read.warnings);
    const std::vector<Problem> problems = checkMap(*map, map->deviceModel);
    if (lint.json)
        printJson(problems);
    else
        printLines(stdout, problems, lint.path);
    return countProblems(problems).errors > 0 ? 1 : 0;
}

int runRules(const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::fprintf(stderr, "korvex-cli map: usage: map rules\n");
        return 2;
    }
    for (const RuleInfo& rule : mapRules())
        std::printf("%-22s %-7s %s\n", rule.id, severityName(rule.severity), rule.summary);
    return 0;
}

} // namespace korvex::cli
