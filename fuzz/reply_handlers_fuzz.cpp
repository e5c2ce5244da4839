// Dictionary: reply.dict
// The command engine fed arbitrary gateway replies in every state: a scripted serial driver
// hands the link the pieces of the input (layout in support/ReplyScript.h) on a fake clock, and
// the status loop's tick runs the handlers, each followed by the reporting pass. After every
// reply the engine's state and result codes, its text fields, the node identity, the map and the
// texts reported are checked; every command must end within its time budget, and once the
// script is spent the engine must come back to idle.
#include "support/FuzzChecks.h"
#include "support/ReplyScript.h"

#include "device/reporting/StatusReporter.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace korvex;
using namespace korvex::device;
namespace reply = korvex::fuzz::reply;
using korvex::fuzz::expect;
using korvex::fuzz::fail;
using korvex::fuzz::terminatedField;

constexpr std::int64_t kPollUs = std::int64_t{kPollWaitMs} * 1000;
constexpr std::int64_t kLongestPieceUs = 15 * 16 * 1000;

struct Piece {
    std::string_view bytes;
    reply::PieceKind kind = reply::kReply;
    int costMs = 0;
};

std::vector<Piece> splitScript(std::string_view body) {
    std::vector<Piece> pieces;
    std::size_t start = 0;
    bool first = true;
    for (;;) {
        const std::size_t end = body.find(reply::kSeparator, start);
        std::string_view segment = body.substr(start, end == std::string_view::npos ? end : end - start);
        Piece piece;
        if (!first) {
            if (segment.empty()) {
                piece.kind = reply::kQuiet;
            } else {
                const auto control = static_cast<std::uint8_t>(segment.front());
                segment.remove_prefix(1);
                piece.kind = reply::pieceKind(control);
                piece.costMs = reply::pieceCostMs(control);
            }
        }
        piece.bytes = segment;
        if (!first || !segment.empty()) pieces.push_back(piece);
        first = false;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return pieces;
}

// Plays the script to the link: each read takes the next piece (or the rest of one that did not
// fit), a reply piece is followed by a quiet poll, and time passes on the fake clock only.
class ScriptDriver : public SerialPortDriver {
public:
    ScriptDriver(const std::vector<Piece>& pieces, std::int64_t& clock) : pieces_(pieces), clock_(clock) {}

    bool open(const std::string&) override { return open_ = true; }
    bool isOpen() override { return open_; }
    void close() override { open_ = false; }
    int flushInput() override { return 0; }
    bool write(const char*, std::size_t length) override {
        expect(open_, "write on a closed port");
        expect(length > 0 && length < kLinkBufferSize, "command length outside the buffer");
        ++writes_;
        writtenAt_ = clock_;
        if (next_ < pieces_.size() && pieces_[next_].kind == reply::kWriteFails) {
            ++next_;
            return false;
        }
        return true;
    }
    int read(char* dest, std::size_t capacity, int) override {
        expect(open_, "read on a closed port");
        expect(capacity > 0 && capacity <= kLinkBufferSize, "read capacity outside the buffer");
        if (quietDue_ || next_ >= pieces_.size()) {
            quietDue_ = false;
            clock_ += kPollUs;
            return 0;
        }
        const Piece& piece = pieces_[next_];
        // A read that brings nothing waits its full poll, as a port's read does.
        const reply::PieceKind kind =
            piece.bytes.empty() && piece.kind != reply::kReadFails ? reply::kQuiet : piece.kind;
        switch (kind) {
        case reply::kReadFails:
            ++next_;
            return -1;
        case reply::kQuiet:
        case reply::kWriteFails:
            ++next_;
            clock_ += kPollUs;
            return 0;
        default:
            break;
        }
        if (offset_ == 0) clock_ += std::int64_t{piece.costMs} * 1000;
        const std::size_t n = std::min(capacity, piece.bytes.size() - offset_);
        std::memcpy(dest, piece.bytes.data() + offset_, n);
        offset_ += n;
        if (offset_ >= piece.bytes.size()) {
            ++next_;
            offset_ = 0;
            quietDue_ = piece.kind == reply::kReply;
        }
        return static_cast<int>(n);
    }

    int writes() const { return writes_; }
    std::int64_t writtenAt() const { return writtenAt_; }

private:
    const std::vector<Piece>& pieces_;
    std::int64_t& clock_;
    std::size_t next_ = 0;
    std::size_t offset_ = 0;
    bool quietDue_ = false;
    bool open_ = false;
    int writes_ = 0;
    std::int64_t writtenAt_ = 0;
};

// The longest a command of the state may take: its budget (a port or node setting may be given
// the settings budget) and the one poll that may run past it.
std::int64_t commandLimitUs(int state) {
    const int polls = std::max(stateInfo(state).budget, kBudgetSettings);
    return polls * kPollUs + std::max(kPollUs, kLongestPieceUs);
}

bool knownResult(DeviceResult result) {
    return result <= DeviceResult::Ok && result >= DeviceResult::NotDefined;
}

template <std::size_t N> bool byteValues(const std::array<int, N>& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](int b) { return b >= 0 && b <= 255; });
}

// The engine's texts are read as C strings, so a zero byte from the line may end them early;
// what matters is that each has its terminator within its storage.
template <std::size_t N> bool hasTerminator(const std::array<char, N>& text) {
    return std::memchr(text.data(), '\0', N) != nullptr;
}

void checkEngine(const CommandEngine& e) {
    const int state = static_cast<int>(e.state());
    expect(state >= 0 && state < kStateCount, "engine state outside the table");
    for (int a = 0; a < kAreaCount; ++a) {
        const AreaResult& area = e.area(static_cast<Area>(a));
        expect(hasTerminator(area.errorText), "error text not terminated");
        expect(knownResult(area.result), "result code outside the table");
    }
    expect(hasTerminator(e.consoleText), "console text not terminated");
    expect(terminatedField(e.consoleLine), "console line not terminated");
    expect(knownResult(e.consoleResult) && knownResult(e.usageResult), "result code outside the table");
    for (const DomainEntry& d : e.identity.domains) {
        expect(validDomainLength(d.idLength), "domain ID length not 0, 1, 3 or 6");
        expect(byteValues(d.id), "domain ID byte outside 0..255");
    }
    expect(byteValues(e.identity.programId) && byteValues(e.identity.neuronId), "ID byte outside 0..255");
    expect(e.nvListPosition >= -1 && e.nvListPosition < kListCapacity, "NV list position outside the list");
    // One past the last entry once the walk is done.
    expect(e.portMapIndex >= 0 && e.portMapIndex <= kTcpMapEntries + 1, "device-map index outside the map");
}

// The handlers that apply replies to the map; the others leave it alone.
bool touchesMap(int state) {
    switch (static_cast<EngineState>(state)) {
    case EngineState::GetNetVars:
    case EngineState::SendNetVars:
    case EngineState::GetObjects:
    case EngineState::SendObjects:
    case EngineState::GetPortSettings:
    case EngineState::SendPortSettings:
    case EngineState::GetNodeInfo:
        return true;
    default:
        return false;
    }
}

// The texts the reporting pass makes from what the gateway said go to pages of the window, are
// of a size a status box can take, and hold no zero byte (which would cut them short there).
class CheckingSink : public StatusSink {
public:
    void appendText(Page page, std::string_view text) override { check(page, text); }
    void setText(Page page, std::string_view text) override { check(page, text); }
    void refresh(Refresh what) override {
        expect(static_cast<int>(what) >= 0 && static_cast<int>(what) < kRefreshCount, "unknown refresh");
    }
    void setConnected(bool) override {}
    void setPortSettingsInSync(bool) override {}
    void setNodeSettingsInSync(bool) override {}

private:
    static void check(Page page, std::string_view text) {
        expect(static_cast<int>(page) >= 0 && static_cast<int>(page) < kPageCount,
               "report to an unknown page");
        expect(text.size() <= kLinkBufferSize, "report text longer than a reply");
        expect(text.find('\0') == std::string_view::npos, "report text holds a zero byte");
    }
};

struct Run {
    SerialLink& link;
    CommandEngine& engine;
    StatusReporter& reporter;
    ScriptDriver& driver;
    const std::int64_t& clock;
    std::size_t stepLimit;

    void operation(int op, const std::uint8_t* arguments) {
        if (!link.isOpen() && !link.open()) fail("the scripted port did not open");
        if (!reply::startOperation(engine, op, arguments)) fail("an idle engine refused to start");
        std::int64_t commandStart = clock;
        int commandState = static_cast<int>(engine.state());
        for (std::size_t step = 0; engine.busy(); ++step) {
            if (step > stepLimit) fail("the engine is still busy after the script and every budget");
            const int writes = driver.writes();
            const int state = static_cast<int>(engine.state());
            link.pump();
            if (driver.writes() != writes) {
                commandStart = driver.writtenAt();
                commandState = state;
            }
            if (clock - commandStart > commandLimitUs(commandState))
                fail("a command in state " + std::string(stateInfo(commandState).name) + " ran " +
                     std::to_string((clock - commandStart) / 1000) + " ms, past its budget");
            if (!link.replyReady()) continue;
            const int handled = static_cast<int>(engine.state());
            engine.tick();
            reporter.pass();
            checkEngine(engine);
            if (touchesMap(handled)) korvex::fuzz::checkMapStep(engine.map());
        }
        korvex::fuzz::checkMap(engine.map());
    }
};

ObjectMap& templateMap() {
    static std::unique_ptr<ObjectMap> map = [] {
        auto built = std::make_unique<ObjectMap>();
        if (!reply::buildTemplateMap(*built)) fail("the template map did not build");
        korvex::fuzz::checkMap(*built);
        return built;
    }();
    return *map;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::uint8_t header[reply::kHeaderSize] = {};
    std::memcpy(header, data, std::min(size, reply::kHeaderSize));
    const std::string_view body =
        size > reply::kHeaderSize ? std::string_view(reinterpret_cast<const char*>(data) + reply::kHeaderSize,
                                                     size - reply::kHeaderSize)
                                  : std::string_view();
    const std::vector<Piece> pieces = splitScript(body);

    ObjectMap& map = korvex::fuzz::freshMap(0);
    if (header[6] & reply::kFlagRichMap) map = templateMap();
    map.deviceModel = header[6] & reply::kFlagTcpModel ? kTcpDeviceModel : 0;

    std::int64_t clock = 0;
    ScriptDriver driver(pieces, clock);
    SerialLink link(driver, [&clock] { return clock; });
    std::mutex mapMutex;
    ValueTable values;
    CommandEngine engine(link, map, mapMutex, values);
    engine.deviceLastObjectKnown = (header[6] & reply::kFlagLastKnown) != 0;
    engine.deviceLastObject = header[7] * 2;
    link.setPortName("/dev/ttyFUZZ");
    CheckingSink sink;
    StatusReporter reporter(engine, sink);

    Run run{link,   engine, reporter,
            driver, clock,  3 * pieces.size() + body.size() + 2 * (kBudgetErase + 2) + 64};
    run.operation(header[0], header + 2);
    if (header[1] < 0x80) run.operation(header[1], header + 2);
    return 0;
}
