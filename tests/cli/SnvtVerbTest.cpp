// korvex-cli snvt, run as a program: listing, one type with its fields, and refused arguments.
#include "support/ProgramRun.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using korvex::test::ProgramRun;

ProgramRun runSnvt(const std::string& args) {
    return korvex::test::runCli(args, korvex::test::ErrorOutput::Dropped);
}

TEST(SnvtVerb, ListsEveryCatalogueRow) {
    const ProgramRun run = runSnvt("snvt");
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
        const ProgramRun run = runSnvt(c.args);
        EXPECT_EQ(run.status, 0) << c.args;
        EXPECT_EQ(run.out, c.want) << c.args;
    }
}

TEST(SnvtVerb, RefusesWhatIsNotATypeIndex) {
    for (const char* args : {"snvt 178", "snvt -1", "snvt 39x", "snvt abc", "snvt ''", "snvt 1 2"}) {
        const ProgramRun run = runSnvt(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_TRUE(run.out.empty()) << args;
    }
}

} // namespace
