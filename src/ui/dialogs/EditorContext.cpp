#include "ui/dialogs/EditorContext.h"

#include "vocab/ModiconHint.h"

namespace korvex::ui::dialogs {

void EditorContext::tell(QWidget* owner, const char* text) const {
    prompter.message(owner, QString::fromLatin1(text), MessageButtons::Ok, MessageIcon::Error);
}

ModiconHint& runModiconHint() {
    static ModiconHint hint;
    return hint;
}

} // namespace korvex::ui::dialogs
