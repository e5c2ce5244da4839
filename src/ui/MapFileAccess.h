#pragma once
// The object map file as the Master List page uses it: load and save by path, with the error
// text to show when either fails.
#include "model/ObjectMap.h"

#include <QString>

namespace korvex::ui {

struct FileResult {
    bool ok = false;
    QString error; // the text for the message box when !ok
};

// On failure the map is left empty.
FileResult loadObjectMapFile(ObjectMap& map, const QString& path);
FileResult saveObjectMapFile(ObjectMap& map, const QString& path);

} // namespace korvex::ui
