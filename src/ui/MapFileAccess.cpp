#include "ui/MapFileAccess.h"

namespace korvex::ui {

// TODO(map file): call the object map file reader and writer once they land in xml/.
FileResult loadObjectMapFile(ObjectMap& map, const QString& path) {
    clearAll(map);
    return {false, QStringLiteral("Error opening object map XML file %1\n").arg(path)};
}

FileResult saveObjectMapFile(ObjectMap&, const QString& path) {
    return {false, QStringLiteral("Error opening object map file %1\n").arg(path)};
}

} // namespace korvex::ui
