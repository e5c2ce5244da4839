#pragma once
// Each verb of korvex-cli lives in its own file and registers itself here, so verbs can be
// added without touching the dispatcher.
#include <functional>
#include <string>
#include <vector>

namespace korvex::cli {

// Exit status convention: 0 success, 1 operation failed, 2 bad arguments.
using VerbFunction = std::function<int(const std::vector<std::string>& args)>;

struct Verb {
    std::string name;
    std::string help; // lines shown by --help: synopsis, a sentence, an example
    VerbFunction run;
};

std::vector<Verb>& verbRegistry();

struct VerbRegistrar {
    VerbRegistrar(std::string name, std::string help, VerbFunction run) {
        verbRegistry().push_back(Verb{std::move(name), std::move(help), std::move(run)});
    }
};

} // namespace korvex::cli
