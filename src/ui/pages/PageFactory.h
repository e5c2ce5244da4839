#pragma once
// Builds the page of a tab; the one place that knows which class makes which tab.
#include "ui/pages/ToolPage.h"

namespace korvex::ui::pages {

ToolPage* createPage(ConfigTool& tool, Page page);

} // namespace korvex::ui::pages
