#pragma once
// The simulated gateway's console: one command line in, one reply out, in the forms of the
// gateway's console contract. Every reply is framed as the console frames it: a line break, the
// text, a line break and the prompt ":->".
#include "sim/Alteration.h"
#include "sim/GatewayConfig.h"

#include <array>
#include <string>
#include <string_view>

namespace korvex::sim {

inline constexpr std::string_view kConsolePrompt = ":->";

// How the live values move as they are read: not at all, a slow ramp (one unit up per read of
// the object, back to the stored value after 100), or a sine around the stored value (amplitude
// 10, one period per 60 reads, each object in its own phase).
enum class ValueMotion { Still, Ramp, Sine };
// "ramp" or "sine"; false for any other word.
bool parseValueMotion(std::string_view word, ValueMotion& motion);

class GatewayConsole {
public:
    GatewayConsole() = default;
    explicit GatewayConsole(GatewayConfig config) : config_(std::move(config)) {}

    // The reply text for one command line (without its CR LF and without the framing).
    std::string answer(std::string_view line);
    GatewayConfig& config() { return config_; }
    const GatewayConfig& config() const { return config_; }
    // Attributes the gateway holds altered whenever their item is written or read.
    void addAlteration(const Alteration& alteration) { alterations_.push_back(alteration); }
    void setValueMotion(ValueMotion motion) { motion_ = motion; }

private:
    std::string answerElement(std::string_view line);
    std::string answerWord(std::string_view word, std::string_view args);
    std::string applyObject(const ElementLine& element);
    std::string applyNetVar(const ElementLine& element);
    std::string applyPort(const ElementLine& element);
    std::string applyNode(const ElementLine& element);

    std::string usage() const;
    std::string getObject(std::string_view args) const;
    std::string getNetVar(bool input, std::string_view args) const;
    std::string portElement() const;
    std::string ipElement() const;
    std::string tcpMapElement(std::string_view args) const;
    std::string nodeElement() const;
    std::string readValue(std::string_view args);
    std::string writeValue(std::string_view args);
    std::string errorInfo(std::string_view args) const;
    std::string domain(std::string_view args);
    std::string programId() const;
    std::string neuronId() const;
    std::string alterProgramId(std::string_view args);

    void applyAlterations();

    GatewayConfig config_;
    std::vector<Alteration> alterations_;
    ValueMotion motion_ = ValueMotion::Still;
    std::array<unsigned, kObjectCount + 1> reads_{}; // reads of each object so far
};

inline constexpr std::size_t kMaxCommandLine = 4096; // longer lines keep only their start

// Gathers the bytes that arrive into command lines. Only CR LF ends a command; a CR or an LF on
// its own stays in the line, which the console then does not understand.
class CommandLineReader {
public:
    // Takes one byte; true when it ended a line, which line() then holds (without its CR LF).
    bool take(char c);
    const std::string& line() const { return line_; }

private:
    std::string pending_;
    std::string line_;
    bool lastWasCr_ = false;
};

// The kind of a command line, for fault switches: the element keyword of "<obj ...", else the
// first word ("usage", "pcx", ...); "" for an empty line.
std::string commandKind(std::string_view line);

// The bytes sent for a reply text: "\r\n" + text + "\r\n:->", or without the prompt.
std::string framedReply(std::string_view text, bool prompt = true);

} // namespace korvex::sim
