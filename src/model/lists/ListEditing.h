#pragma once
// Row-level editing of the NV list and the register list, and the consistency tests run before
// either list is shown. Positions are 0-based rows; links stay 1-based. Every insert and delete
// renumbers the links of the rows that moved. Refusals leave the lists as they were and return
// kRefused (text: modelMessage with the ModelOp of the same name).
#include "model/ModelMessages.h"
#include "model/ObjectMap.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace korvex {

// A user-defined NV type: everything a standard type would take from the catalogue.
struct UserNVType {
    uint8_t size = 0;
    uint8_t baseType = 0;
    int16_t scaleA = 0;
    int16_t scaleB = 0;
    int16_t scaleC = 0;
    uint8_t scope = 0;
    std::array<uint8_t, 8> programId{};
};

struct NVAddRequest {
    int snvt = 0;                       // standard type index; ignored when userType is set
    std::optional<UserNVType> userType; // a user type takes one row
    bool isInput = false;
    int fbNumber = 0;              // also given to the field rows
    std::string_view name;         // stored as given (up to 39 bytes)
    int rowLimit = kEditRowLimit;  // the list may grow to this many rows
    bool cutFieldsAtLimit = false; // leave off field rows that do not fit instead of refusing
};

// Adds an NV at p (p == count appends): the header row, then one row per catalogue field of a
// structured standard type. Refused on a field row, for a type the catalogue does not hold, and
// when the rows do not fit. rowsAdded, when given, receives the number of rows made.
int addNV(ObjectMap& map, int p, const NVAddRequest& request, int* rowsAdded = nullptr);

// "Insert NV" / "Append NV": an output SNVT_count named "New_NV_<row count + 1>".
int insertNV(ObjectMap& map, int p);
int appendNV(ObjectMap& map);

// "Add Field": a field row right below row r, which is a STRUCT header or any field row.
int addField(ObjectMap& map, int r);

// Deletes the NV or field at row r. A row whose base type has no rows to remove (blank rows,
// ARRAY, UNION) is left alone and the delete succeeds.
int deleteNVAt(ObjectMap& map, int r);

// Replaces the NV at header row r by one of standard type t with the same direction and name.
// The function-block number and links come back only when both types take the same number of
// rows. Refused up front (nothing changed) when the new NV would not fit.
int changeNVType(ObjectMap& map, int r, int t);

// "Clear NV list": the objects lose their NV side, the registers their NV number and link.
int clearNVList(ObjectMap& map); // never fails

// "Insert Reg" / "Append Reg": a blank holding register with the next free number.
int insertRegister(ObjectMap& map, int r);
int appendRegister(ObjectMap& map);

// Deletes register row r; its object loses the register side.
int deleteRegister(ObjectMap& map, int r);

// "Clear register list": the objects lose their register side, all register links go.
int clearRegisterList(ObjectMap& map); // never fails

// Consistency tests before the Reg List and NV List pages are shown; kRefused when a link does
// not point back (ModelOp::CheckRegisterList / CheckNVList give the advice).
int checkRegisterList(const ObjectMap& map);
int checkNVList(const ObjectMap& map);

} // namespace korvex
