#include "ui/GuiStatusSink.h"

#include "ui/ConfigTool.h"

#include <QMetaObject>

namespace korvex::ui {

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
    if (what == GridRefresh::TcpMap) {
        tool_.setPortSettingsInSync(false);
        std::lock_guard lock(tool_.mapMutex());
        tool_.map().saveIndicators.portSettings = false;
    }
    if (what == GridRefresh::TcpMap) tool_.updateInSync();
    tool_.page(pageOf(what))->refresh();
    if (what == GridRefresh::NVList || what == GridRefresh::RegisterList) tool_.updateTitle();
    tool_.update();
}

void GuiStatusSink::setConnected(bool on) {
    post([this, on] { tool_.setConnected(on); });
}

void GuiStatusSink::clearSettingsSync() {
    post([this] {
        tool_.setPortSettingsInSync(false);
        tool_.setNodeSettingsInSync(false);
        tool_.updateInSync();
    });
}

} // namespace korvex::ui
