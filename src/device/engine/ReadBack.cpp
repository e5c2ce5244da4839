// Reading the gateway back (state 19): a compare of the whole configuration, or the verify that
// follows a send and reads back what it wrote. The replies go into a scratch map of the engine's
// own that starts from defaults, so the map being edited is only read, under its mutex, when the
// last reply is in; a verify then marks in the device what matched.
#include "device/engine/CommandEngine.h"
#include "device/engine/RequestLines.h"
#include "formats/xml/ElementReader.h"

#include <algorithm>

namespace korvex::device {

namespace {

TransferKind transferOf(ReadBackKind kind) {
    switch (kind) {
    case ReadBackKind::VerifyNetVars:
        return TransferKind::VerifyNetVars;
    case ReadBackKind::VerifyObjects:
        return TransferKind::VerifyObjects;
    case ReadBackKind::VerifyPort:
        return TransferKind::VerifyPort;
    default:
        return TransferKind::Compare;
    }
}

const char* itemLabel(int kind) {
    static constexpr const char* kLabels[] = {"Usage", "NVI",    "NVO",        "Obj",
                                              "Port",  "TCP/IP", "TCP device", "Node"};
    return kLabels[kind];
}

} // namespace

std::string CommandEngine::itemRequest(const ReadItem& item) {
    switch (item.kind) {
    case ReadItemKind::Usage:
        return kUsageRequest;
    case ReadItemKind::NetVarIn:
    case ReadItemKind::NetVarOut:
        return netVarRequest(item.kind == ReadItemKind::NetVarIn, item.number);
    case ReadItemKind::Object:
        return objectRequest(item.number);
    case ReadItemKind::Port:
        return kPortRequest;
    case ReadItemKind::IpSettings:
        return kIpSettingsRequest;
    case ReadItemKind::TcpEntry:
        return mapEntryRequest(item.number);
    case ReadItemKind::Node:
        return kNodeInfoRequest;
    }
    return {};
}

// A fresh scratch map with the map's device model, progress at 0 of the items, and the first
// request (map mutex not held).
void CommandEngine::launchReadBack() {
    scratch_ = std::make_unique<ObjectMap>();
    {
        std::lock_guard lock(mapMutex_);
        scratch_->deviceModel = map_.deviceModel;
    }
    readIndex_ = 0;
    progress_.begin(transferOf(readKind_), static_cast<int>(readItems_.size()));
}

// A send notes here what it writes when it is to be verified (under the start lock).
void CommandEngine::armVerify(unsigned parts) {
    verifyThisSend_ = verifyAfterSend.load(std::memory_order_acquire);
    readScope_ = CompareScope{};
    readScope_.parts = parts;
}

bool CommandEngine::startCompare(unsigned parts) {
    return startSequence(EngineState::ReadBack, [&] {
        readKind_ = ReadBackKind::Compare;
        readScope_ = CompareScope::all(parts);
        readItems_ = {ReadItem{ReadItemKind::Usage, 0}};
        launchReadBack();
        return itemRequest(readItems_.front());
    });
}

// After the usage reply: every NV and object the gateway counts, its port settings (with the
// TCP settings and device map on the model with TCP) and its location, as the parts ask.
void CommandEngine::planCompare(const std::array<int, 4>& counts) {
    const unsigned parts = readScope_.parts;
    const auto add = [this](ReadItemKind kind, int first, int last) {
        for (int n = first; n <= last; ++n) readItems_.push_back(ReadItem{kind, n});
    };
    if (parts & ComparePart::NetVars) {
        add(ReadItemKind::NetVarIn, 1, std::min(counts[1], kFbNumbers));
        add(ReadItemKind::NetVarOut, 1, std::min(counts[2], kFbNumbers));
    }
    if (parts & ComparePart::Objects) add(ReadItemKind::Object, 1, std::min(counts[0], kObjectCount));
    if (parts & ComparePart::Port) {
        add(ReadItemKind::Port, 0, 0);
        if (scratch_->hasTcp()) {
            add(ReadItemKind::IpSettings, 0, 0);
            add(ReadItemKind::TcpEntry, 1, std::min(counts[3], kTcpMapEntries));
        }
    }
    if (parts & ComparePart::Node) add(ReadItemKind::Node, 0, 0);
    progress_.setTotal(static_cast<int>(readItems_.size()));
}

// A send that ended well reads back what it wrote: the NV numbers and object range it noted,
// or the port settings with the TCP entries it sent. Handlers only.
void CommandEngine::beginVerify(ReadBackKind kind) {
    readKind_ = kind;
    readItems_.clear();
    for (int n = 1; n <= kFbNumbers; ++n) {
        if (readScope_.inputs.test(static_cast<std::size_t>(n)))
            readItems_.push_back({ReadItemKind::NetVarIn, n});
    }
    for (int n = 1; n <= kFbNumbers; ++n) {
        if (readScope_.outputs.test(static_cast<std::size_t>(n)))
            readItems_.push_back({ReadItemKind::NetVarOut, n});
    }
    if (kind == ReadBackKind::VerifyObjects) {
        for (int n = readScope_.firstObject; n <= readScope_.lastObject; ++n)
            readItems_.push_back({ReadItemKind::Object, n});
    }
    if (kind == ReadBackKind::VerifyPort) {
        readItems_.push_back({ReadItemKind::Port, 0});
        if (portHasTcp) {
            readItems_.push_back({ReadItemKind::IpSettings, 0});
            for (int d = 1; d <= std::min(deviceTcpMapCount, kTcpMapEntries); ++d)
                readItems_.push_back({ReadItemKind::TcpEntry, d});
        }
    }
    launchReadBack();
    state_.store(EngineState::ReadBack, std::memory_order_release);
    sendNext(itemRequest(readItems_.front()), kBudgetCommand);
}

// One reply into the scratch map; BadReply with the item and the reader's code in the area.
DeviceResult CommandEngine::takeReadBackItem(const ReadItem& item, const Reply& reply) {
    XmlError code = XmlError::Ok;
    ElementReader reader(*scratch_);
    switch (item.kind) {
    case ReadItemKind::Usage: {
        std::array<int, 4> counts{};
        if (parseUsageReply(reply.text(), counts) != UsageParse::Complete) {
            area(Area::ReadBack).parseCode = kUsageParseCode;
            break;
        }
        planCompare(counts);
        return DeviceResult::Ok;
    }
    case ReadItemKind::NetVarIn:
    case ReadItemKind::NetVarOut:
        code = reader.parseNVElement(reply.text());
        break;
    case ReadItemKind::Object:
        code = reader.parseObjectElement(reply.text());
        break;
    case ReadItemKind::Port:
    case ReadItemKind::IpSettings:
    case ReadItemKind::TcpEntry:
        code = reader.parsePortElement(reply.text());
        break;
    case ReadItemKind::Node:
        code = reader.parseNodeElement(reply.text());
        break;
    }
    AreaResult& ending = area(Area::ReadBack);
    if (item.kind != ReadItemKind::Usage && elementReplyResult(code, ending.parseCode) == DeviceResult::Ok)
        return DeviceResult::Ok;
    std::string text = itemLabel(static_cast<int>(item.kind));
    if (item.number > 0) text += " " + std::to_string(item.number);
    text += " Error " + std::to_string(ending.parseCode) + ".";
    copyErrorText(ending.errorText, text);
    return DeviceResult::BadReply;
}

void CommandEngine::onReadBackReply(const Reply& reply) {
    if (reply.timedOut()) return endReadBack(DeviceResult::Timeout);
    if (!scratch_ || readIndex_ >= readItems_.size()) return endReadBack(DeviceResult::BadReply);
    const DeviceResult taken = takeReadBackItem(readItems_[readIndex_], reply);
    if (taken != DeviceResult::Ok) return endReadBack(taken);
    ++readIndex_;
    progress_.advance();
    if (readIndex_ >= readItems_.size()) return endReadBack(DeviceResult::Ok);
    if (stopRequested()) return endReadBack(DeviceResult::Stopped);
    sendNext(itemRequest(readItems_[readIndex_]), kBudgetCommand);
}

// A verify marks in the device each NV and object that matched (map mutex held).
void CommandEngine::markVerified() {
    for (const bool input : {true, false}) {
        const auto& numbers = input ? readScope_.inputs : readScope_.outputs;
        for (int n = 1; n <= kFbNumbers; ++n) {
            if (!numbers.test(static_cast<std::size_t>(n))) continue;
            CompareScope one;
            one.parts = ComparePart::NetVars;
            (input ? one.inputs : one.outputs).set(static_cast<std::size_t>(n));
            const int r = netVarHeaderRow(map_, n, input);
            if (r >= 0 && compareMaps(map_, *scratch_, one).empty())
                map_.nvs[static_cast<std::size_t>(r)].inDevice = 1;
        }
    }
    if (readKind_ != ReadBackKind::VerifyObjects) return;
    for (int n = readScope_.firstObject; n <= readScope_.lastObject; ++n) {
        CompareScope one;
        one.parts = ComparePart::Objects;
        one.firstObject = one.lastObject = n;
        if (!compareMaps(map_, *scratch_, one).empty()) continue;
        DataObject& object = *map_.object(n);
        object.syncFlags |= SyncFlag::InDevice;
        if (RegisterDef* reg = map_.registerAtLink(object.registerRow)) reg->inDevice = 1;
    }
}

void CommandEngine::endReadBack(DeviceResult result) {
    readBackResultKind = readKind_;
    if (result == DeviceResult::Stopped) {
        noteStop(Area::ReadBack);
        scratch_.reset();
        return finish();
    }
    if (result != DeviceResult::Ok || !scratch_) {
        area(Area::ReadBack).fail(result == DeviceResult::Ok ? DeviceResult::BadReply : result);
        scratch_.reset();
        return finish();
    }
    {
        std::lock_guard lock(mapMutex_);
        readBackDifferences = compareMaps(map_, *scratch_, readScope_);
        if (readKind_ != ReadBackKind::Compare) markVerified();
    }
    readBackCompared = static_cast<int>(readItems_.size());
    scratch_.reset();
    if (readKind_ == ReadBackKind::VerifyPort && readBackDifferences.empty())
        portSendDone.store(true, std::memory_order_release);
    if (readKind_ == ReadBackKind::VerifyNetVars) raiseRequest(requests.nvListRefresh);
    if (readKind_ == ReadBackKind::VerifyObjects) {
        raiseRequest(requests.registerListRefresh);
        raiseRequest(requests.masterListRefresh);
    }
    readBackDone.store(true, std::memory_order_release);
    finish();
}

} // namespace korvex::device
