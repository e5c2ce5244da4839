#pragma once
// Where the status loop thread's reports reach the window. Every call may come from any thread:
// it copies its text and posts the change to the window thread (queued, never waiting), so the
// status loop can never block on the window and closing the window can never deadlock. Refresh
// requests of one kind that are still waiting are merged into one.
#include "device/reporting/StatusSink.h"

#include <QObject>

#include <array>
#include <atomic>
#include <functional>
#include <string_view>

namespace korvex::ui {

class ConfigTool;

// TcpMap is the TCP device map dialog's change (it also takes the port settings out of sync);
// TcpMapGrid and PortPage only redraw.
enum class GridRefresh : int {
    MasterList,
    NVList,
    RegisterList,
    Values,
    TcpMap,
    NodePage,
    PortPage,
    TcpMapGrid,
    Count
};

class GuiStatusSink : public QObject, public device::StatusSink {
    Q_OBJECT
public:
    explicit GuiStatusSink(ConfigTool& tool);

    // The page's status box (the Connect page's is its response box).
    void appendText(int page, std::string_view text);
    void setText(int page, std::string_view text);
    void requestRefresh(GridRefresh what);
    void setConnected(bool on) override;
    // Erasing the device: the Modbus port and LonWorks settings no longer count as in sync.
    void clearSettingsSync();

    // The device link's reports.
    void appendText(device::Page page, std::string_view text) override;
    void setText(device::Page page, std::string_view text) override;
    void refresh(device::Refresh what) override;
    void setPortSettingsInSync(bool on) override;
    void setNodeSettingsInSync(bool on) override;

private:
    void post(std::function<void()> change);
    void carryOut(GridRefresh what);
    void showPortInSync(bool on);
    void showNodeInSync(bool on);

    ConfigTool& tool_;
    std::array<std::atomic<bool>, static_cast<int>(GridRefresh::Count)> pending_{};
};

} // namespace korvex::ui
