// FileOps on POSIX: mkstemp, fsync and rename, and the directory synced after the rename.
#include "formats/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace korvex {
namespace {

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

int FileOps::createTemp(const std::string& path, std::string& tempPath) {
    // A short name of its own, so a file name near the length limit still gets a temporary.
    std::string pattern = directoryOf(path) + "/.korvex-save-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd >= 0) tempPath.assign(name.data());
    return fd;
}

bool FileOps::writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool FileOps::sync(int fd) {
    return ::fsync(fd) == 0;
}

bool FileOps::close(int fd) {
    return ::close(fd) == 0;
}

bool FileOps::copyMode(int fd, const std::string& path) {
    struct stat existing {};
    const mode_t mode =
        ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : (0666 & ~currentUmask());
    return ::fchmod(fd, mode) == 0;
}

bool FileOps::rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

void FileOps::remove(const std::string& path) {
    ::unlink(path.c_str());
}

void FileOps::syncDirectory(const std::string& path) {
    const int fd = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace korvex
