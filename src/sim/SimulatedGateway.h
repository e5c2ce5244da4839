#pragma once
// The simulated gateway on the master side of a pseudo-terminal: the configuration tool opens
// the slave side as its serial port. A thread of its own reads command lines, answers them
// through GatewayConsole and applies the fault switches. Replies end with the console prompt
// unless it is switched off, and the line can be held to a baud rate. Hanging up closes the line as an
// unplugged device would; coming back opens a new line and moves the optional symlink to it.
#include "sim/FaultPlan.h"
#include "sim/GatewayConsole.h"
#include "sim/LineTrace.h"
#include "sim/PtyLine.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace korvex::sim {

// Erasing the whole configuration takes the gateway this long before it answers.
inline constexpr int kDefaultEraseMs = 3000;

class SimulatedGateway {
public:
    explicit SimulatedGateway(GatewayConfig config = GatewayConfig());
    ~SimulatedGateway();
    SimulatedGateway(const SimulatedGateway&) = delete;
    SimulatedGateway& operator=(const SimulatedGateway&) = delete;

    [[nodiscard]] bool start(std::string* error = nullptr);
    void stop();
    std::string slavePath() const;
    // Makes path a symlink to the slave side (replacing what is there); a hang-up removes it and
    // a come-back makes it again for the new line.
    bool setLink(const std::string& path, std::string* error = nullptr);

    void setFault(const std::string& kind, const Fault& fault);
    bool addFault(std::string_view spec, std::string* error = nullptr);
    void clearFaults();
    // KIND:N:ATTR=VALUE (sim/Alteration.h); false with the reason for a spec it cannot hold.
    bool addAlteration(std::string_view spec, std::string* error = nullptr);

    // Pulls the plug and waits until the line is closed (a reply being sent stops short).
    void hangUp();
    // Plugs in again on a new line; waits until it is there.
    [[nodiscard]] bool comeBack(std::string* error = nullptr);
    bool isHungUp() const;
    // Comes back by itself this many milliseconds after a hang-up (negative: only by comeBack).
    void setAutoReturn(int ms);
    // How long erasing the configuration takes (tests shorten it).
    void setEraseMs(int ms);
    // How the live values move with every read (GatewayConsole.h).
    void setValueMotion(ValueMotion motion);
    // Whether replies end with the prompt ":->" (they do unless switched off).
    void setPrompt(bool on);
    // Holds the line to this baud rate, ten bits a byte: a command is taken once its bytes would
    // have arrived, and each reply byte is sent once it would have been on the line. 0 (the
    // default): as fast as the pseudo-terminal goes.
    void setBaud(int baud);
    // Writes the gateway's view of its line to path as it goes (see LineTrace). Call before
    // start() to have the first open in it.
    bool traceTo(const std::string& path, std::string* error = nullptr);

    template <typename F> auto withConfig(F&& f) {
        std::lock_guard lock(mutex_);
        return f(console_.config());
    }
    std::vector<std::string> receivedLines() const;
    int commandCount() const;
    // Commands whose answer (with any tail) has gone out or was left out by a fault.
    int answeredCount() const;

private:
    void run();
    bool serviceLine();
    void readCommands(CommandLineReader& lines);
    void handleLine(const std::string& line);
    void sendReply(const std::string& bytes, const Fault& fault);
    bool writeAll(std::string_view bytes);
    bool writeNow(std::string_view bytes);
    bool pause(int ms);
    bool pauseUntil(std::chrono::steady_clock::time_point until);
    void hangUpNow();
    bool openLine(std::string* error);
    void closeLine();
    bool relink(std::string* error);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    GatewayConsole console_;
    FaultPlan faults_;
    std::map<std::string, int> kindCounts_;
    std::vector<std::string> received_;
    int answered_ = 0;
    std::string slavePath_;
    std::string linkPath_;
    bool stopping_ = false;
    bool hangUpRequested_ = false;
    bool comeBackRequested_ = false;
    bool hungUp_ = false;
    int autoReturnMs_ = -1;
    int eraseMs_ = kDefaultEraseMs;
    bool prompt_ = true;
    std::chrono::nanoseconds byteTime_{0}; // 0: no line speed
    std::chrono::steady_clock::time_point hungAt_{};
    std::string lineError_;
    std::thread thread_;
    LineTrace trace_;

    // The line itself; touched only by the gateway's thread once it runs.
    PtyLine line_;
};

} // namespace korvex::sim
