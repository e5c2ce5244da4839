#pragma once
// Replacing a file so that it is never left half-written: the new contents go to a temporary
// file in the same directory, are flushed to the disk, and the temporary then takes the file's
// name in one step. A failure at any point removes the temporary and leaves the old file as it
// was. The operations sit behind an interface so tests can make each of them fail.
#include <string>
#include <string_view>

namespace korvex {

class FileOps {
public:
    virtual ~FileOps() = default;
    // Creates a new, empty temporary file next to `path`; -1 on failure. `tempPath` receives its name.
    virtual int createTemp(const std::string& path, std::string& tempPath);
    virtual bool writeAll(int fd, std::string_view data);
    virtual bool sync(int fd);
    virtual bool close(int fd);
    // Gives the temporary the permission bits the replaced file had (or new files get).
    virtual bool copyMode(int fd, const std::string& path);
    virtual bool rename(const std::string& from, const std::string& to);
    virtual void remove(const std::string& path);
    // Flushes the directory entry of `path` (best effort: the data is already safe).
    virtual void syncDirectory(const std::string& path);
};

FileOps& systemFileOps();

// Writes `data` to `path` through a temporary file. A symbolic link at `path` is followed, so
// the file it points at is replaced and the link stays. False on any failure.
bool replaceFileAtomically(const std::string& path, std::string_view data, FileOps& ops = systemFileOps());

} // namespace korvex
