#include "model/ModelMessages.h"

namespace korvex {
namespace {

inline constexpr int kAnyOther = -1;

struct MessageRow {
    ModelOp op;
    int code;
    const char* text;
};

constexpr const char* kObjectLimit =
    "Number of objects requested in list\nexceeds maximum number of objects.";
constexpr const char* kUnspecifiedAssign = "Unspecified error in attempt to assign.";
constexpr const char* kUnableToDelete = "Unable to delete this line.";

constexpr MessageRow kMessages[] = {
    {ModelOp::NVListFromRegisters, 1, "NV list already assigned.\nClear NV list first."},
    {ModelOp::NVListFromRegisters, 2,
     "Number of function blocks requested in list\nexceeds maximum number of NVI's."},
    {ModelOp::NVListFromRegisters, 4,
     "Number of function blocks requested in list\nexceeds maximum number of NVO's."},
    {ModelOp::NVListFromRegisters, 5, "Unable to create NV."},
    {ModelOp::NVListFromRegisters, kAnyOther, "Unspecified error trying to create NV list."},

    {ModelOp::MasterListFromRegisters, 1, "Master object list already configured.\nClear master list first."},
    {ModelOp::MasterListFromRegisters, 2, kObjectLimit},
    {ModelOp::MasterListFromRegisters, 4, "Unable to update master object list."},
    {ModelOp::MasterListFromRegisters, kAnyOther, "Unspecified error."},

    {ModelOp::AssignFbNumbers, 1,
     "Number of function blocks requested in list\nexceeds maximum number of NV's."},
    {ModelOp::AssignFbNumbers, 2, "Function Blocks have already been assigned."},
    {ModelOp::AssignFbNumbers, kAnyOther, kUnspecifiedAssign},

    {ModelOp::MasterListFromNVs, 1, kObjectLimit},
    {ModelOp::MasterListFromNVs, 2, "Conflicting assignments.\nClear master object list first."},
    {ModelOp::MasterListFromNVs, 3, "Data objects have already been assigned."},
    {ModelOp::MasterListFromNVs, kAnyOther, kUnspecifiedAssign},

    {ModelOp::RegisterListFromMaster, kAnyOther, "Modbus register list has already been created."},
    {ModelOp::RemoveNVFbAssignments, kAnyOther, "Must remove data objects first."},

    {ModelOp::MakeRegisterRow, 1, "Could not insert register."},
    {ModelOp::MakeRegisterRow, kAnyOther, "The object needs a network variable and no register."},
    {ModelOp::LinkObjectToNVList, 1, "No network variable matches the object."},
    {ModelOp::LinkObjectToNVList, kAnyOther, "Could not add field at this point."},
    {ModelOp::AppendRegisterRow, 1, "Could not insert register."},
    {ModelOp::AppendRegisterRow, kAnyOther, "The object has no register."},

    {ModelOp::AllocateForNV, 1, "No available objects to allocate."},
    {ModelOp::AllocateForNV, 2, "No available network variables to allocate."},
    {ModelOp::AllocateForNV, kAnyOther, "Conflict in allocation tables."},

    {ModelOp::InsertNV, kAnyOther, "Could not insert NV at this point."},
    {ModelOp::AddField, kAnyOther, "Could not add field at this point."},
    {ModelOp::DeleteNV, kAnyOther, kUnableToDelete},
    {ModelOp::ChangeNVType, kAnyOther, "Unable to change NV type."},
    {ModelOp::InsertRegister, kAnyOther, "Could not insert register."},
    {ModelOp::DeleteRegister, kAnyOther, kUnableToDelete},

    {ModelOp::EditNVName, kAnyOther, "NV names must be unique, 16-char max."},
    {ModelOp::EditScopePid, kAnyOther, "Invalid scope/PID."},
    {ModelOp::EditFbNumber, 1, "Invalid function block number."},
    {ModelOp::EditFbNumber, kAnyOther, "Function block already allocated elsewhere in list."},
    {ModelOp::EditObjectNumber, 1, "Invalid object number."},
    {ModelOp::EditObjectNumber, kAnyOther, "Object already allocated elsewhere in list."},
    {ModelOp::EditMethod, kAnyOther, "No algorithm available."},

    {ModelOp::CheckRegisterList, kAnyOther,
     "Register list invalid due to changes in other tabs.\nConsider rebuild from Master List."},
    {ModelOp::CheckNVList, kAnyOther,
     "NV list invalid due to changes in other tabs.\nConsider rebuild from Master List."},
};

} // namespace

const char* modelMessage(ModelOp op, int code) {
    if (code == kOk) return nullptr;
    const char* fallback = nullptr;
    for (const MessageRow& row : kMessages) {
        if (row.op != op) continue;
        if (row.code == code) return row.text;
        if (row.code == kAnyOther) fallback = row.text;
    }
    return fallback;
}

} // namespace korvex
