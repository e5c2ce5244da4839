#pragma once
// Where the status loop thread's reports reach the window. Every call may come from any thread:
// it copies its text and posts the change to the window thread (queued, never waiting), so the
// status loop can never block on the window and closing the window can never deadlock. A refresh
// request becomes the map session's announcement of that part of the map; requests of one kind
// that are still waiting are merged into one.
#include "device/reporting/StatusSink.h"

#include <QObject>

#include <array>
#include <atomic>
#include <functional>
#include <string_view>

namespace korvex::ui::window {

class ConfigTool;

class GuiStatusSink : public QObject, public device::StatusSink {
    Q_OBJECT
public:
    explicit GuiStatusSink(ConfigTool& tool);

    // The page's status box (the Connect page's is its response box).
    void appendText(device::Page page, std::string_view text) override;
    void setText(device::Page page, std::string_view text) override;
    void refresh(device::Refresh what) override;
    void setConnected(bool on) override;
    void setPortSettingsInSync(bool on) override;
    void setNodeSettingsInSync(bool on) override;
    // A compare's differences go to the differences window, its count to the Master List box.
    void showCompareResult(const std::vector<MapDifference>& differences) override;
    // Erasing the device: the Modbus port and LonWorks settings no longer count as in sync.
    void clearSettingsSync();

private:
    void post(std::function<void()> change);
    void announce(device::Refresh what);
    void showPortInSync(bool on);

    ConfigTool& tool_;
    std::array<std::atomic<bool>, device::kRefreshCount> pending_{};
};

} // namespace korvex::ui::window
