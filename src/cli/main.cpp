// korvex-cli: the headless front end on the same core as the configuration tool.
#include "cli/Verb.h"
#include "vocab/Version.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace korvex::cli {

std::vector<Verb>& verbRegistry() {
    static std::vector<Verb> verbs;
    return verbs;
}

} // namespace korvex::cli

namespace {

void printHelp() {
    std::puts("Usage: korvex-cli VERB [ARGS...]\n"
              "Headless front end of the Korvex configuration tool. Prints the same messages as the\n"
              "window and exits 0 on success, 1 when the operation fails, 2 on bad arguments.\n\n"
              "  --help     print this text\n"
              "  --version  print the program's version\n\n"
              "Verbs:");
    auto verbs = korvex::cli::verbRegistry();
    std::sort(verbs.begin(), verbs.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const auto& verb : verbs) std::printf("\n%s\n", verb.help.c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        printHelp();
        return argc < 2 ? 2 : 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("korvex-cli %s\n", korvex::kVersion);
        return 0;
    }
    const std::string name = argv[1];
    for (const auto& verb : korvex::cli::verbRegistry()) {
        if (verb.name == name) return verb.run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "korvex-cli: unknown verb \"%s\" (try korvex-cli --help)\n", name.c_str());
    return 2;
}
