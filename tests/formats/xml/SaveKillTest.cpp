// Saving survives the process being killed: a child process saves the object map and is killed
// with SIGKILL before each step of the save (every piece of the write included), and at random
// moments while it saves two documents in turn over and over. After every kill the file holds
// the whole old or the whole new document, never a mix or a part, and it loads.
#include "formats/AtomicFile.h"
#include "formats/xml/MapDocument.h"
#include "formats/xml/MapFile.h"
#include "support/FileText.h"
#include "support/XmlTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace korvex {
namespace {

namespace fs = std::filesystem;

// The real file operations with a kill point before each one and before each piece of the
// write, which goes out in pieces with an optional pause after each to widen the window.
class KillingOps : public FileOps {
public:
    KillingOps(int killAt, std::size_t piece, int pauseMicros)
        : killAt_(killAt), piece_(piece), pauseMicros_(pauseMicros) {}

    int createTemp(const std::string& path, std::string& tempPath) override {
        point();
        return FileOps::createTemp(path, tempPath);
    }
    bool writeAll(int fd, std::string_view data) override {
        while (!data.empty()) {
            point();
            const std::string_view piece = data.substr(0, piece_);
            if (!FileOps::writeAll(fd, piece)) return false;
            data.remove_prefix(piece.size());
            if (pauseMicros_ > 0) std::this_thread::sleep_for(std::chrono::microseconds(pauseMicros_));
        }
        return true;
    }
    bool copyMode(int fd, const std::string& path) override {
        point();
        return FileOps::copyMode(fd, path);
    }
    bool sync(int fd) override {
        point();
        return FileOps::sync(fd);
    }
    bool close(int fd) override {
        point();
        return FileOps::close(fd);
    }
    bool rename(const std::string& from, const std::string& to) override {
        renameStep_ = step_;
        point();
        return FileOps::rename(from, to);
    }
    void syncDirectory(const std::string& path) override {
        point();
        FileOps::syncDirectory(path);
    }

    int steps() const { return step_; }
    int renameStep() const { return renameStep_; }

private:
    void point() {
        if (step_++ == killAt_) ::raise(SIGKILL);
    }

    int killAt_;
    std::size_t piece_;
    int pauseMicros_;
    int step_ = 0;
    int renameStep_ = -1;
};

using korvex::test::slurp;

class SaveKill : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korvex-kill-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        target = (dir / "plant.xml").string();
        test::buildRichMap(*oldMap, 0);
        test::buildRichMap(*newMap, 2);
        oldText = renderObjectMap(*oldMap).text;
        newText = renderObjectMap(*newMap).text;
        ASSERT_NE(oldText, newText);
        restoreOld();
    }
    void TearDown() override { fs::remove_all(dir); }

    void restoreOld() { ASSERT_TRUE(writeObjectMap(*oldMap, target).ok); }

    // Runs `save` in a child process and returns how the child ended.
    template <class Save> int inChild(Save save) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            save();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    }

    // The file is one of the two documents and loads.
    void expectWholeDocument(const std::string& context) {
        const std::string text = slurp(target);
        EXPECT_TRUE(text == oldText || text == newText) << context << ": " << text.size() << " bytes";
        auto loaded = std::make_unique<ObjectMap>();
        EXPECT_TRUE(readObjectMap(*loaded, target).ok) << context;
    }

    fs::path dir;
    std::string target;
    std::unique_ptr<ObjectMap> oldMap = std::make_unique<ObjectMap>();
    std::unique_ptr<ObjectMap> newMap = std::make_unique<ObjectMap>();
    std::string oldText;
    std::string newText;
};

TEST_F(SaveKill, KilledBeforeAnyStepLeavesTheOldDocumentUntilTheRename) {
    constexpr std::size_t kPiece = 1024;
    KillingOps counting(-1, kPiece, 0);
    ASSERT_TRUE(writeObjectMap(*newMap, target, counting).ok);
    const int steps = counting.steps();
    const int rename = counting.renameStep();
    ASSERT_GT(rename, static_cast<int>(newText.size() / kPiece)) << "every piece of the write is a step";
    for (int killAt = 0; killAt <= steps; ++killAt) {
        restoreOld();
        const int status = inChild([&] {
            KillingOps ops(killAt, kPiece, 0);
            writeObjectMap(*newMap, target, ops);
        });
        const std::string context =
            "killed before step " + std::to_string(killAt) + " of " + std::to_string(steps);
        EXPECT_EQ(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, killAt < steps) << context;
        EXPECT_EQ(slurp(target), killAt <= rename ? oldText : newText) << context;
        expectWholeDocument(context);
    }
}

TEST_F(SaveKill, KilledAtRandomMomentsWhileSavingInALoop) {
    std::mt19937 random(20240612);
    std::uniform_int_distribution<int> delayMicros(0, 15000);
    int sawOld = 0;
    int sawNew = 0;
    for (int round = 0; round < 60; ++round) {
        const int delay = delayMicros(random);
        // The child says each save it finished; the parent lets 0, 1 or 2 of them finish before
        // its random wait, so the kills meet both documents however slow a save is (a
        // sanitizer build on a busy machine may not finish one within the wait).
        int saved[2];
        ASSERT_EQ(::pipe(saved), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(saved[0]);
            KillingOps ops(-1, 512, 50);
            for (int i = 0;; ++i) {
                writeObjectMap(i % 2 ? *oldMap : *newMap, target, ops);
                [[maybe_unused]] const auto said = ::write(saved[1], "s", 1);
            }
        }
        ::close(saved[1]);
        char mark;
        bool heard = true;
        for (int n = 0; n < round % 3 && heard; ++n) heard = ::read(saved[0], &mark, 1) == 1;
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        ::kill(pid, SIGKILL);
        ::close(saved[0]);
        EXPECT_TRUE(heard) << "round " << round << ": the child stopped saving";
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        const std::string context =
            "round " + std::to_string(round) + ", killed after " + std::to_string(delay) + " us";
        expectWholeDocument(context);
        (slurp(target) == oldText ? sawOld : sawNew)++;
    }
    // The kills met saves of both documents (a save takes a few milliseconds with the pauses).
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}

} // namespace
} // namespace korvex
