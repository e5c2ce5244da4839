#include "ui/EditorContext.h"

#include "ui/ConfigTool.h"
#include "ui/DeviceSession.h"
#include "vocab/ModiconHint.h"

namespace korvex::ui {

void EditorContext::tell(QWidget* owner, const char* text) const {
    prompter.message(owner, QString::fromLatin1(text), MessageButtons::Ok, MessageIcon::Error);
}

ModiconHint& runModiconHint() {
    static ModiconHint hint;
    return hint;
}

namespace {

GridRefresh gridOf(EditorRequest what) {
    switch (what) {
    case EditorRequest::MasterListRefresh:
        return GridRefresh::MasterList;
    case EditorRequest::RegisterListRefresh:
        return GridRefresh::RegisterList;
    case EditorRequest::TcpMapChanged:
        return GridRefresh::TcpMap;
    case EditorRequest::ValueWriteRequest:
        break;
    }
    return GridRefresh::Values;
}

} // namespace

EditorContext editorContext(ConfigTool& tool) {
    EditorContext context(tool.map(), tool.prompter());
    context.mapMutex = &tool.mapMutex();
    context.modicon = tool.options().modicon;
    context.gatewaySlave = tool.options().gatewaySlave;
    context.commissioned = tool.options().commissioned;
    context.modiconHint = &runModiconHint();
    // The sink posts to the window thread and merges waiting requests of one kind, as the status
    // loop's request flags do. A value write goes to the status loop, which writes that object's
    // value to the device (or says the port is busy) and then redraws the View Data grid.
    context.raise = [&tool](EditorRequest what, int value) {
        if (what == EditorRequest::ValueWriteRequest && ObjectMap::validObject(value)) {
            device::raiseRequest(tool.device().engine().requests.valueWriteRequest, value);
            return;
        }
        tool.device().sink().requestRefresh(gridOf(what));
    };
    return context;
}

} // namespace korvex::ui
