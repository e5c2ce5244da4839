// The checker's pass over the objects and the NV list: the two sides of each object, the NVs
// the map file keeps, function-block numbers, send times and names.
#include "model/FixedText.h"
#include "model/check/MapCheckSupport.h"
#include "model/lists/NVEditRules.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>

namespace korvex::check {
namespace {

constexpr std::size_t kStoredObjectName = kNameSize - 1; // the reader takes 39 characters

// Per direction (0 output, 1 input) and function-block number 1..120.
using FbTable = std::array<std::array<int, kFbNumbers + 1>, 2>;

bool validFb(int fb) {
    return fb >= 1 && fb <= kFbNumbers;
}

// The rows the map file keeps as NVs: headers with a function-block number and a size.
bool keptNV(const NetVar& row) {
    return row.isHeader() && validFb(row.fbNumber) && row.size != 0;
}

int objectDirection(const DataObject& o) {
    return (o.flags & ObjectFlag::InputNV) ? 1 : 0;
}

// Number of objects tied to each NV.
FbTable objectsPerNV(const ObjectMap& map) {
    FbTable table{};
    for (const DataObject& o : map.objects)
        if (o.hasNV() && validFb(o.lonNV)) ++table[objectDirection(o)][o.lonNV];
    return table;
}

// 1 for an NV the list holds but the file does not keep, 2 for one it keeps.
FbTable nvsPresent(const ObjectMap& map) {
    FbTable table{};
    for (int r = 0; r < map.nvCount; ++r) {
        const NetVar& row = map.nvs[static_cast<std::size_t>(r)];
        if (!row.isHeader() || !validFb(row.fbNumber)) continue;
        int& entry = table[row.isInput ? 1 : 0][row.fbNumber];
        entry = std::max(entry, keptNV(row) ? 2 : 1);
    }
    return table;
}

void checkSides(const DataObject& o, int n, const FbTable& nvs, Findings& findings) {
    const bool reg = hasModbusRegister(o);
    if (!o.hasNV() && !reg && !o.isEmpty())
        findings.add(Rule::ObjectUnlinked, PlaceKind::Object, n,
                     "is configured but has neither NV nor register");
    else if (o.hasNV() && !reg)
        findings.add(Rule::ObjectNoRegister, PlaceKind::Object, n,
                     "has an NV but no register, so no data moves");
    else if (reg && !o.hasNV())
        findings.add(Rule::ObjectNoNV, PlaceKind::Object, n, "has a register but no NV, so no data moves");
    if (!o.hasNV()) return;
    const bool input = objectDirection(o) == 1;
    if (!validFb(o.lonNV)) {
        findings.add(Rule::ObjectNVMissing, PlaceKind::Object, n,
                     "has an NV side without a function-block number, which the map file drops");
        return;
    }
    const int present = nvs[input ? 1 : 0][o.lonNV];
    if (present < 2)
        findings.add(
            Rule::ObjectNVMissing, PlaceKind::Object, n,
            "is tied to " + nvText(input, o.lonNV) +
                (present == 1 ? ", which the map file does not keep" : ", which the NV list does not hold"));
}

// Fields of one structured NV repeat its name; any other two objects should differ.
long nameOwner(const DataObject& o, int n) {
    if (o.hasNV() && (o.flags & ObjectFlag::Structured)) return 1000L * (objectDirection(o) + 1) + o.lonNV;
    return -n;
}

void checkObjectNames(const ObjectMap& map, Findings& findings) {
    std::vector<std::pair<std::string_view, int>> named;
    for (int n = 1; n <= kObjectCount; ++n) {
        const DataObject& o = map.objects[static_cast<std::size_t>(n - 1)];
        const std::string_view name = textOf(o.name);
        if (o.isEmpty() || name.empty()) continue;
        named.emplace_back(name, n);
        const std::string saved = savedText(name.substr(0, kStoredObjectName));
        if (saved != name)
            findings.add(Rule::NameChangedOnSave, PlaceKind::Object, n,
                         "name \"" + std::string(name) + "\" is saved as \"" + saved + "\"");
    }
    std::sort(named.begin(), named.end());
    for (std::size_t i = 0; i < named.size();) {
        std::size_t end = i + 1;
        while (end < named.size() && named[end].first == named[i].first) ++end;
        const int first = named[i].second;
        const long owner = nameOwner(*map.object(first), first);
        std::vector<int> others;
        for (std::size_t k = i + 1; k < end; ++k)
            if (nameOwner(*map.object(named[k].second), named[k].second) != owner)
                others.push_back(named[k].second);
        if (!others.empty())
            findings.add(Rule::DuplicateObjectName, PlaceKind::Object, first,
                         "name \"" + std::string(named[i].first) + "\" is also used by " +
                             objectsText(others));
        i = end;
    }
}

unsigned long seconds(const SendTime& t) {
    return t.seconds + 60ul * t.minutes + 3600ul * t.hours + 86400ul * t.days;
}

void checkNVRow(const NetVar& row, int link, const FbTable& objects, Findings& findings) {
    if (!validFb(row.fbNumber)) {
        findings.add(Rule::NVNotSaved, PlaceKind::NV, link,
                     "has no function-block number, so the map file does not keep it");
        return;
    }
    if (row.size == 0) {
        findings.add(Rule::NVNotSaved, PlaceKind::NV, link,
                     "has a type of size 0, so the map file does not keep it");
        return;
    }
    if (objects[row.isInput ? 1 : 0][row.fbNumber] == 0)
        findings.add(Rule::NVNoObject, PlaceKind::NV, link,
                     nvText(row.isInput, row.fbNumber) +
                         " is sent to the gateway but no data object is tied to it");
    const unsigned long low = seconds(row.minSendTime), high = seconds(row.maxSendTime);
    if (!row.isInput && low != 0 && high != 0 && low > high)
        findings.add(Rule::SendTimesInverted, PlaceKind::NV, link,
                     textf("minimum send time of %lu s is above the maximum send time of %lu s", low, high));
}

// The writer cleans each name and gives a default one to a name that is empty or taken by an
// earlier NV.
void checkNVName(const NetVar& row, int link, std::unordered_map<std::string, int>& taken,
                 Findings& findings) {
    const std::string_view name = textOf(row.name);
    const std::string saved = cleanNVName(name);
    if (saved.empty()) {
        findings.add(Rule::NameChangedOnSave, PlaceKind::NV, link,
                     "has no name, so the map file gives it a default name");
        return;
    }
    const auto [earlier, fresh] = taken.emplace(saved, link);
    if (!fresh)
        findings.add(Rule::NameChangedOnSave, PlaceKind::NV, link,
                     textf("name \"%s\" is taken by NV row %d, so the map file gives this NV a default name",
                           saved.c_str(), earlier->second));
    else if (saved != name)
        findings.add(Rule::NameChangedOnSave, PlaceKind::NV, link,
                     "name \"" + std::string(name) + "\" is saved as \"" + saved + "\"");
}

} // namespace

void checkObjects(const ObjectMap& map, Findings& findings) {
    const FbTable nvs = nvsPresent(map);
    for (int n = 1; n <= kObjectCount; ++n)
        checkSides(map.objects[static_cast<std::size_t>(n - 1)], n, nvs, findings);
    checkObjectNames(map, findings);
}

void checkNVs(const ObjectMap& map, Findings& findings) {
    const FbTable objects = objectsPerNV(map);
    FbTable firstRow{};
    std::unordered_map<std::string, int> taken;
    taken.reserve(static_cast<std::size_t>(map.nvCount));
    for (int link = 1; link <= map.nvCount; ++link) {
        const NetVar& row = map.nvs[static_cast<std::size_t>(link - 1)];
        if (!row.isHeader()) continue;
        checkNVRow(row, link, objects, findings);
        if (!keptNV(row)) continue;
        int& first = firstRow[row.isInput ? 1 : 0][row.fbNumber];
        if (first != 0)
            findings.add(Rule::NVFbDuplicate, PlaceKind::NV, link,
                         textf("is %s, as is NV row %d; two NVs cannot share a function-block number",
                               nvText(row.isInput, row.fbNumber).c_str(), first));
        else
            first = link;
        checkNVName(row, link, taken, findings);
    }
}

} // namespace korvex::check
