#pragma once
// The Modbus TCP Device Editor's field rules and what its Apply and Delete do to the map.
#include "model/ObjectMap.h"

#include <QString>

#include <optional>
#include <string_view>

namespace korvex::ui::dialogs {

inline constexpr char kTcpDeviceInvalidAddress[] = "Invalid IP Address";
inline constexpr char kTcpDeviceOtherDomain[] = "IP address is on different domain,\nand you have no gateway "
                                                "configured.\nYou will not be able to reach this device!";

// "First Unit", "Last Unit", "Map To": 1..246; empty, 0, negative or not a number give 1.
uint8_t unitFrom(const QString& text);
// "Port": 1..65535; empty, 0, negative or not a number give 502.
uint16_t tcpPortFrom(const QString& text);

// Four decimal numbers 0..255 joined by dots, blanks around the whole allowed; nothing else.
std::optional<IpAddress> parseIpAddress(std::string_view text);
QString ipAddressText(const IpAddress& address);

// True when the gateway has no gateway address and the address lies outside its own subnet.
bool unreachableWithoutGateway(const TcpSettings& gateway, const IpAddress& address);

// Apply and Delete: entry n (1..20) stored or zeroed, then the whole map normalised and packed,
// and the TCP settings no longer count as confirmed in the device.
void storeTcpEntry(ObjectMap& map, int n, const TcpDeviceMap& entry);
void deleteTcpEntry(ObjectMap& map, int n);

} // namespace korvex::ui::dialogs
