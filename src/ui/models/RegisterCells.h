#pragma once
// Cell texts of the two register grids (Reg Import and Reg List). The Reg List hides what a
// gateway working as Modbus slave does not use; the import grid always shows the file's values.
#include "model/RegisterDef.h"

#include <QString>

namespace korvex::ui::models::regcell {

// "W" for write periodic, else "W+" for write on update, else "R".
QString access(const RegisterDef& r);
QString modicon(const RegisterDef& r);
QString type(const RegisterDef& r);
QString number(const RegisterDef& r);
// The bit (stored bit - 1), "-" without one.
QString bit(const RegisterDef& r);
QString format(const RegisterDef& r);
QString slave(const RegisterDef& r);
QString packed(const RegisterDef& r);
QString highRegFirst(const RegisterDef& r);
QString name(const RegisterDef& r);

// Reg List only: "OLS %d" for a read register, "OLA %d" for a written one, "---" without a
// function block or without an access mode.
QString fbNumber(const RegisterDef& r);
// The object number, "---" for none.
QString object(const RegisterDef& r);

} // namespace korvex::ui::models::regcell
