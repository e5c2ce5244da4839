#include "ui/widgets/PortComboBox.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace korvex::ui::widgets {

PortComboBox::PortComboBox(QWidget* parent) : QComboBox(parent), source_(systemSerialPorts) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setObjectName(QStringLiteral("portList"));
    rebuild();
    setCurrentIndex(0);
    connect(this, qOverload<int>(&QComboBox::activated), this, &PortComboBox::choiceMade);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &PortComboBox::choiceMade);
}

void PortComboBox::rebuild() {
    const QString current = currentText();
    const QSignalBlocker blocker(this);
    choices_ = portChoices(source_ ? source_() : std::vector<std::pair<QString, QString>>{});
    clear();
    for (const PortChoice& c : choices_) addItem(c.text);
    showChoice(current);
}

void PortComboBox::showChoice(const QString& text) {
    const int index = findText(text);
    if (index >= 0)
        setCurrentIndex(index);
    else
        setEditText(text);
}

void PortComboBox::showPopup() {
    rebuild();
    QComboBox::showPopup();
}

PortChoice PortComboBox::choice() const {
    const QString text = currentText().trimmed();
    for (const PortChoice& c : choices_)
        if (c.text == text) return c;
    return {text, text, false};
}

} // namespace korvex::ui::widgets
