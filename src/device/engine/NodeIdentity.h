#pragma once
// The node's LonWorks identity as the device link last read it: the two domain table entries,
// the program ID and the Neuron ID. None of it is stored in the configuration file. Shared with
// the window thread (the LonWorks page shows and edits it) under the map's mutex.
#include <array>
#include <string>
#include <string_view>

namespace korvex::device {

struct DomainEntry {
    int subnet = 0;
    int node = 0;
    int idLength = 0;        // 0, 1, 3 or 6
    std::array<int, 6> id{}; // bytes 0..255; only the first idLength mean anything
    bool vacant = false;     // the gateway reports the entry as not in use
    bool operator==(const DomainEntry&) const = default;
};

struct NodeIdentity {
    std::array<DomainEntry, 2> domains{};
    std::array<int, 8> programId{};
    std::array<int, 6> neuronId{};
    bool operator==(const NodeIdentity&) const = default;
};

bool validDomainLength(int length);

// One "ndomain %d" reply into entry: "unused" anywhere makes it vacant; otherwise the labelled
// subnet, node, length and ID bytes. False (entry untouched) when the reply does not parse.
bool parseDomainReply(std::string_view reply, DomainEntry& entry);
// The set-domain line for entry index: "ndomain %d " then "%d %d %d" then " %02x" per ID byte,
// then CR LF. Bytes are sent as their low eight bits; a length outside 0..6 sends no ID bytes.
std::string setDomainLine(int index, const DomainEntry& entry);

// "Prog ID" followed, 9 characters after the label, by eight colon-separated hexadecimal bytes;
// "Neuron ID" followed, 11 characters after it, by six. False when not all are read.
bool parseProgramIdReply(std::string_view reply, std::array<int, 8>& bytes);
bool parseNeuronIdReply(std::string_view reply, std::array<int, 6>& bytes);

// "%02X:%02X:..." of the bytes.
std::string programIdText(const std::array<int, 8>& bytes);
std::string neuronIdText(const std::array<int, 6>& bytes);

} // namespace korvex::device
