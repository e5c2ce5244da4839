#include "cli/TraceFile.h"

#include "cli/DeviceCli.h"
#include "formats/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace korvex::cli {

namespace {

int refuse(const std::string& path, const char* why) {
    std::fprintf(stderr, "korvex-cli device: cannot write the trace to \"%s\": %s\n", path.c_str(), why);
    return kExitBadArguments;
}

} // namespace

int checkTracePath(const std::string& path) {
    if (path == "-") return kExitOk;
    if (path.empty()) return badDeviceArguments("--trace needs a file name (or - for stderr)");
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return refuse(path, "it is a folder");
    std::string probe;
    const int fd = systemFileOps().createTemp(path, probe);
    if (fd < 0) return refuse(path, std::strerror(errno));
    ::close(fd);
    ::unlink(probe.c_str());
    return kExitOk;
}

TraceFile::TraceFile(device::SerialLink& link, std::string path) : link_(link), path_(std::move(path)) {
    if (wanted()) link_.trace().setEnabled(true);
}

void TraceFile::collect() {
    if (wanted()) seen_ = device::appendTraceText(link_.trace(), seen_, text_);
}

bool TraceFile::write() {
    if (!wanted()) return true;
    collect();
    if (path_ == "-") {
        std::fwrite(text_.data(), 1, text_.size(), stderr);
        std::fflush(stderr);
        return true;
    }
    if (replaceFileAtomically(path_, text_)) return true;
    std::fprintf(stderr, "korvex-cli device: could not write the trace to \"%s\"\n", path_.c_str());
    return false;
}

} // namespace korvex::cli
