#include "ui/MasterListActions.h"

#include "ui/ConfigTool.h"
#include "ui/DeviceSession.h"
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

void MasterListActions::getNetVars() {
    GuiActionHost host(tool_, &page_);
    tool_.device().actions(host).getNetVars();
}
void MasterListActions::sendNetVars() {
    GuiActionHost host(tool_, &page_);
    tool_.device().actions(host).sendNetVars();
}
void MasterListActions::getObjects() {
    GuiActionHost host(tool_, &page_);
    tool_.device().actions(host).getObjects();
}
void MasterListActions::sendObjects() {
    GuiActionHost host(tool_, &page_);
    tool_.device().actions(host).sendObjects();
}
void MasterListActions::eraseDevice() {
    GuiActionHost host(tool_, &page_);
    tool_.device().actions(host).eraseDevice();
}

} // namespace korvex::ui
