#pragma once
// The questions a device action asks while it runs: confirmations, the object and NV range
// choices, plain messages, and a wait that keeps the front end alive. The GUI answers them with
// dialogs, the command line with its arguments, tests with scripted answers. The actions
// themselves stay free of any window code.
#include <functional>
#include <string>

namespace korvex::device {

enum class RangeAnswer { Ok, All, Cancel };
enum class MessageIcon { Error, Warning, Information };

struct ObjectRange {
    int first = 0;
    int last = 0;
    bool operator==(const ObjectRange&) const = default;
};

// Function-block number ranges per direction; a first number of 0 means none of that direction.
struct NetVarRanges {
    int firstInput = 0;
    int lastInput = 0;
    int firstOutput = 0;
    int lastOutput = 0;
    bool operator==(const NetVarRanges&) const = default;
};

class ActionHost {
public:
    virtual ~ActionHost() = default;

    // OK/Cancel question with the error icon; true on OK.
    virtual bool confirm(const std::string& text) = 0;
    // OK-only message.
    virtual void showMessage(const std::string& text, MessageIcon icon) = 0;
    // The range is offered on entry and holds the entered numbers after Ok; All and Cancel leave
    // it as offered (the caller decides what All means).
    virtual RangeAnswer chooseObjectRange(ObjectRange& range) = 0;
    virtual RangeAnswer chooseNetVarRanges(NetVarRanges& ranges) = 0;
    // Waits in steps of stepMs until done() holds or maxMs passed, keeping the front end
    // responsive meanwhile (the GUI handles its events between the steps). True when done.
    virtual bool waitUntil(const std::function<bool()>& done, int stepMs, int maxMs) = 0;
    // Makes what was reported so far visible at once (the GUI repaints before a long wait).
    virtual void flush() {}
};

} // namespace korvex::device
