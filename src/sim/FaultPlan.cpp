#include "sim/FaultPlan.h"
#include "sim/ParseFailure.h"

#include <charconv>

namespace korvex::sim {

namespace {

bool readCount(std::string_view text, int& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

} // namespace

const Fault* FaultPlan::find(const std::string& kind, std::string* key) const {
    auto found = faults_.find(kind);
    if (found == faults_.end()) found = faults_.find("*");
    if (found == faults_.end()) return nullptr;
    if (key) *key = found->first;
    return &found->second;
}

bool FaultPlan::add(std::string_view spec, std::string* error) {
    const std::size_t colon = spec.find(':');
    if (colon == std::string_view::npos || colon == 0) return fail(error, "expected KIND:NAME[=VALUE]");
    const std::string kind(spec.substr(0, colon));
    const std::string_view rest = spec.substr(colon + 1);
    const std::size_t equals = rest.find('=');
    const std::string_view name = rest.substr(0, equals);
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : rest.substr(equals + 1);
    Fault fault = faults_.count(kind) ? faults_[kind] : Fault{};
    if (name == "noreply")
        fault.noReply = true;
    else if (name == "garbage")
        fault.garbage = true;
    else if (name == "error" && !value.empty())
        fault.errorText = std::string(value);
    else if (name == "delay" && readCount(value, fault.delayMs)) {
    } else if (name == "split" && readCount(value, fault.splitGapMs)) {
    } else if (name == "hangup" && readCount(value, fault.hangUpAfter)) {
    } else if (name == "trickle" && readCount(value, fault.trickleMs)) {
    } else if (name == "after" && readCount(value, fault.after)) {
    } else if (name == "tail" && readCount(value, fault.tailMs)) {
    } else {
        return fail(error, "unknown fault \"" + std::string(rest) + "\"");
    }
    faults_[kind] = fault;
    return true;
}

} // namespace korvex::sim
