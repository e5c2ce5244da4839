#pragma once
// The master list grid's model: always 400 rows, one per object slot, read straight from the map
// (no per-cell items), so a refresh is only a model reset. The register columns depend on the
// Modicon option: "Modicon #" alone, or "Type" and "Reg #".
#include "model/ObjectMap.h"

#include "ui/window/WorkingOptions.h"

#include <QAbstractTableModel>
#include <QPixmap>

#include <mutex>
#include <vector>

namespace korvex::ui::models {

using window::WorkingOptions;

enum class MasterColumn { Image, Number, Access, Modicon, Type, Register, Slave, Dir, Fb, Snvt, Name };

// Where a double-click on a column leads: the register editor, the NV editor or the object editor.
enum class EditZone { Register, NetVar, Object };
EditZone editZoneOf(MasterColumn column);

class MasterListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    MasterListModel(const ObjectMap& map, std::mutex& mapMutex, const WorkingOptions& options,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Re-reads the whole map.
    void refresh();
    // Objects first..last (1-based) changed: only their rows are read anew.
    void objectsChanged(int first, int last);
    // Rebuilds the column set for the current Modicon option.
    void rebuildColumns();

    MasterColumn columnKind(int column) const { return columns_.at(column); }
    int columnWidth(int column) const;

    // The text of one cell of object n (1..400); the map must not change meanwhile.
    static QString cellText(const ObjectMap& map, int n, MasterColumn column, bool gatewaySlave);
    static bool objectInSync(const DataObject& object);

private:
    const ObjectMap& map_;
    std::mutex& mapMutex_;
    const WorkingOptions& options_;
    std::vector<MasterColumn> columns_;
    QPixmap inSyncImage_;
    QPixmap outOfSyncImage_;
};

} // namespace korvex::ui::models
