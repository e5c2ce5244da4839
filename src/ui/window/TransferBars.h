#pragma once
// TransferBars: the progress rows of the pages whose transfers run long (NV List, Master List,
// View Data). One 100 ms timer on the window thread polls the engine's progress while a device
// action runs, shows the row of each page whose box the running transfer reports to (once it
// has more than a few items; a compare from its start, as its count comes only from the
// gateway), and hides them all once the engine is idle. Stop asks the engine to stop after the
// command in flight. Nothing crosses threads but the engine's atomics. Window thread only.
#include "device/engine/AreaFields.h"
#include "device/reporting/StatusSink.h"

#include <QObject>

#include <vector>

class QTimer;

namespace korvex::device {
class CommandEngine;
}

namespace korvex::ui::widgets {
class TransferProgress;
}

namespace korvex::ui::window {

class TransferBars : public QObject {
    Q_OBJECT
public:
    TransferBars(device::CommandEngine& engine, QObject* parent);

    // The page's row; its Stop asks the engine to stop.
    void add(device::Page page, widgets::TransferProgress* row);
    // A device action has run: polls until the engine is idle again.
    void watch();
    // One look at the engine (the timer's).
    void poll();

    // Transfers of this many items or fewer end too soon for a bar.
    static constexpr int kFewItems = 5;
    static constexpr int kPollMs = 100;

private:
    struct Row {
        device::Page page;
        widgets::TransferProgress* widget;
    };

    device::CommandEngine& engine_;
    QTimer* timer_ = nullptr;
    std::vector<Row> rows_;
    device::TransferKind shownKind_ = device::TransferKind::None;
};

// The bar's words for the transfer: "Sending objects: 12 of 400" and the like; the compare's
// "Reading the gateway: N done, M left".
QString transferText(const device::TransferProgress& progress);
// Whether the page's row shows the transfer: the pages whose box it reports to.
bool pageShows(device::Page page, device::TransferKind kind);

} // namespace korvex::ui::window
