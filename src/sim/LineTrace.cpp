#include "sim/LineTrace.h"

#include <cerrno>
#include <cstring>

namespace korvex::sim {

LineTrace::~LineTrace() {
    if (file_) std::fclose(file_);
}

bool LineTrace::open(const std::string& path, std::string* error) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        if (error) *error = "cannot write the trace to \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    std::lock_guard lock(mutex_);
    if (file_) std::fclose(file_);
    file_ = file;
    return true;
}

void LineTrace::record(TraceKind kind, std::string_view bytes) {
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard lock(mutex_);
    if (!file_) return;
    if (kind == TraceKind::Open) base_ = now;
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(now - base_).count();
    line_.clear();
    appendTraceLine(line_, micros, kind, bytes);
    std::fwrite(line_.data(), 1, line_.size(), file_);
    std::fflush(file_);
}

} // namespace korvex::sim
