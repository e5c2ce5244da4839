#include "ui/window/TransferBars.h"

#include "device/engine/CommandEngine.h"
#include "ui/widgets/TransferProgress.h"
#include "ui/window/UiTexts.h"

#include <QTimer>

namespace korvex::ui::window {

using device::Page;
using device::TransferKind;

namespace {

struct KindWords {
    TransferKind kind;
    const char* format; // done, total
    bool nvPages;       // NV List and Master List, as the NV transfers report in both boxes
    Page page;
};

constexpr KindWords kKindWords[] = {
    {TransferKind::GetNetVars, "Reading NVs: %1 of %2", true, Page::NVList},
    {TransferKind::SendNetVars, "Sending NVs: %1 of %2", true, Page::NVList},
    {TransferKind::VerifyNetVars, "Verifying NVs: %1 of %2", true, Page::NVList},
    {TransferKind::GetObjects, "Reading objects: %1 of %2", false, Page::MasterList},
    {TransferKind::SendObjects, "Sending objects: %1 of %2", false, Page::MasterList},
    {TransferKind::VerifyObjects, "Verifying objects: %1 of %2", false, Page::MasterList},
    {TransferKind::Compare, text::kReadProgress, false, Page::MasterList},
    {TransferKind::ReadValues, "Reading values: %1 of %2", false, Page::ViewData},
    {TransferKind::WriteValues, "Writing values: %1 of %2", false, Page::ViewData},
};

const KindWords* wordsOf(TransferKind kind) {
    for (const KindWords& w : kKindWords)
        if (w.kind == kind) return &w;
    return nullptr;
}

} // namespace

QString transferText(const device::TransferProgress& p) {
    const KindWords* words = wordsOf(p.kind);
    if (!words) return {};
    const int done = std::min(p.done, p.total);
    // The compare's words count what is left rather than the total.
    const int second = p.kind == TransferKind::Compare ? p.total - done : p.total;
    return QString::fromLatin1(words->format).arg(done).arg(second);
}

bool pageShows(Page page, TransferKind kind) {
    const KindWords* words = wordsOf(kind);
    if (!words) return false;
    return page == words->page || (words->nvPages && page == Page::MasterList);
}

TransferBars::TransferBars(device::CommandEngine& engine, QObject* parent)
    : QObject(parent), engine_(engine), timer_(new QTimer(this)) {
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, &TransferBars::poll);
}

void TransferBars::add(Page page, widgets::TransferProgress* row) {
    rows_.push_back({page, row});
    connect(row, &widgets::TransferProgress::stopClicked, this, [this] { engine_.requestStop(); });
}

void TransferBars::watch() {
    if (!timer_->isActive()) timer_->start();
    poll();
}

void TransferBars::poll() {
    const device::TransferProgress p = engine_.progress();
    if (!engine_.busy()) {
        timer_->stop();
        for (const Row& row : rows_) row.widget->finish();
        shownKind_ = TransferKind::None;
        return;
    }
    const bool many = p.kind == TransferKind::Compare || p.total > kFewItems;
    const bool newTransfer = p.kind != shownKind_;
    shownKind_ = p.kind;
    for (const Row& row : rows_) {
        if (many && pageShows(row.page, p.kind))
            row.widget->showProgress(p.done, p.total, transferText(p), newTransfer);
        else
            row.widget->finish();
    }
}

} // namespace korvex::ui::window
