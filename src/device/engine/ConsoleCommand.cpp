// The free-text console command (state 1).
#include "device/engine/CommandEngine.h"
#include "device/link/LinkMessages.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace korvex::device {

namespace {

std::size_t textLength(const std::array<char, kLinkBufferSize>& text) {
    const void* end = std::memchr(text.data(), '\0', text.size());
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - text.data()) : text.size();
}

void setConsoleText(std::array<char, kLinkBufferSize>& text, std::string_view value) {
    text.fill('\0');
    std::memcpy(text.data(), value.data(), std::min(value.size(), text.size() - 1));
}

// The typed text as one command: the gateway ends a command at CR LF, so a line end typed or
// pasted into the text (CR, LF or CR LF alike) becomes one blank, and those at its end go.
std::size_t consoleCommand(std::string_view text, char* out, std::size_t capacity) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size() && n < capacity; ++i) {
        const char c = text[i];
        const bool lineEnd = c == '\r' || c == '\n';
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out[n++] = lineEnd ? ' ' : c;
    }
    return n;
}

} // namespace

bool CommandEngine::startConsole(std::string_view text) {
    // The line and its CR LF must fit the 1000 bytes with the terminating zero.
    constexpr std::size_t kMaxText = kLinkBufferSize - 3;
    std::lock_guard lock(startLock_);
    if (busy()) return false;
    consoleLine.fill('\0');
    const std::size_t length = consoleCommand(text, consoleLine.data(), kMaxText);
    std::memcpy(consoleLine.data() + length, "\r\n", 2);
    consoleResult = DeviceResult::Ok;
    consoleHeard_ = false;
    consoleBudgetLeft_ = kBudgetConsole;
    consoleTail_.fill('\0');
    link_.startTransfer(std::string_view(consoleLine.data(), length + 2), kBudgetConsole);
    state_.store(EngineState::Console, std::memory_order_release);
    return true;
}

// A reply without the prompt does not end the command: the engine keeps listening for the rest
// of the output (each piece is consumed once and appended once) until the prompt shows, the
// console budget is spent, or the line stays silent for the rest of that budget.
void CommandEngine::onConsoleReply(const Reply& reply) {
    if (reply.timedOut()) {
        if (!consoleHeard_) {
            setConsoleText(consoleText, kMsgConsoleTimeout);
            consoleResult = DeviceResult::Timeout;
            consoleUpdated.store(true, std::memory_order_release);
        }
        finish();
        return;
    }
    if (!consoleHeard_) consoleText.fill('\0');
    consoleHeard_ = true;
    appendConsole(reply.bytes());
    consoleUpdated.store(true, std::memory_order_release);
    consoleBudgetLeft_ -= std::max(1, link_.replyPolls());
    if (consolePromptSeen(reply.bytes()) || consoleBudgetLeft_ <= 0) {
        finish();
        return;
    }
    link_.startListening(consoleBudgetLeft_);
}

// A piece that does not fit the room left is dropped.
void CommandEngine::appendConsole(std::string_view piece) {
    const std::size_t used = textLength(consoleText);
    if (consoleText.size() - used <= piece.size()) return;
    std::memcpy(consoleText.data() + used, piece.data(), piece.size());
}

// Also finds a prompt split between two pieces.
bool CommandEngine::consolePromptSeen(std::string_view piece) {
    std::string joined(consoleTail_.data(), consoleTail_.size());
    joined.append(piece.substr(0, kPrompt.size() - 1));
    const bool seen = containsPrompt(piece) || containsPrompt(joined);
    if (piece.size() >= consoleTail_.size()) {
        std::memcpy(consoleTail_.data(), piece.data() + piece.size() - consoleTail_.size(),
                    consoleTail_.size());
    } else {
        consoleTail_[0] = consoleTail_[1];
        consoleTail_[1] = piece.back();
    }
    return seen;
}

} // namespace korvex::device
