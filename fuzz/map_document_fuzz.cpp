// Dictionary: xml.dict
// Object map documents: any bytes load to a result code; a failed load leaves the lists empty,
// a successful one leaves a consistent map that the map checker reads without fault and that
// saves and reloads to the same bytes.
#include "formats/xml/MapFile.h"
#include "formats/xml/XmlError.h"
#include "model/check/MapChecker.h"
#include "support/FuzzChecks.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvex;
    ObjectMap& map = fuzz::freshMap(0);
    map.deviceModel = kTcpDeviceModel;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const MapFileResult result = readObjectMap(map, in);
    fuzz::checkElementCode(result.code);
    fuzz::expect(result.ok == (result.code == XmlError::Ok), "result and code disagree");
    fuzz::checkMap(map);
    if (!result.ok) {
        fuzz::expect(!result.text.empty(), "a failed load without a message");
        fuzz::checkEmptyLists(map);
        return 0;
    }
    for (const Problem& problem : korvex::checkMap(map, kTcpDeviceModel))
        fuzz::expect(problem.rule < Rule::Count && !problem.message.empty(),
                     "a problem without rule or message");
    fuzz::checkSavesAndReloadsIdentically(map);
    return 0;
}
