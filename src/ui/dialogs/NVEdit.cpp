#include "ui/dialogs/NVEdit.h"

#include "vocab/SnvtCatalogue.h"
#include "model/FixedText.h"
#include "model/ModelMessages.h"
#include "model/lists/NVEditRules.h"
#include "model/lists/NVRows.h"
#include "ui/dialogs/rules/NVEditApply.h"
#include "ui/dialogs/rules/NVEditFields.h"
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

#include <cstdint>
#include <limits>

namespace korvex::ui::dialogs {

using widgets::numberOrEmpty;
namespace {

constexpr const char* kMethods[] = {"Standard SNVT/User NV", "Copy Raw Data", "Special Conversion"};

QLabel* label(const char* text) {
    return new QLabel(QString::fromLatin1(text));
}

void setBox(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(text));
}

void setBox(QLineEdit* box, int number) {
    box->setText(QString::number(number));
}

QComboBox* choice(const char* objectName) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(objectName));
    box->setMaxVisibleItems(20);
    return box;
}

template <typename Int> Int decimalFor(const QString& text) {
    return static_cast<Int>(
        boundedDecimal(latinOf(text), std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max()));
}

} // namespace

NVEdit::NVEdit(const EditorContext& context, int row, QWidget* parent)
    : EditorDialog(context, parent), row_(row) {
    {
        const auto lock = lockMap();
        const ObjectMap& map = context_.map;
        valid_ = validNVRow(map, row);
        if (valid_) {
            copy_ = map.nvs[row];
            if (copy_.isField) {
                const int h = nvHeaderRow(map, row);
                if (h >= 0) header_ = map.nvs[h];
            }
        }
    }
    setWindowTitle(QStringLiteral("NV Editor"));
    build();
    redraw();
}

void NVEdit::build() {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildFields());
    layout->addLayout(buildButtons());
}

QLayout* NVEdit::buildFields() {
    makeTypeControls();
    makeValueControls();
    return placeFields();
}

void NVEdit::makeTypeControls() {
    name_ = textBox("name", [this](const QString& t) { takeName(t); });
    name_->setMaxLength(kNameSize);

    type_ = choice("type");
    type_->addItem(QString::fromLatin1(copy_.isField ? "Struct Field" : "User Defined"));
    for (const char* name : snvtTypeNames()) type_->addItem(QString::fromLatin1(name));
    connect(type_, &QComboBox::activated, this, &NVEdit::chooseType);

    method_ = choice("method");
    for (const char* name : kMethods) method_->addItem(QString::fromLatin1(name));
    connect(method_, &QComboBox::activated, this, &NVEdit::chooseMethod);

    nvi_ = new QRadioButton(QStringLiteral("NVI"));
    nvo_ = new QRadioButton(QStringLiteral("NVO"));
    nvi_->setObjectName(QStringLiteral("nvi"));
    nvo_->setObjectName(QStringLiteral("nvo"));
    auto* direction = new QButtonGroup(this);
    direction->addButton(nvi_);
    direction->addButton(nvo_);
    connect(nvi_, &QRadioButton::clicked, this, [this] { chooseDirection(true); });
    connect(nvo_, &QRadioButton::clicked, this, [this] { chooseDirection(false); });

    formula_ = new QLineEdit;
    formula_->setObjectName(QStringLiteral("formula"));
    formula_->setReadOnly(true);
}

void NVEdit::makeValueControls() {
    minSend_ =
        textBox("minSendTime", [this](const QString& t) { copy_.minSendTime = parseSendTime(latinOf(t)); });
    maxSend_ =
        textBox("maxSendTime", [this](const QString& t) { copy_.maxSendTime = parseSendTime(latinOf(t)); });
    scopePid_ = textBox("scopePid", [this](const QString& t) { takeScopePid(t); });

    category_ = choice("category");
    for (const char* name : categoryNamesUpper()) category_->addItem(QString::fromLatin1(name));
    connect(category_, &QComboBox::activated, this, &NVEdit::chooseCategory);

    size_ = textBox("size", [this](const QString& t) { copy_.size = decimalFor<uint8_t>(t); });
    scaleA_ = textBox("scaleA", [this](const QString& t) { copy_.scaleA = decimalFor<int16_t>(t); });
    scaleB_ = textBox("scaleB", [this](const QString& t) { copy_.scaleB = decimalFor<int16_t>(t); });
    scaleC_ = textBox("scaleC", [this](const QString& t) { copy_.scaleC = decimalFor<int16_t>(t); });
    // Offsets describe a user type's own layout; a standard type's come from the catalogue.
    byteOffset_ = textBox("byteOffset", [this](const QString& t) {
        if (parentType() == 0) copy_.byteOffset = decimalFor<uint8_t>(t);
    });
    bitOffset_ = textBox("bitOffset", [this](const QString& t) {
        if (parentType() == 0) copy_.bitOffset = decimalFor<uint8_t>(t);
    });
    lock_ = new QCheckBox(QStringLiteral("Is Lock"));
    lock_->setObjectName(QStringLiteral("lock"));
    connect(lock_, &QCheckBox::clicked, this, [this](bool on) {
        copy_.lock = on ? 1 : 0;
        redraw();
    });

    fbLabel_ = label("FB (OLS) #");
    fbLabel_->setObjectName(QStringLiteral("fbLabel"));
    fbNumber_ = textBox("fbNumber", [this](const QString& t) { takeFbNumber(t); });
    objectNumber_ = textBox("objectNumber", [this](const QString& t) { takeObjectNumber(t); });
}

QLayout* NVEdit::placeFields() {
    auto* grid = new QGridLayout;
    const auto place = [grid](int row, int column, const char* text, QWidget* control) {
        if (text) grid->addWidget(label(text), row, column);
        grid->addWidget(control, row, column + 1);
    };
    place(0, 0, "Name", name_);
    place(1, 0, "SNVT Type", type_);
    place(1, 2, "Method", method_);
    auto* directionRow = new QHBoxLayout;
    directionRow->addWidget(nvi_);
    directionRow->addWidget(nvo_);
    grid->addWidget(label("Direction"), 2, 0);
    grid->addLayout(directionRow, 2, 1);
    place(2, 2, "Formula", formula_);
    place(3, 0, "Min SndT", minSend_);
    place(3, 2, "Max SndT", maxSend_);
    place(3, 4, "[S] PID", scopePid_);
    place(4, 0, "NV Category", category_);
    place(4, 2, "NV Size", size_);
    place(5, 0, "Scale A", scaleA_);
    place(5, 2, "Scale B", scaleB_);
    place(5, 4, "Scale C", scaleC_);
    place(6, 0, "Byte Offset", byteOffset_);
    place(6, 2, "Bit Offset", bitOffset_);
    place(6, 4, nullptr, lock_);
    grid->addWidget(fbLabel_, 7, 0);
    grid->addWidget(fbNumber_, 7, 1);
    place(7, 2, "Object #", objectNumber_);
    scopePid_->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("[6] 00:00:00:00:00:00:00:00 00")));
    return grid;
}

QLayout* NVEdit::buildButtons() {
    apply_ = button("Apply", "apply");
    autoAssign_ = button("Auto Assign", "autoAssign");
    connect(apply_, &QPushButton::clicked, this, &NVEdit::apply);
    connect(autoAssign_, &QPushButton::clicked, this, &NVEdit::autoAssign);
    return applyRow(apply_, {autoAssign_});
}

void NVEdit::takeName(const QString& text) {
    int code = kOk;
    {
        const auto lock = lockMap();
        code = editNVName(context_.map, row_, latinOf(text), copy_);
    }
    if (code != kOk) tell(modelMessage(ModelOp::EditNVName, code));
}

void NVEdit::chooseType(int index) {
    if (!copy_.isField && index >= 0) {
        copy_.snvt = static_cast<uint8_t>(index);
        if (index != 0) setStandardType(copy_, index);
        if (copy_.method == 2) copy_.formula = static_cast<uint8_t>(formulaFor(index));
    }
    redraw();
}

void NVEdit::chooseMethod(int index) {
    const int code = editMethod(index, parentType(), copy_);
    redraw();
    if (code != kOk) tell(modelMessage(ModelOp::EditMethod, code));
}

void NVEdit::chooseDirection(bool input) {
    copy_.isInput = input ? 1 : 0;
    // Only outputs carry send times.
    if (input) copy_.minSendTime = copy_.maxSendTime = SendTime{};
    redraw();
}

void NVEdit::takeScopePid(const QString& text) {
    if (editScopePid(latinOf(text), copy_) != kOk) tell(modelMessage(ModelOp::EditScopePid, kRefused));
}

void NVEdit::chooseCategory(int index) {
    if (copy_.snvt == 0 && parentType() == 0 && index >= 0) copy_.baseType = static_cast<uint8_t>(index);
    redraw();
}

void NVEdit::takeFbNumber(const QString& text) {
    int code = kOk;
    {
        const auto lock = lockMap();
        code = editFbNumber(context_.map, latinOf(text), copy_);
    }
    if (code != kOk) tell(modelMessage(ModelOp::EditFbNumber, code));
}

void NVEdit::takeObjectNumber(const QString& text) {
    int code = kOk;
    {
        const auto lock = lockMap();
        code = editObjectNumber(context_.map, latinOf(text), copy_);
    }
    if (code != kOk) tell(modelMessage(ModelOp::EditObjectNumber, code));
}

void NVEdit::autoAssign() {
    if (!valid_ || copy_.fbNumber != 0 || copy_.objectNumber != 0) return;
    int code = kOk;
    {
        const auto lock = lockMap();
        code = previewAutoAssign(context_.map, row_, copy_);
    }
    autoAssigned_ = code == kOk;
    redraw();
    if (code != kOk) tell(modelMessage(ModelOp::AllocateForNV, code));
}

void NVEdit::apply() {
    if (!valid_) return reject();
    if (!takeTypedBoxes()) return;
    NVApplyOptions options;
    options.commissioned = context_.commissioned;
    options.autoAssign = autoAssigned_;
    options.parentType = parentType();
    NVApplyOutcome outcome;
    NVApplyResult result = NVApplyResult::Stored;
    {
        const auto lock = lockMap();
        result = applyNVEdit(context_.map, row_, copy_, options, outcome);
    }
    if (result != NVApplyResult::Stored) return tell(nvApplyMessage(result));
    if (outcome.typeChangeRefused) tell(kUnableToChangeType);
    if (outcome.allocationCode != kOk) tell(modelMessage(ModelOp::AllocateForNV, outcome.allocationCode));
    for (int n : outcome.objects) context_.request(EditorRequest::MasterListRefresh, n);
    accept();
}

void NVEdit::redraw() {
    const QSignalBlocker blockType(type_);
    const QSignalBlocker blockMethod(method_);
    const QSignalBlocker blockCategory(category_);
    name_->setText(
        QString::fromLatin1(textOf(copy_.name).data(), static_cast<qsizetype>(textOf(copy_.name).size())));
    type_->setCurrentIndex(copy_.snvt <= SnvtCount ? copy_.snvt : -1);
    method_->setCurrentIndex(copy_.method <= 2 ? copy_.method : -1);
    nvi_->setChecked(copy_.isInput != 0);
    nvo_->setChecked(copy_.isInput == 0);
    const bool standardField = copy_.isField && parentType() != 0;
    formula_->setText(QString::fromStdString(standardField ? formulaText(header_.method, header_.snvt)
                                                           : formulaText(copy_.method, parentType())));
    setBox(minSend_, sendTimeText(copy_.minSendTime));
    setBox(maxSend_, sendTimeText(copy_.maxSendTime));
    setBox(scopePid_, scopePidText(copy_));
    category_->setCurrentIndex(copy_.baseType < NvCategoryCount ? copy_.baseType : -1);
    setBox(size_, copy_.size);
    setBox(scaleA_, copy_.scaleA);
    setBox(scaleB_, copy_.scaleB);
    setBox(scaleC_, copy_.scaleC);
    setBox(byteOffset_, copy_.byteOffset);
    setBox(bitOffset_, copy_.bitOffset);
    lock_->setChecked(copy_.lock != 0);
    fbLabel_->setText(QString::fromLatin1(fbLabel(copy_.isInput != 0)));
    fbNumber_->setText(numberOrEmpty(copy_.fbNumber));
    objectNumber_->setText(numberOrEmpty(copy_.objectNumber));
    showEnabling();
}

void NVEdit::showEnabling() {
    const NVEditEnabling e = nvEditEnabling(copy_, parentType());
    name_->setEnabled(e.name);
    type_->setEnabled(e.type);
    method_->setEnabled(e.method);
    formula_->setEnabled(e.formula);
    nvi_->setEnabled(e.direction);
    nvo_->setEnabled(e.direction);
    minSend_->setEnabled(e.sendTimes);
    maxSend_->setEnabled(e.sendTimes);
    scopePid_->setEnabled(e.scopePid);
    category_->setEnabled(e.category);
    size_->setEnabled(e.size);
    for (QLineEdit* box : {scaleA_, scaleB_, scaleC_}) box->setEnabled(e.scales);
    byteOffset_->setEnabled(e.offsets);
    bitOffset_->setEnabled(e.offsets);
    lock_->setEnabled(e.lock);
    fbNumber_->setEnabled(e.fbNumber);
    objectNumber_->setEnabled(e.objectNumber);
    autoAssign_->setEnabled(valid_ && e.autoAssign);
    apply_->setEnabled(valid_);
}

} // namespace korvex::ui::dialogs
