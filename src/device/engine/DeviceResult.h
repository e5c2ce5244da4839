#pragma once
// How a command sequence of the engine ended, as its handlers record it for the reporting pass
// (device/reporting/ReportTexts.h turns it into the words a page shows). Each code means one
// thing in every area.
#include <cstdint>

namespace korvex::device {

enum class DeviceResult : std::int32_t {
    Ok = 0,
    Timeout = -1,      // no reply in time
    BadReply = -2,     // a reply that does not parse (an element reader's code is kept with it)
    ErrorText = -3,    // the gateway refused with a text of its own (kept with it)
    WriteRefused = -4, // the gateway refused a value write
    NotDefined = -5,   // the gateway does not know the object
    Stopped = -6,      // the user stopped the transfer: the command in flight ended, no other began
};

} // namespace korvex::device
