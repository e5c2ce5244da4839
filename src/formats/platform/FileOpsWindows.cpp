// FileOps on Windows: the C runtime's descriptors, _commit to flush, and MoveFileEx to put the
// temporary in the file's place in one step. Windows has no Unix permission bits to carry over,
// and NTFS records the rename in its journal, so there is no directory to flush.
#include "formats/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <vector>
#include <windows.h>

namespace korvex {
namespace {

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

} // namespace

int FileOps::createTemp(const std::string& path, std::string& tempPath) {
    const std::string pattern = directoryOf(path) + "\\.korvex-save-XXXXXX";
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (_mktemp_s(name.data(), name.size()) != 0) return -1;
        int fd = -1;
        const errno_t error = _sopen_s(&fd, name.data(), _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY, _SH_DENYNO,
                                       _S_IREAD | _S_IWRITE);
        if (error == 0) {
            tempPath.assign(name.data());
            return fd;
        }
        if (error != EEXIST) return -1;
    }
    return -1;
}

bool FileOps::writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const unsigned chunk = data.size() > 0x40000000u ? 0x40000000u : static_cast<unsigned>(data.size());
        const int n = _write(fd, data.data(), chunk);
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool FileOps::sync(int fd) {
    return _commit(fd) == 0;
}

bool FileOps::close(int fd) {
    return _close(fd) == 0;
}

bool FileOps::copyMode(int, const std::string&) {
    return true;
}

bool FileOps::rename(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void FileOps::remove(const std::string& path) {
    _unlink(path.c_str());
}

void FileOps::syncDirectory(const std::string&) {}

} // namespace korvex
