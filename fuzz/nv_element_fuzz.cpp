// Dictionary: xml.dict
// NV element lines as an NV transfer from the gateway brings them: every line gives a result
// code, the NV list stays consistent after each, and the map saves and reloads to the same bytes.
#include "formats/xml/ElementReader.h"
#include "support/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvex::fuzz::runElementLines(data, size, &korvex::ElementReader::parseNVElement);
    return 0;
}
