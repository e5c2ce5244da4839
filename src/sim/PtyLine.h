#pragma once
// The simulated gateway's end of its serial line: the master side of a pseudo-terminal, whose
// slave side the tool opens as its port, and the symlink that may name that side. This is the one
// place the simulator touches the operating system: platform/PtyLinePosix.cpp does it with POSIX
// pseudo-terminals; on a system without them platform/PtyLineNone.cpp makes open() fail with a
// message, so the simulator, and the window and command line that start it, still build.
// Not thread-safe: the owner serialises every call.
#include <cstddef>
#include <string>
#include <string_view>

namespace korvex::sim {

class PtyLine {
public:
    PtyLine() = default;
    ~PtyLine() { close(); }
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    // Opens a new pseudo-terminal in raw mode; false with the reason in error.
    bool open(std::string* error);
    void close();
    bool isOpen() const { return masterFd_ >= 0; }
    // The path the other side opens as its serial port.
    const std::string& slavePath() const { return slavePath_; }

    // Waits up to waitMs for what the other side sent: the bytes read, 0 when nothing came, -1
    // when the line failed.
    int read(char* buffer, std::size_t capacity, int waitMs);
    // Writes what the line takes now: the bytes written, 0 when it is full, -1 when it failed.
    long write(std::string_view bytes);

private:
    int masterFd_ = -1;
    int slaveFd_ = -1; // held open so the master stays readable while the port is closed
    std::string slavePath_;
};

// Makes link a symlink to target, replacing what is there in one step.
bool linkLine(const std::string& target, const std::string& link, std::string* error);
void unlinkLine(const std::string& link);

} // namespace korvex::sim
