// Dictionary: xml.dict
// Object element lines as an object transfer from the gateway brings them, with "<nv " lines
// among them building the NV list that the objects link to. Every line gives a result code,
// the map stays consistent after each, and the map saves and reloads to the same bytes.
#include "formats/xml/ElementReader.h"
#include "support/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvex::fuzz::runElementLines(data, size, &korvex::ElementReader::parseObjectElement, true);
    return 0;
}
