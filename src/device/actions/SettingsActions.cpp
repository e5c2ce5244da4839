// The device actions of the View Data, Modbus Port and LonWorks pages.
#include "device/actions/ActionTexts.h"
#include "device/actions/DeviceActions.h"
#include "device/reporting/ReportTexts.h"
#include "device/reporting/StatusReporter.h"

#include <algorithm>

namespace korvex::device {

bool tcpSettingsMissing(const TcpSettings& tcp) {
    return tcp.ipaddr[0] == 0 || tcp.subnet[0] == 0 || tcp.port == 0;
}

// ---- View Data -------------------------------------------------------------------------------

ActionOutcome DeviceActions::readValues() {
    return transferValues(false);
}

ActionOutcome DeviceActions::writeValues() {
    return transferValues(true);
}

// The range of "Get" and "Send": the objects in use offered, OK, ALL or Cancel. The page's box
// is emptied first.
bool DeviceActions::chooseValueRange(ObjectRange& range) {
    sink_.setText(Page::ViewData, "");
    {
        std::lock_guard lock(engine_.mapMutex());
        const NumberRange inUse = objectsInUseRange(engine_.map(), false);
        range = ObjectRange{inUse.low, inUse.high};
    }
    const RangeAnswer answer = host_.chooseObjectRange(range);
    if (answer == RangeAnswer::All) range = ObjectRange{1, kObjectCount};
    return answer != RangeAnswer::Cancel;
}

void DeviceActions::clearFreshValues() {
    std::lock_guard lock(engine_.mapMutex());
    engine_.values().clearFresh();
}

ActionOutcome DeviceActions::transferValues(bool write) {
    ObjectRange range;
    if (!chooseValueRange(range)) return ActionOutcome::Cancelled;
    return openAndStart(Page::ViewData, [&] {
        clearFreshValues();
        return write ? engine_.startWriteValues(range.first, range.last)
                     : engine_.startReadValues(range.first, range.last);
    });
}

ActionOutcome DeviceActions::watchValues(ValueWatch& watch, WatchPlan& plan) {
    ObjectRange range;
    if (!chooseValueRange(range)) return ActionOutcome::Cancelled;
    plan.objects.clear();
    for (int n = std::max(range.first, 1); n <= std::min(range.last, kObjectCount); ++n)
        plan.objects.push_back(n);
    if (plan.objects.empty()) {
        sink_.appendText(Page::ViewData, report::kNothingToTransfer);
        return ActionOutcome::Started;
    }
    return openAndStart(Page::ViewData, [&] {
        if (watch.running()) return false;
        clearFreshValues();
        return watch.start(plan);
    });
}

// ---- Modbus Port -----------------------------------------------------------------------------

ActionOutcome DeviceActions::readPortSettings() {
    sink_.setText(Page::ModbusPort, "");
    return openAndStart(Page::ModbusPort, [this] { return engine_.startGetPortSettings(); });
}

ActionOutcome DeviceActions::writePortSettings() {
    sink_.setText(Page::ModbusPort, "");
    bool hasTcp = false;
    bool missing = false;
    bool noSlaves = false;
    {
        std::lock_guard lock(engine_.mapMutex());
        const ObjectMap& map = engine_.map();
        hasTcp = map.hasTcp();
        missing = tcpSettingsMissing(map.tcp);
        noSlaves = map.tcpMap[0].ipAddress[0] == 0;
    }
    if (hasTcp) {
        if (missing) {
            host_.showMessage(std::string(action::kInvalidTcp), MessageIcon::Error);
            return ActionOutcome::Refused;
        }
        if (!options_.gatewaySlave && noSlaves && !host_.confirm(std::string(action::kMasterWithoutSlaves)))
            return ActionOutcome::Cancelled;
        // The device map goes out as it is always sent and written: entries in use normalised
        // and packed to the front.
        {
            std::lock_guard lock(engine_.mapMutex());
            normaliseTcpMap(engine_.map().tcpMap);
        }
        sink_.refresh(Refresh::TcpMap);
    }
    return openAndStart(Page::ModbusPort, [this] { return engine_.startSendPortSettings(); });
}

ActionOutcome DeviceActions::getErrorInfo(std::string_view slaveField) {
    sink_.setText(Page::ModbusPort, "");
    int slave = 1;
    std::string_view text = slaveField;
    if (!scanDecimal(text, slave)) slave = 1;
    return openAndStart(Page::ModbusPort, [&] { return engine_.startGetErrorInfo(slave); });
}

// ---- LonWorks --------------------------------------------------------------------------------

ActionOutcome DeviceActions::getNodeIds() {
    sink_.setText(Page::LonWorks, "");
    return openAndStart(Page::LonWorks, [this] { return engine_.startGetNodeIds(); });
}

ActionOutcome DeviceActions::setDomain(int index) {
    if (options_.commissioned) {
        host_.showMessage(std::string(action::kCommissionedDomain), MessageIcon::Error);
        return ActionOutcome::Refused;
    }
    sink_.setText(Page::LonWorks, "");
    return openAndStart(Page::LonWorks, [&] { return engine_.startSetDomain(index); });
}

ActionOutcome DeviceActions::getDomains() {
    sink_.setText(Page::LonWorks, "");
    return openAndStart(Page::LonWorks, [this] { return engine_.startGetDomains(); });
}

ActionOutcome DeviceActions::getLocation() {
    sink_.setText(Page::LonWorks, "");
    return openAndStart(Page::LonWorks, [this] { return engine_.startGetNodeInfo(); });
}

ActionOutcome DeviceActions::setLocation() {
    sink_.setText(Page::LonWorks, "");
    return openAndStart(Page::LonWorks, [this] { return engine_.startSetLocation(); });
}

// The message is shown while the command still runs.
ActionOutcome DeviceActions::alterProgramId() {
    if (options_.commissioned) {
        host_.showMessage(std::string(action::kCommissionedProgramId), MessageIcon::Error);
        return ActionOutcome::Refused;
    }
    sink_.setText(Page::LonWorks, "");
    const ActionOutcome outcome =
        openAndStart(Page::LonWorks, [this] { return engine_.startAlterProgramId(); });
    if (outcome == ActionOutcome::Started)
        host_.showMessage(std::string(action::kProgramIdRestarted), MessageIcon::Error);
    return outcome;
}

} // namespace korvex::device
