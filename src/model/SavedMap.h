#pragma once
// The object map as it was when last opened, saved or made blank, for telling whether the map
// has changed since: every list (objects, NVs, registers) and the node's location and program-ID
// selector, and apart from those the port settings. Marks that only say what is in the device or
// was written (in-device, saved, the objects' sync flags) are left out, so sending the map to the
// gateway changes nothing here. The caller holds the map's lock while taking or comparing.
#include "model/ObjectMap.h"

#include <memory>

namespace korvex {

class SavedMap {
public:
    SavedMap();
    ~SavedMap();
    SavedMap(const SavedMap&) = delete;
    SavedMap& operator=(const SavedMap&) = delete;

    void take(const ObjectMap& map);
    // True while the map holds what was taken.
    bool matches(const ObjectMap& map) const;
    // True while the port settings, TCP settings and TCP device map are as taken (the port
    // settings' confirmed mark aside). The saved indicator of the port settings only ever goes
    // off as they are edited; an undo that takes them back asks this to put it on again.
    bool portSettingsMatch(const ObjectMap& map) const;

private:
    struct Content;
    std::unique_ptr<Content> content_;
};

// The map of start-up counts as saved: every saved indicator set and the copy taken.
void markWholeMapSaved(ObjectMap& map, SavedMap& saved);

// The close guard's question: the saved indicators (recomputed from the marks first) are all set
// and the map still holds what was last taken.
bool mapSaved(ObjectMap& map, const SavedMap& saved);

} // namespace korvex
