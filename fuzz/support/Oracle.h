#pragma once
// The costly invariant checks run in a second copy of the core, compiled without coverage
// instrumentation and with its namespace renamed (fuzz/oracle). There they neither slow the
// search down nor steer it: only the code an input reaches directly gives feedback. The two
// copies share no types, so a map crosses over as the bytes of a plain, fixed-size record.
#include <cstddef>
#include <string>

namespace korvex_fuzz_oracle {

// The full map check: texts, counts and every link in both directions.
void checkMap(const void* map, std::size_t size);

// Saves the map, loads the document into a fresh map and saves again: both texts must be equal.
// The map gets what saving does to it (a packed TCP map). Returns the saved text.
std::string checkSavesAndReloadsIdentically(void* map, std::size_t size);

// Exports the map as the gateway's XIF file and reads it back; returns the number of NVs read,
// after checking the table the reader filled.
int exportedXifNVs(void* map, std::size_t size);

} // namespace korvex_fuzz_oracle
