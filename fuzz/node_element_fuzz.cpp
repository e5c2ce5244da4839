// Dictionary: xml.dict
// Node element lines ("<nd ..."): every line gives a result code, the location stays
// terminated within its field, and the map saves and reloads to the same bytes.
#include "formats/xml/ElementReader.h"
#include "support/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvex::fuzz::runElementLines(data, size, &korvex::ElementReader::parseNodeElement);
    return 0;
}
