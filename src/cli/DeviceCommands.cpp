// The commands of korvex-cli device: their arguments and how each runs a device action.
#include "cli/DeviceCli.h"
#include "device/link/LinkMessages.h"
#include "model/FixedText.h"
#include "vocab/ObjectValue.h"
#include "vocab/RegisterCodes.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <functional>

namespace korvex::cli {

namespace {

using namespace korvex::device;

bool readInt(std::string_view text, int low, int high, int& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() && value >= low &&
           value <= high;
}

// "A-B", "A" (just that one) or, where none may be asked for, "none" / "0".
bool readRange(std::string_view text, int high, bool noneAllowed, int& first, int& last) {
    if (noneAllowed && (text == "none" || text == "0")) {
        first = last = 0;
        return true;
    }
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        if (!readInt(text, 1, high, first)) return false;
        last = first;
        return true;
    }
    return readInt(text.substr(0, dash), 1, high, first) && readInt(text.substr(dash + 1), 1, high, last) &&
           first <= last;
}

} // namespace

bool readRangeChoice(const std::vector<std::string>& args, bool netVars, RangeChoice& choice) {
    if (args.empty()) return true;
    if (args.size() == 1 && args[0] == "all") {
        choice.all = true;
        return true;
    }
    if (netVars) {
        NetVarRanges r;
        if (args.size() != 2 || !readRange(args[0], kFbNumbers, true, r.firstInput, r.lastInput) ||
            !readRange(args[1], kFbNumbers, true, r.firstOutput, r.lastOutput))
            return false;
        choice.netVars = r;
        return true;
    }
    ObjectRange r;
    if (args.size() != 1 || !readRange(args[0], kObjectCount, false, r.first, r.last)) return false;
    choice.objects = r;
    return true;
}

namespace {

// The domain ID as hexadecimal digits, colons allowed between bytes; "-" for none.
bool readDomainId(std::string_view text, DomainEntry& entry) {
    std::string digits;
    if (text != "-") {
        for (char c : text) {
            if (c != ':') digits += c;
        }
    }
    const int length = static_cast<int>(digits.size() / 2);
    if (digits.size() % 2 != 0 || !validDomainLength(length)) return false;
    for (int i = 0; i < length; ++i) {
        const std::string_view pair = std::string_view(digits).substr(static_cast<std::size_t>(2 * i), 2);
        unsigned byte = 0;
        const auto [end, ec] = std::from_chars(pair.data(), pair.data() + 2, byte, 16);
        if (ec != std::errc() || end != pair.data() + 2) return false;
        entry.id[static_cast<std::size_t>(i)] = static_cast<int>(byte);
    }
    entry.idLength = length;
    return true;
}

using Action = ActionOutcome (DeviceActions::*)();

// Runs a device action and the status loop after it; a failure reported on the way, a refusal
// or a declined question fail the command. A transfer of many items is stoppable: Ctrl+C ends
// it after the command in flight, which fails the command with the words of the stop.
int runAction(DeviceRun& run, const std::function<ActionOutcome(DeviceActions&)>& action,
              bool stoppable = false) {
    const int before = run.reporter.failuresReported();
    DeviceActions actions = run.actions();
    const ActionOutcome outcome = action(actions);
    run.runToIdle(stoppable);
    if (outcome == ActionOutcome::Cancelled) return run.host.declined() ? kExitFailed : kExitOk;
    if (outcome != ActionOutcome::Started) return kExitFailed;
    return run.reporter.failuresReported() > before ? kExitFailed : kExitOk;
}

int runPlain(DeviceRun& run, Action action, bool stoppable = false) {
    return runAction(
        run, [action](DeviceActions& a) { return (a.*action)(); }, stoppable);
}

int runTransfer(DeviceRun& run, const DeviceCommand& command, bool netVars, Action action) {
    RangeChoice choice;
    readRangeChoice(command.args, netVars, choice);
    run.host.setRange(choice);
    return runPlain(run, action, true);
}

void printFreshValues(DeviceRun& run) {
    std::lock_guard lock(run.engine.mapMutex());
    for (int n = 1; n <= kObjectCount; ++n) {
        const ValueSlot& slot = run.engine.values().slot(n);
        if (!slot.fresh) continue;
        const std::string text = object_value_to_text(slot.value, run.engine.map().object(n)->datatype);
        std::printf("Object #%d = %s\n", n, text.c_str());
    }
}

void printIdentity(DeviceRun& run, bool domains, bool ids) {
    std::lock_guard lock(run.engine.mapMutex());
    const NodeIdentity& identity = run.engine.identity;
    for (int i = 0; domains && i < 2; ++i) {
        const DomainEntry& d = identity.domains[static_cast<std::size_t>(i)];
        if (d.vacant) {
            std::printf("Domain %d: unused\n", i);
            continue;
        }
        std::printf("Domain %d: subnet %d, node %d, ID length %d, ID", i, d.subnet, d.node, d.idLength);
        for (int b = 0; b < d.idLength && b < 6; ++b)
            std::printf(" %02X", d.id[static_cast<std::size_t>(b)] & 0xFF);
        std::printf("\n");
    }
    if (ids) {
        std::printf("Program ID: %s\n", programIdText(identity.programId).c_str());
        std::printf("Neuron ID: %s\n", neuronIdText(identity.neuronId).c_str());
    }
}

int runUsage(DeviceRun& run, const DeviceCommand&) {
    CommandEngine& engine = run.engine;
    if (!engine.startUsage()) return badDeviceArguments(std::string(kMsgBusy));
    run.runToIdle();
    if (engine.usageResult != DeviceResult::Ok) {
        std::fprintf(stderr, "%s",
                     std::string(engine.usageResult == DeviceResult::Timeout ? kMsgDeviceTimedOut
                                                                             : kMsgUsageParseError)
                         .c_str());
        return kExitFailed;
    }
    std::printf("Last object: %d\nInput NVs: %d\nOutput NVs: %d\nTCP map entries: %d\n",
                engine.deviceLastObject, engine.deviceInputCount, engine.deviceOutputCount,
                engine.deviceTcpMapCount);
    return kExitOk;
}

int runConsole(DeviceRun& run, const DeviceCommand& command) {
    std::string line;
    for (const auto& word : command.args) line += (line.empty() ? "" : " ") + word;
    if (!run.engine.startConsole(line)) return badDeviceArguments(std::string(kMsgBusy));
    run.runToIdle();
    if (run.engine.consoleResult != DeviceResult::Ok) return kExitFailed;
    std::fputc('\n', stdout);
    return kExitOk;
}

int runReadValues(DeviceRun& run, const DeviceCommand& command) {
    if (run.setup.watch) return runWatch(run, command);
    const int status = runTransfer(run, command, false, &DeviceActions::readValues);
    if (status == kExitOk) printFreshValues(run);
    return status;
}

// The data value dialog's way: the value goes into the slot and the status loop writes it.
int runWriteValue(DeviceRun& run, const DeviceCommand& command) {
    int n = 0;
    readInt(command.args[0], 1, kObjectCount, n);
    {
        std::lock_guard lock(run.engine.mapMutex());
        DataObject& object = *run.engine.map().object(n);
        if (object.datatype == ObjectDataType::None) object.datatype = ObjectDataType::FP;
        run.engine.values().slot(n).value = object_value_from_text(command.args[1], object.datatype);
    }
    const int before = run.reporter.failuresReported();
    raiseRequest(run.engine.requests.valueWriteRequest, n);
    run.runToIdle();
    return run.reporter.failuresReported() > before ? kExitFailed : kExitOk;
}

int runSetDomain(DeviceRun& run, const DeviceCommand& command) {
    int index = 0;
    DomainEntry entry;
    readInt(command.args[0], 0, 1, index);
    readInt(command.args[1], 0, 255, entry.subnet);
    readInt(command.args[2], 0, 127, entry.node);
    readDomainId(command.args[3], entry);
    {
        std::lock_guard lock(run.engine.mapMutex());
        run.engine.identity.domains[static_cast<std::size_t>(index)] = entry;
    }
    return runAction(run, [index](DeviceActions& a) { return a.setDomain(index); });
}

int runSetLocation(DeviceRun& run, const DeviceCommand& command) {
    {
        std::lock_guard lock(run.engine.mapMutex());
        setText(run.engine.map().node.loc, command.args[0]);
    }
    return runPlain(run, &DeviceActions::setLocation);
}

int runAlterPid(DeviceRun& run, const DeviceCommand& command) {
    int pid = 0;
    readInt(command.args[0], 0, 255, pid);
    {
        std::lock_guard lock(run.engine.mapMutex());
        run.engine.map().node.pid = static_cast<uint8_t>(pid);
    }
    return runPlain(run, &DeviceActions::alterProgramId);
}

// The parts a compare names; none names all.
bool readCompareParts(const std::vector<std::string>& args, unsigned& parts) {
    static constexpr std::pair<std::string_view, unsigned> kParts[] = {{"nvs", ComparePart::NetVars},
                                                                       {"objects", ComparePart::Objects},
                                                                       {"port", ComparePart::Port},
                                                                       {"node", ComparePart::Node}};
    parts = args.empty() ? ComparePart::All : 0;
    for (const std::string& arg : args) {
        const auto* found = std::find_if(std::begin(kParts), std::end(kParts),
                                         [&](const auto& part) { return part.first == arg; });
        if (found == std::end(kParts)) return false;
        parts |= found->second;
    }
    return true;
}

int runCompare(DeviceRun& run, const DeviceCommand& command) {
    unsigned parts = 0;
    readCompareParts(command.args, parts);
    return runAction(
        run, [parts](DeviceActions& a) { return a.compareWithDevice(parts); }, true);
}

struct CommandEntry {
    const char* name;
    int minArgs;
    int maxArgs; // -1: every word that follows
    std::function<bool(const std::vector<std::string>&)> check;
    std::function<int(DeviceRun&, const DeviceCommand&)> run;
};

bool noCheck(const std::vector<std::string>&) {
    return true;
}

// A range argument as the NV commands (two ranges) or the object commands (one) take it.
template <bool NetVars> bool checkRange(const std::vector<std::string>& args) {
    RangeChoice choice;
    return readRangeChoice(args, NetVars, choice);
}

template <bool NetVars, Action A> int runRange(DeviceRun& run, const DeviceCommand& command) {
    return runTransfer(run, command, NetVars, A);
}

template <Action A> int runBare(DeviceRun& run, const DeviceCommand&) {
    return runPlain(run, A);
}

// Runs A and, when it succeeded, prints what it read of the node.
template <Action A, bool Domains, bool Ids> int runIdentity(DeviceRun& run, const DeviceCommand&) {
    const int status = runPlain(run, A);
    if (status == kExitOk) printIdentity(run, Domains, Ids);
    return status;
}

const std::vector<CommandEntry>& commandTable() {
    using D = DeviceActions;
    static const std::vector<CommandEntry> table = {
        {"usage", 0, 0, noCheck, runUsage},
        {"console", 1, -1, noCheck, runConsole},
        {"get-nvs", 0, 2, checkRange<true>, runRange<true, &D::getNetVars>},
        {"send-nvs", 0, 2, checkRange<true>, runRange<true, &D::sendNetVars>},
        {"get-objects", 0, 1, checkRange<false>, runRange<false, &D::getObjects>},
        {"send-objects", 0, 1, checkRange<false>, runRange<false, &D::sendObjects>},
        {"erase", 0, 0, noCheck, runBare<&D::eraseDevice>},
        {"get-port", 0, 0, noCheck, runBare<&D::readPortSettings>},
        {"send-port", 0, 0, noCheck, runBare<&D::writePortSettings>},
        {"error-info", 1, 1, noCheck,
         [](DeviceRun& r, const DeviceCommand& c) {
             return runAction(r, [&](DeviceActions& a) { return a.getErrorInfo(c.args[0]); });
         }},
        {"read-values", 0, 1, checkRange<false>, runReadValues},
        {"write-values", 0, 1, checkRange<false>, runRange<false, &D::writeValues>},
        {"write-value", 2, 2,
         [](const auto& a) {
             int n;
             return readInt(a[0], 1, kObjectCount, n);
         },
         runWriteValue},
        {"get-ids", 0, 0, noCheck, runIdentity<&D::getNodeIds, false, true>},
        {"get-domains", 0, 0, noCheck, runIdentity<&D::getDomains, true, false>},
        {"set-domain", 4, 4,
         [](const auto& a) {
             int n = 0;
             DomainEntry e;
             return readInt(a[0], 0, 1, n) && readInt(a[1], 0, 255, n) && readInt(a[2], 0, 127, n) &&
                    readDomainId(a[3], e);
         },
         runSetDomain},
        {"get-location", 0, 0, noCheck,
         [](DeviceRun& r, const DeviceCommand&) {
             const int status = runPlain(r, &DeviceActions::getLocation);
             if (status == kExitOk) {
                 std::lock_guard lock(r.engine.mapMutex());
                 std::printf("Location: %s\nProgram ID selector: %d\n",
                             std::string(textOf(r.engine.map().node.loc)).c_str(), r.engine.map().node.pid);
             }
             return status;
         }},
        {"set-location", 1, 1, noCheck, runSetLocation},
        {"alter-pid", 1, 1,
         [](const auto& a) {
             int n;
             return readInt(a[0], 0, 255, n);
         },
         runAlterPid},
        {"compare", 0, 4,
         [](const auto& a) {
             unsigned parts = 0;
             return readCompareParts(a, parts);
         },
         runCompare},
    };
    return table;
}

const CommandEntry* findCommand(std::string_view name) {
    for (const CommandEntry& entry : commandTable())
        if (name == entry.name) return &entry;
    return nullptr;
}

} // namespace

bool isCommandName(std::string_view word) {
    return findCommand(word) != nullptr;
}

std::string commandNames() {
    std::string names;
    for (const CommandEntry& entry : commandTable())
        names += (names.empty() ? "" : ", ") + std::string(entry.name);
    return names;
}

int checkCommand(const DeviceCommand& command) {
    const CommandEntry* entry = findCommand(command.name);
    if (!entry)
        return badDeviceArguments("unknown command \"" + command.name + "\" (" + commandNames() + ")");
    const int count = static_cast<int>(command.args.size());
    if (count < entry->minArgs) {
        if (command.name == "console") return badDeviceArguments("console needs the line to send");
        return badDeviceArguments(command.name + " needs more arguments (see --help)");
    }
    if (entry->maxArgs >= 0 && count > entry->maxArgs) {
        if (entry->maxArgs == 0) return badDeviceArguments(command.name + " takes no arguments");
        return badDeviceArguments(command.name + " takes at most " + std::to_string(entry->maxArgs) +
                                  " arguments");
    }
    if (!entry->check(command.args))
        return badDeviceArguments("bad arguments for " + command.name + " (see --help)");
    return kExitOk;
}

int runCommand(DeviceRun& run, const DeviceCommand& command) {
    const CommandEntry* entry = findCommand(command.name);
    return entry ? entry->run(run, command) : kExitBadArguments;
}

} // namespace korvex::cli
