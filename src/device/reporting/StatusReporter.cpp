#include "device/reporting/StatusReporter.h"

#include "device/link/LinkMessages.h"
#include "device/reporting/ReportTexts.h"
#include "model/FixedText.h"
#include "vocab/TextFormat.h"

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

// Where an area's texts go: its page's status box (the NV areas' also to the Master List's),
// appended or replacing the box.
struct AreaBox {
    Area area;
    Page page;
    bool alsoMasterList;
    bool replaces;
};

constexpr AreaBox kAreaBoxes[kAreaCount] = {
    {Area::NetVars, Page::NVList, true, false},       {Area::Objects, Page::MasterList, false, false},
    {Area::Erase, Page::MasterList, false, false},    {Area::Values, Page::ViewData, false, false},
    {Area::Port, Page::ModbusPort, false, true},      {Area::Domains, Page::LonWorks, false, false},
    {Area::NodeIds, Page::LonWorks, false, false},    {Area::Node, Page::LonWorks, false, true},
    {Area::ReadBack, Page::MasterList, false, false},
};

constexpr bool boxesInAreaOrder() {
    for (int i = 0; i < kAreaCount; ++i)
        if (static_cast<int>(kAreaBoxes[i].area) != i) return false;
    return true;
}
static_assert(boxesInAreaOrder(), "kAreaBoxes is indexed by Area");

const AreaBox& boxOf(Area area) {
    return kAreaBoxes[static_cast<std::size_t>(area)];
}

// "NVI 4 read ok.\n", "Object #4 written ok.\n" and the like.
std::string markText(Area area, bool written, int number, bool input) {
    if (area != Area::NetVars)
        return written ? formatText(kObjectWritten, number) : formatText(kObjectRead, number);
    if (written) return input ? formatText(kNVIWritten, number) : formatText(kNVOWritten, number);
    return input ? formatText(kNVIRead, number) : formatText(kNVORead, number);
}

// A compare reports in the Master List box, a verify in the box of its send.
Page readBackPage(ReadBackKind kind) {
    if (kind == ReadBackKind::VerifyNetVars) return Page::NVList;
    if (kind == ReadBackKind::VerifyPort) return Page::ModbusPort;
    return Page::MasterList;
}

} // namespace

void StatusSink::showDifferences(Page page, const std::vector<MapDifference>& differences) {
    appendText(page, differenceReport(differences));
}

bool openPortFor(SerialLink& link, StatusSink& sink, Page page) {
    const bool opened = link.open();
    sink.setConnected(opened);
    if (!opened) sink.appendText(page, openFailedText(kMsgOpenFailed, link.openError()));
    return opened;
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
    readBack();
    return shownConsole;
}

bool StatusReporter::pending() const {
    const CommandEngine& e = engine_;
    const RefreshRequests& r = e.requests;
    const bool requests = r.masterListRefresh.load() || r.nvListRefresh.load() ||
                          r.registerListRefresh.load() || r.valuesRefresh.load() ||
                          r.valueWriteRequest.load() || r.tcpMapChanged.load() || r.nodePageRefresh.load();
    bool areas = false;
    for (const AreaBox& box : kAreaBoxes) {
        const AreaResult& a = e.area(box.area);
        areas = areas || a.result.load() != DeviceResult::Ok || a.nothingToTransfer.load() || a.lastRead ||
                a.lastWritten;
    }
    const bool completions = e.clearDone.load() || e.portGetDone.load() || e.portSendDone.load() ||
                             e.errorInfoDone.load() || e.nodeInfoDone.load() || e.locationDone.load() ||
                             e.alterDone.load() || e.consoleUpdated.load() || e.readBackDone.load();
    return requests || areas || completions;
}

// The box or boxes of the area, appended or replaced.
void StatusReporter::show(Area area, std::string_view text) {
    const AreaBox& box = boxOf(area);
    if (box.replaces)
        sink_.setText(box.page, text);
    else
        sink_.appendText(box.page, text);
    if (box.alsoMasterList) sink_.appendText(Page::MasterList, text);
}

// Takes the area's ending; a failure is counted and its words shown. True for a failure.
bool StatusReporter::reportEnding(Area area) {
    AreaResult& a = engine_.area(area);
    const DeviceResult result = a.result.exchange(DeviceResult::Ok, std::memory_order_acq_rel);
    if (result == DeviceResult::Ok) return false;
    failed();
    show(area, resultText(area, result, a));
    return true;
}

// What a transfer area (NV definitions, data objects, values) got through: an empty range, the
// number last read and the number last written.
void StatusReporter::transferMarks(Area area) {
    AreaResult& a = engine_.area(area);
    if (take(a.nothingToTransfer)) show(area, kNothingToTransfer);
    if (const int n = take(a.lastRead)) show(area, markText(area, false, n, a.lastReadInput));
    if (const int n = take(a.lastWritten)) show(area, markText(area, true, n, a.lastWrittenInput));
}

void StatusReporter::listRefreshes() {
    RefreshRequests& r = engine_.requests;
    if (take(r.masterListRefresh)) sink_.refresh(Refresh::MasterList);
    if (take(r.nvListRefresh)) sink_.refresh(Refresh::NVList);
    if (take(r.registerListRefresh)) sink_.refresh(Refresh::RegisterList);
}

void StatusReporter::values() {
    transferMarks(Area::Values);
    reportEnding(Area::Values);
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
    const bool cleared = take(engine_.clearDone);
    if (cleared) show(Area::Erase, kDeviceCleared);
    if (reportEnding(Area::Erase) || cleared) {
        sink_.refresh(Refresh::MasterList);
        sink_.refresh(Refresh::NVList);
        sink_.refresh(Refresh::RegisterList);
    }
    transferMarks(Area::Objects);
    reportEnding(Area::Objects);
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
    transferMarks(Area::NetVars);
    reportEnding(Area::NetVars);
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
    const bool failing = e.area(Area::Port).result.load(std::memory_order_acquire) != DeviceResult::Ok;
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
    const bool failing = e.area(Area::Port).result.load(std::memory_order_acquire) != DeviceResult::Ok;
    if (take(e.errorInfoDone) && !failing) {
        if (e.exceptionCode != 0) {
            const std::string line = formatText(kExceptionCode, e.exceptionCode) +
                                     std::string(exceptionName(e.exceptionCode)) + "\n";
            sink_.appendText(Page::ModbusPort, line);
        }
        if (e.errorBits & 0xF0u) sink_.appendText(Page::ModbusPort, kResponseTimeouts);
        if (e.errorBits & 0x0Fu) sink_.appendText(Page::ModbusPort, kCrcErrors);
        if (e.exceptionCode == 0 && e.errorBits == 0) sink_.appendText(Page::ModbusPort, kNoErrors);
    }
    if (reportEnding(Area::Port)) markPortSettings(false, false);
}

void StatusReporter::nodeRefresh() {
    if (take(engine_.requests.nodePageRefresh)) sink_.refresh(Refresh::NodePage);
}

// Marks before results, so a failure after an entry was read always ends the box.
void StatusReporter::domains() {
    AreaResult& a = engine_.area(Area::Domains);
    if (const int mark = take(a.lastRead)) {
        show(Area::Domains, formatText(kDomainRead, mark - 1));
        if (mark == 2) raiseRequest(engine_.requests.nodePageRefresh);
    }
    if (const int mark = take(a.lastWritten)) show(Area::Domains, formatText(kDomainWritten, mark - 1));
    reportEnding(Area::Domains);
}

void StatusReporter::nodeIds() {
    const int mark = take(engine_.area(Area::NodeIds).lastRead);
    if (mark == 1) show(Area::NodeIds, kProgramIdRead);
    if (mark == 2) {
        show(Area::NodeIds, kNeuronIdRead);
        raiseRequest(engine_.requests.nodePageRefresh);
    }
    reportEnding(Area::NodeIds);
}

void StatusReporter::nodeInfo() {
    CommandEngine& e = engine_;
    const bool failing = e.area(Area::Node).result.load(std::memory_order_acquire) != DeviceResult::Ok;
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
    reportEnding(Area::Node);
}

// The ending of a compare or a verify. Differences and a failure count as failures; a verify of
// the port settings that did not match leaves them unconfirmed. A verify of NVs reports where
// their transfer does, in the Master List box too.
void StatusReporter::readBack() {
    CommandEngine& e = engine_;
    AreaResult& a = e.area(Area::ReadBack);
    const DeviceResult result = a.result.exchange(DeviceResult::Ok, std::memory_order_acq_rel);
    const ReadBackKind kind = e.readBackResultKind;
    const Page page = readBackPage(kind);
    const bool alsoMasterList = kind == ReadBackKind::VerifyNetVars;
    const auto append = [&](std::string_view text) {
        sink_.appendText(page, text);
        if (alsoMasterList) sink_.appendText(Page::MasterList, text);
    };
    if (result != DeviceResult::Ok) {
        failed();
        append(resultText(Area::ReadBack, result, a));
        if (kind == ReadBackKind::VerifyPort) markPortSettings(false, false);
    }
    if (!take(e.readBackDone)) return;
    const std::vector<MapDifference> differences = std::move(e.readBackDifferences);
    e.readBackDifferences.clear();
    if (!differences.empty()) failed();
    if (kind == ReadBackKind::Compare) return sink_.showCompareResult(differences);
    if (differences.empty()) {
        if (kind == ReadBackKind::VerifyNetVars) append(formatText(kVerifiedNVs, e.readBackCompared));
        if (kind == ReadBackKind::VerifyObjects) append(formatText(kVerifiedObjects, e.readBackCompared));
        if (kind == ReadBackKind::VerifyPort) append(kVerifiedPort);
        return;
    }
    if (kind == ReadBackKind::VerifyPort) markPortSettings(false, false);
    sink_.showDifferences(page, differences);
    if (alsoMasterList) sink_.showDifferences(Page::MasterList, differences);
}

} // namespace korvex::device
