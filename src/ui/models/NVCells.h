#pragma once
// Cell texts of the NV List grid. A header row shows its NV's type; a field row shows the
// field's name (as ":: name") and its data category.
#include "model/ObjectMap.h"

#include <QString>

namespace korvex::ui::models::nvcell {

QString direction(const NetVar& nv);
// "OLA %d" for an input, "OLS %d" for an output, "---" without a function block.
QString fbNumber(const NetVar& nv);
QString object(const NetVar& nv);
// Row r (0-based) of the map's NV list.
QString type(const ObjectMap& map, int r);
QString category(const NetVar& nv);
QString name(const NetVar& nv);

} // namespace korvex::ui::models::nvcell
