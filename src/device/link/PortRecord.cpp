#include "device/link/PortRecord.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace korvex::device {

namespace fs = std::filesystem;

namespace {

// Where a path leads once every symlink is followed; empty when it leads nowhere.
std::string resolved(const fs::path& path) {
    std::error_code error;
    const fs::path target = fs::canonical(path, error);
    return error ? std::string() : target.string();
}

// The links in folder with the device each resolves to, sorted by link name.
std::vector<std::pair<std::string, std::string>> linksIn(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> links;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string target = resolved(it->path());
        if (!target.empty()) links.emplace_back(it->path().string(), target);
    }
    std::sort(links.begin(), links.end());
    return links;
}

bool sameId(const std::optional<std::uint16_t>& a, const std::optional<std::uint16_t>& b) {
    return !a || !b || *a == *b;
}

} // namespace

void nameByLinks(std::vector<PortRecord>& records, const std::string& folder) {
    std::vector<std::string> devices;
    for (PortRecord& record : records) {
        if (record.name.empty()) record.name = record.location;
        const std::string device = resolved(record.location);
        devices.push_back(device.empty() ? record.location : device);
    }
    const std::size_t detected = records.size();
    for (const auto& [link, target] : linksIn(folder)) {
        bool named = false;
        for (std::size_t i = 0; i < detected; ++i) {
            if (devices[i] != target) continue;
            if (records[i].name == records[i].location) records[i].name = link;
            named = true;
        }
        if (!named) records.push_back({target, link, {}, {}, {}, {}, {}});
    }
}

const PortRecord* findPort(const std::vector<PortRecord>& records, std::string_view name) {
    if (name.empty()) return nullptr;
    for (const PortRecord& record : records)
        if (record.name == name || record.location == name) return &record;
    const std::string target = resolved(fs::path(name));
    if (target.empty()) return nullptr;
    for (const PortRecord& record : records)
        if (record.location == target || resolved(record.location) == target) return &record;
    return nullptr;
}

const PortRecord* findReturned(const std::vector<PortRecord>& records, const PortRecord& gone) {
    if (gone.serialNumber.empty()) return nullptr;
    for (const PortRecord& record : records)
        if (record.serialNumber == gone.serialNumber && sameId(record.vendorId, gone.vendorId) &&
            sameId(record.productId, gone.productId))
            return &record;
    return nullptr;
}

} // namespace korvex::device
