#pragma once
// What the NV editor's "Auto Assign" and "Apply" do to the object map. The dialog edits a private
// copy of one row; these are the only places where that copy reaches the map.
#include "model/ObjectMap.h"

#include <vector>

namespace korvex::ui::dialogs {

struct NVApplyOptions {
    bool commissioned = false; // the node is already commissioned: its NV types are not ours to change
    bool autoAssign = false;   // "Auto Assign" was accepted in the dialog: allocate for real
    int parentType = 0;        // the header's type for a field row, the copy's own for a header
};

enum class NVApplyResult { Stored, ScopeZero, PidZero, CommissionedTypeChange };

struct NVApplyOutcome {
    bool typeChangeRefused = false; // "Unable to change NV type." is due; the row kept its old type
    int allocationCode = 0;         // AllocateForNV result when "Auto Assign" ran, else 0
    std::vector<int> objects;       // objects linked to the row (or its fields), for the refresh
};

// The message for a result other than Stored.
const char* nvApplyMessage(NVApplyResult result);
inline constexpr const char kUnableToChangeType[] = "Unable to change NV type.";

// Apply: the user-type checks, the type change through the list operation, the copy stored (its
// links stay those of the list), a typed function-block number given to the NV's rows, the object
// link, and the allocation "Auto Assign" promised. Nothing is stored unless the result is Stored.
NVApplyResult applyNVEdit(ObjectMap& map, int row, const NetVar& copy, const NVApplyOptions& options,
                          NVApplyOutcome& outcome);

// "Auto Assign": the allocation tried on a scratch copy of the map holding the edited copy, so a
// Cancel leaves the map untouched. On success the copy takes the function-block and object
// numbers the allocation gave its row. Returns the AllocateForNV code.
int previewAutoAssign(const ObjectMap& map, int row, NetVar& copy);

} // namespace korvex::ui::dialogs
