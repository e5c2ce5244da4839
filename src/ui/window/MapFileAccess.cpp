#include "ui/window/MapFileAccess.h"

#include "formats/xml/MapFile.h"

#include <QFile>

namespace korvex::ui::window {

namespace {

std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
QString fromNative(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

FileResult resultOf(const MapFileResult& result) {
    FileResult out{result.ok, fromNative(result.text), {}};
    for (const std::string& line : result.warnings) out.warnings << fromNative(line);
    return out;
}

} // namespace

FileResult loadObjectMapFile(ObjectMap& map, const QString& path) {
    return resultOf(readObjectMap(map, native(path)));
}

FileResult saveObjectMapFile(ObjectMap& map, const QString& path) {
    return resultOf(writeObjectMap(map, native(path)));
}

bool hasXmlExtension(const QString& path) {
    return korvex::hasXmlExtension(native(path));
}

QString withXmlExtension(const QString& path) {
    return fromNative(korvex::withXmlExtension(native(path)));
}

QString fileNamePart(const QString& path) {
    return fromNative(korvex::fileNamePart(native(path)));
}

} // namespace korvex::ui::window
