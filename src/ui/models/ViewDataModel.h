#pragma once
// The View Data grid: the 400 data objects with the master list's register and NV columns, the
// object's name and its live value as last read from or written to the gateway. The image says
// whether a value came from the gateway in the current transfer.
#include "device/engine/ValueTable.h"
#include "ui/models/MapTableModel.h"
#include "ui/window/WorkingOptions.h"

#include <array>

namespace korvex::ui::models {

using window::WorkingOptions;

// A cached value exactly as the Object Data Update dialog shows it ("Undef" for an object
// without a data type).
QString valueText(uint32_t value, int datatype);

class ViewDataModel : public MapTableModel {
    Q_OBJECT
public:
    ViewDataModel(const ObjectMap& map, std::mutex& mapMutex, const device::ValueTable& values,
                  const WorkingOptions& options, QObject* parent = nullptr);

    // Rebuilds the column set for the current Modicon option.
    void rebuildColumns();

    // A watch read object n: its image and value cells are redrawn, and nothing else. A failed
    // read shows its word (failure) in the value cell until the object is read again.
    void valueTaken(int n, const QString& failure = QString());
    void clearFailures();

private:
    int valueColumn() const { return columnCount() - 1; }

    const device::ValueTable& values_;
    const WorkingOptions& options_;
    QPixmap inSyncImage_;
    QPixmap outOfSyncImage_;
    std::array<QString, kObjectCount> failures_;
};

} // namespace korvex::ui::models
