#pragma once
// SerialLink: carries one command line at a time to the gateway and collects its reply. A reply
// ends when one 100 ms poll finds the line quiet after data came, or, once the gateway on the
// open port has shown that it ends its replies with the console prompt, as soon as the text
// received ends with that prompt (prompt pacing). The poll limit given with each command is its
// time budget. The port pump thread owns the driver and moves the bytes and alone learns the
// pacing; other threads hand it commands through txLength/replyReady (atomics, release/acquire)
// and hand it open/close requests, which it answers. The wire trace (off unless enabled) is
// recorded where the bytes move, on the pump thread.
#include "device/link/PortRecord.h"
#include "device/link/SerialPortDriver.h"
#include "device/link/TraceRecorder.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace korvex::device {

inline constexpr int kLinkBufferSize = 1000;
inline constexpr int kPollWaitMs = 100;

// How the link ends the replies on the open port.
enum class ReplyEnd { Silence, Prompt };

class SerialLink {
public:
    // Steady time in microseconds; tests may drive it by hand.
    using Clock = std::function<std::int64_t()>;

    explicit SerialLink(SerialPortDriver& driver, Clock clock = {});
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // The port pump thread. Stopping closes the port on that thread before it ends. While no
    // thread runs, open/close act directly and tests may call pump() themselves; with a driver
    // whose port objects are tied to their thread (Qt), start the thread before the first open.
    void startPumpThread();
    void stopPumpThread();

    // The port the user chose ("COM3", "/dev/ttyACM0", ...); open() opens whatever is stored.
    void setPortName(std::string name);
    std::string portName() const;
    // Makes sure the stored port is open (an open port of the same name is reused). A port that
    // does not open but was open before, and is listed again under another name with the same
    // serial number (a USB adapter plugged into another socket), is opened there, and the stored
    // port becomes that name.
    [[nodiscard]] bool open();
    // Why the last open() failed (None after one that succeeded).
    OpenError openError() const { return openError_.load(std::memory_order_acquire); }
    // Where open() looks ports up, to remember the one it opens and to find it again. Set it
    // before the first open; without one nothing is looked up.
    void setPortLister(PortLister lister) { lister_ = std::move(lister); }
    // Times open() found the port under another name since the last call.
    int takePortMoved() { return portMoved_.exchange(0, std::memory_order_acq_rel); }
    void close();
    // True exactly while a port is open; turns false by itself when the port fails.
    bool isOpen() const { return portOpen_.load(std::memory_order_acquire); }
    std::string openPortName() const;
    // Times the port failed (unplugged, hung up) since the last call; the port is closed then.
    int takePortLost() { return portLost_.exchange(0, std::memory_order_acq_rel); }

    // Arms one command: the text (with its CR LF) and its budget in polls. Returns the length
    // armed; an empty text arms nothing. Only one command may be in flight.
    int startTransfer(std::string_view text, int pollLimit);
    // Arms a receive without sending: collects further output of the last command.
    void startListening(int pollLimit);
    // -1 while no reply is ready; otherwise the reply length (lowered to maxLength, 0 = no reply
    // in time) after copying the reply into dest.
    int takeReply(char* dest, int maxLength);
    bool replyReady() const { return replyReady_.load(std::memory_order_acquire); }
    // Budget the finished reply used, in polls (valid once replyReady()).
    int replyPolls() const { return replyPolls_; }

    // Pacing. The link ends replies at the prompt only after the gateway on the open port ended
    // a reply with it (a port opened afresh starts with silence), and goes back to silence after
    // a reply that ended by silence without it, or when input was still waiting before the next
    // command (a gateway that goes on writing after its prompt). Silence only keeps the silence
    // rule whatever the gateway prints; what the link learned is kept for when it is turned off.
    void setSilenceOnly(bool on) { silenceOnly_.store(on, std::memory_order_release); }
    bool silenceOnly() const { return silenceOnly_.load(std::memory_order_acquire); }
    bool promptSeen() const { return promptSeen_.load(std::memory_order_acquire); }
    ReplyEnd replyEnd() const {
        return promptSeen() && !silenceOnly() ? ReplyEnd::Prompt : ReplyEnd::Silence;
    }

    // Counts finished replies; a reader sleeps until it moves or the time is up.
    std::uint32_t replySequence() const { return replySequence_.load(std::memory_order_acquire); }
    void waitForReply(std::uint32_t seen, std::chrono::milliseconds max);

    // One receive step (port pump thread only).
    void pump();

    // What went over the line; enable it to record (see TraceRecorder for its threads).
    TraceRecorder& trace() { return trace_; }
    // Turns the trace on from the thread that opens and closes the port. With a port already
    // open its times count from that open, as they would had it been on all along.
    void enableTrace();
    // Microseconds since the open port was opened, on the trace's clock; -1 with no port open.
    std::int64_t microsSinceOpen() const;
    const TraceRecorder& trace() const { return trace_; }

private:
    enum class RequestKind { None, Open, Close };

    bool beginCommand();
    void readStep();
    void countPoll(int n);
    void finishReply(int length);
    void portFailed();
    bool openNow(const std::string& name);
    void rememberPort(const std::string& name);
    bool openMoved(const std::string& name);
    void closeNow();
    void setOpenName(std::string name);
    bool request(RequestKind kind, std::string name);
    bool waitForStop(std::unique_lock<std::mutex>& lock, RequestKind kind);
    bool hasWork() const;
    void pumpLoop();
    void answerRequest(bool result);
    std::int64_t now() const;
    void note(TraceKind kind, std::string_view bytes = {}, int length = 0, int ms = 0);
    void noteAt(std::int64_t at, TraceKind kind, std::string_view bytes);

    SerialPortDriver& driver_;
    Clock clock_;

    // Command hand-over (see the header comment for who writes what).
    std::array<char, kLinkBufferSize> txBuffer_{};
    std::atomic<std::uint32_t> txLength_{0};
    std::atomic<bool> listenPending_{false};
    std::array<char, kLinkBufferSize> rxBuffer_{};
    int rxCount_ = 0;
    int pollCount_ = 0;
    int pollLimit_ = 1;
    std::int64_t budgetUsedUs_ = 0;
    std::int64_t lastPollEndUs_ = 0;
    std::int64_t commandAtUs_ = 0; // when the command was written (or the listen began)
    bool receiving_ = false;
    int replyLength_ = 0;
    int replyPolls_ = 0;
    std::atomic<bool> replyReady_{false};
    std::atomic<std::uint32_t> replySequence_{0};

    // Port state.
    std::atomic<bool> portOpen_{false};
    std::atomic<std::int64_t> openedAtUs_{0}; // written by the pump thread when a port opens
    std::atomic<int> portLost_{0};
    std::atomic<bool> promptSeen_{false}; // written by the pump thread only
    std::atomic<bool> silenceOnly_{false};
    std::atomic<OpenError> openError_{OpenError::None}; // written by the thread that opens
    std::atomic<int> portMoved_{0};
    PortLister lister_;

    // Sleeping and waking, and open/close requests handed to the pump thread.
    mutable std::mutex mutex_;
    std::condition_variable pumpWake_;
    std::condition_variable requestDone_;
    std::condition_variable replyWake_;
    std::string portName_;
    std::string openName_;
    std::optional<PortRecord> openRecord_; // of the port last opened afresh, by the name opened
    std::string recordName_;
    RequestKind requestKind_ = RequestKind::None;
    std::string requestName_;
    bool requestResult_ = false;
    std::uint64_t requestsAnswered_ = 0;
    bool pumpRunning_ = false;
    bool stopping_ = false;
    std::unique_ptr<PumpThread> pumpThread_;

    TraceRecorder trace_;
};

} // namespace korvex::device
