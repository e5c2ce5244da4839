// The usage query (state 8): the gateway's highest object, NV counts and TCP map size.
#include "device/engine/CommandEngine.h"

namespace korvex::device {

namespace {

constexpr std::string_view kUsageLabel = "Last Obj";
constexpr std::size_t kUsageNumbersAt = 22;

} // namespace

UsageParse parseUsageReply(std::string_view text, std::array<int, 4>& numbers) {
    text = skipLeadingControl(text);
    if (text.substr(0, kUsageLabel.size()) != kUsageLabel) return UsageParse::NotUsage;
    if (text.size() < kUsageNumbersAt) return UsageParse::Incomplete;
    std::string_view rest = text.substr(kUsageNumbersAt);
    std::array<int, 4> read{};
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (i > 0 && !scanLiteral(rest, ',')) return UsageParse::Incomplete;
        if (!scanDecimal(rest, read[i])) return UsageParse::Incomplete;
    }
    numbers = read;
    return UsageParse::Complete;
}

bool CommandEngine::startUsage() {
    std::lock_guard lock(startLock_);
    if (busy()) return false;
    deviceLastObject = 0;
    deviceInputCount = 0;
    deviceOutputCount = 0;
    usageResult = DeviceResult::Ok;
    usageDone.store(false, std::memory_order_relaxed);
    link_.startTransfer("usage\r\n", kBudgetCommand);
    state_.store(EngineState::QueryUsage, std::memory_order_release);
    return true;
}

// Fewer than four numbers after "Last Obj" store nothing and still count as success.
void CommandEngine::onUsageReply(const Reply& reply) {
    std::array<int, 4> numbers{};
    if (reply.timedOut()) {
        usageResult = DeviceResult::Timeout;
    } else {
        const UsageParse parsed = parseUsageReply(reply.text(), numbers);
        if (parsed == UsageParse::NotUsage) usageResult = DeviceResult::BadReply;
        if (parsed == UsageParse::Complete) {
            deviceLastObject = numbers[0];
            deviceInputCount = numbers[1];
            deviceOutputCount = numbers[2];
            deviceTcpMapCount = numbers[3];
        }
    }
    usageDone.store(true, std::memory_order_release);
    finish();
}

} // namespace korvex::device
