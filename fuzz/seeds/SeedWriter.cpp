// Writes the seed corpora of the fuzz targets into <dir>/<target>/: documents, element lines,
// CSV and XIF files of the rich maps the file tests build (one per device model), and the small
// hand-made files of the reader tests. Run by fuzz/make-seeds.sh; its output is committed.
#include "formats/csv/RegisterCsvWriter.h"
#include "formats/xif/XifWriter.h"
#include "formats/xml/MapDocument.h"
#include "support/XmlTestSupport.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

namespace {

using namespace korvex;
namespace fs = std::filesystem;

fs::path root;

void put(const std::string& target, const std::string& name, const std::string& text) {
    const fs::path dir = root / target;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << text;
}

// The document's lines (CR LF kept) that begin, after the indent, with `keyword`.
std::vector<std::string> elementLines(const std::string& document, const std::string& keyword) {
    std::vector<std::string> lines;
    std::istringstream in(document);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t at = line.find_first_not_of(' ');
        if (at != std::string::npos && line.compare(at, keyword.size(), keyword) == 0)
            lines.push_back(line.substr(at) + "\n");
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line;
    return out;
}

// A document without the clearing lines of unused objects: the same map in a tenth of the bytes.
std::string withoutClearedObjects(const std::string& document) {
    std::istringstream in(document);
    std::string out;
    std::string line;
    while (std::getline(in, line))
        if (line.find("clear=\"1\"/>") == std::string::npos || line.find("<obj ") == std::string::npos)
            out += line + "\n";
    return out;
}

// The gateway's own XIF file up to the end of its NV blocks, where reading stops.
std::string xifNVPart(const std::string& xif) {
    return xif.substr(0, xif.find("\r\nFILE template") + 2);
}

void writeMapSeeds(int model) {
    auto map = std::make_unique<ObjectMap>();
    test::buildRichMap(*map, model);
    const std::string document = renderObjectMap(*map).text;
    const std::string m = std::to_string(model);
    put("map_document_fuzz", "rich-map-" + m + ".xml", withoutClearedObjects(document));
    if (model != kTcpDeviceModel) return; // the other models write a part of the same elements
    put("map_document_fuzz", "rich-map-full.xml", document);
    const std::string nvs = joined(elementLines(document, "<nv "));
    std::vector<std::string> objects = elementLines(document, "<obj ");
    std::erase_if(objects, [](const std::string& l) { return l.find("clear=\"1\"/>") != std::string::npos; });
    put("obj_element_fuzz", "rich.txt", nvs + joined(objects));
    for (std::size_t i = 0; i < objects.size(); ++i)
        put("obj_element_fuzz", "obj-" + std::to_string(i), objects[i]);
    put("nv_element_fuzz", "rich.txt", nvs);
    put("port_element_fuzz", "rich.txt", joined(elementLines(document, "<mod ")));
    put("node_element_fuzz", "rich.txt", joined(elementLines(document, "<nd ")));
    for (bool modicon : {false, true}) {
        std::ostringstream csv;
        RegisterCsvWriter(modicon).write(csv, *map);
        put("register_csv_fuzz", modicon ? "rich-modicon.csv" : "rich.csv", csv.str());
    }
    const XifHeaderInfo header{"rich.xif", "Korvex-C", kXifToolVersion, "Mon Jan 6 09:03:07 2025"};
    put("xif_reader_fuzz", "rich.xif", xifNVPart(XifWriter().text(*map, header)));
}

// The small files of the reader tests.
void writeTestFileSeeds() {
    const std::string decl = test::kDeclaration;
    put("map_document_fuzz", "modify.xml",
        decl + "<modify_configuration>\r\n<!-- c -->\r\n<node>\r\n<nd loc=\"x\" pid=\"3\"/>\r\n</node>\r\n"
               "</modify_configuration>\r\n");
    put("map_document_fuzz", "empty.xml", test::document(""));

    const std::string header = "RW,REG,TYPE,FORMAT,SLAVE,BITNUMBER,PACKED,HIGHREGFIRST,NAME\r\n";
    put("register_csv_fuzz", "plain.csv",
        header + "W+,10,HOLD1,S32,0,,T,F,Valve\r\nR,3,INPUT,BIT,2,4,F,T,'a,b'\r\n");
    put("register_csv_fuzz", "numbers.csv", "40001\r\n30005\r\n");
    put("register_csv_fuzz", "registers.csv", "100\n7, x\n");
    put("register_csv_fuzz", "modicon.csv", "MODICON,FORMAT,NAME\r\n400100,FP,\"q,r\"\r\n");

    const std::string head = "File: x.xif\r\nnotice\r\nRun on today\r\n\r\n80:00:00:00:00:00:00:01\r\n"
                             "2 15 1 3 0 8\r\n32 7 19\r\nmore\r\n\r\n";
    auto block = [](const std::string& var, int direction, int type) {
        return var + "\r\n0 1 63 " + std::to_string(direction) + " 0 1 0\r\n\"@0|1\r\n" +
               std::to_string(type) + " *   1\r\n2 0 0 0 0\r\n";
    };
    put("xif_reader_fuzz", "three.xif",
        head + block("VAR nviTemp 0 0 0 0", 0, 39) + block("VAR nvoFlow   1 0 0 1", 1, 0) +
            block("VAR nvoSwitch 2 0 0 0", 1, 95));
    put("xif_reader_fuzz", "array.xif", head + "# c\r\n" + block("VAR nviTemp 5 0 0 3", 0, 39));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: korvex-fuzz-seeds <corpus directory>\n";
        return 2;
    }
    root = argv[1];
    writeMapSeeds(0);
    writeMapSeeds(kTcpDeviceModel);
    writeTestFileSeeds();
    return 0;
}
