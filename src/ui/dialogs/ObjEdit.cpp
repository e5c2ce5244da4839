#include "ui/dialogs/ObjEdit.h"

#include "vocab/ObjectValue.h"
#include "vocab/RegisterCodes.h"
#include "vocab/RegisterNames.h"
#include "model/FixedText.h"
#include "model/ObjectMap.h"
#include "ui/widgets/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace korvex::ui::dialogs {

using widgets::scanFraction;
namespace {

// The flags the editor owns, with the box that sets each.
struct FlagBox {
    uint32_t flag;
    const char* text;
    const char* objectName;
};

constexpr std::array<FlagBox, 3> kFlagBoxes{{
    {ObjectFlag::DefaultOnPowerUp, "Set Default on Power-Up", "defaultOnPowerUp"},
    {ObjectFlag::DefaultOnCommFail, "Set Default on Comm Fail", "defaultOnCommFail"},
    {ObjectFlag::Persistent, "Object is Persistent", "persistent"},
}};

constexpr uint32_t kEditedFlags =
    ObjectFlag::DefaultOnPowerUp | ObjectFlag::DefaultOnCommFail | ObjectFlag::Persistent;

} // namespace

void takeDefaultValue(DataObject& copy, const QString& text) {
    setDefaultValue(copy, scanFraction(text));
}

QString defaultValueText(const DataObject& copy) {
    if (copy.datatype == ObjectDataType::None) return QStringLiteral("0");
    return QString::fromStdString(object_value_to_text(copy.defVal, copy.datatype));
}

void chooseDataFormat(DataObject& copy, int datatype) {
    if (datatype < 0 || datatype >= ObjectDataType::Count) return;
    const double value = object_value_to_number(copy.defVal, copy.datatype);
    copy.datatype = static_cast<uint8_t>(datatype);
    setDefaultValue(copy, value);
}

void applyObjectEdit(ObjectMap& map, int n, const DataObject& copy) {
    DataObject* found = map.object(n);
    if (!found) return;
    DataObject& object = *found;
    object.datatype = copy.datatype;
    object.flags = (object.flags & ~kEditedFlags) | (copy.flags & kEditedFlags);
    object.defVal = copy.defVal;
    object.name = copy.name;
    object.syncFlags &= ~(SyncFlag::InDevice | SyncFlag::Saved);
}

ObjEdit::ObjEdit(const EditorContext& context, int n, QWidget* parent)
    : EditorDialog(context, parent), n_(n), valid_(ObjectMap::validObject(n)) {
    if (valid_) {
        const auto lock = lockMap();
        copy_ = *context_.map.object(n);
    }
    setWindowTitle(QStringLiteral("Object Editor"));

    name_ = textBox("name", [this](const QString& t) { setText(copy_.name, latinOf(t)); });
    name_->setMaxLength(kNameSize);
    format_ = new QComboBox;
    format_->setObjectName(QStringLiteral("dataFormat"));
    for (const ObjectDataTypeName& name : objectDataTypeNames())
        format_->addItem(QString::fromLatin1(name.displayName));
    connect(format_, &QComboBox::activated, this, [this](int index) {
        chooseDataFormat(copy_, index);
        redraw();
    });
    defaultValue_ = textBox("defaultValue", [this](const QString& t) { takeDefaultValue(copy_, t); });

    auto* heading = new QLabel(QStringLiteral("Object Number %1").arg(n));
    heading->setObjectName(QStringLiteral("heading"));
    auto* grid = new QGridLayout;
    grid->addWidget(heading, 0, 0);
    grid->addWidget(name_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Data Format")), 1, 0);
    grid->addWidget(format_, 1, 1);
    int line = 2;
    for (std::size_t i = 0; i < kFlagBoxes.size(); ++i) {
        const FlagBox& box = kFlagBoxes[i];
        auto* check = new QCheckBox(QString::fromLatin1(box.text));
        check->setObjectName(QString::fromLatin1(box.objectName));
        connect(check, &QCheckBox::clicked, this, [this, flag = box.flag](bool on) {
            copy_.flags = on ? (copy_.flags | flag) : (copy_.flags & ~flag);
            redraw();
        });
        grid->addWidget(check, line++, 1);
        flagBoxes_[i] = check;
    }
    grid->addWidget(new QLabel(QStringLiteral("Default Value")), line, 0);
    grid->addWidget(defaultValue_, line, 1);

    QPushButton* apply = button("Apply", "apply");
    apply->setEnabled(valid_);
    connect(apply, &QPushButton::clicked, this, &ObjEdit::apply);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(applyRow(apply));
    redraw();
}

void ObjEdit::apply() {
    if (!valid_) return reject();
    if (!takeTypedBoxes()) return;
    {
        const auto lock = lockMap();
        applyObjectEdit(context_.map, n_, copy_);
    }
    context_.request(EditorRequest::MasterListRefresh, n_);
    accept();
}

void ObjEdit::redraw() {
    const QSignalBlocker block(format_);
    const std::string_view name = textOf(copy_.name);
    name_->setText(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    format_->setCurrentIndex(copy_.datatype < ObjectDataType::Count ? copy_.datatype : -1);
    for (std::size_t i = 0; i < kFlagBoxes.size(); ++i)
        flagBoxes_[i]->setChecked((copy_.flags & kFlagBoxes[i].flag) != 0);
    defaultValue_->setText(defaultValueText(copy_));
}

} // namespace korvex::ui::dialogs
