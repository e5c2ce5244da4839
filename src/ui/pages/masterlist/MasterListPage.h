#pragma once
// The Master List page: the 400 data objects, the object map file commands (new, open, save,
// save as), and the whole-device transfers and the compare with the gateway run from the action
// list with "Execute". While a long transfer or a compare runs, the row below the action row
// shows its progress and Stop.
#include "ui/models/MasterListModel.h"
#include "ui/pages/ToolPage.h"

class QProgressBar;
class QMenu;
class QTableView;

namespace korvex::ui::pages {

using models::MasterListModel;

enum MasterAction : int {
    kNoAction = 0,
    kGetNVs = 1,
    kSendNVs = 2,
    kGetObjects = 3,
    kSendObjects = 4,
    kEraseDevice = 5,
    kCompare = 6,
};

class MasterListPage : public ToolPage {
    Q_OBJECT
public:
    explicit MasterListPage(ConfigTool& tool, QWidget* parent = nullptr);

    void refresh() override;
    void notationChanged() override;
    void revisited(Revisit why) override;

    // Object number of the selected row (row + 1), 0 before any selection.
    int selectedObject() const { return selected_; }
    void selectObject(int n);

    QTableView* grid() const { return grid_; }
    // The bar of the progress row: items read of items to read while a compare runs, hidden
    // when nothing runs.
    QProgressBar* compareProgress() const;
    MasterListModel* model() const { return model_; }

    // The toolbar's file commands.
    QAction* newMapAction() const { return newMap_; }
    QAction* openMapAction() const { return openMap_; }
    QAction* saveMapAction() const { return saveMap_; }
    QAction* saveMapAsAction() const { return saveMapAs_; }
    // Opens the problems window.
    QAction* checkMapAction() const { return checkMap_; }
    // Writes the as-built HTML report of the loaded map (MasterListReport.cpp).
    QAction* exportAsBuiltAction() const { return exportAsBuilt_; }

    // The Open button's drop-down of the maps opened or saved last; filled as it opens.
    QMenu* recentMenu() const { return recent_; }
    void fillRecentMenu();

    // Opens the map file as Open does once the file is chosen; false when it did not load (the
    // message was shown and the map is as it was).
    bool openMapFile(const QString& path);

    void execute() override;
    // What a double-click on the column would open for the selected object.
    void openEditorFor(int column);
    // A problem of an object: its row, and the register, NV or object editor as the rule concerns.
    void showProblem(const Problem& problem) override;

private:
    void openEditor(models::EditZone zone);
    void objectsChanged(int first, int last);
    void applyColumnWidths();
    void reselect();

    // File commands (MasterListFiles.cpp).
    void newMap();
    void openMap();
    void saveMap();
    void saveMapAs();
    bool loadMap(const QString& path, const QString& previous);
    void openRecent(const QString& path);
    void afterFileOpen();
    void showLoadedMap();
    void afterFileSave(bool saved);
    void exportAsBuilt();

    QAction* newMap_ = nullptr;
    QAction* openMap_ = nullptr;
    QAction* saveMap_ = nullptr;
    QAction* saveMapAs_ = nullptr;
    QAction* checkMap_ = nullptr;
    QAction* exportAsBuilt_ = nullptr;
    QMenu* recent_ = nullptr;
    QTableView* grid_ = nullptr;
    MasterListModel* model_ = nullptr;
    int selected_ = 0;
};

} // namespace korvex::ui::pages
