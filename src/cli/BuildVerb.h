#pragma once
// What the verbs that change a map file share: the build actions by name, option parsing for
// "--map IN --out OUT", loading and saving the map, and the selection of import entries.
#include "model/ModelMessages.h"
#include "model/ObjectMap.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::cli {

struct BuildAction {
    const char* name;
    int (*run)(ObjectMap& map);
    ModelOp op; // for the text of a refusal
    const char* summary;
};

std::span<const BuildAction> buildActions();
const BuildAction* findBuildAction(std::string_view name);
// "nvs-from-registers, objects-from-registers, ..." for help and error texts.
std::string buildActionNames();

// Runs one action; a refusal prints the operation's text. False on refusal.
bool runBuildAction(ObjectMap& map, const BuildAction& action);

// Options of a verb that reads one map and writes another. Positional arguments are kept in
// order; options the verb did not declare are an error.
struct MapJob {
    std::vector<std::string> positional;
    std::string mapIn; // --map; empty: start from an empty map
    std::string out;   // --out
    std::optional<int> model;
    std::vector<const BuildAction*> then;
    std::string select = "all";
    bool modicon = false;
    std::string date;
    bool hasDate = false;
};

// Parses args into job. `allowed` lists the options the verb takes ("--map", "--out", ...).
// Prints the reason and returns false on a bad argument.
bool parseMapJob(const std::string& verb, const std::vector<std::string>& args,
                 std::initializer_list<std::string_view> allowed, MapJob& job);

// The device model the map file names in its header comment, if any.
std::optional<int> modelNamedInFile(const std::string& path);

// Loads the map file (or leaves an empty map when path is empty). The device model is the
// one given, else the one the file names in its header, else Korvex-A. Prints the failure.
bool loadMapFile(ObjectMap& map, const std::string& path, std::optional<int> model);

// Runs the --then actions, tells which rows the file will not keep, prints the problems the map
// checker finds (on stderr, as "map lint" does) and writes the map atomically. Prints what went
// wrong; false when nothing was written.
bool finishMapJob(ObjectMap& map, const MapJob& job);

// "all" or "i,j,..." (0-based entries of an import list of `count` entries). False with a
// printed reason for an entry outside the list or a malformed selection.
bool parseSelection(const std::string& verb, const std::string& text, int count, std::vector<int>& picks,
                    bool& all);

// Prints a message text from the core: as it is, with one line end at the end.
void printText(const std::string& text, bool error);
// Prints each line on stderr as "warning: <line>": what a load or an import took in only in
// part, or left out.
void printWarnings(const std::vector<std::string>& lines);

} // namespace korvex::cli
