#pragma once
// "Select Range" for objects: the offered first and last number, answered with OK (the typed
// numbers), ALL or Cancel. What ALL means is up to the caller.
#include "device/ActionHost.h"

#include <QDialog>

class QLineEdit;

namespace korvex::ui {

class RangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit RangeDialog(const device::ObjectRange& offered, QWidget* parent = nullptr);

    device::RangeAnswer answer() const { return answer_; }
    // The numbers read when OK was pressed.
    device::ObjectRange range() const { return range_; }

private:
    void finish(device::RangeAnswer answer);

    QLineEdit* first_;
    QLineEdit* last_;
    device::RangeAnswer answer_ = device::RangeAnswer::Cancel;
    device::ObjectRange range_;
};

} // namespace korvex::ui
