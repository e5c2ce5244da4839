#include "support/FuzzChecks.h"

#include "formats/xml/MapDocument.h"
#include "formats/xml/MapFile.h"
#include "formats/xml/XmlError.h"
#include "support/LinkCheck.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <unordered_set>

namespace korvex::fuzz {

void fail(const std::string& what) {
    std::fprintf(stderr, "\n*** fuzz invariant broken: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

ObjectMap& freshMap(int slot) {
    static std::array<std::unique_ptr<ObjectMap>, 3> maps;
    auto& map = maps.at(static_cast<std::size_t>(slot));
    if (!map)
        map = std::make_unique<ObjectMap>();
    else
        *map = ObjectMap{};
    return *map;
}

// A step of a run writes within its own record, so it is enough to see every text still ends
// within its storage; whether only zeros follow is left to the full check at the end of a run.
namespace {

template <std::size_t N> bool endsInStorage(const std::array<char, N>& field) {
    return field[N - 1] == '\0';
}

} // namespace

void checkMapStep(const ObjectMap& map) {
    expect(map.nvCount >= 0 && map.nvCount <= kListCapacity, "NV count outside the storage");
    expect(map.registerCount >= 0 && map.registerCount <= kListCapacity,
           "register count outside the storage");
    for (const DataObject& o : map.objects) {
        expect(endsInStorage(o.name), "object name not terminated");
        expect(o.registerRow <= map.registerCount, "object register link beyond the list");
        expect(o.nvRow <= map.nvCount, "object NV link beyond the list");
    }
    for (int i = 0; i < map.nvCount; ++i) {
        const NetVar& v = map.nvs[i];
        expect(endsInStorage(v.name), "NV name not terminated");
        expect(v.objectNumber >= 0 && v.objectNumber <= kObjectCount, "NV object link beyond the objects");
        expect(v.registerRow >= 0 && v.registerRow <= map.registerCount, "NV register link beyond the list");
    }
    for (int i = 0; i < map.registerCount; ++i) {
        const RegisterDef& r = map.registers[i];
        expect(endsInStorage(r.name), "register name not terminated");
        expect(r.objectNumber >= 0 && r.objectNumber <= kObjectCount,
               "register object link beyond the objects");
        expect(r.nvRow >= 0 && r.nvRow <= map.nvCount, "register NV link beyond the list");
    }
    expect(endsInStorage(map.node.loc), "location not terminated");
}

// Rows beyond the lists must be blank (the link check sees to that), so only rows in use and
// the objects need their texts looked at.
static void checkTexts(const ObjectMap& map) {
    for (const DataObject& o : map.objects) expect(terminatedField(o.name), "object name not terminated");
    for (int i = 0; i < map.nvCount; ++i) expect(terminatedField(map.nvs[i].name), "NV name not terminated");
    for (int i = 0; i < map.registerCount; ++i)
        expect(terminatedField(map.registers[i].name), "register name not terminated");
    expect(terminatedField(map.node.loc), "location not terminated");
}

void checkMapHere(const ObjectMap& map) {
    checkMapStep(map);
    checkTexts(map);
    const ::testing::AssertionResult links = korvex::testing::checkLinks(map);
    if (!links) fail(std::string("links: ") + links.message());
}

void checkEmptyLists(const ObjectMap& map) {
    expect(map.nvCount == 0 && map.registerCount == 0, "a failed load left list rows");
    for (const DataObject& o : map.objects) expect(o == DataObject{}, "a failed load left an object");
}

void checkElementCode(XmlError code) {
    const int n = codeNumber(code);
    if (n < 0 || n >= kXmlErrorCount) fail("element reader code " + std::to_string(n));
}

std::string firstDifference(std::string_view a, std::string_view b) {
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const std::size_t from = at > 80 ? at - 80 : 0;
    std::ostringstream out;
    out << "at byte " << at << "\n--- first:\n"
        << a.substr(from, 200) << "\n--- second:\n"
        << b.substr(from, 200) << "\n";
    return out.str();
}

bool seenBefore(std::string_view key) {
    static std::unordered_set<std::size_t> seen;
    if (seen.size() > 4'000'000) seen.clear();
    return !seen.insert(std::hash<std::string_view>{}(key)).second;
}

std::string checkSavesAndReloadsHere(ObjectMap& map) {
    std::string first = renderObjectMap(map).text;
    checkMapStep(map);
    if (seenBefore(first)) return first;
    ObjectMap& again = freshMap(2);
    again.deviceModel = map.deviceModel;
    std::istringstream in(first);
    const MapFileResult loaded = readObjectMap(again, in);
    if (!loaded.ok) fail("the saved document does not load: " + loaded.text + "\n" + first);
    checkMapHere(again);
    const std::string second = renderObjectMap(again).text;
    if (second != first) fail("the second save differs " + firstDifference(first, second));
    return first;
}

} // namespace korvex::fuzz
