// The one place that knows which class builds which tab; a new page replaces its placeholder here.
#include "ui/ConnectPage.h"
#include "ui/LonWorksPage.h"
#include "ui/MasterListPage.h"
#include "ui/ModbusPortPage.h"
#include "ui/NVImportPage.h"
#include "ui/NVListPage.h"
#include "ui/RegImportPage.h"
#include "ui/RegListPage.h"
#include "ui/ToolPage.h"
#include "ui/ViewDataPage.h"

namespace korvex::ui {

ToolPage* createPage(ConfigTool& tool, int index) {
    switch (index) {
    case kConnectPage:
        return new ConnectPage(tool);
    case kRegImportPage:
        return new RegImportPage(tool);
    case kRegListPage:
        return new RegListPage(tool);
    case kNVImportPage:
        return new NVImportPage(tool);
    case kNVListPage:
        return new NVListPage(tool);
    case kMasterListPage:
        return new MasterListPage(tool);
    case kViewDataPage:
        return new ViewDataPage(tool);
    case kModbusPortPage:
        return new ModbusPortPage(tool);
    case kLonWorksPage:
        return new LonWorksPage(tool);
    default:
        return new PlaceholderPage(tool, index);
    }
}

} // namespace korvex::ui
