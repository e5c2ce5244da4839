#pragma once
// The live value of each data object as last read from or accepted by the gateway: one 32-bit
// slot per object, read by the object's data type, with a flag telling that it came from the
// current transfer. The table is shared with the window thread under the map's mutex.
#include "model/ObjectMap.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvex::device {

struct ValueSlot {
    uint32_t value = 0;
    bool fresh = false;
    bool operator==(const ValueSlot&) const = default;
};

class ValueTable {
public:
    // Slot of object n (1..400); any other n gives a scratch slot that nothing reads.
    ValueSlot& slot(int n);
    const ValueSlot& slot(int n) const;
    void clearFresh();

private:
    std::array<ValueSlot, kObjectCount> slots_{};
    mutable ValueSlot scratch_{};
};

// "%f" in the C locale, whatever locale the program runs in.
std::string fixedSix(double x);
// Reads a number at the start of text as "%f" does (blanks first, optional sign, decimal or
// "inf"/"nan"), in the C locale. False when there is none.
bool scanReal(std::string_view text, double& value);

} // namespace korvex::device
