// --version and --help of the three programs, run as a user would: the version comes from the
// build, and each help text names the option. korvex-config answers both without a display.
#include "support/ProgramRun.h"
#include "vocab/Version.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ProgramVersion, EachProgramPrintsItsNameAndTheBuildVersion) {
    for (const char* name : {"korvex-cli", "korvex-gateway-sim", "korvex-config"}) {
        const std::string program = korvex::test::programPath(name);
        if (::access(program.c_str(), X_OK) != 0) continue; // korvex-config without the GUI build
        const auto version =
            korvex::test::runCommand("env -u DISPLAY -u QT_QPA_PLATFORM " + program + " --version");
        EXPECT_EQ(version.status, 0) << name;
        EXPECT_EQ(version.out, std::string(name) + " " + korvex::kVersion + "\n");
        const auto help = korvex::test::runCommand(program + " --help");
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_NE(help.out.find("--version"), std::string::npos) << name;
    }
}

} // namespace
