#pragma once
// "Select Range" for NVs: one row for inputs ("NVI's") and one for outputs ("NVO's"), each with
// an include box and its first and last function-block number. OK gives the included rows held
// to 1..120 and 0 to 0 for a row left out; ALL and Cancel as in RangeDialog.
#include "device/actions/ActionHost.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace korvex::ui::dialogs {

class NetVarRangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit NetVarRangeDialog(const device::NetVarRanges& offered, QWidget* parent = nullptr);

    device::RangeAnswer answer() const { return answer_; }
    device::NetVarRanges ranges() const { return ranges_; }

private:
    struct Row {
        QCheckBox* include;
        QLineEdit* first;
        QLineEdit* last;
    };
    Row makeRow(const char* label, const char* name, int first, int last);
    static void readRow(const Row& row, int& first, int& last);

    Row inputs_;
    Row outputs_;
    device::RangeAnswer answer_ = device::RangeAnswer::Cancel;
    device::NetVarRanges ranges_;
};

} // namespace korvex::ui::dialogs
