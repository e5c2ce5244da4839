#include "formats/xif/XifFile.h"

#include "formats/xif/XifReader.h"
#include "formats/xif/XifWriter.h"

#include <cstdio>
#include <fstream>

namespace korvex {
namespace {

std::string withPath(const char* format, const std::string& path) {
    std::string text(format);
    text.replace(text.find("%s"), 2, path);
    return text;
}

std::string fileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

XifFileOutcome importXifFile(const std::string& path, ImportTable& table) {
    if (path.find(".xif") == std::string::npos && path.find(".XIF") == std::string::npos)
        return {false, XifText::NeedXifFile, {}, 0};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {false, withPath(XifText::ErrorOpening, path), {}, 0};
    XifReader reader;
    const int parsed = reader.read(in, table);
    if (parsed == 0) {
        clearImportTable(table);
        return {false, XifText::ImportUnsuccessful, {}, 0, {}};
    }
    const std::string name = fileNameOf(path);
    char count[16];
    std::snprintf(count, sizeof count, "%d", parsed);
    std::string status = withPath(XifText::NVsParsed, name);
    status.replace(status.find("%d"), 2, count);
    return {true, status, name, parsed, reader.notes()};
}

std::string xifExportPath(const std::string& path) {
    return path.find(".xif") == std::string::npos ? path + ".xif" : path;
}

XifFileOutcome exportXifFile(const std::string& path, ObjectMap& map, const std::string& modelName,
                             const std::string& dateText) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return {false, withPath(XifText::ErrorCreating, path), {}, 0};
    XifHeaderInfo header;
    header.fileName = fileNameOf(path);
    header.modelName = modelName;
    header.dateText = dateText;
    const bool written = XifWriter().write(out, map, header);
    out.close();
    if (!written || !out) return {false, withPath(XifText::ErrorCreating, path), {}, 0};
    return {true, XifText::FileSaved, header.fileName, 0};
}

std::string nvEntriesAddedText(int count) {
    char text[64];
    std::snprintf(text, sizeof text, XifText::EntriesAdded, count);
    return text;
}

} // namespace korvex
