// korvex-cli snvt [N]: prints the standard type catalogue, or one type with its field layout.
#include "cli/Verb.h"
#include "vocab/SnvtCatalogue.h"
#include "vocab/SnvtLayout.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace korvex;

// Field names may hold a blank ("bit 0"); quoting them keeps every line splittable on blanks.
std::string column(std::string_view name) {
    if (name.find(' ') == std::string_view::npos) return std::string(name);
    return "\"" + std::string(name) + "\"";
}

void printType(int index) {
    const SnvtScaling scaling = snvt_scaling(index);
    std::printf("%d %s %s %u %u %d %d %d\n", index, column(snvt_name(index)).c_str(),
                category_name(snvt_category(index)), static_cast<unsigned>(snvt_size(index)),
                static_cast<unsigned>(scaling.defaultSize), scaling.scaleA, scaling.scaleB, scaling.scaleC);
}

void printFields(int index) {
    const SnvtLayout layout = snvt_layout(index);
    for (int i = 0; i < layout.count; ++i) {
        const SnvtFieldPlacement& placed = layout.fields[i];
        const SnvtField& field = *placed.field;
        std::printf("%s %s %d %d %d %d %d %d\n", column(field.name).c_str(), category_name(field.category),
                    field.sizeOrBit, placed.byteOffset, placed.bitOffset, field.scaleA, field.scaleB,
                    field.scaleC);
    }
}

bool parseIndex(const std::string& text, int& index) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, index);
    return ec == std::errc() && ptr == end && index >= 0 && index <= SnvtCount;
}

int runSnvt(const std::vector<std::string>& args) {
    if (args.empty()) {
        for (int index = 1; index <= SnvtCount; ++index) printType(index);
        return 0;
    }
    if (args.size() > 1) {
        std::fprintf(stderr, "korvex-cli snvt: expects at most one type index\n");
        return 2;
    }
    int index = 0;
    if (!parseIndex(args[0], index)) {
        std::fprintf(stderr, "korvex-cli snvt: \"%s\" is not a type index (0 to %d)\n", args[0].c_str(),
                     SnvtCount);
        return 2;
    }
    printType(index);
    printFields(index);
    return 0;
}

const korvex::cli::VerbRegistrar snvtVerb{
    "snvt",
    "snvt [N]\n"
    "  Lists the standard NV types as \"index name category declared-size default-size A B C\", or\n"
    "  shows type N and one line per field: \"name category size-or-bit byte-offset bit-offset A B C\".\n"
    "  Example: korvex-cli snvt 39",
    runSnvt};

} // namespace
