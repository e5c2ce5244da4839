#pragma once
// korvex-cli map lint and map rules: the map checker's problems, compiler style or as JSON, and
// its rule table. The verbs that build a map print the same lines for the map they write.
#include "model/ObjectMap.h"

#include <string>
#include <vector>

namespace korvex::cli {

int runLint(const std::vector<std::string>& args);
int runRules(const std::vector<std::string>& args);

// The problems of the map on stderr, "FILE: object 12: error: <message> [rule]", then the count
// line; nothing for a map without problems.
void printMapProblems(const ObjectMap& map, const std::string& file);

} // namespace korvex::cli
