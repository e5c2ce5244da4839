#include "ui/MasterListActions.h"

#include "ui/ConfigTool.h"
#include "ui/GuiActionHost.h"
#include "ui/MasterListPage.h"

namespace korvex::ui {

void MasterListActions::run(int action) {
    switch (action) {
    case kGetNVs:
        getNetVars();
        break;
    case kSendNVs:
        sendNetVars();
        break;
    case kGetObjects:
        getObjects();
        break;
    case kSendObjects:
        sendObjects();
        break;
    case kEraseDevice:
        eraseDevice();
        break;
    default:
        break;
    }
}

// TODO(transfers): each action below calls its device flow with a GuiActionHost once the
// transfer flows land; until then it only says so and touches neither the map nor the device.
void MasterListActions::getNetVars() {
    notAvailable();
}
void MasterListActions::sendNetVars() {
    notAvailable();
}
void MasterListActions::getObjects() {
    notAvailable();
}
void MasterListActions::sendObjects() {
    notAvailable();
}
void MasterListActions::eraseDevice() {
    notAvailable();
}

void MasterListActions::notAvailable() {
    page_.setStatus(QStringLiteral("This action is not available in this build.\n"));
}

} // namespace korvex::ui
