#pragma once
// The status loop's reporting pass: after each tick of the engine it turns every result field,
// mark and completion flag into the texts of the pages' status boxes, clears each right after
// reporting it, and carries out the refresh requests, in a fixed order within the pass. Each
// area's ending is shown through the one table of ReportTexts.cpp. Runs on
// the status loop thread (StatusLoop's Pass); the command line runs it on its only thread.
#include "device/engine/CommandEngine.h"
#include "device/reporting/StatusSink.h"

#include <atomic>
#include <string>

namespace korvex::device {

class StatusReporter {
public:
    StatusReporter(CommandEngine& engine, StatusSink& sink) : engine_(engine), sink_(sink) {}

    // One pass; true when it showed console text (the loop then goes on without pausing).
    bool pass();
    // Failures reported so far: results other than 0 in any area, and a single value write
    // that could not start.
    int failuresReported() const { return failures_.load(std::memory_order_acquire); }
    // True while a request or a result waits for a pass. On the thread that runs the passes
    // only: it looks at the marks the handlers leave there.
    bool pending() const;

private:
    void listRefreshes();
    void values();
    void valueRequests();
    void eraseAndObjects();
    bool console();
    void netVars();
    void tcpMapChanged();
    void portSettings();
    void errorInfo();
    void nodeRefresh();
    void domains();
    void nodeIds();
    void nodeInfo();
    void readBack();

    void transferMarks(Area area);
    bool reportEnding(Area area);
    void show(Area area, std::string_view text);
    void failed() { failures_.fetch_add(1, std::memory_order_acq_rel); }
    void markPortSettings(bool portConfirmed, bool tcpConfirmed);

    CommandEngine& engine_;
    StatusSink& sink_;
    std::atomic<int> failures_{0};
};

// The port-open step of every device action: opens the port chosen on the Connect page (an
// open port is reused) and sets the "Connected:" indicator; on failure the page's status box
// gets "Error opening COM port".
[[nodiscard]] bool openPortFor(SerialLink& link, StatusSink& sink, Page page);

} // namespace korvex::device
