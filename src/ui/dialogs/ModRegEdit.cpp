#include "ui/dialogs/ModRegEdit.h"

#include "vocab/NumberDisplay.h"
#include "vocab/RegisterNames.h"
#include "ui/widgets/NumberText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace korvex::ui::dialogs {

using widgets::numberOrEmpty;
using widgets::scanHex;
namespace {

QLabel* label(const char* text) {
    return new QLabel(QString::fromLatin1(text));
}

QLineEdit* readOnlyBox(const char* objectName) {
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(objectName));
    box->setReadOnly(true);
    return box;
}

QCheckBox* checkBox(const char* text, const char* objectName) {
    auto* box = new QCheckBox(QString::fromLatin1(text));
    box->setObjectName(QString::fromLatin1(objectName));
    return box;
}

} // namespace

ModRegEdit::ModRegEdit(const EditorContext& context, int row, RegEditMode mode, QWidget* parent)
    : EditorDialog(context, parent), row_(row), mode_(mode), modicon_(context.modicon) {
    {
        const auto lock = lockMap();
        const ObjectMap& map = context_.map;
        valid_ = row >= 0 && row < map.registerCount;
        if (valid_) {
            copy_ = map.registers[row];
            if (const NetVar* nv = context_.map.nvAtLink(copy_.nvRow)) linkedInput_ = nv->isInput != 0;
        }
    }
    setWindowTitle(QStringLiteral("Modbus Register Editor"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildAccess());
    layout->addLayout(buildFields());
    layout->addLayout(buildButtons());
    redraw();
}

QLayout* ModRegEdit::buildAccess() {
    read_ = new QRadioButton(QStringLiteral("Read Periodic"));
    write_ = new QRadioButton(QStringLiteral("Write Periodic"));
    writeOnUpdate_ = new QRadioButton(QStringLiteral("Write On Update"));
    read_->setObjectName(QStringLiteral("readPeriodic"));
    write_->setObjectName(QStringLiteral("writePeriodic"));
    writeOnUpdate_->setObjectName(QStringLiteral("writeOnUpdate"));
    access_ = new QButtonGroup(this);
    auto* row = new QHBoxLayout;
    const std::pair<QRadioButton*, Access> boxes[] = {
        {read_, Access::Read}, {write_, Access::Write}, {writeOnUpdate_, Access::WriteOnUpdate}};
    for (const auto& [box, access] : boxes) {
        access_->addButton(box);
        row->addWidget(box);
        connect(box, &QRadioButton::clicked, this, [this, access = access] { chooseAccessBox(access); });
    }
    row->addStretch(1);
    return row;
}

QLayout* ModRegEdit::buildFields() {
    makeControls();
    return placeFields();
}

void ModRegEdit::makeControls() {
    number_ = textBox("registerNumber", [this](const QString& t) { takeNumber(t); });
    type_ = new QComboBox;
    type_->setObjectName(QStringLiteral("registerType"));
    for (const RegisterTypeName& name : registerTypeNames())
        type_->addItem(QString::fromLatin1(name.displayName));
    connect(type_, &QComboBox::activated, this, [this](int index) {
        chooseRegisterType(copy_, index);
        redraw();
    });
    slave_ = textBox("slave", [this](const QString& t) { copy_.slave = slaveFrom(t); });
    bitNumber_ = textBox("bitNumber", [this](const QString& t) { takeBitNumber(copy_, t); });
    mask_ = textBox("mask", [this](const QString& t) { takeMask(copy_, t); });
    format_ = new QComboBox;
    format_->setObjectName(QStringLiteral("registerFormat"));
    for (const RegisterFormatName& name : registerFormatNames())
        format_->addItem(QString::fromLatin1(name.displayName));
    connect(format_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0) copy_.format = index;
        redraw();
    });
    fill_ = textBox("fill", [this](const QString& t) { copy_.fill = scanHex(t); });
    packed_ = checkBox("Member of Packed Register", "packed");
    highRegFirst_ = checkBox("High Reg First if Double", "highRegFirst");
    connect(packed_, &QCheckBox::clicked, this, [this](bool on) {
        copy_.packed = on ? 1 : 0;
        redraw();
    });
    connect(highRegFirst_, &QCheckBox::clicked, this, [this](bool on) {
        copy_.highRegFirst = on ? 1 : 0;
        redraw();
    });
    poll_ = textBox("poll", [this](const QString& t) { copy_.poll = pollFrom(t); });
    scale_ = textBox("scale", [this](const QString& t) { copy_.scale = fractionFrom(t); });
    offset_ = textBox("offset", [this](const QString& t) { copy_.offset = fractionFrom(t); });
    fbLabel_ = label("FB (OLS) #");
    fbLabel_->setObjectName(QStringLiteral("fbLabel"));
    fbNumber_ = readOnlyBox("fbNumber");
    objectNumber_ = readOnlyBox("objectNumber");
}

QLayout* ModRegEdit::placeFields() {
    auto* numberLabel = label(modicon_ ? "Modicon #" : "Register # 1..N");
    numberLabel->setObjectName(QStringLiteral("numberLabel"));
    auto* pollLabel = label(context_.gatewaySlave ? "Host Timeout (Sec)" : "Poll Rate (Sec)");
    pollLabel->setObjectName(QStringLiteral("pollLabel"));
    auto* typeLabel = label("Register Type");

    auto* grid = new QGridLayout;
    const auto place = [grid](int row, int column, QLabel* text, QWidget* control) {
        if (text) grid->addWidget(text, row, column);
        grid->addWidget(control, row, column + 1);
    };
    place(0, 0, numberLabel, number_);
    place(0, 2, typeLabel, type_);
    place(1, 0, label("Unit/Slave Addr"), slave_);
    place(1, 2, label("Register Format"), format_);
    place(2, 0, label("Bit Number"), bitNumber_);
    place(2, 2, label("Mask (Hex)"), mask_);
    place(3, 0, label("Fill (Hex)"), fill_);
    place(3, 2, pollLabel, poll_);
    place(4, 0, nullptr, packed_);
    place(4, 2, nullptr, highRegFirst_);
    place(5, 0, label("Scale/Slope"), scale_);
    place(5, 2, label("Offset/Intercept"), offset_);
    place(6, 0, fbLabel_, fbNumber_);
    place(6, 2, label("Object #"), objectNumber_);
    // A Modicon number carries the type in its leading digit.
    typeLabel->setVisible(!modicon_);
    type_->setVisible(!modicon_);
    return grid;
}

QLayout* ModRegEdit::buildButtons() {
    apply_ = button("Apply", "apply");
    connect(apply_, &QPushButton::clicked, this, &ModRegEdit::apply);
    return applyRow(apply_);
}

void ModRegEdit::chooseAccessBox(Access access) {
    const bool taken = chooseAccess(copy_, access);
    redraw();
    if (!taken) tell(kCannotWriteInput);
}

void ModRegEdit::takeNumber(const QString& text) {
    const std::optional<std::string> hint = takeRegisterNumber(copy_, text, modicon_, context_.modiconHint);
    if (hint) {
        redraw();
        tell(hint->c_str());
    }
}

void ModRegEdit::apply() {
    if (!valid_) return reject();
    if (!takeTypedBoxes()) return;
    int object = 0;
    {
        const auto lock = lockMap();
        object = applyRegisterEdit(context_.map, row_, copy_);
    }
    if (object != 0)
        context_.request(mode_ == RegEditMode::RegisterList ? EditorRequest::RegisterListRefresh
                                                            : EditorRequest::MasterListRefresh,
                         object);
    accept();
}

void ModRegEdit::redraw() {
    const QSignalBlocker blockType(type_);
    const QSignalBlocker blockFormat(format_);
    // None of the three may be set (a blank row): the group lets go of its one checked box.
    access_->setExclusive(false);
    read_->setChecked(copy_.readPeriodic != 0);
    write_->setChecked(copy_.writePeriodic != 0);
    writeOnUpdate_->setChecked(copy_.writeOnUpdate != 0);
    access_->setExclusive(true);
    number_->setText(QString::number(modicon_ ? copy_.modicon : copy_.regNumber));
    type_->setCurrentIndex(copy_.type >= 0 && copy_.type < type_->count() ? copy_.type : -1);
    slave_->setText(QString::number(copy_.slave));
    bitNumber_->setText(bitNumberText(copy_));
    mask_->setText(hexText(copy_.mask));
    format_->setCurrentIndex(copy_.format >= 0 && copy_.format < format_->count() ? copy_.format : -1);
    fill_->setText(hexText(copy_.fill));
    packed_->setChecked(copy_.packed != 0);
    highRegFirst_->setChecked(copy_.highRegFirst != 0);
    poll_->setText(QString::number(copy_.poll));
    scale_->setText(QString::fromStdString(displayReal(copy_.scale)));
    offset_->setText(QString::fromStdString(displayReal(copy_.offset)));
    fbLabel_->setText(QString::fromLatin1(registerFbLabel(copy_, linkedInput_)));
    fbNumber_->setText(numberOrEmpty(copy_.fbNumber));
    objectNumber_->setText(numberOrEmpty(copy_.objectNumber));
    showEnabling();
}

void ModRegEdit::showEnabling() {
    const RegEditEnabling e = regEditEnabling(copy_, linkedInput_, context_.gatewaySlave);
    read_->setEnabled(e.read);
    write_->setEnabled(e.write);
    writeOnUpdate_->setEnabled(e.writeOnUpdate);
    slave_->setEnabled(e.slave);
    bitNumber_->setEnabled(e.bitNumber);
    mask_->setEnabled(e.mask);
    fill_->setEnabled(e.fill);
    packed_->setEnabled(e.packed);
    apply_->setEnabled(valid_);
}

} // namespace korvex::ui::dialogs
