#pragma once
// Numbers typed into boxes are read the way "%d" reads them: leading blanks, an optional sign and
// the digits that follow; anything else ends the number, and no digits at all give 0. Values
// beyond the int range are held at its ends.
#include <QString>

#include <optional>

namespace korvex::ui::widgets {

int scanDecimal(const QString& text);
// As scanDecimal, but no digits at all give nothing, so a box can tell "0" from "not a number".
std::optional<int> decimalIn(const QString& text);
// A 0 is shown as an empty box.
QString numberOrEmpty(int value);

// "%x": leading blanks, an optional sign (a minus wraps round), an optional 0x and the hex digits
// that follow; no digits give 0, and a value too big for 32 bits is held at 0xFFFFFFFF.
unsigned scanHex(const QString& text);
// "%f" in the C locale whatever the program's locale: no number, infinity and NaN give 0; a
// magnitude beyond the double range is held at its ends.
double scanFraction(const QString& text);

} // namespace korvex::ui::widgets
