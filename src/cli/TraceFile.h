#pragma once
// korvex-cli device --trace: the wire trace of the whole run, collected from the link's
// recorder as the run goes (so the ring's bound never cuts it) and written at the end, to a
// file atomically or to stderr for "-". Single-threaded, on the command line's thread.
#include "device/link/SerialLink.h"

#include <cstdint>
#include <string>

namespace korvex::cli {

class TraceFile {
public:
    // An empty path: no trace. Turns the link's recorder on otherwise.
    TraceFile(device::SerialLink& link, std::string path);

    bool wanted() const { return !path_.empty(); }
    // Takes the lines recorded since the last call.
    void collect();
    // Collects the rest and writes the trace; false (with a message on stderr) when it could not.
    bool write();

private:
    device::SerialLink& link_;
    std::string path_;
    std::uint64_t seen_ = 0;
    std::string text_;
};

// Whether a trace can be written at path ("-" is stderr): its folder must take a new file, as
// the atomic write at the end needs. 0, or the exit status after a message on stderr.
int checkTracePath(const std::string& path);

} // namespace korvex::cli
