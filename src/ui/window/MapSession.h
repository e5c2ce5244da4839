#pragma once
// MapSession: the window's one way to the object map. It holds the map together with the lock
// that the device link takes while it applies a reply, the name of the map file, whether the map
// is as last opened or saved, and the port and node sync flags that the "In Sync:" light needs
// besides the map's own marks.
//
// Every change the window makes to the map, or learns of from the device link, is announced
// here and only here: first the specific signal that says what to redraw (a range of objects,
// rows of a list, a whole list, the port settings, the node), then changed() with all of it.
// The map checker (MapProblems), Undo (MapUndo) and the recovery file (MapRecovery) listen to
// changed().
//
// Window thread only: every member is called and every signal emitted there. map() and mutex()
// are handed on to the device link and the editor dialogs, which lock the mutex themselves.
// Signals are emitted with the lock released, so slots may read the map.
#include "model/ObjectMap.h"
#include "model/SavedMap.h"

#include <QFlags>
#include <QObject>
#include <QString>

#include <functional>
#include <mutex>
#include <type_traits>
#include <utility>

namespace korvex::ui::window {

// The parts of the map a change touched.
enum class MapPart : unsigned {
    Objects = 0x01,      // the 400 data objects (master list, View Data)
    NVList = 0x02,       // the NV list
    RegisterList = 0x04, // the register list
    PortSettings = 0x08, // Modbus port and TCP/IP settings with their marks
    TcpMap = 0x10,       // the TCP device map
    Node = 0x20,         // location, program-ID selector and the identity read from the node
    Values = 0x40,       // the objects' live values
    DeviceModel = 0x80,  // the gateway model the map is for
};
Q_DECLARE_FLAGS(MapParts, MapPart)
Q_DECLARE_OPERATORS_FOR_FLAGS(MapParts)

inline constexpr MapParts kWholeMap = MapPart::Objects | MapPart::NVList | MapPart::RegisterList |
                                      MapPart::PortSettings | MapPart::TcpMap | MapPart::Node |
                                      MapPart::Values | MapPart::DeviceModel;

// Row-level detail of a list change; count 0 when the whole list is to be redrawn.
struct RowSpan {
    int row = 0; // 0-based
    int count = 0;
};

// One announcement.
struct MapChange {
    MapParts parts;
    bool replaced = false; // a new or opened map took the place of the one before
    int firstObject = 1;   // with Objects: the objects that changed (1-based)
    int lastObject = kObjectCount;
    RowSpan nvRows;           // with NVList: rows that came (inserted) or went (removed)
    RowSpan registerRows;     // with RegisterList: likewise
    bool rowsRemoved = false; // the row spans are removals, else insertions

    bool has(MapPart part) const { return parts.testFlag(part); }
};

class MapSession : public QObject {
    Q_OBJECT
public:
    explicit MapSession(ObjectMap& map, QObject* parent = nullptr);
    ~MapSession() override;

    // Reads the map under its lock.
    template <typename F> decltype(auto) read(F&& f) const {
        std::lock_guard lock(mutex_);
        return std::forward<F>(f)(std::as_const(map_));
    }
    // Changes the map under its lock, then announces the parts (with the lock released).
    template <typename F> decltype(auto) edit(MapParts parts, F&& f) {
        return editThen(std::forward<F>(f), [this, parts] { announce(MapChange{parts}); });
    }
    // A row edit of the NV or register list (a model operation returning a code): rows that came
    // or went at row are announced as such, any other accepted change as the whole list. A
    // refusal changed nothing and is not announced. Returns the operation's code.
    int editNVRows(int row, const std::function<int(ObjectMap&)>& change);
    int editRegisterRows(int row, const std::function<int(ObjectMap&)>& change);

    // For the device link and the editor dialogs, which take the lock themselves.
    ObjectMap& map() { return map_; }
    std::mutex& mutex() { return mutex_; }

    // A change made elsewhere (device link, editor dialogs), or one of the shortcuts below.
    void announce(const MapChange& change);
    void announceObjects(int first, int last);
    void announceWhole(MapParts parts);
    // A new or opened map: every page shows it anew.
    void announceReplaced();
    // A change typed into a page's own fields, which show it already: only changed() is emitted,
    // so the page is not redrawn under the user's typing.
    void announceShown(MapParts parts);

    // Index of the gateway model ("Korvex-A".."Korvex-C").
    int deviceModel() const;
    void setDeviceModel(int index);

    // The map file last opened or saved; empty when none.
    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& path);

    // The map of start-up counts as saved, every saved indicator set.
    void markStartSaved();
    // The map as it now is counts as saved (after it was opened, saved or made blank).
    void markSaved();
    // Runs an undo or redo step on the map under its lock; afterwards the port settings count as
    // saved exactly when they are as last opened or saved. Returns what step returned; the caller
    // announces what changed.
    unsigned restore(const std::function<unsigned(ObjectMap&)>& step);
    // True when the close guard may close without asking: the saved marks are set and no list,
    // location or program-ID selector changed since the map was last opened, saved or made blank.
    bool isSaved();

    // The Modbus port and LonWorks node settings as the device has them; the "In Sync:" light
    // needs both besides the objects and NVs.
    bool portInSync() const { return portInSync_; }
    bool nodeInSync() const { return nodeInSync_; }
    void setPortInSync(bool on);
    void setNodeInSync(bool on);
    // The device link found the port settings out of sync: their confirmed marks go too.
    void portSettingsOutOfDevice();
    // Every object and every NV header is in the device, and the port and node settings are.
    bool inSync() const;

signals:
    // Every change, after the specific signals below.
    void changed(const korvex::ui::window::MapChange& change);
    // Objects first..last (1-based); 1..400 for all of them.
    void objectsChanged(int first, int last);
    void nvListChanged();
    void nvRowsInserted(int row, int count);
    void nvRowsRemoved(int row, int count);
    void registerListChanged();
    void registerRowsInserted(int row, int count);
    void registerRowsRemoved(int row, int count);
    void portSettingsChanged();
    void tcpMapChanged();
    void nodeChanged();
    void valuesChanged();
    void deviceModelChanged();
    // A new or opened map: instead of the specific signals.
    void replaced();

    void fileNameChanged(const QString& path);
    // The map as it now is was taken as saved (opened, saved or made blank).
    void savedMarked();
    // portInSync() or nodeInSync() changed.
    void syncChanged();

private:
    template <typename F, typename Then> decltype(auto) editThen(F&& f, Then&& then) {
        if constexpr (std::is_void_v<std::invoke_result_t<F, ObjectMap&>>) {
            {
                std::lock_guard lock(mutex_);
                std::forward<F>(f)(map_);
            }
            then();
        } else {
            auto result = [&] {
                std::lock_guard lock(mutex_);
                return std::forward<F>(f)(map_);
            }();
            then();
            return result;
        }
    }
    int editRows(MapPart list, int row, const std::function<int(ObjectMap&)>& change);
    void emitSpecific(const MapChange& change);

    ObjectMap& map_;
    mutable std::mutex mutex_;
    QString fileName_;
    SavedMap saved_;
    bool portInSync_ = false;
    bool nodeInSync_ = false;
};

} // namespace korvex::ui::window

Q_DECLARE_METATYPE(korvex::ui::window::MapChange)
