#include "ui/pages/modbusport/ModbusPortFields.h"

#include "ui/widgets/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace korvex::ui::pages {

using widgets::scanDecimal;

namespace {

// The number a "%f" read would find at the start of the text; 0 when there is none.
double leadingNumber(const QString& text) {
    const std::string latin = text.trimmed().toLatin1().toStdString();
    const char* first = latin.c_str();
    const char* last = first + latin.size();
    if (first != last && *first == '+') ++first;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || !std::isfinite(value)) return 0;
    return value;
}

// "%u" into a field of at most max: no number gives 0, and so does a negative one (it would
// otherwise wrap round to a huge number and land in the field cut to its low bits).
unsigned boundedUnsigned(const QString& text, unsigned max) {
    const int value = scanDecimal(text);
    if (value <= 0) return 0;
    return std::min(static_cast<unsigned>(value), max);
}

int baudEntryOf(uint16_t baud) {
    const auto found = std::find(kBaudRates.begin(), kBaudRates.end(), baud);
    return found == kBaudRates.end() ? kDefaultBaudEntry : static_cast<int>(found - kBaudRates.begin());
}

int formatEntryOf(uint8_t flags) {
    if (flags & PortFlag::Parity) return (flags & PortFlag::OddParity) ? 2 : 1;
    return (flags & PortFlag::TwoStopBits) ? 3 : 0;
}

uint8_t formatFlags(int entry) {
    switch (entry) {
    case 1:
        return PortFlag::Parity;
    case 2:
        return PortFlag::Parity | PortFlag::OddParity;
    case 3:
        return PortFlag::TwoStopBits;
    default:
        return 0;
    }
}

// One "%d" of the address text: blanks, an optional sign and at least one digit.
bool addressByte(const QString& text, qsizetype& i, int& value) {
    while (i < text.size() && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    const qsizetype digits = i;
    long long number = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        number = std::min(number * 10 + (text[i].unicode() - u'0'), 100000LL);
    if (i == digits) return false;
    value = static_cast<int>(negative ? -number : number);
    return true;
}

} // namespace

PortFields portFields(const ModbusSettings& settings) {
    PortFields fields;
    fields.baudEntry = baudEntryOf(settings.baud);
    fields.formatEntry = formatEntryOf(settings.flags);
    fields.slave = settings.flags & PortFlag::GatewayIsSlave;
    fields.timeout = QString::asprintf("%.1f", settings.timeout / 10.0);
    fields.slaveAddress = QString::number(settings.slave);
    fields.predelay = QString::number(settings.predelay);
    fields.highRegFirst = settings.flags & PortFlag::HighRegFirst;
    return fields;
}

ModbusSettings settingsFromFields(const PortFields& fields, const ModbusSettings& previous) {
    ModbusSettings settings;
    // Tenths of a second, cut to a whole number; held to what the field can take.
    const double tenths = std::clamp(leadingNumber(fields.timeout) * 10.0, 0.0, 65535.0);
    settings.timeout = static_cast<uint16_t>(tenths);
    settings.slave = static_cast<uint8_t>(boundedUnsigned(fields.slaveAddress, 255));
    settings.predelay = static_cast<uint16_t>(boundedUnsigned(fields.predelay, 65535));
    const int entry = std::clamp(fields.baudEntry, 0, static_cast<int>(kBaudRates.size()) - 1);
    settings.baud = static_cast<uint16_t>(kBaudRates[static_cast<std::size_t>(entry)]);
    uint8_t flags = previous.flags & PortFlag::ConfirmedInDevice;
    if (fields.highRegFirst) flags |= PortFlag::HighRegFirst;
    if (fields.slave) flags |= PortFlag::GatewayIsSlave;
    flags |= formatFlags(fields.formatEntry);
    settings.flags = flags;
    return settings;
}

AddressCheck checkAddress(const QString& text, const AddressRule& rule, IpAddress& address) {
    IpAddress parsed{};
    qsizetype i = 0;
    for (int n = 0; n < 4; ++n) {
        if (n > 0) {
            if (i >= text.size() || text[i] != u'.') return AddressCheck::Invalid;
            ++i;
        }
        int value = 0;
        if (!addressByte(text, i, value) || value < 0 || value > 255) return AddressCheck::Invalid;
        parsed[static_cast<std::size_t>(n)] = static_cast<uint8_t>(value);
    }
    if (!rule.zeroBytesAllowed && (parsed[0] == 0 || parsed[3] == 0)) return AddressCheck::Invalid;
    if (rule.reference && rule.mask && parsed != IpAddress{0, 0, 0, 0}) {
        for (std::size_t n = 0; n < 4; ++n)
            if ((parsed[n] & (*rule.mask)[n]) != ((*rule.reference)[n] & (*rule.mask)[n]))
                return AddressCheck::DomainMismatch;
    }
    address = parsed;
    return AddressCheck::Ok;
}

const char* addressMessage(AddressCheck result) {
    switch (result) {
    case AddressCheck::Ok:
        return "";
    case AddressCheck::Invalid:
        return kInvalidIpAddress;
    case AddressCheck::DomainMismatch:
        return kIpNotOnSameDomain;
    case AddressCheck::Other:
        break;
    }
    return kErrorInIpAddress;
}

QString addressText(const IpAddress& address) {
    return QStringLiteral("%1.%2.%3.%4").arg(address[0]).arg(address[1]).arg(address[2]).arg(address[3]);
}

bool parseTcpPort(const QString& text, uint16_t& port) {
    const int value = scanDecimal(text);
    if (value < 1 || value > 65534) return false;
    port = static_cast<uint16_t>(value);
    return true;
}

} // namespace korvex::ui::pages
