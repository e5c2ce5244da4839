#pragma once
// Runs the built programs (korvex-cli, korvex-gateway-sim, korvex-config) as a user would: where
// they are, and one run's exit status with what it printed.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace korvex::test {

// KORVEX_BIN_DIR, else src/ beside this test program's folder (<build>/tests/x -> <build>/src).
inline std::string programPath(const char* name) {
    if (const char* dir = std::getenv("KORVEX_BIN_DIR")) return std::string(dir) + "/" + name;
    char self[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    path = path.substr(0, path.rfind('/'));
    return path.substr(0, path.rfind('/')) + "/src/" + name;
}

struct ProgramRun {
    int status = -1; // the exit status, -1 when it did not exit normally
    std::string out;
};

// Runs a shell command line and collects its standard output.
inline ProgramRun runCommand(const std::string& command) {
    ProgramRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

enum class ErrorOutput { Dropped, Merged };

// Runs korvex-cli with the arguments (a shell word list); its error output is dropped or merged
// into out.
inline ProgramRun runCli(const std::string& args, ErrorOutput errors = ErrorOutput::Merged) {
    return runCommand(programPath("korvex-cli") + " " + args +
                      (errors == ErrorOutput::Merged ? " 2>&1" : " 2>/dev/null"));
}

} // namespace korvex::test
