#pragma once
// Invariants the fuzz targets check after every input. A broken invariant prints what broke and
// aborts, which libFuzzer reports as a crash and keeps the input as an artifact.
#include "formats/xml/XmlError.h"
#include "model/ObjectMap.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace korvex {
class ElementReader;
}

namespace korvex::fuzz {

[[noreturn]] void fail(const std::string& what);

inline void expect(bool condition, const char* what) {
    if (!condition) fail(what);
}

// A fixed text field holds a terminating zero within its storage and nothing but zeros after it.
template <std::size_t N> bool terminatedField(const std::array<char, N>& field) {
    static constexpr std::array<char, N> kZeros{};
    const auto* zero = static_cast<const char*>(std::memchr(field.data(), '\0', N));
    if (!zero) return false;
    const auto rest = static_cast<std::size_t>(field.data() + N - zero);
    return std::memcmp(zero, kZeros.data(), rest) == 0;
}

// A default map in storage kept from run to run (slot 0..2), so that no run pays for mapping
// and faulting in a quarter of a megabyte per map.
ObjectMap& freshMap(int slot);

// Every text field of the map is terminated, the counts lie within the storage and every link
// of the three lists points at a record that points back (the tests' link checker, which also
// wants the storage beyond each list blank). Runs in the uninstrumented copy (support/Oracle.h).
void checkMap(const ObjectMap& map);
// The same, right here in the copy of the core this file is compiled into.
void checkMapHere(const ObjectMap& map);
// The cheap part, for every step of a run: counts, texts, and link numbers within the lists.
void checkMapStep(const ObjectMap& map);

// A map that failed to load is left empty.
void checkEmptyLists(const ObjectMap& map);

// The map saves, the saved document loads again without error, and saving that gives the
// same bytes (checked once per distinct document). Returns the saved text. The first runs in
// the uninstrumented copy, the second here.
std::string checkSavesAndReloadsIdentically(ObjectMap& map);
std::string checkSavesAndReloadsHere(ObjectMap& map);

// True when `key` was passed before in this process. The costly round trips depend only on
// what was read, so a run skips them for a reading it has already checked; an input run on its
// own (a crash being reproduced) always gets the full check.
bool seenBefore(std::string_view key);

// The element reader's result codes lie in 0..20.
void checkElementCode(XmlError code);

// Splits the input at line feeds; each line (its line end included, as the device link passes
// it on) goes to `parse` on one map, which is checked after every line. When at least one
// element was taken, the map must save and reload identically. With `nvLinesToo`, lines that
// begin with "<nv " go to the NV parser so that objects find NVs to link to.
using ElementParser = XmlError (ElementReader::*)(std::string_view);
void runElementLines(const uint8_t* data, std::size_t size, ElementParser parse, bool nvLinesToo = false);

// The first position at which two texts differ, with a little of both around it.
std::string firstDifference(std::string_view a, std::string_view b);

} // namespace korvex::fuzz
