#pragma once
// The marks the Modbus port settings carry besides their values: whether the device has them as
// the map does (the confirmed marks, set by the device link) and whether the map file has them
// (the saved indicator). Every change of the settings, the TCP/IP settings or the TCP device map
// goes through one of these, wherever it is made. The caller holds the map's lock.
#include "model/ObjectMap.h"

namespace korvex {

// Equal as the page and the file see them: the settings-confirmed flag is not compared.
bool samePortSettings(const ModbusSettings& a, const ModbusSettings& b);

// Settings typed on the Modbus Port page are stored. Settings that differ from what the page
// last showed are no longer confirmed in the device (true then); settings that differ from the
// file's are no longer saved.
bool takePortSettingsFromPage(ObjectMap& map, const ModbusSettings& settings);

// A TCP/IP setting was typed: no longer confirmed in the device, nor saved.
void noteTcpSettingsTyped(ObjectMap& map);

// The TCP device map was edited: the port settings are no longer saved and neither they nor the
// TCP settings count as confirmed in the device.
void noteTcpMapEdited(ObjectMap& map);

// The device link found the settings out of sync: both confirmed marks go.
void clearPortConfirmation(ObjectMap& map);

// The settings are confirmed in the device, and on the model with Modbus TCP so are the TCP
// settings.
bool portSettingsConfirmed(const ObjectMap& map);

} // namespace korvex
