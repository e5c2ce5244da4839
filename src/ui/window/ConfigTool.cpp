#include "ui/window/ConfigTool.h"

#include "device/engine/CommandEngine.h"
#include "model/PortSettingsMarks.h"
#include "ui/dialogs/DifferencesWindow.h"
#include "ui/dialogs/ProblemsWindow.h"
#include "ui/dialogs/TrafficWindow.h"
#include "ui/models/ProblemsModel.h"
#include "ui/pages/PageFactory.h"
#include "ui/widgets/Indicator.h"
#include "ui/window/DeviceSession.h"
#include "ui/window/FileOpening.h"
#include "ui/window/MapFileAccess.h"
#include "ui/window/MapProblems.h"
#include "ui/window/MapRecovery.h"
#include "ui/window/MapUndo.h"
#include "ui/window/StoredOptions.h"
#include "ui/window/TransferBars.h"
#include "ui/window/UiTexts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>

namespace korvex::ui::window {

using dialogs::EditorRequest;
using pages::createPage;
using pages::Revisit;
using widgets::makeIndicator;
using widgets::showAmberIndicator;
using widgets::showIndicator;

namespace {

// A non-modal window opened again comes up over the main window instead of staying behind it.
void bringToFront(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

constexpr int kWidth = 720;
constexpr int kHeight = 480;

} // namespace

void initResources();

ConfigTool::ConfigTool(ObjectMap& map, Prompter& prompter, SimulatorFactory simulators, bool startDevice,
                       QWidget* parent)
    : QWidget(parent), session_(std::make_unique<MapSession>(map)), prompter_(prompter),
      startDirectory_(QDir::currentPath()), help_(startDirectory_) {
    initResources();
    resetMap();

    resize(kWidth, kHeight);
    centreOnScreen();
    if (const QByteArray geometry = stored::windowGeometry(); !geometry.isEmpty()) restoreGeometry(geometry);
    setAcceptDrops(true);
    titleText_ = QString::fromLatin1(text::kTitle);
    setWindowTitle(titleText_);
    QIcon icon;
    for (int size : {16, 32, 64}) icon.addFile(QStringLiteral(":/korvex/korvex_%1.png").arg(size));
    setWindowIcon(icon);

    device_ = std::make_unique<DeviceSession>(*this, std::move(simulators));
    transferBars_ = new TransferBars(device_->engine(), this);
    buildFrame();
    // A shortcut of the whole window, so it works on every page.
    auto* traffic = new QAction(QStringLiteral("Traffic"), this);
    traffic->setObjectName(QStringLiteral("trafficAction"));
    traffic->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(traffic, &QAction::triggered, this, &ConfigTool::showTrafficWindow);
    addAction(traffic);
    connect(tabs_, &QTabWidget::currentChanged, this, &ConfigTool::onTabChanged);
    connect(session_.get(), &MapSession::changed, this, &ConfigTool::updateInSync);
    connect(session_.get(), &MapSession::syncChanged, this, &ConfigTool::updateInSync);
    problems_ = std::make_unique<MapProblems>(*session_);
    connect(problems_.get(), &MapProblems::checked, this, &ConfigTool::showProblemCount);
    problems_->checkNow();
    undo_ = new MapUndo(*session_, *this, [this] { return device_->engine().busy(); });
    recovery_ = std::make_unique<MapRecovery>(*session_, prompter_, *this);

    // The pages' start-up values (the default location) are part of the map as saved.
    session_->markStartSaved();
    started_ = true;
    if (startDevice) device_->start();
}

ConfigTool::~ConfigTool() {
    stopDevice();
}

void ConfigTool::startRecovery(const QString& folder, int intervalMs) {
    if (!recovery_->claim(folder)) return;
    if (recovery_->offer()) updateTitle();
    recovery_->start(intervalMs);
}

void ConfigTool::resetMap() {
    session_->edit(kWholeMap, [](ObjectMap& map) {
        map.deviceModel = 0;
        clearAll(map);
    });
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
        pages_[i] = createPage(*this, static_cast<Page>(i));
        tabs_->addTab(pages_[i], QString::fromLatin1(text::kTabTexts[i]));
    }
    tabs_->setCurrentIndex(static_cast<int>(Page::Connect));
    layout->addWidget(tabs_, 1);
}

QWidget* ConfigTool::buildStatusStrip() {
    auto* strip = new QWidget;
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    problemCount_ = new QToolButton;
    problemCount_->setObjectName(QStringLiteral("problemCount"));
    problemCount_->setAutoRaise(true);
    problemCount_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    problemCount_->setIconSize(QSize(16, 16));
    problemCount_->setToolTip(QStringLiteral("What the map checker finds in the map; click to list it."));
    connect(problemCount_, &QToolButton::clicked, this, &ConfigTool::showProblemsWindow);
    row->addWidget(problemCount_);
    row->addSpacing(12);
    connectedLed_ = makeIndicator("connectedIndicator");
    inSyncLed_ = makeIndicator("inSyncIndicator");
    row->addWidget(new QLabel(QStringLiteral("Connected:")));
    row->addWidget(connectedLed_);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("In Sync:")));
    row->addWidget(inSyncLed_);
    return strip;
}

QString ConfigTool::deviceModelName() const {
    const char* name = korvex::deviceModelName(deviceModel());
    return QString::fromLatin1(name ? name : "Unrecognized");
}

void ConfigTool::selectPage(Page page) {
    const int index = static_cast<int>(page);
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

bool ConfigTool::confirmOverwrite(const QString& path, QWidget* owner) {
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) return true;
    probe.close();
    return prompter_.message(owner ? owner : this, QString::fromLatin1(text::kOverwrite),
                             MessageButtons::OkCancel, MessageIcon::Warning);
}

dialogs::EditorContext ConfigTool::editorContext() {
    dialogs::EditorContext context(session_->map(), prompter_);
    context.mapMutex = &session_->mutex();
    context.modicon = options_.modicon;
    context.gatewaySlave = options_.gatewaySlave;
    context.commissioned = options_.commissioned;
    context.modiconHint = &dialogs::runModiconHint();
    context.raise = [this](EditorRequest what, int value) { raiseEditorRequest(what, value); };
    return context;
}

// A dialog raises its request after it stored its record, with the map's lock released. A value
// write goes to the status loop, which writes the object's value to the device (or says the port
// is busy) and then has the View Data grid redrawn; the rest is announced on the next turn of the
// event loop, as the device link's requests are.
void ConfigTool::raiseEditorRequest(EditorRequest what, int value) {
    const bool object = ObjectMap::validObject(value);
    if (what == EditorRequest::ValueWriteRequest && object) {
        device::raiseRequest(device_->engine().requests.valueWriteRequest, value);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, what, value, object] { announceEditorRequest(what, object ? value : 0); },
        Qt::QueuedConnection);
}

void ConfigTool::announceEditorRequest(EditorRequest what, int object) {
    MapChange change{MapPart::Objects};
    if (object > 0) change.firstObject = change.lastObject = object;
    switch (what) {
    case EditorRequest::MasterListRefresh:
        break;
    case EditorRequest::RegisterListRefresh:
        change.parts |= MapPart::RegisterList;
        break;
    case EditorRequest::TcpMapChanged:
        session_->edit(MapPart::TcpMap, [](ObjectMap& map) { noteTcpMapEdited(map); });
        session_->portSettingsOutOfDevice();
        update();
        return;
    case EditorRequest::ValueWriteRequest:
        change = MapChange{MapPart::Values};
        break;
    }
    session_->announce(change);
    update();
}

void ConfigTool::onTabChanged(int index) {
    const Page next = static_cast<Page>(index);
    page(current_)->leaving();
    page(next)->revisited(Revisit::TabEntered);
    current_ = next;
    update();
    updateTitle();
}

// The Modbus Port page keeps the title it found; the unsaved mark is kept up to date everywhere.
void ConfigTool::updateTitle() {
    if (current_ != Page::ModbusPort) {
        page(current_)->revisited(Revisit::TitleUpdated);
        titleText_ = QString::fromLatin1(text::kTitle);
        const QString& file = session_->fileName();
        if (current_ == Page::MasterList && !file.isEmpty())
            titleText_ = QStringLiteral("%1 [%2]").arg(titleText_, fileNamePart(file));
    }
    showSavedState();
}

void ConfigTool::showSavedState() {
    const QString title = session_->isSaved() ? titleText_ : titleText_ + u'*';
    if (windowTitle() != title) setWindowTitle(title);
}

void ConfigTool::updateInSync() {
    if (!started_) return;
    const bool on = session_->inSync();
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

void ConfigTool::showProblemCount() {
    const ProblemCount count = problems_->count();
    problemCount_->setText(QString::fromStdString(countText(count)));
    if (count.errors > 0)
        problemCount_->setIcon(models::severityIcon(Severity::Error));
    else if (count.warnings > 0)
        problemCount_->setIcon(models::severityIcon(Severity::Warning));
    else
        problemCount_->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    if (problemsWindow_) problemsWindow_->showProblems(problems_->problems());
}

QString ConfigTool::problemCountShown() const {
    return problemCount_->text();
}

void ConfigTool::showProblemsWindow() {
    if (!problemsWindow_) {
        problemsWindow_ = new dialogs::ProblemsWindow(this);
        connect(problemsWindow_, &dialogs::ProblemsWindow::placeChosen, this, &ConfigTool::goToProblem);
    }
    problems_->checkNow(); // fills the list
    bringToFront(*problemsWindow_);
}

void ConfigTool::showTrafficWindow() {
    if (!trafficWindow_) trafficWindow_ = new dialogs::TrafficWindow(*this);
    bringToFront(*trafficWindow_);
}

// A window left open from an earlier compare is brought up to date even when nothing differs now.
void ConfigTool::showCompareResult(std::vector<MapDifference> differences) {
    page(Page::MasterList)->appendStatus(QString::fromLatin1(differenceSummary(differences.size())) + u'\n');
    if (differences.empty() && !differencesWindow_) return;
    if (!differencesWindow_) differencesWindow_ = new dialogs::DifferencesWindow(*this);
    const bool found = !differences.empty();
    differencesWindow_->showDifferences(std::move(differences));
    if (!found) return;
    bringToFront(*differencesWindow_);
}

void ConfigTool::goToProblem(const Problem& problem) {
    static constexpr Page kPageOfPlace[] = {Page::MasterList, Page::NVList,     Page::RegList,
                                            Page::ModbusPort, Page::ModbusPort, Page::LonWorks};
    const auto place = static_cast<std::size_t>(problem.place);
    if (place >= std::size(kPageOfPlace)) return;
    raise();
    activateWindow();
    selectPage(kPageOfPlace[place]);
    page(kPageOfPlace[place])->showProblem(problem);
}

void ConfigTool::notationChanged() {
    for (ToolPage* p : pages_) p->notationChanged();
}

void ConfigTool::slaveOptionChanged() {
    for (ToolPage* p : pages_) p->slaveOptionChanged();
}

void ConfigTool::stopDevice() {
    stopRequested_ = true;
    if (device_) device_->stop();
}

void ConfigTool::closeEvent(QCloseEvent* event) {
    if (!session_->isSaved() &&
        !showMessage(QString::fromLatin1(text::kDiscardAndClose), MessageButtons::OkCancel)) {
        event->ignore();
        return;
    }
    stored::setWindowGeometry(saveGeometry());
    // The status loop never waits for this thread (its updates are queued), so this ends.
    stopDevice();
    recovery_->discard();
    event->accept();
}

void ConfigTool::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppableFiles(*event->mimeData()).isEmpty()) event->acceptProposedAction();
}

// One file a drop: the first the window takes.
void ConfigTool::dropEvent(QDropEvent* event) {
    const QStringList files = droppableFiles(*event->mimeData());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    const QString path = files.first();
    // The question and the messages are asked once the drag has ended.
    QMetaObject::invokeMethod(
        this, [this, path] { openNamedFile(*this, path); }, Qt::QueuedConnection);
}

void ConfigTool::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        page(current_)->revisited(Revisit::WindowActivated);
}

} // namespace korvex::ui::window
