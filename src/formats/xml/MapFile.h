#pragma once
// The object map file: load, save and new, without any user interface. The texts returned on
// failure are the ones the window and the CLI show.
#include "formats/AtomicFile.h"
#include "formats/xml/XmlError.h"
#include "model/ObjectMap.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

inline constexpr std::size_t kMapPathLimit = 200; // characters taken from a file dialog

struct MapFileResult {
    bool ok = false;
    std::string text;                  // the error text on failure, empty on success
    XmlError code = XmlError::Ok;      // the reader's code when the document was malformed
    std::vector<std::string> warnings; // a load: one line for each element taken in only in part
};

// Read object map: reads the document into a cleared copy of the map and, on success, clears the
// in-device marks, marks everything saved, rebuilds the register list from the objects and
// takes the copy over. On failure the map stays exactly as it was and the text is "Error
// opening object map XML file <path>\n" or the reader's "<message> at line #<units>". The device
// model is not changed.
MapFileResult readObjectMap(ObjectMap& map, const std::string& path);
// The same from a document that is already open; failures give the reader's text.
MapFileResult readObjectMap(ObjectMap& map, std::istream& in);

// Write object map: the whole document replaces the file in one step; on failure the previous
// file stays as it was, nothing is marked saved and the text is
// "Error opening object map file <path>\n".
MapFileResult writeObjectMap(ObjectMap& map, const std::string& path, FileOps& ops = systemFileOps());

// New: clears the map and the register list with every register link. Port settings and the
// device model stay.
void newObjectMap(ObjectMap& map);

// After a save or an open: the live port settings become the file snapshot and count as saved;
// the other indicators are recomputed from the marks.
void notePortSettingsSaved(ObjectMap& map);

// Path helpers of the Open and Save As flows.
bool hasXmlExtension(std::string_view path);         // contains ".xml" anywhere (Open)
std::string withXmlExtension(std::string_view path); // appends ".xml" unless contained (Save As)
std::string fileNamePart(std::string_view path);     // after the last '\' or '/'

} // namespace korvex
