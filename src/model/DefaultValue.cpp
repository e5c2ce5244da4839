#include "model/ObjectMap.h"
#include "vocab/ObjectValue.h"

namespace korvex {

// The default value lives in the same 32-bit cell form as a live value, so the value
// conversion (with its clamps and half-away-from-zero rounding) is the one rule for both.
void setDefaultValue(DataObject& object, double value) {
    object.defVal = object_value_from_number(value, object.datatype);
}

} // namespace korvex
