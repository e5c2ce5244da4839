// Reading and writing live values (states 2 and 12): one "pr" or "pw" command per object; and
// the single reads of a watch (state 20).
#include "device/engine/CommandEngine.h"
#include "vocab/ObjectValue.h"
#include "vocab/RegisterCodes.h"

#include <algorithm>
#include <cstdio>

namespace korvex::device {

namespace {

constexpr std::string_view kUndefined = "Undef";
std::string readRequest(int n) {
    char line[32];
    std::snprintf(line, sizeof line, "pr %d\r\n", n);
    return line;
}

bool valueRange(int& first, int& last) {
    last = std::min(last, kObjectCount);
    return first >= 1 && first <= last;
}

// An object without a data type is taken as FP the first time a value is moved for it.
int valueType(DataObject& object) {
    if (object.datatype == ObjectDataType::None) object.datatype = ObjectDataType::FP;
    return object.datatype;
}

bool mentionsUndefined(const Reply& reply) {
    return reply.bytes().find(kUndefined) != std::string_view::npos;
}

} // namespace

// Map mutex held.
std::string CommandEngine::valueWriteLine(int n) {
    const int type = valueType(*map_.object(n));
    return "pw " + std::to_string(n) + " " + fixedSix(object_value_to_number(values_.slot(n).value, type)) +
           "\r\n";
}

bool CommandEngine::startReadValues(int first, int last) {
    return startSequence(EngineState::ReadValues, [&] {
        if (!valueRange(first, last)) return nothingToTransfer(area(Area::Values).nothingToTransfer);
        valueFirst = first;
        valueLast = last;
        valueNumber = first;
        progress_.begin(TransferKind::ReadValues, last - first + 1);
        return readRequest(first);
    });
}

bool CommandEngine::startWriteValues(int first, int last) {
    return startSequence(EngineState::WriteValues, [&] {
        if (!valueRange(first, last)) return nothingToTransfer(area(Area::Values).nothingToTransfer);
        valueFirst = first;
        valueLast = last;
        valueNumber = first;
        progress_.begin(TransferKind::WriteValues, last - first + 1);
        std::lock_guard lock(mapMutex_);
        return valueWriteLine(first);
    });
}

// Every ending refreshes the View Data grid: values taken before a failure are shown too.
void CommandEngine::endValues(DeviceResult result) {
    if (result == DeviceResult::Stopped) {
        noteStop(Area::Values);
    } else if (result != DeviceResult::Ok) {
        area(Area::Values).number = valueNumber;
        area(Area::Values).fail(result);
    }
    raiseRequest(requests.valuesRefresh);
    finish();
}

// The number of a "pr" reply stored into object n's slot, or the failure the reply gives.
DeviceResult CommandEngine::takeReadValue(const Reply& reply, int n) {
    if (reply.timedOut()) return DeviceResult::Timeout;
    double x = 0;
    if (!scanReal(reply.text(), x))
        return mentionsUndefined(reply) ? DeviceResult::NotDefined : DeviceResult::BadReply;
    std::lock_guard lock(mapMutex_);
    ValueSlot& slot = values_.slot(n);
    slot.value = object_value_from_number(x, valueType(*map_.object(n)));
    slot.fresh = true;
    return DeviceResult::Ok;
}

void CommandEngine::onReadValuesReply(const Reply& reply) {
    const DeviceResult result = takeReadValue(reply, valueNumber);
    if (result != DeviceResult::Ok) return endValues(result);
    area(Area::Values).lastRead = valueNumber;
    progress_.advance();
    if (valueNumber + 1 > valueLast) return endValues(DeviceResult::Ok);
    if (stopRequested()) return endValues(DeviceResult::Stopped);
    ++valueNumber;
    sendNext(readRequest(valueNumber));
}

bool CommandEngine::startWatchRead(int n) {
    if (!ObjectMap::validObject(n)) return false;
    return startSequence(EngineState::WatchRead, [&] {
        watchNumber = n;
        return readRequest(n);
    });
}

void CommandEngine::endWatchRead(DeviceResult result) {
    if (result != DeviceResult::Ok) {
        std::lock_guard lock(mapMutex_);
        values_.slot(watchNumber).fresh = false;
    }
    watchResult = result;
    watchReadsDone.fetch_add(1, std::memory_order_release);
    finish();
}

void CommandEngine::onWatchReadReply(const Reply& reply) {
    endWatchRead(takeReadValue(reply, watchNumber));
}

void CommandEngine::onWriteValuesReply(const Reply& reply) {
    if (reply.timedOut()) return endValues(DeviceResult::Timeout);
    if (!isOk(reply.bytes()))
        return endValues(mentionsUndefined(reply) ? DeviceResult::NotDefined : DeviceResult::WriteRefused);
    std::lock_guard lock(mapMutex_);
    values_.slot(valueNumber).fresh = true;
    area(Area::Values).lastWritten = valueNumber;
    progress_.advance();
    if (valueNumber + 1 > valueLast) return endValues(DeviceResult::Ok);
    if (stopRequested()) return endValues(DeviceResult::Stopped);
    ++valueNumber;
    sendNext(valueWriteLine(valueNumber));
}

} // namespace korvex::device
