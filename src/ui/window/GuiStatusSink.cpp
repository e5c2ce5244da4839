#include "ui/window/GuiStatusSink.h"

#include "ui/pages/ToolPage.h"
#include "ui/window/ConfigTool.h"

#include <QMetaObject>

namespace korvex::ui::window {

namespace {

QString copyOf(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool validPage(device::Page page) {
    const int i = static_cast<int>(page);
    return i >= 0 && i < kPageCount;
}

MapPart partOf(device::Refresh what) {
    switch (what) {
    case device::Refresh::MasterList:
        return MapPart::Objects;
    case device::Refresh::NVList:
        return MapPart::NVList;
    case device::Refresh::RegisterList:
        return MapPart::RegisterList;
    case device::Refresh::Values:
        return MapPart::Values;
    case device::Refresh::TcpMap:
        return MapPart::TcpMap;
    case device::Refresh::PortPage:
        return MapPart::PortSettings;
    case device::Refresh::NodePage:
        break;
    }
    return MapPart::Node;
}

} // namespace

GuiStatusSink::GuiStatusSink(ConfigTool& tool) : tool_(tool) {}

void GuiStatusSink::post(std::function<void()> change) {
    // Posted to this object, which lives on the window thread; changes still waiting when it is
    // destroyed are dropped with it.
    QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

void GuiStatusSink::appendText(device::Page page, std::string_view text) {
    if (!validPage(page)) return;
    post([this, page, copy = copyOf(text)] { tool_.page(page)->appendStatus(copy); });
}

void GuiStatusSink::setText(device::Page page, std::string_view text) {
    if (!validPage(page)) return;
    post([this, page, copy = copyOf(text)] { tool_.page(page)->setStatus(copy); });
}

void GuiStatusSink::refresh(device::Refresh what) {
    const int i = static_cast<int>(what);
    if (i < 0 || i >= device::kRefreshCount) return;
    if (pending_[i].exchange(true, std::memory_order_acq_rel)) return;
    post([this, what, i] {
        pending_[i].store(false, std::memory_order_release);
        announce(what);
    });
}

void GuiStatusSink::announce(device::Refresh what) {
    tool_.session().announceWhole(partOf(what));
    if (what == device::Refresh::NVList || what == device::Refresh::RegisterList) tool_.updateTitle();
    tool_.update();
}

// Settings the device does not have lose their confirmed marks too.
void GuiStatusSink::showPortInSync(bool on) {
    if (on)
        tool_.session().setPortInSync(true);
    else
        tool_.session().portSettingsOutOfDevice();
}

void GuiStatusSink::setConnected(bool on) {
    post([this, on] { tool_.setConnected(on); });
}

void GuiStatusSink::setPortSettingsInSync(bool on) {
    post([this, on] { showPortInSync(on); });
}

void GuiStatusSink::setNodeSettingsInSync(bool on) {
    post([this, on] { tool_.session().setNodeInSync(on); });
}

void GuiStatusSink::showCompareResult(const std::vector<MapDifference>& differences) {
    post([this, copy = differences]() mutable { tool_.showCompareResult(std::move(copy)); });
}

void GuiStatusSink::clearSettingsSync() {
    post([this] {
        showPortInSync(false);
        tool_.session().setNodeInSync(false);
    });
}

} // namespace korvex::ui::window
