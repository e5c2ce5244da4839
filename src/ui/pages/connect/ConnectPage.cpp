#include "ui/pages/connect/ConnectPage.h"

#include "device/link/LinkMessages.h"
#include "ui/widgets/PortComboBox.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"
#include "ui/window/StoredOptions.h"
#include "ui/window/UiTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace korvex::ui::pages {

namespace stored = window::stored;
namespace text = window::text;
using window::DeviceSession;
using window::WorkingOptions;

namespace {

constexpr int kLineCheckStepMs = 50;

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

ConnectPage::ConnectPage(ConfigTool& tool, QWidget* parent)
    : ToolPage(tool, Page::Connect, parent), models_(new QComboBox), ports_(new PortComboBox),
      newNode_(new QCheckBox(QStringLiteral("I am creating/updating a new node."))),
      commissioned_(new QCheckBox(QStringLiteral("I am updating a node already commissioned."))),
      modicon_(new QCheckBox(QStringLiteral("Use Modicon notation for Modbus registers."))),
      slave_(new QCheckBox(QStringLiteral("Configure gateway as Modbus slave."))),
      silence_(new QCheckBox(QString::fromLatin1(text::kWaitForSilence))),
      verify_(new QCheckBox(QString::fromLatin1(text::kVerifyAfterSending))),
      connect_(new QPushButton(QStringLiteral("Connect"))),
      traffic_(new QPushButton(QStringLiteral("Traffic…"))), command_(new QPlainTextEdit),
      send_(new QPushButton(QStringLiteral("Send"))), response_(makeStatusBox(6)),
      history_(stored::consoleHistory(), stored::kConsoleHistoryLength), lineCheck_(new QTimer(this)) {
    makeToolbar();
    models_->setObjectName(QStringLiteral("modelList"));
    for (int i = 0; i < kDeviceModelCount; ++i)
        models_->addItem(QString::fromLatin1(korvex::deviceModelName(i)));
    // The choices of the last run; the model is part of the map as it starts.
    const int model = stored::deviceModel();
    models_->setCurrentIndex(model >= 0 && model < kDeviceModelCount ? model : 0);
    tool_.setDeviceModel(models_->currentIndex());
    connect(models_, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        tool_.setDeviceModel(index);
        stored::setDeviceModel(index);
    });
    // Actions before the next Connect go to the port shown, the one of the last run (the link
    // would otherwise start on COM1 while the list shows another port).
    if (const QString port = stored::port(); !port.isEmpty()) {
        ports_->showChoice(port);
        tool_.device().usePort(ports_->choice());
    }
    chosenPort_ = ports_->currentText();
    connect(ports_, &PortComboBox::choiceMade, this, &ConnectPage::portChoiceMade);
    connect(connect_, &QPushButton::clicked, this, &ConnectPage::connectPort);
    traffic_->setObjectName(QStringLiteral("trafficButton"));
    traffic_->setToolTip(QStringLiteral("See every line sent to the gateway and received from it (Ctrl+T)"));
    connect(traffic_, &QPushButton::clicked, &tool_, &ConfigTool::showTrafficWindow);
    lineCheck_->setInterval(kLineCheckStepMs);
    connect(lineCheck_, &QTimer::timeout, this, &ConnectPage::lineCheckStep);

    command_->setObjectName(QStringLiteral("commandBox"));
    command_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    command_->setFixedHeight(command_->fontMetrics().lineSpacing() * 2 + 2 * command_->frameWidth() + 8);
    command_->installEventFilter(this);
    connect(send_, &QPushButton::clicked, this, &ConnectPage::sendCommand);
    response_->setObjectName(QStringLiteral("responseBox"));
    response_->setMinimumHeight(0);
    response_->setMaximumHeight(QWIDGETSIZE_MAX);
    setStatusBox(response_, BoxKind::Terminal);

    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("Device Model"), models_);
    left->addRow(QStringLiteral("COM port"), ports_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(connect_);
    buttons->addWidget(traffic_);
    left->addRow(QString(), buttons);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addSpacing(16);
    top->addLayout(buildOptions(), 1);

    auto* terminal = new QHBoxLayout;
    terminal->addWidget(command_, 1);
    terminal->addWidget(send_, 0, Qt::AlignTop);

    layOut({top, terminal}, response_);
}

QLayout* ConnectPage::buildOptions() {
    newNode_->setObjectName(QStringLiteral("newNode"));
    commissioned_->setObjectName(QStringLiteral("commissioned"));
    modicon_->setObjectName(QStringLiteral("modicon"));
    slave_->setObjectName(QStringLiteral("gatewaySlave"));
    silence_->setObjectName(QStringLiteral("waitForSilence"));
    // The options of the last run are set before the boxes are wired: the other pages do not
    // exist yet, and they read the options when they are built.
    const stored::ConnectOptions remembered = stored::connectOptions();
    tool_.options().modicon = remembered.modicon;
    tool_.options().gatewaySlave = remembered.gatewaySlave;
    modicon_->setChecked(remembered.modicon);
    slave_->setChecked(remembered.gatewaySlave);
    setNodeChoice(remembered.commissioned);
    silence_->setChecked(stored::waitForSilence());
    tool_.device().link().setSilenceOnly(silence_->isChecked());
    connect(silence_, &QCheckBox::toggled, this, &ConnectPage::setWaitForSilence);
    verify_->setObjectName(QStringLiteral("verifyAfterSending"));
    verify_->setChecked(stored::verifyAfterSend());
    tool_.device().engine().verifyAfterSend.store(verify_->isChecked());
    connect(verify_, &QCheckBox::toggled, this, &ConnectPage::setVerifyAfterSend);
    // The two node boxes are one choice: the box clicked takes the state clicked, the other the
    // opposite.
    connect(newNode_, &QCheckBox::clicked, this, [this](bool checked) { setNodeChoice(!checked); });
    connect(commissioned_, &QCheckBox::clicked, this, [this](bool checked) { setNodeChoice(checked); });
    connect(modicon_, &QCheckBox::toggled, this, [this](bool on) {
        tool_.options().modicon = on;
        storeOptions();
        tool_.notationChanged();
    });
    connect(slave_, &QCheckBox::toggled, this, [this](bool on) {
        tool_.options().gatewaySlave = on;
        storeOptions();
        tool_.slaveOptionChanged();
    });
    auto* column = new QVBoxLayout;
    for (QCheckBox* box : {newNode_, commissioned_, modicon_, slave_, silence_, verify_})
        column->addWidget(box);
    column->addStretch(1);
    return column;
}

void ConnectPage::setNodeChoice(bool commissioned) {
    newNode_->setChecked(!commissioned);
    commissioned_->setChecked(commissioned);
    tool_.options().commissioned = commissioned;
    storeOptions();
}

void ConnectPage::storeOptions() {
    const WorkingOptions& options = tool_.options();
    stored::setConnectOptions({options.commissioned, options.modicon, options.gatewaySlave});
}

// Remembered for the next run; with a port open the box says how replies end from now on.
void ConnectPage::setWaitForSilence(bool on) {
    stored::setWaitForSilence(on);
    DeviceSession& device = tool_.device();
    device.link().setSilenceOnly(on);
    if (device.portOpen()) appendStatus(u'\n' + replyEndLine());
}

// How the link ends replies on the open port: it paces them by the prompt only after the gateway
// has ended a reply with it.
QString ConnectPage::replyEndLine() const {
    const device::SerialLink& link = tool_.device().link();
    if (link.replyEnd() == device::ReplyEnd::Prompt) return QString::fromLatin1(text::kRepliesEndAtPrompt);
    return QString::fromLatin1(link.silenceOnly() ? text::kRepliesEndBySilenceChosen
                                                  : text::kRepliesEndBySilence);
}

// Remembered for the next run; a send that is running keeps the choice it started with.
void ConnectPage::setVerifyAfterSend(bool on) {
    stored::setVerifyAfterSend(on);
    tool_.device().engine().verifyAfterSend.store(on);
}

void ConnectPage::portChoiceMade() {
    const QString now = ports_->currentText();
    if (now == chosenPort_) return;
    chosenPort_ = now;
    stored::setPort(ports_->rememberedName());
    DeviceSession& device = tool_.device();
    endLineCheck();
    if (!device.portOpen()) return;
    device.closePort();
    setStatus(fromView(device::kMsgPortClosed));
    tool_.setConnected(false);
}

void ConnectPage::connectPort() {
    DeviceSession& device = tool_.device();
    endLineCheck();
    if (device.portOpen()) {
        device.closePort();
        QThread::msleep(10);
    }
    chosenPort_ = ports_->currentText();
    stored::setPort(ports_->rememberedName());
    const bool used = device.usePort(ports_->choice());
    const bool opened = used && device.openPort();
    const device::OpenError why = used ? device.link().openError() : device::OpenError::Other;
    setStatus(opened ? fromView(device::kMsgPortOpened)
                     : QString::fromStdString(device::openFailedText(device::kMsgOpenFailedConnect, why)));
    followMovedPort();
    if (opened)
        checkLine();
    else
        tool_.setConnected(false);
}

// An open port says nothing about what is behind it: "usage" tells whether a gateway answers.
// The light is amber until one does; the window goes on meanwhile, and Connect never fails for
// want of an answer.
void ConnectPage::checkLine() {
    tool_.showLink(ConfigTool::LinkLight::NoAnswer);
    usageSent_ = false;
    lineCheckClock_.start();
    lineCheck_->start();
    lineCheckStep();
}

void ConnectPage::endLineCheck() {
    lineCheck_->stop();
}

// The query waits for a command still running (it ends within its own budget); its answer is
// told only while the port it was asked on is still open.
void ConnectPage::lineCheckStep() {
    DeviceSession& device = tool_.device();
    device::CommandEngine& engine = device.engine();
    const bool late = lineCheckClock_.elapsed() > device::DeviceActions::kUsageWaitMs;
    if (!device.portOpen()) {
        endLineCheck();
        return;
    }
    if (!usageSent_) {
        usageSent_ = engine.startUsage();
        if (usageSent_ || !late) return;
        endLineCheck(); // the link stayed busy: nothing was asked, the light goes as for any open
        tool_.setConnected(true);
        return;
    }
    const bool done = engine.usageDone.load(std::memory_order_acquire);
    if (!done && !late) return;
    endLineCheck();
    const bool answered = done && engine.usageResult == device::DeviceResult::Ok;
    const QString line = answered ? QString::fromLatin1(text::kGatewayAnswered)
                                        .arg(engine.deviceLastObject)
                                        .arg(engine.deviceInputCount)
                                        .arg(engine.deviceOutputCount)
                                        .arg(engine.deviceTcpMapCount)
                                  : QString::fromLatin1(text::kNoGatewayAnswered);
    appendStatus(u'\n' + line + u'\n' + replyEndLine());
    tool_.showLink(answered ? ConfigTool::LinkLight::On : ConfigTool::LinkLight::NoAnswer);
}

void ConnectPage::sendCommand() {
    QString line = command_->toPlainText();
    while (line.endsWith(u'\n') || line.endsWith(u'\r')) line.chop(1);
    if (line.isEmpty()) return;
    history_.add(line);
    // Written once the line is on its way: the settings file is not touched between a send and
    // the next.
    QTimer::singleShot(0, this, [this] { stored::setConsoleHistory(history_.lines()); });
    DeviceSession& device = tool_.device();
    // Nothing is queued: while another command runs the line is refused before the port is touched.
    if (device.engine().busy()) {
        setStatus(fromView(device::kMsgBusy));
        return;
    }
    clearStatus();
    // A typed command opens the chosen port as every device action does.
    const bool opened = device.openPortFor(Page::Connect);
    followMovedPort();
    if (!opened) return;
    if (!device.startConsole(line.toLatin1().toStdString())) setStatus(fromView(device::kMsgBusy));
}

// An action found the port under another name (a USB adapter plugged into another socket): the
// list shows that name and the next run starts with it.
void ConnectPage::followMovedPort() {
    DeviceSession& device = tool_.device();
    if (device.link().takePortMoved() == 0) return;
    ports_->rebuild();
    ports_->showChoice(device.portName());
    chosenPort_ = ports_->currentText();
    stored::setPort(ports_->rememberedName());
}

void ConnectPage::showEvent(QShowEvent* event) {
    followMovedPort();
    ToolPage::showEvent(event);
}

ConnectPage::~ConnectPage() {
    stored::setConsoleHistory(history_.lines());
}

bool ConnectPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == command_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (terminalKey(key->key(), key->modifiers())) return true;
    }
    return ToolPage::eventFilter(watched, event);
}

// Up and Down move the cursor inside a line of several; they walk the history from the first or
// the last line.
bool ConnectPage::terminalKey(int key, Qt::KeyboardModifiers modifiers) {
    const QTextCursor cursor = command_->textCursor();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers & Qt::ShiftModifier)
            command_->insertPlainText(QStringLiteral("\n"));
        else
            sendCommand();
        return true;
    case Qt::Key_Up:
        if (cursor.blockNumber() != 0) return false;
        if (const auto line = history_.older(command_->toPlainText())) showTyped(*line);
        return true;
    case Qt::Key_Down:
        if (cursor.blockNumber() != command_->document()->blockCount() - 1) return false;
        if (const auto line = history_.newer()) showTyped(*line);
        return true;
    default:
        return false;
    }
}

void ConnectPage::showTyped(const QString& line) {
    command_->setPlainText(line);
    command_->moveCursor(QTextCursor::End);
}

} // namespace korvex::ui::pages
