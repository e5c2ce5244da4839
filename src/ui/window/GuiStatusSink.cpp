#include "ui/window/GuiStatusSink.h"

#include "model/PortSettingsMarks.h"

#include "ui/pages/lonworks/LonWorksPage.h"
#include "ui/pages/modbusport/ModbusPortPage.h"
#include "ui/window/ConfigTool.h"

#include <QMetaObject>

namespace korvex::ui::window {

using pages::kLonWorksPage;
using pages::kMasterListPage;
using pages::kModbusPortPage;
using pages::kNVListPage;
using pages::kRegListPage;
using pages::kViewDataPage;
using pages::LonWorksPage;
using pages::ModbusPortPage;

namespace {

QString copyOf(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

int pageOf(GridRefresh what) {
    switch (what) {
    case GridRefresh::MasterList:
        return kMasterListPage;
    case GridRefresh::NVList:
        return kNVListPage;
    case GridRefresh::RegisterList:
        return kRegListPage;
    case GridRefresh::Values:
        return kViewDataPage;
    case GridRefresh::TcpMap:
    case GridRefresh::TcpMapGrid:
    case GridRefresh::PortPage:
        return kModbusPortPage;
    case GridRefresh::NodePage:
        return kLonWorksPage;
    case GridRefresh::Count:
        break;
    }
    return kMasterListPage;
}

} // namespace

GuiStatusSink::GuiStatusSink(ConfigTool& tool) : tool_(tool) {}

void GuiStatusSink::post(std::function<void()> change) {
    // Posted to this object, which lives on the window thread; changes still waiting when it is
    // destroyed are dropped with it.
    QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

void GuiStatusSink::appendText(int page, std::string_view text) {
    if (page < 0 || page >= kPageCount) return;
    post([this, page, copy = copyOf(text)] { tool_.page(page)->appendStatus(copy); });
}

void GuiStatusSink::setText(int page, std::string_view text) {
    if (page < 0 || page >= kPageCount) return;
    post([this, page, copy = copyOf(text)] { tool_.page(page)->setStatus(copy); });
}

void GuiStatusSink::requestRefresh(GridRefresh what) {
    const int i = static_cast<int>(what);
    if (i < 0 || i >= static_cast<int>(GridRefresh::Count)) return;
    if (pending_[i].exchange(true, std::memory_order_acq_rel)) return;
    post([this, what, i] {
        pending_[i].store(false, std::memory_order_release);
        carryOut(what);
    });
}

void GuiStatusSink::carryOut(GridRefresh what) {
    auto* portPage = qobject_cast<ModbusPortPage*>(tool_.page(kModbusPortPage));
    if (what == GridRefresh::TcpMap) {
        {
            std::lock_guard lock(tool_.mapMutex());
            noteTcpMapEdited(tool_.map());
        }
        showPortInSync(false);
    }
    if ((what == GridRefresh::TcpMap || what == GridRefresh::TcpMapGrid) && portPage)
        portPage->refreshTcpMap();
    else
        tool_.page(pageOf(what))->refresh();
    if (what == GridRefresh::NVList || what == GridRefresh::RegisterList) tool_.updateTitle();
    tool_.update();
}

// The pages keep their indicators and the window's flags together.
void GuiStatusSink::showPortInSync(bool on) {
    if (auto* page = qobject_cast<ModbusPortPage*>(tool_.page(kModbusPortPage))) {
        page->showDeviceSync(on);
        return;
    }
    tool_.setPortSettingsInSync(on);
    tool_.updateInSync();
}

void GuiStatusSink::showNodeInSync(bool on) {
    if (auto* page = qobject_cast<LonWorksPage*>(tool_.page(kLonWorksPage))) {
        page->showInSync(on);
        return;
    }
    tool_.setNodeSettingsInSync(on);
    tool_.updateInSync();
}

void GuiStatusSink::setConnected(bool on) {
    post([this, on] { tool_.setConnected(on); });
}

void GuiStatusSink::clearSettingsSync() {
    post([this] {
        showPortInSync(false);
        showNodeInSync(false);
    });
}

void GuiStatusSink::appendText(device::Page page, std::string_view text) {
    appendText(static_cast<int>(page), text);
}

void GuiStatusSink::setText(device::Page page, std::string_view text) {
    setText(static_cast<int>(page), text);
}

void GuiStatusSink::refresh(device::Refresh what) {
    switch (what) {
    case device::Refresh::MasterList:
        requestRefresh(GridRefresh::MasterList);
        break;
    case device::Refresh::NVList:
        requestRefresh(GridRefresh::NVList);
        break;
    case device::Refresh::RegisterList:
        requestRefresh(GridRefresh::RegisterList);
        break;
    case device::Refresh::Values:
        requestRefresh(GridRefresh::Values);
        break;
    case device::Refresh::TcpMap:
        requestRefresh(GridRefresh::TcpMapGrid);
        break;
    case device::Refresh::PortPage:
        requestRefresh(GridRefresh::PortPage);
        break;
    case device::Refresh::NodePage:
        requestRefresh(GridRefresh::NodePage);
        break;
    }
}

void GuiStatusSink::setPortSettingsInSync(bool on) {
    post([this, on] { showPortInSync(on); });
}

void GuiStatusSink::setNodeSettingsInSync(bool on) {
    post([this, on] { showNodeInSync(on); });
}

} // namespace korvex::ui::window
