#include "ui/dialogs/NetVarRangeDialog.h"

#include "model/ObjectMap.h"
#include "ui/dialogs/RangeDialog.h"
#include "ui/widgets/NumberText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace korvex::ui::dialogs {

using widgets::numberOrEmpty;
using widgets::scanDecimal;

NetVarRangeDialog::NetVarRangeDialog(const device::NetVarRanges& offered, QWidget* parent)
    : QDialog(parent), ranges_(offered) {
    setWindowTitle(QStringLiteral("Select Range"));
    inputs_ = makeRow("NVI's", "inputs", offered.firstInput, offered.lastInput);
    outputs_ = makeRow("NVO's", "outputs", offered.firstOutput, offered.lastOutput);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Starting #")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Ending #")), 0, 2);
    int line = 1;
    for (const Row* row : {&inputs_, &outputs_}) {
        grid->addWidget(row->include, line, 0);
        grid->addWidget(row->first, line, 1);
        grid->addWidget(row->last, line, 2);
        ++line;
    }

    QLayout* buttons = makeRangeButtons(*this, answer_, [this] {
        readRow(inputs_, ranges_.firstInput, ranges_.lastInput);
        readRow(outputs_, ranges_.firstOutput, ranges_.lastOutput);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

NetVarRangeDialog::Row NetVarRangeDialog::makeRow(const char* label, const char* name, int first, int last) {
    Row row{new QCheckBox(QString::fromLatin1(label)), new QLineEdit(numberOrEmpty(first)),
            new QLineEdit(numberOrEmpty(last))};
    const QString base = QString::fromLatin1(name);
    row.include->setObjectName(base + QStringLiteral("Include"));
    row.first->setObjectName(base + QStringLiteral("First"));
    row.last->setObjectName(base + QStringLiteral("Last"));
    row.include->setChecked(first != 0 || last != 0);
    // Typing a number into a row means that row is wanted.
    QCheckBox* include = row.include;
    for (QLineEdit* box : {row.first, row.last})
        connect(box, &QLineEdit::textEdited, include, [include] { include->setChecked(true); });
    return row;
}

void NetVarRangeDialog::readRow(const Row& row, int& first, int& last) {
    if (!row.include->isChecked()) {
        first = last = 0;
        return;
    }
    first = std::max(scanDecimal(row.first->text()), 1);
    last = std::max(scanDecimal(row.last->text()), first);
    first = std::min(first, kFbNumbers);
    last = std::min(last, kFbNumbers);
}

} // namespace korvex::ui::dialogs
