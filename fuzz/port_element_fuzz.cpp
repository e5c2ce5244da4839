// Dictionary: xml.dict
// Port, TCP setting and TCP device map element lines ("<mod ..."): every line gives a result
// code, and the settings they leave save and reload to the same bytes.
#include "formats/xml/ElementReader.h"
#include "support/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvex::fuzz::runElementLines(data, size, &korvex::ElementReader::parsePortElement);
    return 0;
}
