#pragma once
// The object map file as the Master List page uses it: the file layer's load and save with the
// window's path type, and the error text to show when either fails.
#include "model/ObjectMap.h"

#include <QString>
#include <QStringList>

namespace korvex::ui::window {

struct FileResult {
    bool ok = false;
    QString error;        // the text for the message box when !ok
    QStringList warnings; // a load: what went in only in part, one line each
};

// On failure to read a document the map stays as it was.
FileResult loadObjectMapFile(ObjectMap& map, const QString& path);
FileResult saveObjectMapFile(ObjectMap& map, const QString& path);
bool hasXmlExtension(const QString& path);
QString withXmlExtension(const QString& path);
// What the title shows of a path: the part after the last separator.
QString fileNamePart(const QString& path);

} // namespace korvex::ui::window
