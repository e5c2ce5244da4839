// The Modbus port settings (states 9 and 10): the port element, and for the model with Modbus
// TCP a usage step, the IP settings and one TCP device-map entry per command. The Modbus error
// counters of one slave (state 11).
#include "device/engine/CommandEngine.h"
#include "device/engine/RequestLines.h"
#include "formats/xml/ElementReader.h"
#include "formats/xml/ElementWriter.h"

#include <algorithm>
#include <cstdio>

namespace korvex::device {

namespace {

enum PortStep { kPortElement = 0, kUsageStep = 1, kIpSettings = 2, kTcpMapEntry = 3 };

constexpr std::string_view kUsageLine = "usage\r\n";
constexpr std::string_view kIpSettingsLine = "sipcfg\r\n";
constexpr int kErrorInfoParseCode = -2; // counters that do not read as two hexadecimal numbers

// The highest device-map entry in use (1-based); 0 when none.
int highestEntryInUse(const ObjectMap& map) {
    for (int d = kTcpMapEntries; d >= 1; --d) {
        if (map.tcpMap[static_cast<std::size_t>(d - 1)].inUse()) return d;
    }
    return 0;
}

// The map has 20 entries: a larger count from the gateway goes no further.
int lastMapEntry(int count) {
    return std::min(count, kTcpMapEntries);
}

} // namespace

bool CommandEngine::startGetPortSettings() {
    return startSequence(EngineState::GetPortSettings, [&] {
        portStep = kPortElement;
        portMapIndex = 0;
        std::lock_guard lock(mapMutex_);
        portHasTcp = map_.hasTcp();
        return std::string("mpx\r\n");
    });
}

bool CommandEngine::startSendPortSettings() {
    return startSequence(
        EngineState::SendPortSettings,
        [&] {
            portStep = kPortElement;
            portMapIndex = 0;
            armVerify(ComparePart::Port);
            std::lock_guard lock(mapMutex_);
            portHasTcp = map_.hasTcp();
            return writePortElement(map_);
        },
        kBudgetSettings);
}

bool CommandEngine::startGetErrorInfo(int slave) {
    return startSequence(EngineState::GetErrorInfo, [&] {
        char line[32];
        std::snprintf(line, sizeof line, "merr %d\r\n", slave);
        return std::string(line);
    });
}

// Every ending of a read raises its completion; a write's too, except after a refused reply.
void CommandEngine::endPort(DeviceResult result, bool done) {
    if (result != DeviceResult::Ok) area(Area::Port).fail(result);
    const bool sending = state() == EngineState::SendPortSettings;
    // A verified write is complete only once it has been read back alike.
    if (result == DeviceResult::Ok && sending && verifyThisSend_)
        return beginVerify(ReadBackKind::VerifyPort);
    if (done) {
        (sending ? portSendDone : portGetDone).store(true, std::memory_order_release);
    }
    finish();
}

// A reply that should be a "mod" element, applied to the settings; false (and the sequence
// ended) when the reader refuses it.
bool CommandEngine::takePortElement(const Reply& reply) {
    XmlError code = XmlError::Ok;
    {
        std::lock_guard lock(mapMutex_);
        code = ElementReader(map_).parsePortElement(reply.text());
    }
    if (elementReplyResult(code, area(Area::Port).parseCode) == DeviceResult::Ok) return true;
    endPort(DeviceResult::BadReply, true);
    return false;
}

// The usage step of both sequences: the map count starts at 20 and takes the gateway's number
// when the reply has all four; a write raises it to the entries the map uses. False (and the
// sequence ended) for a reply that is not a usage reply.
bool CommandEngine::readUsageStep(const Reply& reply, bool raiseToMapInUse) {
    deviceTcpMapCount = kTcpMapEntries;
    std::array<int, 4> numbers{};
    const UsageParse parsed = parseUsageReply(reply.text(), numbers);
    if (parsed == UsageParse::NotUsage) {
        area(Area::Port).parseCode = kUsageParseCode;
        endPort(DeviceResult::BadReply, true);
        return false;
    }
    if (parsed == UsageParse::Complete) {
        deviceLastObject = numbers[0];
        deviceInputCount = numbers[1];
        deviceOutputCount = numbers[2];
        deviceTcpMapCount = numbers[3];
    }
    if (raiseToMapInUse) {
        std::lock_guard lock(mapMutex_);
        deviceTcpMapCount = std::max(deviceTcpMapCount, highestEntryInUse(map_));
    }
    return true;
}

// A reply of the read's TCP steps, read into the scratch settings and device map instead of the
// map's own (the reader applies it to whatever the map holds, so the two are swapped in for
// it); false (and the sequence ended) when the reader refuses it.
bool CommandEngine::takeTcpReply(const Reply& reply) {
    XmlError code = XmlError::Ok;
    {
        std::lock_guard lock(mapMutex_);
        if (portStep == kIpSettings) {
            // An address of 0.0.0.0 lets the reader take the gateway's four settings.
            portTcpRead = map_.tcp;
            portTcpRead.ipaddr = IpAddress{};
            portMapRead = {};
        }
        std::swap(map_.tcp, portTcpRead);
        std::swap(map_.tcpMap, portMapRead);
        code = ElementReader(map_).parsePortElement(reply.text());
        std::swap(map_.tcp, portTcpRead);
        std::swap(map_.tcpMap, portMapRead);
    }
    if (elementReplyResult(code, area(Area::Port).parseCode) == DeviceResult::Ok) return true;
    endPort(DeviceResult::BadReply, true);
    return false;
}

// The read completed: the gateway's device map replaces the map's whole. Its IP settings are
// taken only where the map has no address; an address of the map's own is kept, and a
// difference from the gateway's is reported (the settings then do not count as confirmed).
void CommandEngine::takeOverTcpRead() {
    std::lock_guard lock(mapMutex_);
    map_.tcpMap = portMapRead;
    if (map_.tcp.ipaddr == IpAddress{})
        map_.tcp = portTcpRead;
    else if (map_.tcp != portTcpRead)
        portIpDiffers.store(true, std::memory_order_release);
}

void CommandEngine::onGetPortReply(const Reply& reply) {
    if (reply.timedOut()) return endPort(DeviceResult::Timeout, true);
    if (portStep == kUsageStep) {
        if (!readUsageStep(reply, false)) return;
        portStep = kIpSettings;
        return sendNext(kIpSettingsLine);
    }
    if (portStep == kPortElement) {
        if (!takePortElement(reply)) return;
        if (!portHasTcp) return endPort(DeviceResult::Ok, true);
        portStep = kUsageStep;
        return sendNext(kUsageLine, kBudgetCommand);
    }
    if (!takeTcpReply(reply)) return;
    if (portStep == kIpSettings) {
        portStep = kTcpMapEntry;
        portMapIndex = 1;
    } else if (++portMapIndex > lastMapEntry(deviceTcpMapCount)) {
        takeOverTcpRead();
        return endPort(DeviceResult::Ok, true);
    }
    sendNext(mapEntryRequest(portMapIndex));
}

void CommandEngine::onSendPortReply(const Reply& reply) {
    if (reply.timedOut()) return endPort(DeviceResult::Timeout, true);
    if (portStep == kUsageStep) {
        if (!readUsageStep(reply, true)) return;
        portStep = kIpSettings;
        std::lock_guard lock(mapMutex_);
        return sendNext(writeTcpSettingsElement(map_), kBudgetSettings);
    }
    if (!isOk(reply.bytes())) {
        copyErrorText(area(Area::Port).errorText, reply.bytes());
        return endPort(DeviceResult::ErrorText, false);
    }
    if (portStep == kPortElement) {
        if (!portHasTcp) return endPort(DeviceResult::Ok, true);
        portStep = kUsageStep;
        return sendNext(kUsageLine, kBudgetCommand);
    }
    if (portStep == kIpSettings) {
        portStep = kTcpMapEntry;
        portMapIndex = 1;
    } else if (++portMapIndex > lastMapEntry(deviceTcpMapCount)) {
        return endPort(DeviceResult::Ok, true);
    }
    // Entries past those in use go out empty, which clears them in the gateway.
    std::lock_guard lock(mapMutex_);
    sendNext(writeTcpDeviceElement(map_, portMapIndex), kBudgetSettings);
}

void CommandEngine::onErrorInfoReply(const Reply& reply) {
    AreaResult& ending = area(Area::Port);
    if (reply.timedOut()) {
        ending.fail(DeviceResult::Timeout);
    } else {
        std::string_view text = reply.text();
        unsigned exception = 0;
        unsigned bits = 0;
        if (scanHex(text, exception) && scanHex(text, bits)) {
            exceptionCode = exception;
            errorBits = bits;
        } else {
            ending.parseCode = kErrorInfoParseCode;
            ending.fail(DeviceResult::BadReply);
        }
    }
    errorInfoDone.store(true, std::memory_order_release);
    finish();
}

} // namespace korvex::device
