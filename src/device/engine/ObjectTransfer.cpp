// Getting and sending data objects (states 5 and 6) and erasing the device's configuration
// (state 7).
#include "device/engine/CommandEngine.h"
#include "device/engine/RequestLines.h"
#include "formats/xml/ElementReader.h"
#include "formats/xml/ElementWriter.h"

#include <algorithm>
#include <cstdio>

namespace korvex::device {

namespace {

// A range the engine can walk: first from 1, last up to 400. False for an empty range.
bool objectRange(int& first, int& last) {
    last = std::min(last, kObjectCount);
    return first >= 1 && first <= last;
}

} // namespace

bool CommandEngine::startGetObjects(int first, int last, const MapStep& replace) {
    return startSequence(EngineState::GetObjects, [&] {
        if (!objectRange(first, last)) return nothingToTransfer(area(Area::Objects).nothingToTransfer);
        objFirst = first;
        objLast = last;
        objNumber = first;
        if (replace) {
            std::lock_guard lock(mapMutex_);
            replace(map_);
        }
        progress_.begin(TransferKind::GetObjects, last - first + 1);
        return objectRequest(first);
    });
}

bool CommandEngine::startSendObjects(int first, int last) {
    return startSequence(EngineState::SendObjects, [&] {
        if (!objectRange(first, last)) return nothingToTransfer(area(Area::Objects).nothingToTransfer);
        objFirst = first;
        objLast = last;
        objNumber = first;
        armVerify(ComparePart::Objects);
        readScope_.firstObject = first;
        readScope_.lastObject = last;
        progress_.begin(TransferKind::SendObjects, last - first + 1);
        std::lock_guard lock(mapMutex_);
        return writeObjectElement(map_, first);
    });
}

bool CommandEngine::startClearConfig() {
    return startSequence(EngineState::ClearConfig, [&] { return std::string("<clearallconfig>\r\n"); });
}

// Both object transfers refresh the master list and the register grid whatever the outcome:
// the objects taken in before a failure have register rows too. A send that was to be verified
// and is stopped before its verify marks nothing.
void CommandEngine::endObjects(DeviceResult result) {
    const bool sending = state() == EngineState::SendObjects;
    const bool verifyDue = result == DeviceResult::Ok && sending && verifyThisSend_;
    if (verifyDue && stopRequested()) result = DeviceResult::Stopped;
    if (result == DeviceResult::Stopped) {
        noteStop(Area::Objects, sending && verifyThisSend_);
    } else if (result != DeviceResult::Ok) {
        area(Area::Objects).number = objNumber;
        area(Area::Objects).fail(result);
    }
    raiseRequest(requests.registerListRefresh);
    raiseRequest(requests.masterListRefresh);
    if (result == DeviceResult::Ok && verifyDue) return beginVerify(ReadBackKind::VerifyObjects);
    finish();
}

void CommandEngine::onGetObjectsReply(const Reply& reply) {
    if (reply.timedOut()) return endObjects(DeviceResult::Timeout);
    std::lock_guard lock(mapMutex_);
    const XmlError code = ElementReader(map_).parseObjectElement(reply.text());
    if (elementReplyResult(code, area(Area::Objects).parseCode) != DeviceResult::Ok)
        return endObjects(DeviceResult::BadReply);
    area(Area::Objects).lastRead = objNumber;
    progress_.advance();
    if (objNumber + 1 <= objLast) {
        if (stopRequested()) return endObjects(DeviceResult::Stopped);
        ++objNumber;
        return sendNext(objectRequest(objNumber));
    }
    // The gateway holds nothing above its last object: those count as configured and in sync.
    if (deviceLastObjectKnown && deviceLastObject >= 1 && deviceLastObject < kObjectCount) {
        for (int n = deviceLastObject + 1; n <= kObjectCount; ++n)
            map_.object(n)->syncFlags |= SyncFlag::Configured | SyncFlag::InDevice;
    }
    endObjects(DeviceResult::Ok);
}

void CommandEngine::onSendObjectsReply(const Reply& reply) {
    if (reply.timedOut()) return endObjects(DeviceResult::Timeout);
    if (!isOk(reply.bytes())) {
        copyErrorText(area(Area::Objects).errorText, reply.bytes());
        return endObjects(DeviceResult::ErrorText);
    }
    std::string next;
    {
        std::lock_guard lock(mapMutex_);
        // A send that is verified marks the object only once it has been read back alike.
        DataObject* object = verifyThisSend_ ? nullptr : map_.object(objNumber);
        if (object) {
            object->syncFlags |= SyncFlag::InDevice;
            if (RegisterDef* reg = map_.registerAtLink(object->registerRow)) reg->inDevice = 1;
        }
        area(Area::Objects).lastWritten = objNumber;
        progress_.advance();
        if (objNumber + 1 <= objLast) next = writeObjectElement(map_, ++objNumber);
    }
    // Ended outside the map mutex: a verify that follows takes it.
    if (next.empty()) return endObjects(DeviceResult::Ok);
    if (stopRequested()) return endObjects(DeviceResult::Stopped);
    sendNext(next);
}

void CommandEngine::onClearConfigReply(const Reply& reply) {
    AreaResult& ending = area(Area::Erase);
    if (reply.timedOut()) {
        ending.fail(DeviceResult::Timeout);
    } else if (isOk(reply.bytes())) {
        clearDone.store(true, std::memory_order_release);
    } else {
        copyErrorText(ending.errorText, reply.bytes());
        ending.fail(DeviceResult::ErrorText);
    }
    finish();
}

} // namespace korvex::device
