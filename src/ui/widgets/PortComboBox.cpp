#include "ui/widgets/PortComboBox.h"

#include "device/qt/QtPortList.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalBlocker>

namespace korvex::ui::widgets {

namespace {

constexpr int kShownCharacters = 28;

} // namespace

PortComboBox::PortComboBox(Source source, QWidget* parent)
    : QComboBox(parent), source_(source ? std::move(source) : device::systemPortLister()) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setObjectName(QStringLiteral("portList"));
    // A by-id name is long: the box keeps a usual width and the open list shows names in full.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(kShownCharacters);
    lineEdit()->setPlaceholderText(QStringLiteral("No serial port found"));
    rebuild();
    if (choices_.front().simulated)
        setEditText(QString());
    else
        setCurrentIndex(0);
    showToolTip();
    connect(this, &QComboBox::currentTextChanged, this, &PortComboBox::showToolTip);
    connect(this, qOverload<int>(&QComboBox::activated), this, &PortComboBox::choiceMade);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &PortComboBox::choiceMade);
}

// Kept by its port name, so an entry whose description changed meanwhile is still the choice.
void PortComboBox::rebuild() {
    const QString current = rememberedName();
    const QSignalBlocker blocker(this);
    choices_ = portChoices(source_ ? source_() : std::vector<device::PortRecord>{});
    clear();
    for (const PortChoice& c : choices_) {
        addItem(c.text);
        if (!c.toolTip.isEmpty()) setItemData(count() - 1, c.toolTip, Qt::ToolTipRole);
    }
    showChoice(current);
    showToolTip();
}

const PortChoice* PortComboBox::listedChoice(const QString& text) const {
    for (const PortChoice& c : choices_)
        if (c.text == text) return &c;
    for (const PortChoice& c : choices_)
        if (!c.simulated && c.portName == text) return &c;
    return nullptr;
}

void PortComboBox::showChoice(const QString& text) {
    const PortChoice* listed = listedChoice(text.trimmed());
    const int index = listed ? findText(listed->text) : -1;
    if (index >= 0)
        setCurrentIndex(index);
    else
        setEditText(text);
}

void PortComboBox::showPopup() {
    rebuild();
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 2 * view()->frameWidth());
    QComboBox::showPopup();
}

PortChoice PortComboBox::choice() const {
    const QString text = currentText().trimmed();
    if (const PortChoice* listed = listedChoice(text)) return *listed;
    return {text, text, false, {}};
}

QString PortComboBox::rememberedName() const {
    const PortChoice chosen = choice();
    return chosen.simulated ? chosen.text : chosen.portName;
}

void PortComboBox::showToolTip() {
    setToolTip(choice().toolTip);
}

} // namespace korvex::ui::widgets
