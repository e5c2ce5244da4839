#pragma once
// "Execute" on the Master List page: each entry of the action list runs one device action. The
// actions ask their questions through GuiActionHost and report in the page's status box.
namespace korvex::ui {

class ConfigTool;
class MasterListPage;

class MasterListActions {
public:
    MasterListActions(ConfigTool& tool, MasterListPage& page) : tool_(tool), page_(page) {}
    void run(int action);

private:
    void getNetVars();
    void sendNetVars();
    void getObjects();
    void sendObjects();
    void eraseDevice();

    ConfigTool& tool_;
    MasterListPage& page_;
};

} // namespace korvex::ui
