#include "sim/GatewayConsole.h"
#include "vocab/CharClass.h"
#include "vocab/NumberDisplay.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <numbers>

namespace korvex::sim {

namespace {

// "N VALUE" as the tool writes it, VALUE read in the C locale ("%d %lf" would take the program's).
bool readNumberAndValue(std::string_view text, int& n, double& value) {
    const char* end = text.data() + text.size();
    auto [next, ec] = std::from_chars(text.data(), end, n);
    if (ec != std::errc() || next == end || !isSpace(*next)) return false;
    while (next != end && isSpace(*next)) ++next;
    if (next != end && *next == '+') ++next;
    return std::from_chars(next, end, value).ec == std::errc();
}

// Blanks around a command; a CR or LF that reached the line is part of the command.
std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpaceOrTab(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpaceOrTab(s.back())) s.remove_suffix(1);
    return s;
}

// A whole decimal argument within [low, high], else fallback.
int numberArg(std::string_view args, int low, int high, int fallback) {
    const std::string text(trim(args));
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n < low || n > high) return fallback;
    return static_cast<int>(n);
}

std::string hexBytes(const int* bytes, std::size_t count, char separator, const char* format) {
    std::string text;
    char piece[8];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(piece, sizeof piece, format, bytes[i]);
        if (i > 0) text += separator;
        text += piece;
    }
    return text;
}

constexpr std::string_view kHelp =
    "Commands: usage, pcx N, nvitx N, nvotx N, mpx, sipcfg, smap N, ninfo, pr N, "
    "pw N V, merr N, ndomain N [S N L ID..], npid, nid, nalterpid N, and the "
    "elements <obj>, <nv>, <mod>, <nd>, <clearallconfig>";

} // namespace

bool CommandLineReader::take(char c) {
    const bool endsLine = c == '\n' && lastWasCr_;
    lastWasCr_ = c == '\r';
    if (endsLine) {
        if (!pending_.empty() && pending_.back() == '\r') pending_.pop_back();
        line_.swap(pending_);
        pending_.clear();
        return true;
    }
    if (pending_.size() < kMaxCommandLine) pending_ += c;
    return false;
}

std::string commandKind(std::string_view line) {
    line = trim(line);
    if (!line.empty() && line.front() == '<') line.remove_prefix(1);
    std::size_t n = 0;
    while (n < line.size() && line[n] != ' ' && line[n] != '>' && line[n] != '/' && line[n] != '\t') ++n;
    return std::string(line.substr(0, n));
}

std::string framedReply(std::string_view text, bool prompt) {
    std::string bytes = "\r\n";
    bytes += text;
    bytes += "\r\n";
    if (prompt) bytes += kConsolePrompt;
    return bytes;
}

void GatewayConsole::applyAlterations() {
    for (const Alteration& alteration : alterations_) applyAlteration(config_, alteration);
}

// Alterations go in before a command reads an item and again after it wrote one.
std::string GatewayConsole::answer(std::string_view line) {
    line = trim(line);
    if (line.empty()) return {};
    applyAlterations();
    if (line.front() == '<') {
        std::string reply = answerElement(line);
        applyAlterations();
        return reply;
    }
    const std::size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    const std::string_view args =
        space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    return answerWord(word, args);
}

std::string GatewayConsole::answerWord(std::string_view word, std::string_view args) {
    using Handler = std::function<std::string(GatewayConsole&, std::string_view)>;
    static const std::map<std::string_view, Handler> kCommands = {
        {"usage", [](GatewayConsole& c, std::string_view) { return c.usage(); }},
        {"pcx", [](GatewayConsole& c, std::string_view a) { return c.getObject(a); }},
        {"nvitx", [](GatewayConsole& c, std::string_view a) { return c.getNetVar(true, a); }},
        {"nvotx", [](GatewayConsole& c, std::string_view a) { return c.getNetVar(false, a); }},
        {"mpx", [](GatewayConsole& c, std::string_view) { return c.portElement(); }},
        {"sipcfg", [](GatewayConsole& c, std::string_view) { return c.ipElement(); }},
        {"smap", [](GatewayConsole& c, std::string_view a) { return c.tcpMapElement(a); }},
        {"ninfo", [](GatewayConsole& c, std::string_view) { return c.nodeElement(); }},
        {"pr", [](GatewayConsole& c, std::string_view a) { return c.readValue(a); }},
        {"pw", [](GatewayConsole& c, std::string_view a) { return c.writeValue(a); }},
        {"merr", [](GatewayConsole& c, std::string_view a) { return c.errorInfo(a); }},
        {"ndomain", [](GatewayConsole& c, std::string_view a) { return c.domain(a); }},
        {"npid", [](GatewayConsole& c, std::string_view) { return c.programId(); }},
        {"nid", [](GatewayConsole& c, std::string_view) { return c.neuronId(); }},
        {"nalterpid", [](GatewayConsole& c, std::string_view a) { return c.alterProgramId(a); }},
        {"help", [](GatewayConsole&, std::string_view) { return std::string(kHelp); }},
    };
    const auto found = kCommands.find(word);
    if (found == kCommands.end()) return "Unknown command";
    return found->second(*this, args);
}

std::string GatewayConsole::usage() const {
    char text[96];
    std::snprintf(text, sizeof text, "Last Obj,NVI,NVO,Map: %d,%d,%d,%d", config_.lastObject(),
                  config_.netVarCount(true), config_.netVarCount(false), config_.tcpMapCount());
    return text;
}

std::string GatewayConsole::getObject(std::string_view args) const {
    const int n = numberArg(args, 1, kObjectCount, 0);
    if (n == 0) return "Bad object number";
    std::string text = "<obj n=\"" + std::to_string(n) + "\" clear=\"1\"";
    const auto found = config_.objects.find(n);
    if (found != config_.objects.end()) text += renderAttributes(found->second);
    return text + "/>";
}

std::string GatewayConsole::getNetVar(bool input, std::string_view args) const {
    const int n = numberArg(args, 1, kNetVarNumbers, 0);
    const auto found = config_.netVars.find({input, n});
    if (n == 0 || found == config_.netVars.end()) return "NV not defined";
    return std::string(input ? "<nv nvi=\"" : "<nv nvo=\"") + std::to_string(n) + "\" clear=\"1\"" +
           renderAttributes(found->second) + "/>";
}

std::string GatewayConsole::portElement() const {
    ElementLine port = config_.portSettings;
    port.erase("clear");
    return "<mod clear=\"1\"" + renderAttributes(port) + "/>";
}

std::string GatewayConsole::ipElement() const {
    return "<mod" + renderAttributes(config_.ipSettings) + "/>";
}

std::string GatewayConsole::tcpMapElement(std::string_view args) const {
    const int dev = numberArg(args, 1, kTcpMapEntries, 0);
    if (dev == 0) return "Bad device number";
    const std::string& ipmap = config_.tcpMap[static_cast<std::size_t>(dev - 1)];
    return "<mod dev=\"" + std::to_string(dev) + "\" ipmap=\"" + (ipmap.empty() ? "0,0,0,0.0.0.0:0" : ipmap) +
           "\"/>";
}

std::string GatewayConsole::nodeElement() const {
    return "<nd loc=\"" + config_.location + "\" pid=\"" + std::to_string(config_.pid) + "\"/>";
}

bool parseValueMotion(std::string_view word, ValueMotion& motion) {
    if (word == "ramp") motion = ValueMotion::Ramp;
    if (word == "sine") motion = ValueMotion::Sine;
    return word == "ramp" || word == "sine";
}

std::string GatewayConsole::readValue(std::string_view args) {
    const int n = numberArg(args, 1, kObjectCount, 0);
    if (n == 0 || !config_.objectDefined(n)) return "Undef object";
    const unsigned k = reads_[static_cast<std::size_t>(n)]++;
    double value = config_.values[static_cast<std::size_t>(n)];
    if (motion_ == ValueMotion::Ramp) value += k % 100;
    if (motion_ == ValueMotion::Sine) value += 10 * std::sin(2 * std::numbers::pi * k / 60 + n);
    // In the C locale whatever the program's is: the window sets the user's, and a decimal comma
    // would reach the tool as a different number.
    return formatFixed(value, 6);
}

std::string GatewayConsole::writeValue(std::string_view args) {
    const std::string text(trim(args));
    int n = 0;
    double value = 0;
    if (!readNumberAndValue(text, n, value)) return "Bad value";
    if (n < 1 || n > kObjectCount || !config_.objectDefined(n)) return "Undef object";
    config_.values[static_cast<std::size_t>(n)] = value;
    return "Ok";
}

std::string GatewayConsole::errorInfo(std::string_view args) const {
    const int slave = numberArg(args, 0, 255, -1);
    if (slave < 0) return "Bad slave address";
    const auto found = config_.errorCounters.find(slave);
    const ErrorCounters counters = found == config_.errorCounters.end() ? ErrorCounters{} : found->second;
    char text[32];
    std::snprintf(text, sizeof text, "%x %x", counters.exceptionCode, counters.errorBits);
    return text;
}

std::string GatewayConsole::programId() const {
    return "Prog ID: " + hexBytes(config_.programId.data(), config_.programId.size(), ':', "%02X");
}

std::string GatewayConsole::neuronId() const {
    return "Neuron ID: " + hexBytes(config_.neuronId.data(), config_.neuronId.size(), ':', "%02X");
}

std::string GatewayConsole::alterProgramId(std::string_view args) {
    const int pid = numberArg(args, 0, 255, -1);
    if (pid < 0) return "Bad program ID selector";
    config_.pid = pid;
    return "Ok";
}

} // namespace korvex::sim
