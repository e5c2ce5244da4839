#include "ui/dialogs/NetVarRangeDialog.h"
#include "ui/dialogs/RangeDialog.h"
#include "ui/window/Prompter.h"
#include "ui/window/StoredOptions.h"
#include "ui/window/UiTexts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace korvex::ui::window {

using dialogs::NetVarRangeDialog;
using dialogs::RangeDialog;

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::Information;
}

} // namespace

bool QtPrompter::message(QWidget* owner, const QString& text, MessageButtons buttons, MessageIcon icon) {
    const auto choice = buttons == MessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                            : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(boxIcon(icon), QString::fromLatin1(text::kCaption), text, choice, owner);
    return box.exec() == QMessageBox::Ok;
}

QString QtPrompter::openFileName(QWidget* owner, const QString& filters) {
    const QString path = QFileDialog::getOpenFileName(owner, QString(), stored::lastFolder(filters), filters);
    stored::setLastFolder(filters, path);
    return path;
}

QString QtPrompter::saveFileName(QWidget* owner, const QString& filters) {
    // The overwrite question is the window's own, asked after the dialog.
    const QString path = QFileDialog::getSaveFileName(owner, QString(), stored::lastFolder(filters), filters,
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    stored::setLastFolder(filters, path);
    return path;
}

RangeAnswer QtPrompter::objectRange(QWidget* owner, ObjectRange& range) {
    RangeDialog dialog(range, owner);
    dialog.exec();
    if (dialog.answer() == RangeAnswer::Ok) range = dialog.range();
    return dialog.answer();
}

RangeAnswer QtPrompter::netVarRanges(QWidget* owner, NetVarRanges& ranges) {
    NetVarRangeDialog dialog(ranges, owner);
    dialog.exec();
    if (dialog.answer() == RangeAnswer::Ok) ranges = dialog.ranges();
    return dialog.answer();
}

} // namespace korvex::ui::window
