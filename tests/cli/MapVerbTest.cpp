// korvex-cli map, run as a program: check of good and malformed files, save and new with the
// device model, and refused arguments.
#include "support/FileText.h"
#include "support/ProgramRun.h"

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

using korvex::test::ProgramRun;
using korvex::test::runCli;

using korvex::test::slurp;

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
    const ProgramRun check = runCli("map check " + path("a.xml"));
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, "No errors found\n");
    ASSERT_EQ(runCli("map save " + path("a.xml") + " " + path("b.xml") + " --model Korvex-C").status, 0);
    EXPECT_EQ(slurp(path("b.xml")), created);
    ASSERT_EQ(runCli("map save " + path("a.xml") + " " + path("c.xml")).status, 0);
    EXPECT_NE(slurp(path("c.xml")).find("<!-- Orvanta Korvex-A Configuration File -->"), std::string::npos);
}

TEST_F(MapVerb, CheckReportsTheReaderMessage) {
    std::ofstream(path("bad.xml"), std::ios::binary) << "<?xml version=\"1.0\" ?>\r\n<configuration>\r\n";
    const ProgramRun run = runCli("map check " + path("bad.xml"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Unexpected end of file at line #3\n");
    const ProgramRun missing = runCli("map check " + path("none.xml"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "Error opening object map XML file " + path("none.xml") + "\n");
}

TEST_F(MapVerb, SaveIntoAMissingDirectoryFailsWithTheMessage) {
    ASSERT_EQ(runCli("map new " + path("a.xml")).status, 0);
    const std::string out = path("no/such/dir.xml");
    const ProgramRun run = runCli("map save " + path("a.xml") + " " + out);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Error opening object map file " + out + "\n");
}

TEST_F(MapVerb, BadArguments) {
    for (const char* args :
         {"map", "map check", "map frob x", "map new", "map new x.xml --model Korvex-D",
          "map new x.xml --model", "map save only-one.xml", "map check a b", "map new x --fast", "map lint",
          "map lint a b", "map lint a --model Korvex-D", "map lint a --fast", "map rules x"})
        EXPECT_EQ(runCli(args).status, 2) << args;
}

// Two objects writing one holding register (fc 16 and fc 6): the import prints the problem on
// stderr, lint prints the one line and the count, as text or JSON; a fixed map is clean.
TEST_F(MapVerb, LintNamesTheSharedWriteAndExitsOne) {
    const std::string csv = "RW,REG,TYPE,FORMAT,SLAVE,BITNUMBER,PACKED,HIGHREGFIRST,NAME\r\n"
                            "W,100,HOLD,U16,1,,F,F,PumpSpeed\r\n"
                            "W,100,HOLD1,U16,1,,F,F,FanSpeed\r\n";
    std::ofstream(path("two.csv"), std::ios::binary) << csv;
    const std::string map = path("two.xml");
    const std::string line = map +
                             ": object 1: error: writes holding register 100 of slave 1, as does object 2 "
                             "[register-shared-write]\n";
    ProgramRun run = runCli("regs import " + path("two.csv") + " --out " + map +
                            " --then nvs-from-registers,objects-from-registers");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find(line + "1 error, 0 warnings\n"), std::string::npos) << run.out;

    run = runCli("map lint " + map);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, line + "1 error, 0 warnings\n");
    run = runCli("map lint " + map + " --json --model Korvex-B");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "[\n  {\"rule\": \"register-shared-write\", \"severity\": \"error\", \"place\": \"object\", "
              "\"row\": 1, \"message\": \"writes holding register 100 of slave 1, as does object 2\"}\n]\n");

    std::ofstream(path("two.csv"), std::ios::binary)
        << csv.substr(0, csv.rfind("100")) << "101,HOLD1,U16,1,,F,F,Fan\r\n";
    ASSERT_EQ(runCli("regs import " + path("two.csv") + " --out " + map +
                     " --then nvs-from-registers,objects-from-registers")
                  .status,
              0);
    run = runCli("map lint " + map);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "0 errors, 0 warnings\n");
    EXPECT_EQ(runCli("map lint " + map + " --json").out, "[]\n");
}

// Names carry any byte but '"': JSON escapes the backslash and takes the file's ISO-8859-1 bytes.
TEST_F(MapVerb, LintJsonEscapesNames) {
    std::ofstream(path("names.xml"), std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<configuration>\r\n<objects>\r\n"
           "<obj n=\"1\" clear=\"1\" datatype=\"U16\" name=\"Caf\xe9\\\"/>\r\n"
           "<obj n=\"2\" clear=\"1\" datatype=\"U16\" name=\"Caf\xe9\\\"/>\r\n"
           "</objects>\r\n</configuration>\r\n";
    const ProgramRun run = runCli("map lint " + path("names.xml") + " --json");
    EXPECT_EQ(run.status, 0);
    const std::string unlinked =
        "\"rule\": \"object-unlinked\", \"severity\": \"warning\", \"place\": \"object\", ";
    EXPECT_EQ(run.out,
              "[\n  {" + unlinked +
                  "\"row\": 1, \"message\": \"is configured but has neither NV nor register\"},\n"
                  "  {\"rule\": \"duplicate-object-name\", \"severity\": \"warning\", \"place\": \"object\", "
                  "\"row\": 1, "
                  "\"message\": \"name \\\"Caf\\u00e9\\\\\\\" is also used by object 2\"},\n  {" +
                  unlinked +
                  "\"row\": 2, \"message\": \"is configured but has neither NV nor register\"}\n]\n");
}

// The maps built from the examples and the test data have no errors; a load failure exits 1 with
// the reader's message.
TEST_F(MapVerb, LintExampleMapsHaveNoErrors) {
    const char* env = std::getenv("KORVEX_SOURCE_DIR");
    const std::string source = env ? env : KORVEX_TEST_SOURCE_DIR;
    const std::string imports[] = {
        "regs import " + source +
            "/docs/examples/ahu-registers.csv --then nvs-from-registers,objects-from-registers",
        "nvs import " + source +
            "/docs/examples/vz200.xif --then assign-fb,objects-from-nvs,registers-from-objects",
        "nvs import " + source +
            "/tests/data/empty-map.xif --select 0,5,125,130 --then assign-fb,objects-from-nvs",
        "nvs import " + source + "/tests/data/vav-newer-types.xif --then assign-fb,objects-from-nvs",
    };
    for (const std::string& import : imports) {
        ASSERT_EQ(runCli(import + " --out " + path("built.xml")).status, 0) << import;
        const ProgramRun run = runCli("map lint " + path("built.xml"));
        EXPECT_EQ(run.status, 0) << import << "\n" << run.out;
        EXPECT_NE(run.out.find("0 errors, "), std::string::npos) << run.out;
    }
    const ProgramRun missing = runCli("map lint " + path("none.xml"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "Error opening object map XML file " + path("none.xml") + "\n");
    EXPECT_NE(runCli("--help").out.find("Example: korvex-cli map lint"), std::string::npos);
}

} // namespace
