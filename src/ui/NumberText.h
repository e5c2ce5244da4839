#pragma once
// Numbers typed into boxes are read the way "%d" reads them: leading blanks, an optional sign and
// the digits that follow; anything else ends the number, and no digits at all give 0. Values
// beyond the int range are held at its ends.
#include <QString>

namespace korvex::ui {

int scanDecimal(const QString& text);
// A 0 is shown as an empty box.
QString numberOrEmpty(int value);

} // namespace korvex::ui
