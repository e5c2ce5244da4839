// Node management (states 13 to 18): the domain table, the program and Neuron IDs, the node
// element with the location, and the program-ID selector.
#include "device/engine/CommandEngine.h"
#include "formats/xml/ElementReader.h"
#include "formats/xml/ElementWriter.h"
#include "model/FixedText.h"

#include <cstdio>

namespace korvex::device {

namespace {

constexpr int kSetRefused = kResultBadReply;        // a set-domain reply other than "Ok"
constexpr int kDomainUnparsable = kResultErrorText; // a domain reply that does not parse
constexpr int kIdUnparsable = kResultBadReply;

std::string domainRequest(int index) {
    char line[32];
    std::snprintf(line, sizeof line, "ndomain %d\r\n", index);
    return line;
}

bool validDomainIndex(int index) {
    return index == 0 || index == 1;
}

} // namespace

bool CommandEngine::startSetDomain(int index) {
    return startSequence(EngineState::SetDomain, [&] {
        if (!validDomainIndex(index)) return std::string();
        domainIndex = index;
        std::lock_guard lock(mapMutex_);
        return setDomainLine(index, identity.domains[static_cast<std::size_t>(index)]);
    });
}

bool CommandEngine::startGetDomains() {
    return startSequence(EngineState::GetDomains, [&] {
        domainIndex = 0;
        return domainRequest(0);
    });
}

bool CommandEngine::startGetNodeIds() {
    return startSequence(EngineState::GetNodeIds, [&] {
        idStep = 0;
        return std::string("npid\r\n");
    });
}

bool CommandEngine::startGetNodeInfo() {
    return startSequence(EngineState::GetNodeInfo, [&] { return std::string("ninfo\r\n"); });
}

bool CommandEngine::startSetLocation() {
    return startSequence(EngineState::SetLocation, [&] {
        std::lock_guard lock(mapMutex_);
        return "<nd loc=\"" + quotableText(textOf(map_.node.loc)) + "\"/>\r\n";
    });
}

bool CommandEngine::startAlterProgramId() {
    return startSequence(EngineState::AlterProgramId, [&] {
        std::lock_guard lock(mapMutex_);
        char line[32];
        std::snprintf(line, sizeof line, "nalterpid %d\r\n", static_cast<int>(map_.node.pid));
        return std::string(line);
    });
}

void CommandEngine::onSetDomainReply(const Reply& reply) {
    if (reply.timedOut()) {
        domainResult.store(kResultTimeout, std::memory_order_release);
    } else if (isOk(reply.bytes())) {
        domainWrittenMark = domainIndex + 1;
    } else {
        domainResult.store(kSetRefused, std::memory_order_release);
    }
    finish();
}

void CommandEngine::onGetDomainsReply(const Reply& reply) {
    if (reply.timedOut()) {
        domainResult.store(kResultTimeout, std::memory_order_release);
        return finish();
    }
    bool parsed = false;
    {
        std::lock_guard lock(mapMutex_);
        parsed = parseDomainReply(reply.text(), identity.domains[static_cast<std::size_t>(domainIndex)]);
    }
    if (!parsed) {
        domainResult.store(kDomainUnparsable, std::memory_order_release);
        return finish();
    }
    domainReadMark = domainIndex + 1;
    if (domainIndex == 1) return finish();
    domainIndex = 1;
    sendNext(domainRequest(1));
}

void CommandEngine::onGetNodeIdsReply(const Reply& reply) {
    if (reply.timedOut()) {
        idResult.store(kResultTimeout, std::memory_order_release);
        return finish();
    }
    bool parsed = false;
    {
        std::lock_guard lock(mapMutex_);
        parsed = idStep == 0 ? parseProgramIdReply(reply.text(), identity.programId)
                             : parseNeuronIdReply(reply.text(), identity.neuronId);
    }
    if (!parsed) {
        idResult.store(kIdUnparsable, std::memory_order_release);
        return finish();
    }
    idReadMark = idStep + 1;
    if (idStep == 1) return finish();
    idStep = 1;
    sendNext("nid\r\n");
}

// The node information is reported as read whatever happened, a failure after it.
void CommandEngine::onGetNodeInfoReply(const Reply& reply) {
    if (reply.timedOut()) {
        nodeResult.store(kResultTimeout, std::memory_order_release);
    } else {
        int code = 0;
        {
            std::lock_guard lock(mapMutex_);
            code = ElementReader(map_).parseNodeElement(reply.text());
        }
        if (elementReplyResult(code, nodeParseCode) != kResultOk)
            nodeResult.store(kResultBadReply, std::memory_order_release);
    }
    nodeInfoDone.store(true, std::memory_order_release);
    finish();
}

void CommandEngine::onSetLocationReply(const Reply& reply) {
    endNode(reply, locationDone);
}

void CommandEngine::onAlterProgramIdReply(const Reply& reply) {
    endNode(reply, alterDone);
}

// An acknowledged command: "Ok" raises its completion, anything else is the gateway's error.
void CommandEngine::endNode(const Reply& reply, std::atomic<bool>& done) {
    if (reply.timedOut()) {
        nodeResult.store(kResultTimeout, std::memory_order_release);
    } else if (isOk(reply.bytes())) {
        done.store(true, std::memory_order_release);
    } else {
        copyErrorText(nodeErrorText, reply.bytes());
        nodeResult.store(kResultErrorText, std::memory_order_release);
    }
    finish();
}

} // namespace korvex::device
