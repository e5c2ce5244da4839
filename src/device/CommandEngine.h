#pragma once
// CommandEngine: runs every conversation with the gateway, one command sequence at a time. A
// start operation (window thread, or the status loop thread for a single value write) claims the
// engine under the start lock, arms the first command line on the link and then publishes its
// state; tick() (status loop thread) runs the handler of the current state once its reply is
// ready. Outcomes are left in the result fields below for the status loop to report.
#include "device/EngineStates.h"
#include "device/ReplyText.h"
#include "device/SerialLink.h"

#include <array>
#include <atomic>
#include <mutex>
#include <string_view>

namespace korvex::device {

class CommandEngine {
public:
    explicit CommandEngine(SerialLink& link);
    CommandEngine(const CommandEngine&) = delete;
    CommandEngine& operator=(const CommandEngine&) = delete;

    // Runs the handler of the current state when its reply is ready; resets an unknown state.
    void tick();
    int state() const { return state_.load(std::memory_order_acquire); }
    bool busy() const { return state() != 0; }
    SerialLink& link() { return link_; }

    // ---- console (state 1) -----------------------------------------------------------------
    // Sends the typed line with CR LF (cut to fit 1000 bytes). The first reply replaces what
    // consoleText holds, later pieces are appended, and the prompt ends the command.
    bool startConsole(std::string_view text);
    std::array<char, kLinkBufferSize> consoleLine{};
    std::array<char, kLinkBufferSize> consoleText{}; // status loop thread: shows and clears it
    std::atomic<bool> consoleUpdated{false};
    int consoleResult = 0; // 0, or kResultTimeout when nothing came back

    // ---- usage query (state 8) -------------------------------------------------------------
    bool startUsage();
    int usageResult = 0;
    std::atomic<bool> usageDone{false}; // published after usageResult and the numbers
    int deviceLastObject = 0;
    int deviceInputCount = 0;
    int deviceOutputCount = 0;
    int deviceTcpMapCount = 0;
    bool deviceLastObjectKnown = false;

protected:
    // Claims the engine and arms one command line (with its CR LF) for the state, with the
    // state's budget unless one is given. False when busy. Under the start lock; the state is
    // published after the transfer is armed.
    bool startCommand(EngineState state, std::string_view line, int budget = 0);
    // Arms the next command of a running sequence (handlers only).
    void sendNext(std::string_view line, int budget);
    // Ends the sequence: back to Idle.
    void finish() { state_.store(0, std::memory_order_release); }

private:
    using Handler = void (CommandEngine::*)(const Reply&);
    struct StateEntry {
        EngineState state;
        Handler handler;
    };
    static const StateEntry kHandlers[kStateCount];

    void onIdle(const Reply&) {}
    void onConsoleReply(const Reply& reply);
    void onUsageReply(const Reply& reply);
    // States whose command areas are not wired yet: the reply is dropped and the engine idles.
    void onUnhandledReply(const Reply& reply);

    bool consolePromptSeen(std::string_view piece);
    void appendConsole(std::string_view piece);

    SerialLink& link_;
    std::mutex startLock_;
    std::atomic<int> state_{0};

    bool consoleHeard_ = false;
    int consoleBudgetLeft_ = 0;
    std::array<char, 2> consoleTail_{};
};

// How a usage reply reads ("Last Obj" then, from its 23rd character, "%d,%d,%d,%d").
enum class UsageParse { NotUsage, Incomplete, Complete };
UsageParse parseUsageReply(std::string_view text, std::array<int, 4>& numbers);

} // namespace korvex::device
