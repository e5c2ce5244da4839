#include "ui/dialogs/rules/TcpMapFields.h"

#include "ui/widgets/NumberText.h"

#include <algorithm>

namespace korvex::ui::dialogs {

using widgets::scanDecimal;

uint8_t unitFrom(const QString& text) {
    const int unit = scanDecimal(text);
    return static_cast<uint8_t>(unit < 1 ? 1 : std::min<int>(unit, kMaxUnit));
}

uint16_t tcpPortFrom(const QString& text) {
    const int port = scanDecimal(text);
    return static_cast<uint16_t>(port < 1 ? 502 : std::min(port, 65535));
}

std::optional<IpAddress> parseIpAddress(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    IpAddress address{};
    std::size_t pos = 0;
    for (std::size_t part = 0; part < address.size(); ++part) {
        if (part > 0 && (pos >= text.size() || text[pos++] != '.')) return std::nullopt;
        int value = 0;
        std::size_t digits = 0;
        for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4; ++pos, ++digits)
            value = value * 10 + (text[pos] - '0');
        if (digits == 0 || digits > 3 || value > 255) return std::nullopt;
        address[part] = static_cast<uint8_t>(value);
    }
    if (pos != text.size()) return std::nullopt;
    return address;
}

QString ipAddressText(const IpAddress& a) {
    return QStringLiteral("%1.%2.%3.%4").arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3]);
}

bool unreachableWithoutGateway(const TcpSettings& gateway, const IpAddress& address) {
    const bool noGateway =
        std::all_of(gateway.gateway.begin(), gateway.gateway.end(), [](uint8_t b) { return b == 0; });
    if (!noGateway) return false;
    for (std::size_t i = 0; i < address.size(); ++i)
        if ((address[i] & gateway.subnet[i]) != (gateway.ipaddr[i] & gateway.subnet[i])) return true;
    return false;
}

void storeTcpEntry(ObjectMap& map, int n, const TcpDeviceMap& entry) {
    if (n < 1 || n > kTcpMapEntries) return;
    map.tcpMap[n - 1] = entry;
    normaliseTcpMap(map.tcpMap);
    map.tcpConfirmed = false;
}

void deleteTcpEntry(ObjectMap& map, int n) {
    storeTcpEntry(map, n, TcpDeviceMap{});
}

} // namespace korvex::ui::dialogs
