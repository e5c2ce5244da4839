// The simulated gateway's line across hang-ups when its link cannot be made: a come-back that
// fails must not leave the new line's descriptors open behind it.
#include "sim/SimulatedGateway.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace korvex::sim {
namespace {

int openDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

TEST(GatewayLineTest, ComeBackThatCannotLinkLeavesNoDescriptorsOpen) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(::testing::TempDir()) / ("korvex-line-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string link = (dir / "port").string();
    SimulatedGateway gateway;
    std::string error;
    ASSERT_TRUE(gateway.start(&error)) << error;
    ASSERT_TRUE(gateway.setLink(link, &error)) << error;
    gateway.hangUp();
    fs::remove_all(dir); // nowhere to make the link any more
    const int before = openDescriptors();
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_FALSE(gateway.comeBack(&error));
        EXPECT_NE(error.find("cannot link"), std::string::npos) << error;
        EXPECT_TRUE(gateway.isHungUp());
    }
    EXPECT_EQ(openDescriptors(), before);

    fs::create_directories(dir);
    EXPECT_TRUE(gateway.comeBack(&error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    gateway.stop();
    fs::remove_all(dir);
}

} // namespace
} // namespace korvex::sim
