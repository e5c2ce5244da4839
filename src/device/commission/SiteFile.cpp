#include "device/commission/SiteFile.h"

#include "formats/LineReader.h"
#include "model/Settings.h"

#include <algorithm>
#include <charconv>
#include <fstream>

namespace korvex::device {

namespace {

constexpr std::size_t kMaxSiteLine = 4096;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

enum class Column { Port, Location, Ip };

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The cells of one line: commas separate them; a cell in double quotes may hold commas, and ""
// inside it is one quote. False for a quote left open.
bool splitCells(std::string_view line, std::vector<std::string>& cells) {
    cells.clear();
    std::string cell;
    bool quoted = false;
    bool wasQuoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') {
                cell += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                cell += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"' && trimmed(cell).empty()) {
            cell.clear();
            quoted = wasQuoted = true;
        } else if (c == ',') {
            cells.push_back(wasQuoted ? cell : std::string(trimmed(cell)));
            cell.clear();
            wasQuoted = false;
        } else if (!wasQuoted || c == ' ' || c == '\t') {
            if (!wasQuoted) cell += c;
        } else {
            return false;
        }
    }
    cells.push_back(wasQuoted ? cell : std::string(trimmed(cell)));
    return !quoted;
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

class SiteReader {
public:
    SiteReader(const std::vector<std::string>& ports, bool hasTcp) : ports_(ports), hasTcp_(hasTcp) {}

    // One line of the file; false (with the error kept) when it is refused.
    bool take(std::string_view line, int number) {
        if (number == 1 && line.starts_with(kUtf8Mark)) line.remove_prefix(kUtf8Mark.size());
        if (trimmed(line).empty()) return true;
        std::vector<std::string> cells;
        if (!splitCells(line, cells)) return fail(number, "a quote is not closed");
        return columns_.empty() ? header(cells, number) : row(cells, number);
    }

    SiteFile finish() {
        if (file_.error.empty() && columns_.empty()) fail(0, "the site file has no header line");
        file_.ok = file_.error.empty();
        return std::move(file_);
    }

private:
    bool fail(int number, std::string text) {
        file_.errorLine = number;
        file_.error = std::move(text);
        return false;
    }

    bool header(const std::vector<std::string>& cells, int number) {
        for (const std::string& cell : cells) {
            const std::string name = lowered(cell);
            Column column;
            if (name == "port") {
                column = Column::Port;
            } else if (name == "location") {
                column = Column::Location;
            } else if (name == "ip") {
                if (!hasTcp_) return fail(number, "an \"ip\" column needs a Korvex-C map");
                column = Column::Ip;
            } else {
                return fail(number, "unknown column \"" + cell + "\" (port, location, ip)");
            }
            if (std::find(columns_.begin(), columns_.end(), column) != columns_.end())
                return fail(number, "column \"" + name + "\" is named twice");
            columns_.push_back(column);
        }
        if (std::find(columns_.begin(), columns_.end(), Column::Port) == columns_.end())
            return fail(number, "the header has no \"port\" column");
        return true;
    }

    bool row(const std::vector<std::string>& cells, int number) {
        if (cells.size() != columns_.size())
            return fail(number, std::to_string(cells.size()) + " cells where the header names " +
                                    std::to_string(columns_.size()));
        SiteRow site;
        site.line = number;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (!cell(columns_[i], cells[i], site, number)) return false;
        }
        if (std::find(ports_.begin(), ports_.end(), site.port) == ports_.end())
            return fail(number, "port " + site.port + " is not one of the --port options");
        if (file_.rowFor(site.port))
            return fail(number, "port " + site.port + " is named twice (first on line " +
                                    std::to_string(file_.rowFor(site.port)->line) + ")");
        file_.rows.push_back(std::move(site));
        return true;
    }

    bool cell(Column column, const std::string& text, SiteRow& site, int number) {
        switch (column) {
        case Column::Port:
            if (text.empty()) return fail(number, "the port is empty");
            site.port = text;
            return true;
        case Column::Location:
            if (text.size() > static_cast<std::size_t>(kLocationLength))
                return fail(number,
                            "the location is longer than " + std::to_string(kLocationLength) + " characters");
            if (std::any_of(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
                return fail(number, "the location holds a control character");
            // The gateway would store either as '_', and the gateway would then not hold the map.
            if (text.find_first_of("\">") != std::string::npos)
                return fail(number, "the location holds \" or >, which the gateway cannot store");
            if (!text.empty()) site.location = text;
            return true;
        case Column::Ip:
            if (text.empty()) return true;
            site.ip = parseIpAddress(text);
            return site.ip ? true : fail(number, "bad IP address \"" + text + "\"");
        }
        return true;
    }

    const std::vector<std::string>& ports_;
    bool hasTcp_;
    std::vector<Column> columns_;
    SiteFile file_;
};

} // namespace

std::string SiteFile::errorText() const {
    return errorLine > 0 ? "line " + std::to_string(errorLine) + ": " + error : error;
}

const SiteRow* SiteFile::rowFor(std::string_view port) const {
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const SiteRow& r) { return r.port == port; });
    return found == rows.end() ? nullptr : &*found;
}

SiteFile parseSiteFile(std::istream& in, const std::vector<std::string>& ports, bool hasTcp) {
    SiteReader reader(ports, hasTcp);
    LineReader lines(in, kMaxSiteLine);
    std::string line;
    while (lines.next(line)) {
        if (!reader.take(line, lines.lineNumber())) break;
    }
    return reader.finish();
}

SiteFile readSiteFile(const std::string& path, const std::vector<std::string>& ports, bool hasTcp) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SiteFile file;
        file.error = "cannot read " + path;
        return file;
    }
    return parseSiteFile(in, ports, hasTcp);
}

std::optional<IpAddress> parseIpAddress(std::string_view text) {
    IpAddress address{};
    for (std::size_t i = 0; i < address.size(); ++i) {
        const std::size_t dot = i + 1 < address.size() ? text.find('.') : text.size();
        if (dot == std::string_view::npos) return std::nullopt;
        const std::string_view part = text.substr(0, dot);
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || part.size() > 3 || ec != std::errc() || end != part.data() + part.size() ||
            value > 255)
            return std::nullopt;
        address[i] = static_cast<uint8_t>(value);
        text.remove_prefix(std::min(text.size(), dot + 1));
    }
    if (address[0] == 0) return std::nullopt;
    return address;
}

} // namespace korvex::device
