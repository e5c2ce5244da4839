#include "ui/pages/lonworks/LonWorksFields.h"

#include "model/FixedText.h"
#include "ui/widgets/NumberText.h"

#include <QStringList>

#include <algorithm>

namespace korvex::ui::pages {

using widgets::scanDecimal;

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

// One "%x" at i: blanks, an optional sign, an optional 0x and at least one hex digit. The value
// is held to 0..255 (a minus gives 0).
bool hexByte(const QString& text, qsizetype& i, int& value) {
    while (i < text.size() && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    if (i + 2 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        hexDigit(text[i + 2]) >= 0)
        i += 2;
    const qsizetype digits = i;
    long long number = 0;
    for (int d; i < text.size() && (d = hexDigit(text[i])) >= 0; ++i)
        number = std::min(number * 16 + d, 0x1000LL);
    if (i == digits) return false;
    value = negative ? 0 : static_cast<int>(std::min(number, 255LL));
    return true;
}

} // namespace

SelectorValue programIdSelector(const QString& text) {
    const QString trimmed = text.trimmed();
    const bool number =
        !trimmed.isEmpty() && (trimmed[0].isDigit() || ((trimmed[0] == u'-' || trimmed[0] == u'+') &&
                                                        trimmed.size() > 1 && trimmed[1].isDigit()));
    const int value = scanDecimal(trimmed);
    if (!number || value < 21) return {1, true};
    return {std::min(value, 255), false};
}

void giveDefaultLocation(NodeInfo& node) {
    if (textOf(node.loc).empty()) setText(node.loc, kUnassignedLocation);
}

const char* programIdProblem(int pid) {
    return pid == 1 || (pid >= 21 && pid <= 255) ? nullptr : kReservedProgramIds;
}

const char* domainProblem(const device::DomainEntry& entry) {
    if (entry.subnet < 1 || entry.subnet > 255) return kInvalidSubnet;
    if (entry.node < 1 || entry.node > 127) return kInvalidNode;
    return nullptr;
}

int subnetFromText(const QString& text) {
    return std::clamp(scanDecimal(text), 1, 255);
}

int nodeFromText(const QString& text) {
    return std::clamp(scanDecimal(text), 1, 127);
}

int lengthEntry(int length) {
    const auto found = std::find(kDomainLengths.begin(), kDomainLengths.end(), length);
    return found == kDomainLengths.end() ? 0 : static_cast<int>(found - kDomainLengths.begin());
}

int lengthOfEntry(int entry) {
    return entry >= 0 && entry < static_cast<int>(kDomainLengths.size())
               ? kDomainLengths[static_cast<std::size_t>(entry)]
               : 0;
}

void takeDomainId(const QString& text, device::DomainEntry& entry) {
    std::array<int, 6> bytes{};
    int count = 0;
    qsizetype i = 0;
    while (count < 6) {
        if (count > 0) {
            if (i >= text.size() || text[i] != u':') break;
            ++i;
        }
        int value = 0;
        if (!hexByte(text, i, value)) break;
        bytes[static_cast<std::size_t>(count++)] = value;
    }
    if (!device::validDomainLength(count) || count == 0) {
        entry.idLength = 0;
        entry.id.fill(0);
        return;
    }
    entry.idLength = count;
    entry.id = bytes;
}

QString domainIdText(const device::DomainEntry& entry) {
    if (entry.idLength != 1 && entry.idLength != 3 && entry.idLength != 6) return QString();
    QStringList parts;
    for (int n = 0; n < entry.idLength; ++n)
        parts << QString::asprintf("%02X",
                                   static_cast<unsigned>(entry.id[static_cast<std::size_t>(n)] & 0xFF));
    return parts.join(u':');
}

} // namespace korvex::ui::pages
