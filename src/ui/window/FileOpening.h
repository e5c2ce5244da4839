#pragma once
// Files named to the window without a dialog: the map given on the command line and files
// dropped on the window. A .xml opens as the map (as Open does), a .csv goes to the Reg Import
// page and a .xif to the NV Import page (as their Import commands do). Window thread only.
#include <QString>
#include <QStringList>

class QMimeData;

namespace korvex::ui::window {

class ConfigTool;

// The local files among the data that the window takes, in the order given.
QStringList droppableFiles(const QMimeData& data);
// Opens or imports the file by its extension and shows the page it went to; any other name is
// taken as a map, so it gets Open's message.
void openNamedFile(ConfigTool& tool, const QString& path);
// True when the map holds no unsaved changes or the user lets them go for the map at path.
bool mayReplaceMap(ConfigTool& tool, const QString& path);

} // namespace korvex::ui::window
