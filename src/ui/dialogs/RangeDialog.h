#pragma once
// "Select Range" for objects: the offered first and last number, answered with OK (the typed
// numbers), ALL or Cancel. What ALL means is up to the caller.
#include "device/actions/ActionHost.h"

#include <QDialog>

#include <functional>

class QLayout;
class QLineEdit;

namespace korvex::ui::dialogs {

// The buttons both range dialogs end with: Cancel, ALL and OK in that order whatever the
// platform's habit, with Cancel the default (ALL sends everything, so Enter must not). Each
// stores its answer and closes the dialog, OK after read() has taken the typed numbers. Closing
// the window by its frame leaves the answer at Cancel.
QLayout* makeRangeButtons(QDialog& dialog, device::RangeAnswer& answer, std::function<void()> read);

class RangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit RangeDialog(const device::ObjectRange& offered, QWidget* parent = nullptr);

    device::RangeAnswer answer() const { return answer_; }
    // The numbers read when OK was pressed.
    device::ObjectRange range() const { return range_; }

private:
    QLineEdit* first_;
    QLineEdit* last_;
    device::RangeAnswer answer_ = device::RangeAnswer::Cancel;
    device::ObjectRange range_;
};

} // namespace korvex::ui::dialogs
