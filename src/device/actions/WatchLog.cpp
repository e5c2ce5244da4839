#include "device/actions/WatchLog.h"

#include "formats/csv/CsvColumn.h"

#include <cerrno>
#include <cstring>

namespace korvex::device {

std::string isoUtcTime(WallClock::time_point time) {
    using namespace std::chrono;
    const auto ms = floor<milliseconds>(time);
    const auto day = floor<days>(ms);
    const year_month_day date{day};
    const hh_mm_ss clock{ms - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text;
}

std::string watchLogRow(const WatchReading& reading) {
    std::string name = reading.name;
    for (char& c : name)
        if (c == '\r' || c == '\n') c = ' ';
    std::string row = isoUtcTime(reading.time) + "," + std::to_string(reading.object) + ",";
    appendCsvName(name, row);
    row += ",";
    row += reading.text;
    row += "\r\n";
    return row;
}

bool WatchLog::open(const std::string& path, std::string* error) {
    close();
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    if (put(kWatchLogHeader)) return true;
    if (error) *error = std::strerror(errno);
    return false;
}

bool WatchLog::write(const WatchReading& reading) {
    return file_ && put(watchLogRow(reading));
}

bool WatchLog::put(std::string_view bytes) {
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && std::fflush(file_) == 0;
    if (!written) close();
    return written;
}

void WatchLog::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

} // namespace korvex::device
