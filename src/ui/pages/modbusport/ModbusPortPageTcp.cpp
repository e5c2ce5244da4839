// The Modbus Port page's TCP/IP column (model Korvex-C): the three address boxes, the TCP port
// and the TCP device map grid.
#include "device/actions/DeviceActions.h"
#include "model/PortSettingsMarks.h"
#include "ui/dialogs/EditorContext.h"
#include "ui/dialogs/TcpMap.h"
#include "ui/models/MapTableModel.h"
#include "ui/pages/modbusport/ModbusPortFields.h"
#include "ui/pages/modbusport/ModbusPortPage.h"
#include "ui/window/ConfigTool.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace korvex::ui::pages {

using dialogs::TcpMap;
using models::MapColumn;

namespace {

// Entries not in use show empty cells.
std::vector<MapColumn> tcpMapColumns() {
    const auto cell = [](auto text) {
        return [text](const ObjectMap& map, int row) {
            const TcpDeviceMap& entry = map.tcpMap[static_cast<std::size_t>(row)];
            return entry.inUse() ? text(entry) : QString();
        };
    };
    return {
        {QStringLiteral("First Unit"), 55,
         cell([](const TcpDeviceMap& e) { return QString::number(e.firstUnit); })},
        {QStringLiteral("Last Unit"), 55,
         cell([](const TcpDeviceMap& e) { return QString::number(e.lastUnit); })},
        {QStringLiteral("Map To"), 55, cell([](const TcpDeviceMap& e) { return QString::number(e.mapTo); })},
        {QStringLiteral("IP Address"), 100,
         cell([](const TcpDeviceMap& e) { return addressText(e.ipAddress); })},
        {QStringLiteral("Port"), 50, cell([](const TcpDeviceMap& e) { return QString::number(e.port); })},
    };
}

} // namespace

QWidget* ModbusPortPage::buildTcpColumn() {
    tcpColumn_ = new QWidget;
    ip_ = new QLineEdit;
    subnet_ = new QLineEdit;
    gateway_ = new QLineEdit;
    tcpPort_ = new QLineEdit;
    ip_->setObjectName(QStringLiteral("ipAddress"));
    subnet_->setObjectName(QStringLiteral("subnetMask"));
    gateway_->setObjectName(QStringLiteral("gateway"));
    tcpPort_->setObjectName(QStringLiteral("tcpPort"));
    for (QLineEdit* box : {ip_, subnet_, gateway_, tcpPort_}) {
        box->setFixedWidth(box == tcpPort_ ? 60 : 120);
        connect(box, &QLineEdit::editingFinished, this, [this, box] { tcpBoxLeft(box); });
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("IP Address"), ip_);
    form->addRow(QStringLiteral("Subnet Mask"), subnet_);
    form->addRow(QStringLiteral("Gateway"), gateway_);
    form->addRow(QStringLiteral("TCP Port"), tcpPort_);
    buildTcpGrid();

    auto* column = new QVBoxLayout(tcpColumn_);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(form);
    column->addWidget(tcpGrid_, 1);
    tcpColumn_->setVisible(false);
    return tcpColumn_;
}

void ModbusPortPage::buildTcpGrid() {
    tcpModel_ = new MapTableModel(
        session_.map(), session_.mutex(), [](const ObjectMap&) { return kTcpMapEntries; }, this);
    tcpModel_->setColumns(tcpMapColumns());
    tcpGrid_ = new QTableView;
    tcpGrid_->setObjectName(QStringLiteral("tcpMapGrid"));
    tcpGrid_->setModel(tcpModel_);
    tcpGrid_->setShowGrid(true);
    tcpGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tcpGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
    tcpGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tcpGrid_->verticalHeader()->hide();
    tcpGrid_->verticalHeader()->setDefaultSectionSize(tcpGrid_->fontMetrics().height() + 4);
    tcpGrid_->horizontalHeader()->setHighlightSections(false);
    tcpGrid_->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < tcpModel_->columnCount(); ++c)
        tcpGrid_->setColumnWidth(c, tcpModel_->column(c).width);
    // The last column gives up a few pixels when the page is narrow, rather than make the grid
    // scroll sideways; it takes any width left over.
    tcpGrid_->horizontalHeader()->setMinimumSectionSize(36);
    tcpGrid_->setColumnWidth(tcpModel_->columnCount() - 1, 36);
    connect(tcpGrid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) selectedEntry_ = current.row() + 1;
            });
    connect(tcpGrid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) openTcpEntry(index.row() + 1);
    });
}

void ModbusPortPage::refreshTcpMap() {
    tcpModel_->refresh();
    if (selectedEntry_ >= 1 && selectedEntry_ <= kTcpMapEntries)
        tcpGrid_->selectionModel()->setCurrentIndex(tcpModel_->index(selectedEntry_ - 1, 0),
                                                    QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
}

void ModbusPortPage::openTcpEntry(int entry) {
    if (entry < 1 || entry > kTcpMapEntries) return;
    selectedEntry_ = entry;
    // Apply or Delete stores the entry and raises tcpMapChanged, which redraws the grid.
    TcpMap(tool_.editorContext(), entry, &tool_).exec();
}

void ModbusPortPage::showProblem(const Problem& problem) {
    if (problem.place == PlaceKind::Tcp) {
        selectedEntry_ = problem.row;
        refreshTcpMap();
        return openTcpEntry(problem.row);
    }
    if (problem.place != PlaceKind::Port) return;
    QWidget* field = problem.rule == Rule::PortBaud           ? static_cast<QWidget*>(baud_)
                     : problem.rule == Rule::PortSlaveAddress ? slaveAddress_
                     : problem.rule == Rule::PortTimeoutZero  ? timeout_
                                                              : ip_;
    field->setFocus();
}

void ModbusPortPage::loadTcpBoxes() {
    TcpSettings tcp;
    {
        std::lock_guard lock(session_.mutex());
        tcp = session_.map().tcp;
    }
    ip_->setText(addressText(tcp.ipaddr));
    subnet_->setText(addressText(tcp.subnet));
    gateway_->setText(addressText(tcp.gateway));
    tcpPort_->setText(QString::number(tcp.port));
    for (QLineEdit* box : {ip_, subnet_, gateway_, tcpPort_}) box->setModified(false);
}

// Only a box that was typed into is checked: passing through a box says nothing.
void ModbusPortPage::tcpBoxLeft(QLineEdit* box) {
    if (!box->isModified()) return;
    box->setModified(false);
    if (takeTcpBox(box)) {
        {
            std::lock_guard lock(session_.mutex());
            noteTcpSettingsTyped(session_.map());
        }
        session_.announceShown(MapPart::PortSettings);
    }
    loadTcpBoxes();
    updateIndicator();
}

// Checks the box's text and stores it when it passes and differs (true then); a failed check
// says why and stores nothing.
bool ModbusPortPage::takeTcpBox(QLineEdit* box) {
    TcpSettings tcp;
    {
        std::lock_guard lock(session_.mutex());
        tcp = session_.map().tcp;
    }
    TcpSettings next = tcp;
    if (const char* message = checkTcpText(box, box->text(), tcp, next)) {
        tool_.showMessage(QString::fromLatin1(message), MessageButtons::Ok, MessageIcon::Error);
        return false;
    }
    if (next == tcp) return false;
    std::lock_guard lock(session_.mutex());
    session_.map().tcp = next;
    return true;
}

// The rule of the box: next takes the value the text stands for; the message of a failed check,
// nullptr when it passes.
const char* ModbusPortPage::checkTcpText(const QLineEdit* box, const QString& text, const TcpSettings& tcp,
                                         TcpSettings& next) const {
    if (box == tcpPort_) return parseTcpPort(text, next.port) ? nullptr : kInvalidTcpPort;
    AddressRule rule;
    IpAddress* target = &next.ipaddr;
    if (box == ip_) {
        if (tcp.gateway[0] != 0) rule = {false, &tcp.gateway, &tcp.subnet};
    } else if (box == subnet_) {
        rule.zeroBytesAllowed = true;
        target = &next.subnet;
    } else {
        rule = {true, &tcp.ipaddr, &tcp.subnet};
        target = &next.gateway;
    }
    const AddressCheck result = checkAddress(text, rule, *target);
    return result == AddressCheck::Ok ? nullptr : addressMessage(result);
}

// Values from a file or the device were never typed into a box: before they are sent each is
// checked as if it had been, and the first that fails says why. Missing values are left to the
// action's own "Invalid TCP/IP settings.".
bool ModbusPortPage::storedTcpValid() {
    TcpSettings tcp;
    {
        std::lock_guard lock(session_.mutex());
        tcp = session_.map().tcp;
    }
    if (device::tcpSettingsMissing(tcp)) return true;
    const std::pair<const QLineEdit*, QString> boxes[] = {{ip_, addressText(tcp.ipaddr)},
                                                          {subnet_, addressText(tcp.subnet)},
                                                          {gateway_, addressText(tcp.gateway)},
                                                          {tcpPort_, QString::number(tcp.port)}};
    for (const auto& [box, text] : boxes) {
        TcpSettings next = tcp;
        if (const char* message = checkTcpText(box, text, tcp, next)) {
            tool_.showMessage(QString::fromLatin1(message), MessageButtons::Ok, MessageIcon::Error);
            return false;
        }
    }
    return true;
}

} // namespace korvex::ui::pages
