#pragma once
// The Modbus Register Editor's field rules on its private copy of a register row, the enabling
// of its controls and its labels, and the Apply that stores the copy. Plain functions, so the
// rules are tested without the dialog.
#include "model/ObjectMap.h"
#include "model/RegisterDef.h"

#include <QString>

#include <optional>
#include <string>

namespace korvex {
class ModiconHint;
}

namespace korvex::ui::dialogs {

// Where the editor was opened: the Reg List grid or the master list's register columns.
enum class RegEditMode { RegisterList = 1, MasterList = 2 };

enum class Access { Read, Write, WriteOnUpdate };

inline constexpr char kCannotWriteInput[] = "Cannot write to an input.";

// "Discrete Input" and "Input Register" can only be read.
bool isInputType(int32_t type);

// One access mode set, the other two cleared. A write mode on an input type is refused
// (kCannotWriteInput) and nothing changes.
bool chooseAccess(RegisterDef& copy, Access access);

// The register number box. Modicon option on: the number is the Modicon number, split into
// register number and type (an input type forces read periodic). Off: the one-time hint is
// considered for input and holding registers, the number (held to 0..65535) becomes the
// register number and the Modicon number follows. Returns the hint's text when it is due.
std::optional<std::string> takeRegisterNumber(RegisterDef& copy, const QString& text, bool modicon,
                                              ModiconHint* hint);

// "Register Type": input types force read periodic; the Modicon number follows the type.
void chooseRegisterType(RegisterDef& copy, int type);

// "Unit/Slave Addr": 1..255, not a number 1.
uint8_t slaveFrom(const QString& text);
// "Poll Rate (Sec)" / "Host Timeout (Sec)": 1..65535, not a number 1.
uint16_t pollFrom(const QString& text);
// "Bit Number": bit n (held to 0..31) is stored as n + 1 with its mask; not a number or a
// negative number means no bit and no mask.
void takeBitNumber(RegisterDef& copy, const QString& text);
// "Mask (Hex)": the mask, and the bit when exactly one is set.
void takeMask(RegisterDef& copy, const QString& text);
// "Scale/Slope", "Offset/Intercept": not a number 0; held to the float range.
float fractionFrom(const QString& text);

// Shown texts: the bit box (empty without a bit), the hex boxes ("%08X").
QString bitNumberText(const RegisterDef& copy);
QString hexText(uint32_t value);

struct RegEditEnabling {
    bool read = true;
    bool write = true;
    bool writeOnUpdate = true;
    bool slave = true;
    bool bitNumber = true;
    bool mask = true;
    bool fill = true;
    bool packed = true;
    bool operator==(const RegEditEnabling&) const = default;
};

// linkedInput: the direction of the NV the register is linked to, none without one.
RegEditEnabling regEditEnabling(const RegisterDef& copy, std::optional<bool> linkedInput, bool gatewaySlave);
// "FB (OLA)#" on the input (write) side, "FB (OLS)#" on the output (read) side.
const char* registerFbLabel(const RegisterDef& copy, std::optional<bool> linkedInput);

// Apply: the copy into its row (links kept, `inDevice` cleared); a linked object takes the
// register values (and, when the format changed, the data type that follows it, with its default
// value carried over) and loses its in-device and saved marks. Returns that object, or 0.
int applyRegisterEdit(ObjectMap& map, int row, const RegisterDef& copy);

} // namespace korvex::ui::dialogs
