#pragma once
// Result codes of the list-building and list-editing operations and the texts shown for them.
// Each operation keeps its own small code set (the pages were built around these numbers);
// every page, the CLI and the tests read the words from the one table behind modelMessage().
#include <cstdint>

namespace korvex {

enum class ModelOp : uint8_t {
    NVListFromRegisters,
    MasterListFromRegisters,
    AssignFbNumbers,
    MasterListFromNVs,
    RegisterListFromMaster,
    RemoveNVFbAssignments,
    MakeRegisterRow,
    LinkObjectToNVList,
    AppendRegisterRow,
    AllocateForNV,
    InsertNV,
    AddField,
    DeleteNV,
    ChangeNVType,
    InsertRegister,
    DeleteRegister,
    EditNVName,
    EditScopePid,
    EditFbNumber,
    EditObjectNumber,
    EditMethod,
    CheckRegisterList,
    CheckNVList,
};

inline constexpr int kOk = 0;

namespace NVListFromRegistersResult {
inline constexpr int AlreadyAssigned = 1;
inline constexpr int NviLimit = 2;
inline constexpr int NvoLimit = 4;
inline constexpr int CreateFailed = 5;
} // namespace NVListFromRegistersResult

namespace MasterListFromRegistersResult {
inline constexpr int AlreadyConfigured = 1;
inline constexpr int ObjectLimit = 2;
inline constexpr int UpdateFailed = 4;
} // namespace MasterListFromRegistersResult

namespace AssignFbNumbersResult {
inline constexpr int FbLimit = 1;
inline constexpr int AlreadyAssigned = 2;
} // namespace AssignFbNumbersResult

namespace MasterListFromNVsResult {
inline constexpr int ObjectLimit = 1;
inline constexpr int Conflict = 2;
inline constexpr int AlreadyAssigned = 3;
} // namespace MasterListFromNVsResult

namespace RegisterListFromMasterResult {
inline constexpr int AlreadyCreated = 1;
} // namespace RegisterListFromMasterResult

namespace RemoveNVFbAssignmentsResult {
inline constexpr int ObjectsLinked = 1;
} // namespace RemoveNVFbAssignmentsResult

namespace MakeRegisterRowResult {
inline constexpr int ListFull = 1;
inline constexpr int NotApplicable = 2; // no such object, no NV on it, or it has a register already
} // namespace MakeRegisterRowResult

namespace LinkObjectResult {
inline constexpr int NoMatchingRow = 1; // not an error: the object simply stays unlinked
inline constexpr int FieldNotAdded = 2;
} // namespace LinkObjectResult

namespace AppendRegisterRowResult {
inline constexpr int ListFull = 1;
inline constexpr int NotApplicable = 2;
} // namespace AppendRegisterRowResult

namespace AllocateResult {
inline constexpr int NoObjects = 1;
inline constexpr int NoFbNumbers = 2;
inline constexpr int Conflict = 3;
} // namespace AllocateResult

// Row edits, the consistency tests and the NV editor's conversion method have one refusal each.
inline constexpr int kRefused = 1;

namespace EditNumberResult {
inline constexpr int Invalid = 1;
inline constexpr int AllocatedElsewhere = 2;
} // namespace EditNumberResult

// The text for a non-zero code of an operation; nullptr for 0. A code the table does not name
// gives the operation's catch-all text.
const char* modelMessage(ModelOp op, int code);

// Questions the pages ask before emptying a list.
inline constexpr const char* kConfirmClearNVList = "Are you sure you want to\ndiscard all network variables?";
inline constexpr const char* kConfirmClearRegisterList =
    "Are you sure you want to\ndiscard all register configuration?";

} // namespace korvex
