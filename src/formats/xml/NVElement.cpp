// The `nv` element: one NV definition, added at the end of the NV list.
#include "formats/xml/ElementValues.h"
#include "formats/xml/Elements.h"
#include "formats/xml/NVName.h"
#include "model/FixedText.h"
#include "model/lists/ListEditing.h"
#include "model/lists/ListNotes.h"
#include "model/lists/NVEditRules.h"
#include "model/lists/NVRows.h"
#include "vocab/SnvtCatalogue.h"

#include <string>

namespace korvex::xml {
namespace {

struct NVWork {
    int fbNumber = 0;
    bool isInput = false;
    // The type description: a standard type index (scope 0), or a user type's description.
    UserNVType user;
    int64_t typeIndex = 0;
    bool described = false; // the description came from unvt_info
    bool standard = false;  // an `snvt` set the type, and no later attribute replaced it
    SendTime minSendTime;
    SendTime maxSendTime;
    bool minPresent = false;
    bool maxPresent = false;
    std::string name;
    bool named = false;

    void clearDescription() {
        user = UserNVType{};
        typeIndex = 0;
        described = false;
        standard = false;
    }
};

template <bool Input> XmlError setDirection(NVWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, 1, kFbNumbers, n); code != XmlError::Ok) return code;
    w.fbNumber = static_cast<int>(n);
    w.isInput = Input;
    return XmlError::Ok;
}

XmlError clearNV(NVWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, INT32_MIN, INT32_MAX, n); code != XmlError::Ok) return code;
    if (n == 0) return XmlError::Ok;
    w.clearDescription();
    w.minSendTime = w.maxSendTime = SendTime{};
    w.minPresent = w.maxPresent = true;
    return XmlError::Ok;
}

XmlError setSnvt(NVWork& w, std::string_view v) {
    int64_t n = 0;
    if (const XmlError code = readInteger(v, 1, 177, n); code != XmlError::Ok) return code;
    w.clearDescription();
    w.typeIndex = n;
    w.standard = true;
    return XmlError::Ok;
}

XmlError setPid(NVWork& w, std::string_view v) {
    std::array<int64_t, 8> n{};
    const auto b = kByteRange;
    if (const XmlError code = readNumbers(v, "x:x:x:x:x:x:x:x", n, {{b, b, b, b, b, b, b, b}});
        code != XmlError::Ok)
        return code;
    for (std::size_t i = 0; i < n.size(); ++i) w.user.programId[i] = static_cast<uint8_t>(n[i]);
    return XmlError::Ok;
}

XmlError setInfo(NVWork& w, std::string_view v) {
    std::array<int64_t, 7> n{};
    const XmlError code =
        readNumbers(v, "d,d,d,d,d,d,d", n,
                    {{{0, 6}, {0, INT32_MAX}, {0, 14}, {0, 31}, kInt16Range, kInt16Range, kInt16Range}});
    if (code != XmlError::Ok) return code;
    // Scope 0 describes no user type: after an `snvt` it would only overwrite the standard
    // index with a number that is never stored (0 would even turn the NV into a user type).
    if (n[0] == 0 && w.standard) return XmlError::Ok;
    w.standard = false;
    w.user.scope = static_cast<uint8_t>(n[0]);
    w.typeIndex = n[1];
    w.user.baseType = static_cast<uint8_t>(n[2]);
    w.user.size = static_cast<uint8_t>(n[3]);
    w.user.scaleA = static_cast<int16_t>(n[4]);
    w.user.scaleB = static_cast<int16_t>(n[5]);
    w.user.scaleC = static_cast<int16_t>(n[6]);
    w.described = true;
    return XmlError::Ok;
}

XmlError readSendTime(std::string_view v, SendTime& out) {
    SendTimeText t;
    if (const XmlError code = scanSendTime(v, t); code != XmlError::Ok) return code;
    out = SendTime{static_cast<uint16_t>(t.seconds), static_cast<uint16_t>(t.minutes),
                   static_cast<uint16_t>(t.hours), static_cast<uint16_t>(t.days)};
    return XmlError::Ok;
}

XmlError setMinTime(NVWork& w, std::string_view v) {
    w.minPresent = true;
    return readSendTime(v, w.minSendTime);
}

XmlError setMaxTime(NVWork& w, std::string_view v) {
    w.maxPresent = true;
    return readSendTime(v, w.maxSendTime);
}

XmlError setName(NVWork& w, std::string_view v) {
    w.name.assign(v.substr(0, kNameSize - 1));
    w.named = true;
    return XmlError::Ok;
}

constexpr std::array<Attribute<NVWork>, 9> kNVAttributes{{
    {"nvo", setDirection<false>},
    {"nvi", setDirection<true>},
    {"clear", clearNV},
    {"snvt", setSnvt},
    {"unvt_pid", setPid},
    {"unvt_info", setInfo},
    {"min_tm", setMinTime},
    {"max_tm", setMaxTime},
    {"name", setName},
}};

// A user type is one with a scope; a description of scope 0 and type index 0 is a user type
// too (an NV imported with a user-defined type carries no scope), which the writer gives in
// this form because no standard type index can stand for it.
bool isUserType(const NVWork& w) {
    return w.user.scope != 0 || (w.described && w.typeIndex == 0);
}

// The name the row gets: the cleaned given name unless another row has it; else the default.
std::string chooseName(const ObjectMap& map, const NVWork& w) {
    if (w.named) {
        std::string clean = cleanNVName(w.name);
        if (!clean.empty() && !nvNameTaken(map, clean, -1)) return clean;
    }
    return defaultNVName(w.isInput, w.fbNumber);
}

} // namespace

XmlError applyNVElement(ObjectMap& map, UnitCursor& cursor, Warnings* warnings) {
    NVWork work;
    if (const XmlError code = runAttributeLoop<NVWork>(cursor, kNVAttributes, work); code != XmlError::Ok)
        return code;
    if (work.fbNumber < 1 || work.fbNumber > kFbNumbers) return XmlError::OutOfRange;
    const std::string name = chooseName(map, work);
    NVAddRequest request;
    if (isUserType(work))
        request.userType = work.user;
    else
        request.snvt = work.typeIndex > 255 ? 0 : static_cast<int>(work.typeIndex);
    request.isInput = work.isInput;
    request.fbNumber = work.fbNumber;
    request.name = name;
    // A document may fill the list to what an NV import can fill it with: all 1000 rows, and a
    // structured NV at the end with the field rows that fitted, so a map the tool saved loads back
    // whole; the rows left out are named. An element from the gateway goes in whole or not at all.
    request.rowLimit = kListCapacity;
    request.cutFieldsAtLimit = warnings != nullptr;
    const int p = map.nvCount;
    int rows = 0;
    if (addNV(map, p, request, &rows) != 0) return XmlError::CannotAddNV;
    NetVar& row = map.nvs[static_cast<std::size_t>(p)];
    const int wanted = request.userType ? 1 : standardTypeRowCount(request.snvt);
    if (warnings && rows < wanted) warnings->push_back(nvFieldsLeftOutNote(row, rows - 1, wanted - 1));
    // A standard type whose new NVs start with size 0 (SNVT_date_cal, SNVT_ISO_7811, ...) takes
    // its declared size, as an imported NV of that type has: the element was written from such
    // an NV, and a row of size 0 could be neither saved again nor sent.
    if (!isUserType(work) && row.size == 0) row.size = snvt_size(row.snvt);
    if (!work.isInput) {
        if (work.minPresent) row.minSendTime = work.minSendTime;
        if (work.maxPresent) row.maxSendTime = work.maxSendTime;
    }
    row.inDevice = 1;
    return XmlError::Ok;
}

} // namespace korvex::xml
