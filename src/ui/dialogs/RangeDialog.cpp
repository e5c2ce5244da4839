#include "ui/dialogs/RangeDialog.h"

#include "ui/widgets/NumberText.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvex::ui::dialogs {

using device::RangeAnswer;
using widgets::numberOrEmpty;
using widgets::scanDecimal;

RangeDialog::RangeDialog(const device::ObjectRange& offered, QWidget* parent)
    : QDialog(parent), first_(new QLineEdit(numberOrEmpty(offered.first))),
      last_(new QLineEdit(numberOrEmpty(offered.last))), range_(offered) {
    setWindowTitle(QStringLiteral("Select Range"));
    first_->setObjectName(QStringLiteral("first"));
    last_->setObjectName(QStringLiteral("last"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Starting #"), first_);
    form->addRow(QStringLiteral("Ending #"), last_);

    QLayout* buttons = makeRangeButtons(*this, answer_, [this] {
        range_ = {scanDecimal(first_->text()), scanDecimal(last_->text())};
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

QLayout* makeRangeButtons(QDialog& dialog, RangeAnswer& answer, std::function<void()> read) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    auto* all = new QPushButton(QStringLiteral("ALL"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    cancel->setObjectName(QStringLiteral("cancel"));
    all->setObjectName(QStringLiteral("all"));
    ok->setObjectName(QStringLiteral("ok"));
    for (QPushButton* button : {cancel, all, ok}) buttons->addWidget(button);
    cancel->setDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, [&dialog, &answer] {
        answer = RangeAnswer::Cancel;
        dialog.reject();
    });
    QObject::connect(all, &QPushButton::clicked, &dialog, [&dialog, &answer] {
        answer = RangeAnswer::All;
        dialog.accept();
    });
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&dialog, &answer, read = std::move(read)] {
        read();
        answer = RangeAnswer::Ok;
        dialog.accept();
    });
    return buttons;
}

} // namespace korvex::ui::dialogs
