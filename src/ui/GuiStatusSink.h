#pragma once
// Where the status loop thread's reports reach the window. Every call may come from any thread:
// it copies its text and posts the change to the window thread (queued, never waiting), so the
// status loop can never block on the window and closing the window can never deadlock. Refresh
// requests of one kind that are still waiting are merged into one.
#include <QObject>

#include <array>
#include <atomic>
#include <functional>
#include <string_view>

namespace korvex::ui {

class ConfigTool;

enum class GridRefresh : int { MasterList, NVList, RegisterList, Values, TcpMap, NodePage, Count };

class GuiStatusSink : public QObject {
    Q_OBJECT
public:
    explicit GuiStatusSink(ConfigTool& tool);

    // The page's status box (the Connect page's is its response box).
    void appendText(int page, std::string_view text);
    void setText(int page, std::string_view text);
    void requestRefresh(GridRefresh what);
    void setConnected(bool on);
    // Erasing the device: the Modbus port and LonWorks settings no longer count as in sync.
    void clearSettingsSync();

private:
    void post(std::function<void()> change);
    void carryOut(GridRefresh what);

    ConfigTool& tool_;
    std::array<std::atomic<bool>, static_cast<int>(GridRefresh::Count)> pending_{};
};

} // namespace korvex::ui
