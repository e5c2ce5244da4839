#include "ui/dialogs/DataValue.h"

#include "model/ObjectMap.h"
#include "vocab/ObjectValue.h"

#include <QLineEdit>
#include <QPushButton>

namespace korvex::ui::dialogs {

DataValue::DataValue(const EditorContext& context, int n, uint32_t& cachedValue, QWidget* parent)
    : EditorDialog(context, parent), n_(n), valid_(ObjectMap::validObject(n)), cached_(cachedValue) {
    {
        const auto lock = lockMap();
        value_ = cached_;
        if (valid_) datatype_ = context_.map.object(n)->datatype;
    }
    setWindowTitle(QStringLiteral("Object %1 Data Update").arg(n));
    box_ = textBox("value",
                   [this](const QString& t) { value_ = object_value_from_text(latinOf(t), datatype_); });
    QPushButton* apply = button("Apply", "apply");
    apply->setEnabled(valid_);
    connect(apply, &QPushButton::clicked, this, &DataValue::apply);

    layOutOneBox("Set New Value:", box_, apply);
    redraw();
}

void DataValue::apply() {
    if (!valid_) return reject();
    takeTypedBoxes();
    {
        const auto lock = lockMap();
        cached_ = value_;
    }
    context_.request(EditorRequest::ValueWriteRequest, n_);
    accept();
}

void DataValue::redraw() {
    box_->setText(QString::fromStdString(object_value_to_text(value_, datatype_)));
}

} // namespace korvex::ui::dialogs
