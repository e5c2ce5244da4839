#pragma once
// The whole configuration of one gateway: 400 data objects, the NV and register lists,
// port and TCP settings, node identity and device model. Records are plain and fixed-size;
// links between the lists are 1-based row and object numbers, never pointers.
#include "model/DataObject.h"
#include "model/NetVar.h"
#include "model/RegisterDef.h"
#include "model/Settings.h"

#include <array>
#include <cstdint>

namespace korvex {

inline constexpr int kObjectCount = 400;
inline constexpr int kListCapacity = 1000; // storage of the NV and register lists
inline constexpr int kEditRowLimit = 999;  // row edits refuse to grow a list beyond this
inline constexpr int kFbNumbers = 120;     // per direction
inline constexpr int kMaxFields = 16;      // field rows of one structured NV

struct SaveIndicators {
    bool portSettings = true;
    bool objects = true;
    bool nvs = true;
    bool all() const { return portSettings && objects && nvs; }
};

// Result of a range query: both 0 when nothing qualifies.
struct NumberRange {
    int low = 0;
    int high = 0;
    bool empty() const { return low == 0 && high == 0; }
    bool operator==(const NumberRange&) const = default;
};

struct ObjectMap {
    std::array<DataObject, kObjectCount> objects{}; // object n at index n - 1
    std::array<NetVar, kListCapacity> nvs{};
    int nvCount = 0;
    std::array<RegisterDef, kListCapacity> registers{};
    int registerCount = 0;

    ModbusSettings modbus;
    TcpSettings tcp;
    std::array<TcpDeviceMap, kTcpMapEntries> tcpMap{};
    bool tcpConfirmed = false; // TCP settings confirmed in the device
    NodeInfo node;
    int deviceModel = 0;

    SaveIndicators saveIndicators;
    ModbusSettings fileSnapshot; // port settings as last loaded from or saved to a file
    ModbusSettings pageSnapshot; // port settings as last shown on the Modbus Port page

    // Object n (1..400); nullptr for any other n. Nothing is written on a lookup, so readers on
    // different threads may share a const map.
    DataObject* object(int n);
    const DataObject* object(int n) const;
    static bool validObject(int n) { return n >= 1 && n <= kObjectCount; }

    // Rows by 1-based link number; nullptr when outside the list.
    NetVar* nvAtLink(int row);
    RegisterDef* registerAtLink(int row);

    bool hasTcp() const { return deviceModel == kTcpDeviceModel; }
};

// Clear all (New): everything but the port settings and the device model.
void clearAll(ObjectMap& map);

// Marks.
void markAllObjectsSaved(ObjectMap& map);
void clearObjectsInDevice(ObjectMap& map);
void clearNVsInDevice(ObjectMap& map);
void markDefinedNVsSaved(ObjectMap& map);

// Tests.
bool allObjectsInDevice(const ObjectMap& map);
bool anyObjectUnsaved(const ObjectMap& map);
bool anyHeaderNVNotInDevice(const ObjectMap& map);
bool anyHeaderNVUnsaved(const ObjectMap& map);
bool anyObjectInUse(const ObjectMap& map);

// Link renumbering after rows were inserted (delta > 0) or removed (delta < 0) at the
// 1-based position `from`: every link at or beyond it moves by delta.
void renumberNVLinks(ObjectMap& map, int from, int delta);
void renumberRegisterLinks(ObjectMap& map, int from, int delta);

// Range queries: objects in use (0x1, 0x800 or 0x1000), optionally only those not in the
// device; function-block numbers of NV rows not in the device, per direction.
NumberRange objectsInUseRange(const ObjectMap& map, bool onlyNotInDevice);
NumberRange fbRangeNotInDevice(const ObjectMap& map, bool inputs);

// Every object not in use is zeroed and counted as configured and in the device.
void fillFreeObjects(ObjectMap& map);

// Default value from a decimal number, stored in the object's own data format.
void setDefaultValue(DataObject& object, double value);

// TCP device map: normalise the entries in use and pack them to the front.
void normaliseTcpMap(std::array<TcpDeviceMap, kTcpMapEntries>& entries);
int tcpMapEntriesInUse(const std::array<TcpDeviceMap, kTcpMapEntries>& entries);

// Saved-state indicators for objects and NVs from the per-entry marks; port settings from the
// file snapshot.
void recomputeSaveIndicators(ObjectMap& map);

} // namespace korvex
