#pragma once
// The simulated gateway's own trace of its line, in the same text form as the tool's trace but
// seen from the gateway's side: '<' what it received, '>' what it sent, "! open PATH" and
// "! close" as its line comes and goes. Each line is written and flushed as it happens, so the
// file is whole whenever the simulator stops. Any thread; one mutex keeps the lines whole.
#include "vocab/TraceLine.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace korvex::sim {

class LineTrace {
public:
    LineTrace() = default;
    ~LineTrace();
    LineTrace(const LineTrace&) = delete;
    LineTrace& operator=(const LineTrace&) = delete;

    // Starts a new trace file at path (replacing one there); false with the reason when it
    // cannot be written.
    bool open(const std::string& path, std::string* error = nullptr);
    // Times count from the last open of the line.
    void record(TraceKind kind, std::string_view bytes = {});

private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
    std::chrono::steady_clock::time_point base_ = std::chrono::steady_clock::now();
    std::string line_;
};

} // namespace korvex::sim
