#include "ui/dialogs/TcpMap.h"

#include "ui/dialogs/rules/TcpMapFields.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvex::ui::dialogs {

TcpMap::TcpMap(const EditorContext& context, int n, QWidget* parent)
    : EditorDialog(context, parent), n_(n), valid_(n >= 1 && n <= kTcpMapEntries) {
    {
        const auto lock = lockMap();
        if (valid_) copy_ = context_.map.tcpMap[n - 1];
        gateway_ = context_.map.tcp;
    }
    setWindowTitle(QStringLiteral("Modbus TCP Device Editor"));

    firstUnit_ = textBox("firstUnit", [this](const QString& t) { copy_.firstUnit = unitFrom(t); });
    lastUnit_ = textBox("lastUnit", [this](const QString& t) { copy_.lastUnit = unitFrom(t); });
    mapTo_ = textBox("mapTo", [this](const QString& t) { copy_.mapTo = unitFrom(t); });
    address_ = textBox("ipAddress", [this](const QString& t) { takeAddress(t); });
    port_ = textBox("port", [this](const QString& t) { copy_.port = tcpPortFrom(t); });

    auto* heading = new QLabel(QStringLiteral("Modbus TCP Device Map Number %1").arg(n));
    heading->setObjectName(QStringLiteral("heading"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("First Unit"), firstUnit_);
    form->addRow(QStringLiteral("Last Unit"), lastUnit_);
    form->addRow(QStringLiteral("Map To"), mapTo_);
    form->addRow(QStringLiteral("IP Address"), address_);
    form->addRow(QStringLiteral("Port"), port_);

    QPushButton* apply = button("Apply", "apply");
    QPushButton* remove = button("Delete", "delete");
    apply->setEnabled(valid_);
    remove->setEnabled(valid_);
    connect(apply, &QPushButton::clicked, this, [this] { finish(false); });
    connect(remove, &QPushButton::clicked, this, [this] { finish(true); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addLayout(applyRow(apply, {remove}));
    redraw();
}

void TcpMap::takeAddress(const QString& text) {
    const std::optional<IpAddress> address = parseIpAddress(latinOf(text));
    if (!address) return tell(kTcpDeviceInvalidAddress);
    copy_.ipAddress = *address;
    if (unreachableWithoutGateway(gateway_, *address)) tell(kTcpDeviceOtherDomain);
}

void TcpMap::finish(bool remove) {
    if (!valid_) return reject();
    // Delete empties the entry whatever its boxes hold.
    if (!remove && !takeTypedBoxes()) return;
    {
        const auto lock = lockMap();
        if (remove)
            deleteTcpEntry(context_.map, n_);
        else
            storeTcpEntry(context_.map, n_, copy_);
    }
    context_.request(EditorRequest::TcpMapChanged, n_);
    accept();
}

void TcpMap::redraw() {
    firstUnit_->setText(QString::number(copy_.firstUnit));
    lastUnit_->setText(QString::number(copy_.lastUnit));
    mapTo_->setText(QString::number(copy_.mapTo));
    address_->setText(ipAddressText(copy_.ipAddress));
    port_->setText(QString::number(copy_.port));
}

} // namespace korvex::ui::dialogs
