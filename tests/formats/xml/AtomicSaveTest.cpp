// Saving never loses the previous file: every step of the replace can fail (through a file
// operations double), and after each failure the old file is byte-for-byte intact, no temporary
// is left behind, nothing is marked saved and the message names the path.
#include "formats/AtomicFile.h"
#include "formats/xml/MapFile.h"
#include "support/FileText.h"
#include "support/XmlTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex {
namespace {

namespace fs = std::filesystem;

enum class Step { None, CreateTemp, Write, CopyMode, Sync, Close, Rename };

// Real file operations, one of which fails (as a full disk or a vanished directory would).
class FailingOps : public FileOps {
public:
    explicit FailingOps(Step fail) : fail_(fail) {}
    int createTemp(const std::string& path, std::string& tempPath) override {
        if (fail_ == Step::CreateTemp) return -1;
        return FileOps::createTemp(path, tempPath);
    }
    bool writeAll(int fd, std::string_view data) override {
        if (fail_ == Step::Write) {
            FileOps::writeAll(fd, data.substr(0, data.size() / 2)); // part of it reached the disk
            return false;
        }
        return FileOps::writeAll(fd, data);
    }
    bool copyMode(int fd, const std::string& path) override {
        return fail_ != Step::CopyMode && FileOps::copyMode(fd, path);
    }
    bool sync(int fd) override { return fail_ != Step::Sync && FileOps::sync(fd); }
    bool close(int fd) override { return FileOps::close(fd) && fail_ != Step::Close; }
    bool rename(const std::string& from, const std::string& to) override {
        return fail_ != Step::Rename && FileOps::rename(from, to);
    }

private:
    Step fail_;
};

using korvex::test::slurp;

class AtomicSave : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korvex-save-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        target = (dir / "plant.xml").string();
        std::ofstream(target, std::ios::binary) << "previous contents\r\n";
        test::buildRichMap(*map, 2);
    }
    void TearDown() override { fs::remove_all(dir); }
    int entries() const {
        return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    fs::path dir;
    std::string target;
    std::unique_ptr<ObjectMap> map = std::make_unique<ObjectMap>();
};

TEST_F(AtomicSave, EveryFailingStepLeavesTheOldFileAndNoTemporary) {
    for (Step step : {Step::CreateTemp, Step::Write, Step::CopyMode, Step::Sync, Step::Close, Step::Rename}) {
        FailingOps ops(step);
        const MapFileResult result = writeObjectMap(*map, target, ops);
        EXPECT_FALSE(result.ok) << static_cast<int>(step);
        EXPECT_EQ(result.text, "Error opening object map file " + target + "\n");
        EXPECT_EQ(slurp(target), "previous contents\r\n") << static_cast<int>(step);
        EXPECT_EQ(entries(), 1) << static_cast<int>(step);
        EXPECT_TRUE(anyObjectUnsaved(*map)) << "nothing is marked saved after a failed write";
    }
}

TEST_F(AtomicSave, SuccessReplacesTheFileAndKeepsItsPermissions) {
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(writeObjectMap(*map, target).ok);
    EXPECT_EQ(slurp(target).rfind("<?xml ", 0), 0u);
    EXPECT_EQ(entries(), 1);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_FALSE(anyObjectUnsaved(*map));
}

TEST_F(AtomicSave, ASymbolicLinkKeepsPointingAtTheSavedFile) {
    const fs::path link = dir / "link.xml";
    fs::create_symlink(target, link);
    ASSERT_TRUE(writeObjectMap(*map, link.string()).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(slurp(target).rfind("<?xml ", 0), 0u);
}

TEST_F(AtomicSave, ParentThatIsAFileOrIsGoneFails) {
    const std::string underFile = target + "/inner.xml";
    EXPECT_EQ(writeObjectMap(*map, underFile).text, "Error opening object map file " + underFile + "\n");
    const std::string gone = (dir / "gone" / "m.xml").string();
    EXPECT_FALSE(writeObjectMap(*map, gone).ok);
    EXPECT_EQ(slurp(target), "previous contents\r\n");
    EXPECT_EQ(entries(), 1);
}

TEST_F(AtomicSave, NewFileGetsTheUsualPermissions) {
    const std::string fresh = (dir / "new.xml").string();
    const mode_t mask = ::umask(022);
    const bool ok = writeObjectMap(*map, fresh).ok;
    ::umask(mask);
    ASSERT_TRUE(ok);
    struct stat st {};
    ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

} // namespace
} // namespace korvex
