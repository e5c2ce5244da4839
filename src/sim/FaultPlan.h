#pragma once
// Fault switches of the simulated gateway, set per command kind ("usage", "pcx", "obj", ... or
// "*" for every kind without its own entry).
#include <map>
#include <string>
#include <string_view>

namespace korvex::sim {

struct Fault {
    int delayMs = 0;       // wait before the reply starts
    bool noReply = false;  // say nothing at all
    bool garbage = false;  // send noise instead of the reply
    int splitGapMs = 0;    // send the reply in two halves with this pause between them
    std::string errorText; // answer with this error text instead
    int hangUpAfter = -1;  // after this many commands of the kind, the next one hangs up the line
    int trickleMs = -1;    // send one byte at a time with this pause after each
    int after = 0;         // the first this many commands of the kind are answered normally
    int tailMs = -1;       // this long after the reply, print the prompt once more
};

class FaultPlan {
public:
    void set(const std::string& kind, const Fault& fault) { faults_[kind] = fault; }
    void clear() { faults_.clear(); }
    // The fault for a kind, falling back to "*"; nullptr when none. key tells which entry.
    const Fault* find(const std::string& kind, std::string* key = nullptr) const;
    // Adds one switch written as KIND:NAME[=VALUE] (noreply, garbage, delay=MS, split=MS,
    // error=TEXT, hangup=N, trickle=MS, after=N, tail=MS). False with a reason when it cannot be
    // read.
    bool add(std::string_view spec, std::string* error = nullptr);

private:
    std::map<std::string, Fault> faults_;
};

// Bytes sent in place of a reply by the garbage switch.
inline constexpr std::string_view kGarbageReply = "\x01\x7f#%?garbled&*\x1b\r\n:->";

} // namespace korvex::sim
