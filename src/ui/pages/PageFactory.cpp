// The one place that knows which class builds which tab; a new page replaces its placeholder here.
#include "ui/pages/ToolPage.h"
#include "ui/pages/connect/ConnectPage.h"
#include "ui/pages/lonworks/LonWorksPage.h"
#include "ui/pages/masterlist/MasterListPage.h"
#include "ui/pages/modbusport/ModbusPortPage.h"
#include "ui/pages/nvimport/NVImportPage.h"
#include "ui/pages/nvlist/NVListPage.h"
#include "ui/pages/regimport/RegImportPage.h"
#include "ui/pages/reglist/RegListPage.h"
#include "ui/pages/viewdata/ViewDataPage.h"

namespace korvex::ui::pages {

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

} // namespace korvex::ui::pages
