// Getting and sending NV definitions (states 3 and 4): function-block numbers walked through the
// input range, then the output range, one "nv" element per command.
#include "device/engine/CommandEngine.h"
#include "device/engine/RequestLines.h"
#include "formats/xml/ElementReader.h"
#include "formats/xml/ElementWriter.h"

#include <algorithm>
#include <cstdio>

namespace korvex::device {

namespace {

// The first row of the list for the number and direction that is not a field row; -1 none.
int findNetVarRow(const ObjectMap& map, int fbNumber, bool input) {
    return netVarHeaderRow(map, fbNumber, input);
}

// Starts at the first input number, or at the first output number when no input is wanted;
// false when neither direction is wanted.
bool firstNetVarNumber(NetVarTransferFields& f) {
    f.nvInputPhase = f.nvFirstInput > 0;
    f.nvNumber = f.nvInputPhase ? f.nvFirstInput : f.nvFirstOutput;
    return f.nvNumber > 0;
}

// One direction's range as the walk takes it: a first number of 0 when that direction is left
// out. No function block is numbered above 120, so a range ends there at the latest and the walk
// can never run past the numbers (or overflow them); a range that ends before it starts (a
// gateway without NVs of that direction) is left out.
void storeRange(int first, int last, int& storedFirst, int& storedLast) {
    storedLast = std::min(last, kFbNumbers);
    storedFirst = first > storedLast ? 0 : first;
}

void storeRanges(NetVarTransferFields& f, int firstInput, int lastInput, int firstOutput, int lastOutput) {
    storeRange(firstInput, lastInput, f.nvFirstInput, f.nvLastInput);
    storeRange(firstOutput, lastOutput, f.nvFirstOutput, f.nvLastOutput);
    f.nvListPosition = -1;
}

// How many numbers the stored ranges hold: the NVs a fetch asks for.
int numbersInRanges(const NetVarTransferFields& f) {
    const auto count = [](int first, int last) { return first > 0 ? last - first + 1 : 0; };
    return count(f.nvFirstInput, f.nvLastInput) + count(f.nvFirstOutput, f.nvLastOutput);
}

// How many NVs of the stored ranges the list holds with an element to send (map mutex held).
int netVarsToSend(const NetVarTransferFields& f, const ObjectMap& map) {
    int count = 0;
    const auto add = [&](int first, int last, bool input) {
        for (int n = std::max(first, 1); first > 0 && n <= last; ++n) {
            const int r = findNetVarRow(map, n, input);
            if (r >= 0 && map.nvs[static_cast<std::size_t>(r)].size != 0) ++count;
        }
    };
    add(f.nvFirstInput, f.nvLastInput, true);
    add(f.nvFirstOutput, f.nvLastOutput, false);
    return count;
}

} // namespace

bool CommandEngine::startGetNetVars(int firstInput, int lastInput, int firstOutput, int lastOutput,
                                    const MapStep& replace) {
    return startSequence(EngineState::GetNetVars, [&] {
        storeRanges(*this, firstInput, lastInput, firstOutput, lastOutput);
        if (!firstNetVarNumber(*this)) return nothingToTransfer(area(Area::NetVars).nothingToTransfer);
        if (replace) {
            std::lock_guard lock(mapMutex_);
            replace(map_);
        }
        progress_.begin(TransferKind::GetNetVars, numbersInRanges(*this));
        return netVarRequest(nvInputPhase, nvNumber);
    });
}

bool CommandEngine::startSendNetVars(int firstInput, int lastInput, int firstOutput, int lastOutput) {
    return startSequence(EngineState::SendNetVars, [&] {
        storeRanges(*this, firstInput, lastInput, firstOutput, lastOutput);
        armVerify(ComparePart::NetVars);
        std::atomic<bool>& nothing = area(Area::NetVars).nothingToTransfer;
        if (!firstNetVarNumber(*this)) return nothingToTransfer(nothing);
        std::lock_guard lock(mapMutex_);
        progress_.begin(TransferKind::SendNetVars, netVarsToSend(*this, map_));
        std::string first = nextNetVarToSend();
        return first.empty() ? nothingToTransfer(nothing) : first;
    });
}

// The next number of the ranges: past the last input the output range starts (when wanted),
// past the last output the ranges are done (false).
bool CommandEngine::advanceNetVarNumber() {
    ++nvNumber;
    if (nvInputPhase && nvNumber > nvLastInput) {
        if (nvFirstOutput <= 0) return false;
        nvInputPhase = false;
        nvNumber = nvFirstOutput;
        return true;
    }
    return nvInputPhase || nvNumber <= nvLastOutput;
}

// From the current number on, the element of the first NV the list holds (map mutex held).
// Numbers without a definition are passed over without a command, and so is a row that makes
// no element (size 0): it could never be answered. Empty when the ranges are exhausted.
std::string CommandEngine::nextNetVarToSend() {
    for (;;) {
        const int r = findNetVarRow(map_, nvNumber, nvInputPhase);
        if (r >= 0) {
            std::string element = writeNVElement(map_, r, false);
            if (!element.empty()) {
                nvListPosition = r;
                return element;
            }
        }
        if (!advanceNetVarNumber()) return {};
    }
}

// A send that was to be verified and is stopped before its verify marks nothing: what it wrote
// was never read back.
void CommandEngine::endNetVars(DeviceResult result) {
    const bool sending = state() == EngineState::SendNetVars;
    const bool wrote = readScope_.inputs.any() || readScope_.outputs.any();
    const bool verifyDue = result == DeviceResult::Ok && sending && verifyThisSend_ && wrote;
    if (verifyDue && stopRequested()) result = DeviceResult::Stopped;
    if (result == DeviceResult::Stopped) {
        noteStop(Area::NetVars, sending && verifyThisSend_);
    } else if (result != DeviceResult::Ok) {
        AreaResult& ending = area(Area::NetVars);
        ending.number = nvNumber;
        ending.input = nvInputPhase;
        ending.fail(result);
    }
    nvListPosition = -1;
    raiseRequest(requests.nvListRefresh);
    if (result == DeviceResult::Ok && verifyDue) return beginVerify(ReadBackKind::VerifyNetVars);
    finish();
}

void CommandEngine::onGetNetVarsReply(const Reply& reply) {
    if (reply.timedOut()) return endNetVars(DeviceResult::Timeout);
    XmlError code = XmlError::Ok;
    {
        std::lock_guard lock(mapMutex_);
        code = ElementReader(map_).parseNVElement(reply.text());
    }
    AreaResult& marks = area(Area::NetVars);
    if (elementReplyResult(code, marks.parseCode) != DeviceResult::Ok)
        return endNetVars(DeviceResult::BadReply);
    marks.lastRead = nvNumber;
    marks.lastReadInput = nvInputPhase;
    progress_.advance();
    if (!advanceNetVarNumber()) return endNetVars(DeviceResult::Ok);
    if (stopRequested()) return endNetVars(DeviceResult::Stopped);
    sendNext(netVarRequest(nvInputPhase, nvNumber));
}

void CommandEngine::onSendNetVarsReply(const Reply& reply) {
    if (reply.timedOut()) return endNetVars(DeviceResult::Timeout);
    if (!isOk(reply.bytes())) {
        copyErrorText(area(Area::NetVars).errorText, reply.bytes());
        return endNetVars(DeviceResult::ErrorText);
    }
    std::string next;
    {
        std::lock_guard lock(mapMutex_);
        // The list may have been edited while the reply was on its way: the row sent is the one
        // that still carries this number and direction.
        int r = nvListPosition;
        const bool moved = r < 0 || r >= map_.nvCount ||
                           map_.nvs[static_cast<std::size_t>(r)].fbNumber != nvNumber ||
                           (map_.nvs[static_cast<std::size_t>(r)].isInput != 0) != nvInputPhase;
        if (moved) r = findNetVarRow(map_, nvNumber, nvInputPhase);
        // A send that is verified marks the row only once it has been read back alike.
        if (verifyThisSend_)
            (nvInputPhase ? readScope_.inputs : readScope_.outputs).set(static_cast<std::size_t>(nvNumber));
        else if (r >= 0)
            map_.nvs[static_cast<std::size_t>(r)].inDevice = 1;
        area(Area::NetVars).lastWritten = nvNumber;
        area(Area::NetVars).lastWrittenInput = nvInputPhase;
        progress_.advance();
        if (advanceNetVarNumber()) next = nextNetVarToSend();
    }
    if (next.empty()) return endNetVars(DeviceResult::Ok);
    if (stopRequested()) return endNetVars(DeviceResult::Stopped);
    sendNext(next);
}

} // namespace korvex::device
