// Dictionary: csv.dict
// Register CSV files, read with the Modicon option off and on: a result code with a line number,
// an empty list on failure, entries within their code ranges on success; the registers added to
// a map write a file that reads back to the same registers and writes the same bytes again.
#include "formats/csv/CsvResult.h"
#include "formats/csv/RegisterCsvReader.h"
#include "formats/csv/RegisterCsvWriter.h"
#include "support/FuzzChecks.h"
#include "vocab/RegisterCodes.h"

#include <memory>
#include <sstream>

namespace {

using namespace korvex;

void checkEntry(const RegisterDef& e) {
    fuzz::expect(fuzz::terminatedField(e.name), "register name not terminated");
    fuzz::expect(e.type >= 0 && e.type < RegisterType::Count, "register type outside its codes");
    fuzz::expect(e.format > 0 && e.format < RegisterFormat::Count, "register format outside its codes");
    fuzz::expect(e.slave >= 1 && e.poll >= 1, "slave or poll left 0");
    fuzz::expect(e.bitNumber <= 32, "bit number beyond a 32-bit register pair");
    fuzz::expect(e.readPeriodic || e.writePeriodic || e.writeOnUpdate, "no access mode");
    fuzz::expect(e.defined == 0, "selection mark set by the reader");
}

// Reads `text`; returns the list (count 0 on failure).
std::unique_ptr<RegisterImportList> readList(const std::string& text, bool modicon, CsvReadResult& result) {
    auto list = std::make_unique<RegisterImportList>();
    std::istringstream in(text);
    result = RegisterCsvReader(modicon).read(in, *list);
    fuzz::expect(result.code < CsvResult::Count, "CSV result outside its codes");
    fuzz::expect(result.line >= 0, "negative line number");
    if (!result.ok()) {
        fuzz::expect(!csvMessage(result).empty() || result.code == CsvResult::EmptyFile,
                     "a failure without text");
        fuzz::expect(list->count == 0, "a failed read left entries");
        return list;
    }
    fuzz::expect(list->count >= 1 && list->count <= kListCapacity, "entry count outside the list");
    for (int i = 0; i < list->count; ++i) checkEntry(list->entries[i]);
    return list;
}

// The registers of the list, added to a fresh map and written as a file.
std::string writeList(RegisterImportList& list, bool modicon, int slot) {
    ObjectMap& map = fuzz::freshMap(slot);
    selectAllImported(list);
    fuzz::expect(addSelectedRegisters(list, map) == list.count, "not every entry was added");
    fuzz::checkMap(map);
    // Registers that came from a file always have a form that reads back: the export takes them.
    const std::string refused = RegisterCsvWriter(modicon).refusal(map);
    if (!refused.empty()) fuzz::fail("the export refuses a register read from a file: " + refused);
    std::ostringstream out;
    fuzz::expect(RegisterCsvWriter(modicon).write(out, map) == CsvResult::Ok, "writing failed");
    return out.str();
}

void roundTrip(const std::string& text, bool modicon) {
    CsvReadResult result;
    auto list = readList(text, modicon, result);
    if (!result.ok()) return;
    const std::string first = writeList(*list, modicon, 0);
    auto again = readList(first, modicon, result);
    if (!result.ok()) fuzz::fail("the written file does not read: " + csvMessage(result) + "\n" + first);
    fuzz::expect(again->count == list->count, "the written file holds another number of registers");
    const std::string second = writeList(*again, modicon, 1);
    if (second != first) fuzz::fail("the second write differs " + fuzz::firstDifference(first, second));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    roundTrip(text, false);
    roundTrip(text, true);
    return 0;
}
