// korvex-cli map, run as a program: check of good and malformed files, save and new with the
// device model, and refused arguments.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out; // stdout and stderr together
};

std::string binDir() {
    if (const char* dir = std::getenv("KORVEX_BIN_DIR")) return dir;
    std::error_code error;
    const auto self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string("../src") : (self.parent_path().parent_path() / "src").string();
}

CliRun runCli(const std::string& args) {
    const std::string command = binDir() + "/korvex-cli " + args + " 2>&1";
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

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class MapVerb : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korvex-cli-map-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(MapVerb, NewSaveAndCheck) {
    ASSERT_EQ(runCli("map new " + path("a.xml") + " --model Korvex-C").status, 0);
    const std::string created = slurp(path("a.xml"));
    EXPECT_NE(created.find("<!-- Created by Korvex-C Tool v2.12 -->\r\n"), std::string::npos);
    EXPECT_NE(created.find("<mod ipaddr=\"0.0.0.0\""), std::string::npos);
    const CliRun check = runCli("map check " + path("a.xml"));
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, "No errors found\n");
    ASSERT_EQ(runCli("map save " + path("a.xml") + " " + path("b.xml") + " --model Korvex-C").status, 0);
    EXPECT_EQ(slurp(path("b.xml")), created);
    ASSERT_EQ(runCli("map save " + path("a.xml") + " " + path("c.xml")).status, 0);
    EXPECT_NE(slurp(path("c.xml")).find("<!-- Orvanta Korvex-A Configuration File -->"), std::string::npos);
}

TEST_F(MapVerb, CheckReportsTheReaderMessage) {
    std::ofstream(path("bad.xml"), std::ios::binary) << "<?xml version=\"1.0\" ?>\r\n<configuration>\r\n";
    const CliRun run = runCli("map check " + path("bad.xml"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Unexpected end of file at line #3\n");
    const CliRun missing = runCli("map check " + path("none.xml"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "Error opening object map XML file " + path("none.xml") + "\n");
}

TEST_F(MapVerb, SaveIntoAMissingDirectoryFailsWithTheMessage) {
    ASSERT_EQ(runCli("map new " + path("a.xml")).status, 0);
    const std::string out = path("no/such/dir.xml");
    const CliRun run = runCli("map save " + path("a.xml") + " " + out);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Error opening object map file " + out + "\n");
}

TEST_F(MapVerb, BadArguments) {
    for (const char* args :
         {"map", "map check", "map frob x", "map new", "map new x.xml --model Korvex-D",
          "map new x.xml --model", "map save only-one.xml", "map check a b", "map new x --fast"})
        EXPECT_EQ(runCli(args).status, 2) << args;
}

} // namespace
