#include "ui/dialogs/SlaveID.h"

#include "ui/dialogs/rules/ModRegEditFields.h"

#include <QLineEdit>
#include <QPushButton>

namespace korvex::ui::dialogs {

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
    layOutOneBox("Set Slave Address:", box_, apply);
    redraw();
}

void SlaveID::redraw() {
    box_->setText(QString::number(slave_));
}

} // namespace korvex::ui::dialogs
