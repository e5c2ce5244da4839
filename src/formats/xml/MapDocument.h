#pragma once
// The object map document: the whole configuration as one XML text with CR LF line ends, and
// reading it back into a map.
#include "model/ObjectMap.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace korvex {

inline constexpr const char* kMapFileVersion = "v2.12";

struct RenderedMap {
    std::string text;
    std::vector<int> nvRowsWritten; // 0-based rows, to be marked saved once the text is stored
};

// The document for the map's device model. Normalises and packs the TCP device map and sets a
// baud rate of 0 to 19200, as writing always does; marks nothing as saved.
RenderedMap renderObjectMap(ObjectMap& map);

// After the document has been stored: the rows written and all 400 objects are marked saved.
void markRenderedSaved(ObjectMap& map, const RenderedMap& rendered);

// The names the NV elements of a file carry, by row (empty for rows not written): each row's
// name as the reader will store it, so that reading the file and writing it again gives the
// same bytes.
std::vector<std::string> fileNVNames(const ObjectMap& map);

} // namespace korvex
