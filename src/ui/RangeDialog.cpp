#include "ui/RangeDialog.h"

#include "ui/NumberText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvex::ui {

using device::RangeAnswer;

RangeDialog::RangeDialog(const device::ObjectRange& offered, QWidget* parent)
    : QDialog(parent), first_(new QLineEdit(numberOrEmpty(offered.first))),
      last_(new QLineEdit(numberOrEmpty(offered.last))), range_(offered) {
    setWindowTitle(QStringLiteral("Select Range"));
    first_->setObjectName(QStringLiteral("first"));
    last_->setObjectName(QStringLiteral("last"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Starting #"), first_);
    form->addRow(QStringLiteral("Ending #"), last_);

    auto* buttons = new QDialogButtonBox;
    QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* all = buttons->addButton(QStringLiteral("ALL"), QDialogButtonBox::ActionRole);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    all->setObjectName(QStringLiteral("all"));
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, [this] { finish(RangeAnswer::Cancel); });
    connect(all, &QPushButton::clicked, this, [this] { finish(RangeAnswer::All); });
    connect(ok, &QPushButton::clicked, this, [this] {
        range_ = {scanDecimal(first_->text()), scanDecimal(last_->text())};
        finish(RangeAnswer::Ok);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void RangeDialog::finish(RangeAnswer answer) {
    answer_ = answer;
    // Closing the window by its frame leaves the answer at Cancel.
    if (answer == RangeAnswer::Cancel)
        reject();
    else
        accept();
}

} // namespace korvex::ui
