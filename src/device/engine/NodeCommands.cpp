// Node management (states 13 to 18): the domain table, the program and Neuron IDs, the node
// element with the location, and the program-ID selector.
#include "device/engine/CommandEngine.h"
#include "formats/xml/ElementReader.h"
#include "formats/xml/ElementWriter.h"
#include "model/FixedText.h"

#include <cstdio>

namespace korvex::device {

namespace {

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

// A reply other than "Ok" refuses the entry; the gateway's words are not shown.
void CommandEngine::onSetDomainReply(const Reply& reply) {
    AreaResult& ending = area(Area::Domains);
    if (reply.timedOut()) {
        ending.fail(DeviceResult::Timeout);
    } else if (isOk(reply.bytes())) {
        ending.lastWritten = domainIndex + 1;
    } else {
        ending.fail(DeviceResult::ErrorText);
    }
    finish();
}

void CommandEngine::onGetDomainsReply(const Reply& reply) {
    AreaResult& ending = area(Area::Domains);
    if (reply.timedOut()) {
        ending.fail(DeviceResult::Timeout);
        return finish();
    }
    bool parsed = false;
    {
        std::lock_guard lock(mapMutex_);
        parsed = parseDomainReply(reply.text(), identity.domains[static_cast<std::size_t>(domainIndex)]);
    }
    if (!parsed) {
        ending.fail(DeviceResult::BadReply);
        return finish();
    }
    ending.lastRead = domainIndex + 1;
    if (domainIndex == 1) return finish();
    domainIndex = 1;
    sendNext(domainRequest(1));
}

void CommandEngine::onGetNodeIdsReply(const Reply& reply) {
    AreaResult& ending = area(Area::NodeIds);
    if (reply.timedOut()) {
        ending.fail(DeviceResult::Timeout);
        return finish();
    }
    bool parsed = false;
    {
        std::lock_guard lock(mapMutex_);
        parsed = idStep == 0 ? parseProgramIdReply(reply.text(), identity.programId)
                             : parseNeuronIdReply(reply.text(), identity.neuronId);
    }
    if (!parsed) {
        ending.fail(DeviceResult::BadReply);
        return finish();
    }
    ending.lastRead = idStep + 1;
    if (idStep == 1) return finish();
    idStep = 1;
    sendNext("nid\r\n");
}

// The node information is reported as read whatever happened, a failure after it.
void CommandEngine::onGetNodeInfoReply(const Reply& reply) {
    AreaResult& ending = area(Area::Node);
    if (reply.timedOut()) {
        ending.fail(DeviceResult::Timeout);
    } else {
        XmlError code = XmlError::Ok;
        {
            std::lock_guard lock(mapMutex_);
            code = ElementReader(map_).parseNodeElement(reply.text());
        }
        if (elementReplyResult(code, ending.parseCode) != DeviceResult::Ok)
            ending.fail(DeviceResult::BadReply);
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
    AreaResult& ending = area(Area::Node);
    if (reply.timedOut()) {
        ending.fail(DeviceResult::Timeout);
    } else if (isOk(reply.bytes())) {
        done.store(true, std::memory_order_release);
    } else {
        copyErrorText(ending.errorText, reply.bytes());
        ending.fail(DeviceResult::ErrorText);
    }
    finish();
}

} // namespace korvex::device
