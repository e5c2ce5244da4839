#include "device/StatusReporter.h"

#include "device/LinkMessages.h"
#include "device/ReportTexts.h"
#include "model/FixedText.h"

#include <cstdarg>
#include <cstdio>

namespace korvex::device {

using namespace report;

namespace {

// Takes a request or mark: its value, and 0 left behind.
int take(std::atomic<int>& request) {
    return request.exchange(0, std::memory_order_acq_rel);
}
int take(int& mark) {
    const int value = mark;
    mark = 0;
    return value;
}
bool take(std::atomic<bool>& flag) {
    return flag.exchange(false, std::memory_order_acq_rel);
}

} // namespace

std::string formatText(const char* format, ...) {
    char text[400];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return n < 0 ? std::string() : std::string(text);
}

bool openPortFor(SerialLink& link, StatusSink& sink, Page page) {
    const bool opened = link.open();
    sink.setConnected(opened);
    if (!opened) sink.appendText(page, kMsgOpenFailed);
    return opened;
}

std::string_view report::exceptionName(unsigned code) {
    switch (code) {
    case 1:
        return " (Illegal function)";
    case 2:
        return " (Illegal data address)";
    case 3:
        return " (Illegal data value)";
    case 4:
        return " (Slave device failure)";
    case 6:
        return " (Slave device busy)";
    default:
        return {};
    }
}

bool StatusReporter::pass() {
    if (engine_.link().takePortLost() > 0) sink_.setConnected(false);
    listRefreshes();
    values();
    valueRequests();
    eraseAndObjects();
    const bool shownConsole = console();
    netVars();
    tcpMapChanged();
    portSettings();
    errorInfo();
    nodeRefresh();
    domains();
    nodeIds();
    nodeInfo();
    return shownConsole;
}

bool StatusReporter::pending() const {
    const CommandEngine& e = engine_;
    const RefreshRequests& r = e.requests;
    const bool requests = r.masterListRefresh.load() || r.nvListRefresh.load() ||
                          r.registerListRefresh.load() || r.valuesRefresh.load() ||
                          r.valueWriteRequest.load() || r.tcpMapChanged.load() || r.nodePageRefresh.load();
    const bool results =
        e.nvResult.load() || e.objResult.load() || e.clearResult.load() || e.clearDone.load() ||
        e.valueResult.load() || e.portResult.load() || e.portGetDone.load() || e.portSendDone.load() ||
        e.errorInfoDone.load() || e.domainResult.load() || e.idResult.load() || e.nodeResult.load() ||
        e.nodeInfoDone.load() || e.locationDone.load() || e.alterDone.load() || e.consoleUpdated.load() ||
        e.nvNothingToTransfer.load() || e.objNothingToTransfer.load() || e.valueNothingToTransfer.load();
    const bool marks = e.nvLastRead || e.nvLastWritten || e.objLastGot || e.objLastSent || e.valueLastRead ||
                       e.valueLastWritten || e.domainReadMark || e.domainWrittenMark || e.idReadMark;
    return requests || results || marks;
}

void StatusReporter::both(Page a, Page b, std::string_view text) {
    sink_.appendText(a, text);
    sink_.appendText(b, text);
}

void StatusReporter::listRefreshes() {
    RefreshRequests& r = engine_.requests;
    if (take(r.masterListRefresh)) sink_.refresh(Refresh::MasterList);
    if (take(r.nvListRefresh)) sink_.refresh(Refresh::NVList);
    if (take(r.registerListRefresh)) sink_.refresh(Refresh::RegisterList);
}

void StatusReporter::values() {
    CommandEngine& e = engine_;
    if (take(e.valueNothingToTransfer)) sink_.appendText(Page::ViewData, kNothingToTransfer);
    if (const int n = take(e.valueLastRead)) sink_.appendText(Page::ViewData, formatText(kObjectRead, n));
    if (const int n = take(e.valueLastWritten))
        sink_.appendText(Page::ViewData, formatText(kObjectWritten, n));
    const int result = take(e.valueResult);
    if (result == kResultOk) return;
    failed();
    std::string text;
    switch (result) {
    case kResultTimeout:
        text = kDeviceTimedOut;
        break;
    case kResultBadReply:
        text = formatText(kObjectNotDefined, e.valueErrorObject);
        break;
    case kResultErrorText:
        text = kUnableToParseResult;
        break;
    case kResultWriteRefused:
        text = kErrorWritingObject;
        break;
    default:
        text = kUnspecifiedError;
    }
    sink_.appendText(Page::ViewData, text);
}

// The data value dialog's write: started here, on the status loop thread.
void StatusReporter::valueRequests() {
    RefreshRequests& r = engine_.requests;
    if (take(r.valuesRefresh)) sink_.refresh(Refresh::Values);
    const int n = take(r.valueWriteRequest);
    if (n == 0) return;
    if (!openPortFor(engine_.link(), sink_, Page::ViewData)) {
        failed();
        return;
    }
    if (engine_.startWriteValues(n, n)) return;
    failed();
    sink_.appendText(Page::ViewData, kMsgBusyValueWrite);
}

void StatusReporter::eraseAndObjects() {
    CommandEngine& e = engine_;
    const bool cleared = take(e.clearDone);
    const int clearResult = take(e.clearResult);
    if (cleared) sink_.appendText(Page::MasterList, kDeviceCleared);
    if (clearResult != kResultOk) {
        failed();
        const std::string text = clearResult == kResultTimeout ? std::string(kDeviceTimedOut)
                                 : clearResult == kResultBadReply
                                     ? formatText(kClearErrorText, e.clearErrorText.data())
                                     : std::string(kUnspecifiedError);
        sink_.appendText(Page::MasterList, text);
    }
    if (cleared || clearResult != kResultOk) {
        sink_.refresh(Refresh::MasterList);
        sink_.refresh(Refresh::NVList);
        sink_.refresh(Refresh::RegisterList);
    }
    if (take(e.objNothingToTransfer)) sink_.appendText(Page::MasterList, kNothingToTransfer);
    if (const int n = take(e.objLastGot)) sink_.appendText(Page::MasterList, formatText(kObjectRead, n));
    if (const int n = take(e.objLastSent)) sink_.appendText(Page::MasterList, formatText(kObjectWritten, n));
    const int result = take(e.objResult);
    if (result == kResultOk) return;
    failed();
    std::string text;
    switch (result) {
    case kResultTimeout:
        text = kDeviceTimedOut;
        break;
    case kResultBadReply:
        text = formatText(kObjParseError, e.objErrorNumber, e.objParseCode);
        break;
    case kResultErrorText:
        text = formatText(kObjErrorText, e.objErrorNumber, e.objErrorText.data());
        break;
    default:
        text = kUnspecifiedError;
    }
    sink_.appendText(Page::MasterList, text);
}

bool StatusReporter::console() {
    CommandEngine& e = engine_;
    if (!e.consoleUpdated.load(std::memory_order_acquire)) return false;
    sink_.appendText(Page::Connect, textOf(e.consoleText));
    e.consoleText.fill('\0');
    e.consoleUpdated.store(false, std::memory_order_release);
    return true;
}

void StatusReporter::netVars() {
    CommandEngine& e = engine_;
    if (take(e.nvNothingToTransfer)) both(Page::NVList, Page::MasterList, kNothingToTransfer);
    if (const int n = take(e.nvLastRead))
        both(Page::NVList, Page::MasterList, formatText(e.nvLastReadIsInput ? kNVIRead : kNVORead, n));
    if (const int n = take(e.nvLastWritten))
        both(Page::NVList, Page::MasterList,
             formatText(e.nvLastWrittenIsInput ? kNVIWritten : kNVOWritten, n));
    const int result = take(e.nvResult);
    if (result == kResultOk) return;
    failed();
    const bool in = e.nvErrorIsInput;
    std::string text;
    switch (result) {
    case kResultTimeout:
        text = kDeviceTimedOut;
        break;
    case kResultBadReply:
        text = formatText(in ? kNVIParseError : kNVOParseError, e.nvErrorNumber, e.nvParseCode);
        break;
    case kResultErrorText:
        text = formatText(in ? kNVIErrorText : kNVOErrorText, e.nvErrorNumber, e.nvErrorText.data());
        break;
    default:
        text = kUnspecifiedError;
    }
    both(Page::NVList, Page::MasterList, text);
}

void StatusReporter::tcpMapChanged() {
    if (!take(engine_.requests.tcpMapChanged)) return;
    sink_.refresh(Refresh::TcpMap);
    sink_.setPortSettingsInSync(false);
    std::lock_guard lock(engine_.mapMutex());
    engine_.map().saveIndicators.portSettings = false;
}

// The settings count as in the device after a completed read or write, and stop counting so
// after any failure. The TCP settings are confirmed apart from the port settings: a read that
// kept IP settings unlike the gateway's confirms only the port settings.
void StatusReporter::markPortSettings(bool portConfirmed, bool tcpConfirmed) {
    bool inSync = false;
    {
        std::lock_guard lock(engine_.mapMutex());
        ObjectMap& map = engine_.map();
        if (portConfirmed)
            map.modbus.flags |= PortFlag::ConfirmedInDevice;
        else
            map.modbus.flags &= static_cast<uint8_t>(~PortFlag::ConfirmedInDevice);
        map.tcpConfirmed = tcpConfirmed;
        inSync = portConfirmed && (tcpConfirmed || !map.hasTcp());
    }
    sink_.setPortSettingsInSync(inSync);
}

// A completion followed in the same pass by its area's failure confirms nothing and shows
// nothing: the failure's text replaces the box and clears the marks.
void StatusReporter::portSettings() {
    CommandEngine& e = engine_;
    const bool failing = e.portResult.load(std::memory_order_acquire) != kResultOk;
    const bool got = take(e.portGetDone);
    const bool sent = take(e.portSendDone);
    const bool ipDiffers = take(e.portIpDiffers);
    if (!got && !sent) return;
    if (!failing) {
        // Marked before the word that says so, so whoever reads "Done" finds the marks set.
        markPortSettings(true, !ipDiffers);
        sink_.setText(Page::ModbusPort, kDone);
        if (ipDiffers) sink_.appendText(Page::ModbusPort, kIpSettingsDiffer);
    }
    sink_.refresh(Refresh::PortPage);
    if (got) sink_.refresh(Refresh::TcpMap);
}

// The error counters, then the port area's result (which also ends a failed read or write).
void StatusReporter::errorInfo() {
    CommandEngine& e = engine_;
    const bool failing = e.portResult.load(std::memory_order_acquire) != kResultOk;
    if (take(e.errorInfoDone) && !failing) {
        if (e.exceptionCode != 0) {
            const std::string line = formatText(kExceptionCode, static_cast<int>(e.exceptionCode)) +
                                     std::string(exceptionName(e.exceptionCode)) + "\n";
            sink_.appendText(Page::ModbusPort, line);
        }
        if (e.errorBits & 0xF0u) sink_.appendText(Page::ModbusPort, kResponseTimeouts);
        if (e.errorBits & 0x0Fu) sink_.appendText(Page::ModbusPort, kCrcErrors);
        if (e.exceptionCode == 0 && e.errorBits == 0) sink_.appendText(Page::ModbusPort, kNoErrors);
    }
    const int result = take(e.portResult);
    if (result == kResultOk) return;
    failed();
    std::string text;
    switch (result) {
    case kResultTimeout:
        text = kDeviceTimedOut;
        break;
    case kResultBadReply:
        text = formatText(kPortParseError, e.portParseCode);
        break;
    case kResultErrorText:
        text = formatText(kPortErrorText, e.portErrorText.data());
        break;
    default:
        text = kUnspecifiedError;
    }
    sink_.setText(Page::ModbusPort, text);
    markPortSettings(false, false);
}

void StatusReporter::nodeRefresh() {
    if (take(engine_.requests.nodePageRefresh)) sink_.refresh(Refresh::NodePage);
}

// Marks before results, so a failure after an entry was read always ends the box.
void StatusReporter::domains() {
    CommandEngine& e = engine_;
    if (const int mark = take(e.domainReadMark)) {
        sink_.appendText(Page::LonWorks, formatText(kDomainRead, mark - 1));
        if (mark == 2) raiseRequest(e.requests.nodePageRefresh);
    }
    if (const int mark = take(e.domainWrittenMark))
        sink_.appendText(Page::LonWorks, formatText(kDomainWritten, mark - 1));
    const int result = take(e.domainResult);
    if (result == kResultOk) return;
    failed();
    const std::string_view text = result == kResultTimeout     ? kNodeTimeout
                                  : result == kResultBadReply  ? kSetDomainRefused
                                  : result == kResultErrorText ? kUnableToParseReply
                                                               : kUnknownError;
    sink_.appendText(Page::LonWorks, text);
}

void StatusReporter::nodeIds() {
    CommandEngine& e = engine_;
    const int mark = take(e.idReadMark);
    if (mark == 1) sink_.appendText(Page::LonWorks, kProgramIdRead);
    if (mark == 2) {
        sink_.appendText(Page::LonWorks, kNeuronIdRead);
        raiseRequest(e.requests.nodePageRefresh);
    }
    const int result = take(e.idResult);
    if (result == kResultOk) return;
    failed();
    const std::string_view text = result == kResultTimeout    ? kNodeTimeout
                                  : result == kResultBadReply ? kUnableToParseReply
                                                              : kUnknownError;
    sink_.appendText(Page::LonWorks, text);
}

void StatusReporter::nodeInfo() {
    CommandEngine& e = engine_;
    const bool failing = e.nodeResult.load(std::memory_order_acquire) != kResultOk;
    // Only a location that was really read puts the node settings in sync.
    if (take(e.nodeInfoDone)) {
        raiseRequest(e.requests.nodePageRefresh);
        if (!failing) {
            sink_.setNodeSettingsInSync(true);
            sink_.setText(Page::LonWorks, kLocationRead);
        }
    }
    if (take(e.locationDone)) {
        sink_.setNodeSettingsInSync(true);
        sink_.setText(Page::LonWorks, kLocationWritten);
    }
    if (take(e.alterDone)) sink_.setText(Page::LonWorks, kProgramIdAltered);
    const int result = take(e.nodeResult);
    if (result == kResultOk) return;
    failed();
    const std::string text = result == kResultTimeout     ? std::string(kNodeTimeout)
                             : result == kResultBadReply  ? std::string(kUnableToParseReply)
                             : result == kResultErrorText ? formatText(kNodeErrorText, e.nodeErrorText.data())
                                                          : std::string(kUnknownError);
    sink_.setText(Page::LonWorks, text);
}

} // namespace korvex::device
