// Replacing a file through a temporary; the system calls themselves are in platform/FileOps*.cpp.
#include "formats/AtomicFile.h"

#include <filesystem>

namespace korvex {
namespace {

// The file a symbolic link points at, so saving through a link updates its target.
std::string resolveLink(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : target.string();
}

} // namespace

FileOps& systemFileOps() {
    static FileOps ops;
    return ops;
}

bool replaceFileAtomically(const std::string& path, std::string_view data, FileOps& ops) {
    const std::string target = resolveLink(path);
    std::string temp;
    const int fd = ops.createTemp(target, temp);
    if (fd < 0) return false;
    bool ok = ops.writeAll(fd, data) && ops.copyMode(fd, target) && ops.sync(fd);
    ok = ops.close(fd) && ok;
    if (ok) ok = ops.rename(temp, target);
    if (!ok) {
        ops.remove(temp);
        return false;
    }
    ops.syncDirectory(target);
    return true;
}

} // namespace korvex
