#include "formats/csv/RegisterCsvFile.h"

#include "formats/csv/CsvResult.h"
#include "formats/csv/RegisterCsvReader.h"
#include "formats/csv/RegisterCsvWriter.h"

#include <cstdio>
#include <fstream>

namespace korvex {
namespace {

std::string formatted(const char* format, const std::string& text) {
    std::string out(format);
    const std::size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, text);
    return out;
}

} // namespace

std::string fileNameOfPath(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string entriesAddedText(int count) {
    char text[64];
    std::snprintf(text, sizeof text, CsvText::EntriesAdded, count);
    return text;
}

CsvFileOutcome importRegisterCsvFile(const std::string& path, RegisterImportList& list, bool modiconOption) {
    list.count = 0;
    if (path.find(".csv") == std::string::npos && path.find(".CSV") == std::string::npos)
        return {false, CsvText::NeedCsvFile, {}};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {false, formatted(CsvText::ErrorOpening, path), {}};
    const CsvReadResult result = RegisterCsvReader(modiconOption).read(in, list);
    if (!result.ok()) {
        list.count = 0;
        return {false, csvMessage(result) + "\n" + CsvText::ImportUnsuccessful, {}};
    }
    const std::string name = fileNameOfPath(path);
    char count[16];
    std::snprintf(count, sizeof count, "%d", list.count);
    std::string status = formatted(CsvText::RegistersParsed, name);
    status.replace(status.find("%d"), 2, count);
    return {true, status, name};
}

std::string csvExportPath(const std::string& path) {
    return path.find(".csv") == std::string::npos ? path + ".csv" : path;
}

CsvFileOutcome exportRegisterCsvFile(const std::string& path, const ObjectMap& map, bool modiconOption) {
    // A row that would not read back stops the export before the file is touched.
    if (std::string refused = RegisterCsvWriter(modiconOption).refusal(map); !refused.empty())
        return {false, std::move(refused), {}};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return {false, formatted(CsvText::ErrorOpening, path), {}};
    const CsvResult result = RegisterCsvWriter(modiconOption).write(out, map);
    out.close();
    if (result != CsvResult::Ok || !out) return {false, csvMessageFormat(CsvResult::WriteFailed), {}};
    return {true, {}, fileNameOfPath(path)};
}

} // namespace korvex
