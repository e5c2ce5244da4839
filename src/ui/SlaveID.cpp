#include "ui/SlaveID.h"

#include "ui/ModRegEditFields.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvex::ui {

uint8_t slaveIdFrom(const QString& text) {
    return slaveFrom(text);
}

void setImportSlaves(RegisterImportList& list, uint8_t slave) {
    for (int i = 0; i < list.count && i < kListCapacity; ++i) list.entries[i].slave = slave;
}

SlaveID::SlaveID(const EditorContext& context, RegisterImportList& list, QWidget* parent)
    : EditorDialog(context, parent), list_(list) {
    setWindowTitle(QStringLiteral("Slave ID Change"));
    box_ = textBox("slave", [this](const QString& t) { slave_ = slaveIdFrom(t); });
    QPushButton* apply = button("Apply", "apply");
    connect(apply, &QPushButton::clicked, this, [this] {
        takeTypedBoxes();
        setImportSlaves(list_, slave_);
        accept();
    });
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Set Slave Address:")));
    row->addWidget(box_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(cancelButton());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    redraw();
}

void SlaveID::redraw() {
    box_->setText(QString::number(slave_));
}

} // namespace korvex::ui
