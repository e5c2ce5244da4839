#include "ui/pages/modbusport/ModbusPortPage.h"

#include "model/PortSettingsMarks.h"

#include "ui/models/MapTableModel.h"
#include "ui/pages/modbusport/ModbusPortFields.h"
#include "ui/widgets/Indicator.h"
#include "ui/widgets/NumberText.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/DeviceSession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace korvex::ui::pages {

using widgets::makeIndicator;
using widgets::showIndicator;

using widgets::scanDecimal;
namespace {

constexpr int kUnitMin = 0;
constexpr int kUnitMax = 255;

QLineEdit* namedBox(const char* name, int width) {
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedWidth(width);
    return box;
}

} // namespace

ModbusPortPage::ModbusPortPage(ConfigTool& tool, QWidget* parent) : ToolPage(tool, Page::ModbusPort, parent) {
    QPlainTextEdit* status = makeStatusBox(3);
    setStatusBox(status);

    auto* body = new QHBoxLayout;
    body->addLayout(buildPortColumn());
    body->addSpacing(10);
    body->addWidget(buildTcpColumn(), 1);
    body->addStretch(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(buildTopRow());
    layout->addLayout(body, 1);
    layout->addLayout(buildBottomRow());
    layout->addWidget(status);
    connect(&session_, &MapSession::portSettingsChanged, this, &ModbusPortPage::refresh);
    connect(&session_, &MapSession::replaced, this, &ModbusPortPage::refresh);
    connect(&session_, &MapSession::tcpMapChanged, this, &ModbusPortPage::refreshTcpMap);
    connect(&session_, &MapSession::syncChanged, this, &ModbusPortPage::showSessionSync);
    refresh();
}

QWidget* ModbusPortPage::buildTopRow() {
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(makeToolbar());
    line->addSpacing(12);
    slave_ = new QCheckBox(QStringLiteral("Slave"));
    master_ = new QCheckBox(QStringLiteral("Master"));
    slave_->setObjectName(QStringLiteral("slave"));
    master_->setObjectName(QStringLiteral("master"));
    // One choice: the box clicked takes the state clicked, the other the opposite.
    connect(slave_, &QCheckBox::clicked, this, [this](bool checked) { setSlaveChoice(checked); });
    connect(master_, &QCheckBox::clicked, this, [this](bool checked) { setSlaveChoice(!checked); });
    read_ = makeButton("Read Device", "readDevice", [this] { readDevice(); });
    write_ = makeButton("Write Device", "writeDevice", [this] { writeDevice(); });
    line->addWidget(new QLabel(QStringLiteral("This device is Modbus")));
    line->addWidget(slave_);
    line->addWidget(master_);
    line->addSpacing(16);
    line->addWidget(read_);
    line->addWidget(write_);
    line->addStretch(1);
    indicator_ = makeIndicator("portInSyncIndicator");
    line->addWidget(indicator_);
    return row;
}

QLayout* ModbusPortPage::buildPortColumn() {
    baud_ = new QComboBox;
    baud_->setObjectName(QStringLiteral("baudList"));
    for (int rate : kBaudRates) baud_->addItem(QString::number(rate));
    format_ = new QComboBox;
    format_->setObjectName(QStringLiteral("formatList"));
    for (const char* text : kCharacterFormats) format_->addItem(QString::fromLatin1(text));
    timeout_ = namedBox("timeout", 70);
    slaveAddress_ = namedBox("slaveAddress", 70);
    predelay_ = namedBox("predelay", 70);
    // The lists keep to their text so that the TCP column beside them has room.
    for (QComboBox* list : {baud_, format_}) list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    highRegFirst_ = new QCheckBox(QStringLiteral("Slave has high reg first"));
    highRegFirst_->setObjectName(QStringLiteral("highRegFirst"));

    // Lists and the check box take effect at once, text boxes when they are left.
    connect(baud_, &QComboBox::activated, this, &ModbusPortPage::fieldChanged);
    connect(format_, &QComboBox::activated, this, &ModbusPortPage::fieldChanged);
    connect(highRegFirst_, &QCheckBox::clicked, this, &ModbusPortPage::fieldChanged);
    for (QLineEdit* box : {timeout_, slaveAddress_, predelay_})
        connect(box, &QLineEdit::editingFinished, this, &ModbusPortPage::fieldChanged);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(QStringLiteral("Modbus Port Baud Rate"), baud_);
    form->addRow(QStringLiteral("Modbus Character Format"), format_);
    form->addRow(QStringLiteral("Timeout when Master (S)"), timeout_);
    form->addRow(QStringLiteral("Address when Slave"), slaveAddress_);
    form->addRow(QStringLiteral("Pre-Delay (mS)"), predelay_);
    form->addRow(QString(), highRegFirst_);
    return form;
}

QLayout* ModbusPortPage::buildBottomRow() {
    unit_ = namedBox("unitAddress", 50);
    unit_->setText(QStringLiteral("1"));
    unitUp_ = new QToolButton;
    unitDown_ = new QToolButton;
    unitUp_->setArrowType(Qt::UpArrow);
    unitDown_->setArrowType(Qt::DownArrow);
    for (QToolButton* arrow : {unitUp_, unitDown_}) {
        arrow->setFixedSize(16, 11);
        arrow->setAutoRepeat(true);
    }
    connect(unitUp_, &QToolButton::clicked, this, [this] { stepUnit(1); });
    connect(unitDown_, &QToolButton::clicked, this, [this] { stepUnit(-1); });
    connect(unit_, &QLineEdit::textEdited, this, &ModbusPortPage::unitTyped);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(unitUp_);
    arrows->addWidget(unitDown_);

    errorInfo_ = makeButton("Get Error Info", "getErrorInfo", [this] { getErrorInfo(); });

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Unit/Slave Address")));
    row->addWidget(unit_);
    row->addLayout(arrows);
    row->addSpacing(12);
    row->addWidget(errorInfo_);
    row->addStretch(1);
    return row;
}

void ModbusPortPage::setSlaveChoice(bool slave) {
    slave_->setChecked(slave);
    master_->setChecked(!slave);
    fieldChanged();
}

PortFields ModbusPortPage::shownFields() const {
    PortFields fields;
    fields.baudEntry = baud_->currentIndex();
    fields.formatEntry = format_->currentIndex();
    fields.slave = slave_->isChecked();
    fields.timeout = timeout_->text();
    fields.slaveAddress = slaveAddress_->text();
    fields.predelay = predelay_->text();
    fields.highRegFirst = highRegFirst_->isChecked();
    return fields;
}

void ModbusPortPage::showFields(const PortFields& fields) {
    baud_->setCurrentIndex(fields.baudEntry);
    format_->setCurrentIndex(fields.formatEntry);
    slave_->setChecked(fields.slave);
    master_->setChecked(!fields.slave);
    timeout_->setText(fields.timeout);
    slaveAddress_->setText(fields.slaveAddress);
    predelay_->setText(fields.predelay);
    highRegFirst_->setChecked(fields.highRegFirst);
}

void ModbusPortPage::refresh() {
    PortFields fields;
    {
        std::lock_guard lock(session_.mutex());
        ObjectMap& map = session_.map();
        map.pageSnapshot = map.modbus;
        fields = portFields(map.modbus);
    }
    showFields(fields);
    loadTcpBoxes();
    refreshTcpMap();
    updateIndicator();
}

void ModbusPortPage::leaving() {
    fieldChanged();
}

void ModbusPortPage::fieldChanged() {
    const PortFields fields = shownFields();
    bool unconfirmed = false;
    {
        std::lock_guard lock(session_.mutex());
        ObjectMap& map = session_.map();
        unconfirmed = takePortSettingsFromPage(map, settingsFromFields(fields, map.modbus));
    }
    session_.announceShown(MapPart::PortSettings);
    if (unconfirmed) showInSync(false);
    tool_.showSavedState();
}

void ModbusPortPage::updateIndicator() {
    bool on = false;
    {
        std::lock_guard lock(session_.mutex());
        on = portSettingsConfirmed(session_.map());
    }
    showInSync(on);
}

// The session's flag drives the indicator (and the window's "In Sync:").
void ModbusPortPage::showInSync(bool on) {
    session_.setPortInSync(on);
}

void ModbusPortPage::showSessionSync() {
    indicatorOn_ = session_.portInSync();
    showIndicator(*indicator_, indicatorOn_);
}

void ModbusPortPage::showDeviceSync(bool on) {
    if (on)
        showInSync(true);
    else
        session_.portSettingsOutOfDevice();
}

// The device model may have changed meanwhile: the controls and the indicator follow it.
void ModbusPortPage::showEvent(QShowEvent* event) {
    ToolPage::showEvent(event);
    applyDeviceModel();
    updateIndicator();
}

void ModbusPortPage::applyDeviceModel() {
    const bool tcp = tool_.deviceModel() == kTcpDeviceModel;
    baud_->setEnabled(!tcp);
    predelay_->setEnabled(!tcp);
    tcpColumn_->setVisible(tcp);
}

void ModbusPortPage::readDevice() {
    clearStatus();
    runDeviceAction(&device::DeviceActions::readPortSettings);
}

void ModbusPortPage::writeDevice() {
    clearStatus();
    fieldChanged();
    if (tool_.deviceModel() == kTcpDeviceModel && !storedTcpValid()) return;
    runDeviceAction(&device::DeviceActions::writePortSettings);
}

void ModbusPortPage::getErrorInfo() {
    clearStatus();
    const std::string unit = unit_->text().toLatin1().toStdString();
    runDeviceAction([&unit](device::DeviceActions& actions) { actions.getErrorInfo(unit); });
}

// The box and the spinner follow each other; the guard keeps either from starting the other
// again.
void ModbusPortPage::unitTyped() {
    if (unitGuard_) return;
    unitGuard_ = true;
    unitPosition_ = std::clamp(scanDecimal(unit_->text()), kUnitMin, kUnitMax);
    unitGuard_ = false;
}

void ModbusPortPage::stepUnit(int delta) {
    setUnitPosition(unitPosition_ + delta);
}

void ModbusPortPage::setUnitPosition(int position) {
    if (unitGuard_) return;
    unitGuard_ = true;
    unitPosition_ = std::clamp(position, kUnitMin, kUnitMax);
    unit_->setText(QString::number(unitPosition_));
    unitGuard_ = false;
}

} // namespace korvex::ui::pages
