#include "ui/dialogs/EditorDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvex::ui::dialogs {

EditorDialog::EditorDialog(const EditorContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setModal(true);
}

QLineEdit* EditorDialog::textBox(const char* objectName, std::function<void(const QString&)> take) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(objectName));
    boxes_.push_back({edit, std::move(take)});
    const Box box = boxes_.back();
    connect(edit, &QLineEdit::editingFinished, this, [this, box] {
        // Leaving a box for Cancel takes nothing: the whole copy is about to be discarded.
        if (cancel_ && cancel_->hasFocus()) return;
        takeBox(box);
    });
    return edit;
}

void EditorDialog::takeBox(const Box& box) {
    if (!box.edit->isModified()) return;
    box.edit->setModified(false);
    box.take(box.edit->text());
    redraw();
}

QPushButton* EditorDialog::button(const char* text, const char* objectName) {
    auto* b = new QPushButton(QString::fromLatin1(text), this);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QPushButton* EditorDialog::cancelButton() {
    if (!cancel_) {
        cancel_ = button("Cancel", "cancel");
        connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    }
    return cancel_;
}

QLayout* EditorDialog::applyRow(QPushButton* apply, std::initializer_list<QWidget*> more) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(apply);
    row->addWidget(cancelButton());
    for (QWidget* w : more) row->addWidget(w);
    return row;
}

void EditorDialog::layOutOneBox(const char* label, QLineEdit* box, QPushButton* apply) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromLatin1(label)));
    row->addWidget(box);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(applyRow(apply));
}

bool EditorDialog::takeTypedBoxes() {
    const int before = messages_;
    for (const Box& box : boxes_) takeBox(box);
    return messages_ == before;
}

void EditorDialog::tell(const char* text) {
    ++messages_;
    context_.tell(this, text);
}

std::string latinOf(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace korvex::ui::dialogs
