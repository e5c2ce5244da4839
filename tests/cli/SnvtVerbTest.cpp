// korvex-cli snvt, run as a program: listing, one type with its fields, and refused arguments.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

struct CliRun {
    int status = -1;
    std::string out;
};

// The program sits in <build>/src; the tests in <build>/tests, so the build tree is found from
// this executable when KORVEX_BIN_DIR is not set.
std::string binDir() {
    if (const char* dir = std::getenv("KORVEX_BIN_DIR")) return dir;
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("../src") : (self.parent_path().parent_path() / "src").string();
}

CliRun runCli(const std::string& args) {
    const std::string command = binDir() + "/korvex-cli " + args + " 2>/dev/null";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(SnvtVerb, ListsEveryCatalogueRow) {
    const CliRun run = runCli("snvt");
    ASSERT_EQ(run.status, 0);
    int lines = 0;
    for (char ch : run.out) lines += ch == '\n';
    EXPECT_EQ(lines, 177);
    EXPECT_EQ(run.out.rfind("1 SNVT_amp nvt_cat_signed_long 2 2 1 -1 0\n", 0), 0u);
    EXPECT_NE(run.out.find("\n177 SNVT_sched_val nvt_cat_unsigned_short 1 1 1 0 0\n"), std::string::npos);
}

TEST(SnvtVerb, ShowsOneTypeWithItsFieldOffsets) {
    const struct {
        const char* args;
        const char* want;
    } cases[] = {
        {"snvt 39", "39 SNVT_temp nvt_cat_signed_long 2 2 1 -1 -2740\n"},
        {"snvt 95", "95 SNVT_switch nvt_cat_struct 2 2 0 0 0\n"
                    "value nvt_cat_unsigned_short 1 0 0 0 0 0\n"
                    "state nvt_cat_signed_short 1 1 0 0 0 0\n"},
        {"snvt 127", "127 SNVT_chlr_status nvt_cat_struct 3 3 0 0 0\n"
                     "chiller nvt_cat_enum 1 0 0 0 0 0\n"
                     "hvac nvt_cat_enum 1 1 0 0 0 0\n"
                     "in_alarm nvt_cat_bitfield 0 2 0 1 0 0\n"
                     "run_enabled nvt_cat_bitfield 1 2 1 1 0 0\n"
                     "local nvt_cat_bitfield 2 2 2 1 0 0\n"
                     "limited nvt_cat_bitfield 3 2 3 1 0 0\n"
                     "chw_flow nvt_cat_bitfield 4 2 4 1 0 0\n"
                     "condw_flow nvt_cat_bitfield 5 2 5 1 0 0\n"},
        {"snvt 0", "0 \"UNVT/Raw NV\" nvt_cat_nul 0 0 0 0 0\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.status, 0) << c.args;
        EXPECT_EQ(run.out, c.want) << c.args;
    }
}

TEST(SnvtVerb, RefusesWhatIsNotATypeIndex) {
    for (const char* args : {"snvt 178", "snvt -1", "snvt 39x", "snvt abc", "snvt ''", "snvt 1 2"}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_TRUE(run.out.empty()) << args;
    }
}

} // namespace
