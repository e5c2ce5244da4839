#pragma once
// The log of a watch: a CSV file with the header "time,object,name,value" and one row per read,
// each row written and flushed as it comes, so what was logged survives a stop or a crash of the
// program. Lines end in CR LF like every text file the tool writes. Time is UTC in ISO 8601 with
// milliseconds ("2026-12-08T22:45:01.123Z"); the name is quoted as the register CSV quotes names
// (line breaks in it become blanks); the value is as the grid shows it, or the failure's word.
// One thread at a time (the watch's).
#include "device/actions/ValueWatch.h"

#include <cstdio>
#include <string>

namespace korvex::device {

inline constexpr std::string_view kWatchLogHeader = "time,object,name,value\r\n";

// "YYYY-MM-DDThh:mm:ss.mmmZ".
std::string isoUtcTime(WallClock::time_point time);
// One row of the log, with its CR LF.
std::string watchLogRow(const WatchReading& reading);

class WatchLog {
public:
    WatchLog() = default;
    ~WatchLog() { close(); }
    WatchLog(const WatchLog&) = delete;
    WatchLog& operator=(const WatchLog&) = delete;

    // Creates (or empties) the file and writes the header; false with the system's reason.
    bool open(const std::string& path, std::string* error = nullptr);
    bool isOpen() const { return file_ != nullptr; }
    // Writes and flushes one row; false once a write failed (the log then stays closed).
    bool write(const WatchReading& reading);
    void close();

private:
    bool put(std::string_view bytes);

    std::FILE* file_ = nullptr;
};

} // namespace korvex::device
