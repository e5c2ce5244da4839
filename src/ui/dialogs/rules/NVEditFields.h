#pragma once
// The NV editor's own field rules, apart from those the list editing rules give (name, scope and
// program ID, function-block and object numbers, method): send times, the plain number boxes,
// which controls are enabled, and the texts of the FB label and the formula box.
#include "model/NetVar.h"

#include <string>
#include <string_view>

namespace korvex::ui::dialogs {

// Tried in this order, each as the formatted input reads it: "%d %d:%d:%d" (days, then
// hours:minutes:seconds), "%d:%d:%d", "%d:%d" (minutes:seconds), "%d" (seconds). Text matching
// none gives zero. Each part is held to 0..65535.
SendTime parseSendTime(std::string_view text);
// "%d %02d:%02d:%02d": days, hours, minutes, seconds.
std::string sendTimeText(const SendTime& time);

// A decimal number held to the range of the field it goes into; not a number gives 0.
int boundedDecimal(std::string_view text, int low, int high);

struct NVEditEnabling {
    bool name = true;
    bool type = true;
    bool method = true;
    bool formula = true;
    bool direction = true;
    bool sendTimes = true;
    bool scopePid = true;
    bool category = true;
    bool size = true;
    bool scales = true;
    bool offsets = true;
    bool lock = true;
    bool fbNumber = true;
    bool objectNumber = true;
    bool autoAssign = true;
    bool operator==(const NVEditEnabling&) const = default;
};

// parentType is the type of the header row of a field row's NV; for a header row, the type
// chosen in the dialog.
NVEditEnabling nvEditEnabling(const NetVar& copy, int parentType);

// "FB (OLA)#" for an input, "FB (OLS)#" for an output.
const char* fbLabel(bool isInput);

// The formula a "Special Conversion" has for a standard type: 1 for SNVT_switch, 2 for
// SNVT_elapsed_tm, 0 for any other.
int formulaFor(int snvt);
// "---" unless the method is "Special Conversion", else the formula number of the type.
std::string formulaText(int method, int snvt);

inline constexpr int kSnvtSwitch = 95;
inline constexpr int kSnvtElapsedTime = 87;

} // namespace korvex::ui::dialogs
