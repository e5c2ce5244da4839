#pragma once
// What an editor dialog works with besides the record it edits: the object map and the lock that
// guards it against the device link, the message box, the working options that decide how a row
// is shown, and where the refresh requests that follow an Apply go. Pages get one from the window
// (ConfigTool::editorContext); tests build their own over their own map.
#include "model/ObjectMap.h"
#include "ui/window/Prompter.h"

#include <functional>
#include <mutex>

namespace korvex {
class ModiconHint;
}

namespace korvex::ui::dialogs {

using window::MessageButtons;
using window::MessageIcon;
using window::Prompter;

// The requests a dialog raises after storing its record; the value is the object or entry number.
enum class EditorRequest { MasterListRefresh, RegisterListRefresh, TcpMapChanged, ValueWriteRequest };

struct EditorContext {
    ObjectMap& map;
    Prompter& prompter;
    std::mutex* mapMutex = nullptr; // none when no device link can touch the map
    std::function<void(EditorRequest, int)> raise;
    bool modicon = false;               // "Use Modicon notation for Modbus registers."
    bool gatewaySlave = false;          // "Configure gateway as Modbus slave."
    bool commissioned = false;          // "I am updating a node already commissioned."
    ModiconHint* modiconHint = nullptr; // the run's one-time hint; none shows no hint

    EditorContext(ObjectMap& m, Prompter& p) : map(m), prompter(p) {}

    // Held while the map is read or changed; a lock on nothing when there is no mutex.
    std::unique_lock<std::mutex> lock() const {
        return mapMutex ? std::unique_lock<std::mutex>(*mapMutex) : std::unique_lock<std::mutex>();
    }
    void request(EditorRequest what, int value) const {
        if (raise) raise(what, value);
    }
    // The one message box, always with OK and the error icon.
    void tell(QWidget* owner, const char* text) const;
};

// The flag behind the one-time Modicon hint, kept for the whole run of the program.
ModiconHint& runModiconHint();

} // namespace korvex::ui::dialogs
