// The Master List page's device actions: NV definitions, data objects and erasing the device.
#include "device/actions/ActionTexts.h"
#include "device/actions/DeviceActions.h"
#include "device/link/LinkMessages.h"
#include "device/reporting/StatusReporter.h"
#include "model/lists/ListEditing.h"

#include <algorithm>

namespace korvex::device {

namespace {

constexpr int kAllFbNumbers = kFbNumbers;

// The dialog's ALL button: every function-block number of both directions.
constexpr NetVarRanges kAllNetVars{1, kAllFbNumbers, 1, kAllFbNumbers};

// Ok keeps the entered ranges (with no direction wanted the transfer says that it had nothing
// to do) and All takes every number; Cancel chooses nothing.
bool chosenNetVars(RangeAnswer answer, NetVarRanges& ranges) {
    if (answer == RangeAnswer::All) ranges = kAllNetVars;
    return answer != RangeAnswer::Cancel;
}

// The range the gateway's NV count of one direction offers: none at all for a count of 0, so a
// gateway without inputs is not asked for "nvitx 1".
void offerCount(int count, int& first, int& last) {
    first = count > 0 ? 1 : 0;
    last = count > 0 ? count : 0;
}

bool chosenObjects(RangeAnswer answer, ObjectRange& range) {
    if (answer == RangeAnswer::All) range = ObjectRange{1, kObjectCount};
    return answer != RangeAnswer::Cancel;
}

// Get object maps replaces the master list: all objects zeroed, the register list emptied, and
// no NV row left pointing at an object or a register.
void clearObjectsAndRegisters(ObjectMap& map) {
    clearRegisterList(map);
    map.objects.fill(DataObject{});
    for (int r = 0; r < map.nvCount; ++r) {
        map.nvs[static_cast<std::size_t>(r)].objectNumber = 0;
        map.nvs[static_cast<std::size_t>(r)].registerRow = 0;
    }
}

} // namespace

ActionOutcome DeviceActions::openAndStart(Page page, const std::function<bool()>& start) {
    if (!openPortFor(engine_.link(), sink_, page)) return ActionOutcome::PortFailed;
    if (start()) return ActionOutcome::Started;
    sink_.setText(page, kMsgBusy);
    return ActionOutcome::Busy;
}

bool DeviceActions::queryUsage(Page page) {
    if (!openPortFor(engine_.link(), sink_, page) || !engine_.startUsage()) return false;
    const bool answered = host_.waitUntil(
        [this] { return engine_.usageDone.load(std::memory_order_acquire); }, kUsageWaitStepMs, kUsageWaitMs);
    return answered && engine_.usageResult == DeviceResult::Ok;
}

// A replaced list is emptied only once the fetch really starts: a Cancel in the range dialog or
// a port that does not open leaves it whole.
ActionOutcome DeviceActions::getNetVars(Page from) {
    bool listEmpty = false;
    {
        std::lock_guard lock(engine_.mapMutex());
        listEmpty = engine_.map().nvCount == 0;
    }
    if (!listEmpty && !host_.confirm(std::string(action::kReplaceNVs))) return ActionOutcome::Cancelled;
    NetVarRanges ranges = kAllNetVars;
    // A port that fails the pre-query is told once, by the start below: the NV List box that
    // took it is emptied before the range dialog.
    if (queryUsage(Page::NVList)) {
        offerCount(engine_.deviceInputCount, ranges.firstInput, ranges.lastInput);
        offerCount(engine_.deviceOutputCount, ranges.firstOutput, ranges.lastOutput);
    }
    sink_.setText(Page::NVList, "");
    if (!chosenNetVars(host_.chooseNetVarRanges(ranges), ranges)) return ActionOutcome::Cancelled;
    const auto replace = [](ObjectMap& map) { clearNVList(map); };
    const ActionOutcome outcome = openAndStart(from, [&] {
        return engine_.startGetNetVars(ranges.firstInput, ranges.lastInput, ranges.firstOutput,
                                       ranges.lastOutput, listEmpty ? CommandEngine::MapStep{} : replace);
    });
    if (outcome == ActionOutcome::Started && !listEmpty) {
        sink_.refresh(Refresh::NVList);
        sink_.refresh(Refresh::RegisterList);
    }
    return outcome;
}

ActionOutcome DeviceActions::sendNetVars(Page from) {
    sink_.setText(Page::NVList, "");
    NetVarRanges ranges;
    {
        std::lock_guard lock(engine_.mapMutex());
        const NumberRange inputs = fbRangeNotInDevice(engine_.map(), true);
        const NumberRange outputs = fbRangeNotInDevice(engine_.map(), false);
        ranges = NetVarRanges{inputs.low, inputs.high, outputs.low, outputs.high};
    }
    if (!chosenNetVars(host_.chooseNetVarRanges(ranges), ranges)) return ActionOutcome::Cancelled;
    return openAndStart(from, [&] {
        return engine_.startSendNetVars(ranges.firstInput, ranges.lastInput, ranges.firstOutput,
                                        ranges.lastOutput);
    });
}

ActionOutcome DeviceActions::getObjects() {
    bool inUse = false;
    {
        std::lock_guard lock(engine_.mapMutex());
        inUse = anyObjectInUse(engine_.map());
    }
    if (inUse && !host_.confirm(std::string(action::kReplaceObjects))) return ActionOutcome::Cancelled;
    sink_.setText(Page::MasterList, "");
    ObjectRange range{1, kObjectCount};
    engine_.deviceLastObjectKnown = false;
    if (queryUsage(Page::MasterList)) {
        range.last = engine_.deviceLastObject;
        engine_.deviceLastObjectKnown = true;
    }
    if (!chosenObjects(host_.chooseObjectRange(range), range)) return ActionOutcome::Cancelled;
    const ActionOutcome outcome = openAndStart(Page::MasterList, [&] {
        return engine_.startGetObjects(range.first, range.last,
                                       inUse ? clearObjectsAndRegisters : CommandEngine::MapStep{});
    });
    if (outcome == ActionOutcome::Started && inUse) {
        sink_.refresh(Refresh::MasterList);
        sink_.refresh(Refresh::RegisterList);
    }
    return outcome;
}

// True when an object of the range is in use without an NV that was sent (for a field row, its
// header row counts). Empty objects pass: sending one only clears it in the gateway.
bool DeviceActions::objectsNeedNVs(int first, int last) {
    std::lock_guard lock(engine_.mapMutex());
    const ObjectMap& map = engine_.map();
    for (int n = std::max(first, 1); n <= std::min(last, kObjectCount); ++n) {
        const DataObject& object = *map.object(n);
        if (object.isEmpty()) continue;
        if (object.nvRow == 0 || object.nvRow > map.nvCount) return true;
        int header = object.nvRow - 1;
        while (header > 0 && map.nvs[static_cast<std::size_t>(header)].isField) --header;
        if (!map.nvs[static_cast<std::size_t>(header)].inDevice) return true;
    }
    return false;
}

ActionOutcome DeviceActions::sendObjects() {
    sink_.setText(Page::MasterList, "");
    ObjectRange range;
    {
        std::lock_guard lock(engine_.mapMutex());
        const NumberRange pending = objectsInUseRange(engine_.map(), true);
        range = ObjectRange{pending.low, pending.high};
    }
    if (!chosenObjects(host_.chooseObjectRange(range), range)) return ActionOutcome::Cancelled;
    if (objectsNeedNVs(range.first, range.last)) {
        host_.showMessage(std::string(action::kSendNVsFirst), MessageIcon::Error);
        return ActionOutcome::Refused;
    }
    return openAndStart(Page::MasterList, [&] { return engine_.startSendObjects(range.first, range.last); });
}

// Erasing starts: nothing counts as in the device any more, before the gateway even answers.
void DeviceActions::markConfigurationNotInDevice() {
    {
        std::lock_guard lock(engine_.mapMutex());
        ObjectMap& map = engine_.map();
        clearObjectsInDevice(map);
        clearNVsInDevice(map);
        for (int i = 0; i < map.registerCount; ++i) map.registers[static_cast<std::size_t>(i)].inDevice = 0;
        fillFreeObjects(map);
    }
    sink_.setPortSettingsInSync(false);
    sink_.setNodeSettingsInSync(false);
    sink_.refresh(Refresh::MasterList);
    sink_.refresh(Refresh::NVList);
    sink_.refresh(Refresh::RegisterList);
}

ActionOutcome DeviceActions::eraseDevice() {
    if (!host_.confirm(std::string(action::kEraseDevice))) return ActionOutcome::Cancelled;
    sink_.setText(Page::MasterList, "");
    const ActionOutcome outcome = openAndStart(Page::MasterList, [&] { return engine_.startClearConfig(); });
    if (outcome != ActionOutcome::Started) return outcome;
    sink_.setText(Page::MasterList, action::kWaitingForErase);
    host_.flush();
    markConfigurationNotInDevice();
    return outcome;
}

ActionOutcome DeviceActions::compareWithDevice(unsigned parts) {
    sink_.setText(Page::MasterList, "");
    return openAndStart(Page::MasterList, [&] { return engine_.startCompare(parts); });
}

} // namespace korvex::device
