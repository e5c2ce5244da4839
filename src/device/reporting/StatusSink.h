#pragma once
// Where the device link's reports go: the status box of each page, the requests to redraw a
// grid or a page, and the window's indicators. The GUI shows them in its widgets (posting to its
// window thread), the command line prints them, tests record them. Calls come from the status
// loop thread and from the thread that runs a device action; none of them may block for long.
#include "model/MapCompare.h"

#include <string_view>
#include <vector>

namespace korvex::device {

// The pages, in tab order (their indices are the window's page indices).
enum class Page : int {
    Connect = 0,
    RegImport = 1,
    RegList = 2,
    NVImport = 3,
    NVList = 4,
    MasterList = 5,
    ViewData = 6,
    ModbusPort = 7,
    LonWorks = 8,
};
inline constexpr int kPageCount = 9;

// What a refresh request redraws.
enum class Refresh : int {
    MasterList,   // master list grid, window repaint
    NVList,       // NV list grid, repaint, window title
    RegisterList, // register grid, repaint, window title
    Values,       // View Data grid
    TcpMap,       // TCP device map grid
    PortPage,     // Modbus Port page fields, TCP/IP fields and its in-sync indicator
    NodePage,     // LonWorks page: domain entries, program ID, Neuron ID, location
};
inline constexpr int kRefreshCount = 7;

class StatusSink {
public:
    virtual ~StatusSink() = default;

    // Adds text at the end of the page's status box (the Connect page's is its response box).
    virtual void appendText(Page page, std::string_view text) = 0;
    // Replaces the whole text of the box; an empty text empties it.
    virtual void setText(Page page, std::string_view text) = 0;
    virtual void refresh(Refresh what) = 0;

    // The "Connected:" indicator.
    virtual void setConnected(bool on) = 0;
    // The window's in-sync flags for the Modbus port settings and the LonWorks node settings,
    // behind the "In Sync:" indicator.
    virtual void setPortSettingsInSync(bool on) = 0;
    virtual void setNodeSettingsInSync(bool on) = 0;

    // What a compare (or a verify that failed) found: the differences in order, none when the
    // gateway matches. By default each is appended to the page's box as its text line, then the
    // count ("Gateway matches the map.", "1 difference.", "N differences."); the window shows
    // them in a table instead.
    virtual void showDifferences(Page page, const std::vector<MapDifference>& differences);
    // What a compare of the map with the gateway found (a verify's findings go to
    // showDifferences). By default shown as showDifferences shows them in the Master List box.
    virtual void showCompareResult(const std::vector<MapDifference>& differences) {
        showDifferences(Page::MasterList, differences);
    }
};

} // namespace korvex::device
