#include "ui/ConfigTool.h"

#include "model/lists/ListEditing.h"

#include "ui/DeviceSession.h"
#include "ui/MapFileAccess.h"
#include "ui/UiTexts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace korvex::ui {

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 480;

} // namespace

void initResources();

ConfigTool::ConfigTool(ObjectMap& map, Prompter& prompter, bool startDevice, QWidget* parent)
    : QWidget(parent), map_(map), prompter_(prompter), startDirectory_(QDir::currentPath()),
      help_(startDirectory_) {
    initResources();
    map_.deviceModel = 0;
    clearAll(map_);
    fileName_.clear();

    resize(kWidth, kHeight);
    centreOnScreen();
    titleText_ = QString::fromLatin1(text::kTitle);
    setWindowTitle(titleText_);
    QIcon icon;
    for (int size : {16, 32, 64}) icon.addFile(QStringLiteral(":/korvex/korvex_%1.png").arg(size));
    setWindowIcon(icon);

    device_ = std::make_unique<DeviceSession>(*this);
    buildFrame();
    connect(tabs_, &QTabWidget::currentChanged, this, &ConfigTool::onTabChanged);

    map_.saveIndicators = SaveIndicators{};
    noteMapSaved();
    started_ = true;
    if (startDevice) device_->start();
}

ConfigTool::~ConfigTool() {
    stopDevice();
}

void ConfigTool::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const int x = area.x() + (area.width() - kWidth) / 2;
    const int y = area.y() + (area.height() - kHeight) / 2;
    move(x < area.x() ? area.x() + 10 : x, y < area.y() ? area.y() + 10 : y);
}

void ConfigTool::buildFrame() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 4, 5, 5);
    layout->setSpacing(4);
    layout->addWidget(buildStatusStrip());

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabs"));
    // Nine tabs share the 720-pixel window: narrow padding keeps them all in view.
    tabs_->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 4px 1px; margin-right: 1px; border: 1px solid #a8a8a8; border-bottom: none;"
        " border-top-left-radius: 3px; border-top-right-radius: 3px; background: #e2e2e2; }"
        "QTabBar::tab:selected { background: #fafafa; margin-bottom: -1px; }"));
    tabs_->tabBar()->setElideMode(Qt::ElideNone);
    for (int i = 0; i < kPageCount; ++i) {
        pages_[i] = createPage(*this, i);
        tabs_->addTab(pages_[i], QString::fromLatin1(text::kTabTexts[i]));
    }
    tabs_->setCurrentIndex(kConnectPage);
    layout->addWidget(tabs_, 1);
}

QWidget* ConfigTool::buildStatusStrip() {
    auto* strip = new QWidget;
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    connectedLed_ = makeIndicator("connectedIndicator");
    inSyncLed_ = makeIndicator("inSyncIndicator");
    row->addWidget(new QLabel(QStringLiteral("Connected:")));
    row->addWidget(connectedLed_);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("In Sync:")));
    row->addWidget(inSyncLed_);
    return strip;
}

void ConfigTool::setDeviceModel(int index) {
    map_.deviceModel = index;
}

QString ConfigTool::deviceModelName() const {
    const char* name = korvex::deviceModelName(map_.deviceModel);
    return QString::fromLatin1(name ? name : "Unrecognized");
}

void ConfigTool::selectPage(int index) {
    if (index >= 0 && index < kPageCount) tabs_->setCurrentIndex(index);
}

bool ConfigTool::showMessage(const QString& text, MessageButtons buttons, MessageIcon icon) {
    return prompter_.message(this, text, buttons, icon);
}

bool ConfigTool::showRefusal(ModelOp op, int code) {
    if (code == kOk) return false;
    if (const char* text = modelMessage(op, code)) showMessage(QString::fromLatin1(text));
    return true;
}

bool ConfigTool::confirmOverwrite(const QString& path) {
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) return true;
    probe.close();
    return showMessage(QString::fromLatin1(text::kOverwrite), MessageButtons::OkCancel, MessageIcon::Warning);
}

void ConfigTool::onTabChanged(int n) {
    const int previous = current_;
    if (previous >= 0 && previous < kPageCount) pages_[previous]->leaving();
    if (n == kRegListPage || n == kNVListPage) {
        // The page is shown whatever the test says; the message only advises.
        const ModelOp check = n == kRegListPage ? ModelOp::CheckRegisterList : ModelOp::CheckNVList;
        int code = kOk;
        {
            std::lock_guard lock(mapMutex_);
            code = n == kRegListPage ? checkRegisterList(map_) : checkNVList(map_);
        }
        showRefusal(check, code);
    }
    if (n == kMasterListPage || n == kViewDataPage) pages_[n]->refresh();
    current_ = n;
    update();
    updateTitle();
}

// The Modbus Port page keeps the title it found; the unsaved mark is kept up to date everywhere.
void ConfigTool::updateTitle() {
    if (current_ != kModbusPortPage) {
        if (current_ == kNVListPage) pages_[kNVListPage]->refresh();
        titleText_ = QString::fromLatin1(text::kTitle);
        if (current_ == kMasterListPage && !fileName_.isEmpty())
            titleText_ = QStringLiteral("%1 [%2]").arg(titleText_, fileNamePart(fileName_));
    }
    showSavedState();
}

void ConfigTool::showSavedState() {
    const QString title = mapSaved() ? titleText_ : titleText_ + u'*';
    if (windowTitle() != title) setWindowTitle(title);
}

void ConfigTool::noteMapSaved() {
    std::lock_guard lock(mapMutex_);
    savedMap_.take(map_);
}

bool ConfigTool::mapSaved() {
    std::lock_guard lock(mapMutex_);
    recomputeSaveIndicators(map_);
    return map_.saveIndicators.all() && savedMap_.matches(map_);
}

void ConfigTool::updateInSync() {
    if (!started_) return;
    bool objectsInSync = false;
    bool nvsInSync = false;
    {
        std::lock_guard lock(mapMutex_);
        objectsInSync = allObjectsInDevice(map_);
        nvsInSync = !anyHeaderNVNotInDevice(map_);
    }
    const bool on = objectsInSync && nvsInSync && portInSync_ && nodeInSync_;
    if (on != inSyncOn_ || inSyncLed_->pixmap().isNull()) showIndicator(*inSyncLed_, on);
    inSyncOn_ = on;
    showSavedState();
}

void ConfigTool::showLink(LinkLight light) {
    link_ = light;
    if (light == LinkLight::NoAnswer)
        showAmberIndicator(*connectedLed_);
    else
        showIndicator(*connectedLed_, light == LinkLight::On);
}

void ConfigTool::notationChanged() {
    for (ToolPage* page : pages_) page->notationChanged();
}

void ConfigTool::stopDevice() {
    stopRequested_ = true;
    if (device_) device_->stop();
}

void ConfigTool::closeEvent(QCloseEvent* event) {
    if (!mapSaved() && !showMessage(QString::fromLatin1(text::kDiscardAndClose), MessageButtons::OkCancel)) {
        event->ignore();
        return;
    }
    // The status loop never waits for this thread (its updates are queued), so this ends.
    stopDevice();
    event->accept();
}

void ConfigTool::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
    if (current_ == kNVListPage || current_ == kRegImportPage || current_ == kRegListPage)
        pages_[current_]->refresh();
}

} // namespace korvex::ui
