#include "model/lists/ListNotes.h"

#include "model/FixedText.h"

namespace korvex {

std::string nvNoteName(const NetVar& header) {
    std::string text(textOf(header.name));
    if (header.fbNumber > 0)
        text +=
            std::string(header.isInput ? " (input " : " (output ") + std::to_string(header.fbNumber) + ")";
    return text;
}

std::string nvFieldsLeftOutNote(const NetVar& header, int kept, int fields) {
    return "NV " + nvNoteName(header) + ": only " + std::to_string(kept) + " of its " +
           std::to_string(fields) + " field rows fit in the NV list; the others were left out.";
}

std::string objectFieldRowNote(int n, const DataObject& object) {
    const bool input = (object.flags & ObjectFlag::InputNV) != 0;
    return "Object " + std::to_string(n) + ": the NV list has no room for its field row of NV " +
           (input ? "input " : "output ") + std::to_string(object.lonNV) +
           "; the object is kept without a link to it.";
}

} // namespace korvex
