#pragma once
// The Modbus Port page's field rules, apart from the widgets: how the port settings are shown in
// the left column and read back from it, and how the TCP/IP boxes are checked before a value is
// stored. The page and the tests share them.
#include "model/Settings.h"

#include <QString>

#include <array>

namespace korvex::ui::pages {

inline constexpr std::array<int, 6> kBaudRates{1200, 2400, 4800, 9600, 19200, 38400};
inline constexpr int kDefaultBaudEntry = 3; // "9600"
inline constexpr std::array<const char*, 4> kCharacterFormats{
    "8 Data, No Parity, 1 Stop", "8 Data, Even Parity, 1 Stop", "8 Data, Odd Parity, 1 Stop",
    "8 Data, No Parity, 2 Stop"};

// What the left column shows.
struct PortFields {
    int baudEntry = kDefaultBaudEntry;
    int formatEntry = 0;
    bool slave = false; // "Slave" checked, else "Master"
    QString timeout;    // seconds, "%.1f"
    QString slaveAddress;
    QString predelay;
    bool highRegFirst = false;
    bool operator==(const PortFields&) const = default;
};

PortFields portFields(const ModbusSettings& settings);
// The settings the fields stand for; the settings-confirmed flag is taken from previous.
ModbusSettings settingsFromFields(const PortFields& fields, const ModbusSettings& previous);

// The TCP/IP box checks.
enum class AddressCheck { Ok, Invalid, DomainMismatch, Other };

struct AddressRule {
    bool zeroBytesAllowed = false;
    const IpAddress* reference = nullptr; // with mask: the new address must share its network
    const IpAddress* mask = nullptr;
};

// "%d.%d.%d.%d", each 0..255; address holds the result when Ok.
AddressCheck checkAddress(const QString& text, const AddressRule& rule, IpAddress& address);
// The message box text of a failed check.
const char* addressMessage(AddressCheck result);
QString addressText(const IpAddress& address);

// A TCP port is 1..65534; false otherwise.
bool parseTcpPort(const QString& text, uint16_t& port);

inline constexpr char kInvalidIpAddress[] = "Invalid IP address";
inline constexpr char kIpNotOnSameDomain[] = "IP not on same domain";
inline constexpr char kErrorInIpAddress[] = "Error in IP address";
inline constexpr char kInvalidTcpPort[] = "Invalid TCP port number";

} // namespace korvex::ui::pages
