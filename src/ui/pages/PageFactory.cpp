#include "ui/pages/PageFactory.h"

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

ToolPage* createPage(ConfigTool& tool, Page page) {
    switch (page) {
    case Page::Connect:
        return new ConnectPage(tool);
    case Page::RegImport:
        return new RegImportPage(tool);
    case Page::RegList:
        return new RegListPage(tool);
    case Page::NVImport:
        return new NVImportPage(tool);
    case Page::NVList:
        return new NVListPage(tool);
    case Page::MasterList:
        return new MasterListPage(tool);
    case Page::ViewData:
        return new ViewDataPage(tool);
    case Page::ModbusPort:
        return new ModbusPortPage(tool);
    case Page::LonWorks:
        return new LonWorksPage(tool);
    }
    return nullptr;
}

} // namespace korvex::ui::pages
