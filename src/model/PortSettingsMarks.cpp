#include "model/PortSettingsMarks.h"

namespace korvex {

bool samePortSettings(const ModbusSettings& a, const ModbusSettings& b) {
    const auto kept = [](uint8_t f) { return static_cast<uint8_t>(f & ~PortFlag::ConfirmedInDevice); };
    return a.slave == b.slave && a.timeout == b.timeout && a.baud == b.baud && a.predelay == b.predelay &&
           kept(a.flags) == kept(b.flags);
}

bool takePortSettingsFromPage(ObjectMap& map, const ModbusSettings& settings) {
    map.modbus = settings;
    bool unconfirmed = false;
    if (!samePortSettings(map.modbus, map.pageSnapshot) && (map.modbus.flags & PortFlag::ConfirmedInDevice)) {
        map.modbus.flags &= static_cast<uint8_t>(~PortFlag::ConfirmedInDevice);
        unconfirmed = true;
    }
    if (!samePortSettings(map.modbus, map.fileSnapshot)) map.saveIndicators.portSettings = false;
    return unconfirmed;
}

void noteTcpSettingsTyped(ObjectMap& map) {
    map.tcpConfirmed = false;
    map.saveIndicators.portSettings = false;
}

void noteTcpMapEdited(ObjectMap& map) {
    map.saveIndicators.portSettings = false;
    clearPortConfirmation(map);
}

void clearPortConfirmation(ObjectMap& map) {
    map.modbus.flags &= static_cast<uint8_t>(~PortFlag::ConfirmedInDevice);
    map.tcpConfirmed = false;
}

bool portSettingsConfirmed(const ObjectMap& map) {
    return (map.modbus.flags & PortFlag::ConfirmedInDevice) && (!map.hasTcp() || map.tcpConfirmed);
}

} // namespace korvex
