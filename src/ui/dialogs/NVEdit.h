#pragma once
// "NV Editor": one row of the NV list, edited in a private copy. Opened from the NV List grid and
// the master list's NV columns. Apply stores the copy (with the type change, the object link and
// the allocation of "Auto Assign"); Cancel or closing discards it.
#include "ui/dialogs/EditorDialog.h"

#include "model/NetVar.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace korvex::ui::dialogs {

class NVEdit : public EditorDialog {
    Q_OBJECT
public:
    // row is 0-based. context.commissioned decides whether type changes are refused.
    NVEdit(const EditorContext& context, int row, QWidget* parent = nullptr);

    const NetVar& copy() const { return copy_; }
    int row() const { return row_; }

protected:
    void redraw() override;

private:
    void build();
    QLayout* buildFields();
    void makeTypeControls();
    void makeValueControls();
    QLayout* placeFields();
    QLayout* buildButtons();
    int parentType() const { return copy_.isField ? header_.snvt : copy_.snvt; }

    void takeName(const QString& text);
    void chooseType(int index);
    void chooseMethod(int index);
    void chooseDirection(bool input);
    void takeScopePid(const QString& text);
    void chooseCategory(int index);
    void takeFbNumber(const QString& text);
    void takeObjectNumber(const QString& text);
    void autoAssign();
    void apply();
    void showEnabling();

    int row_;
    bool valid_ = false;
    NetVar copy_{};
    NetVar header_{}; // the header row of a field row's NV; zero for a header row
    bool autoAssigned_ = false;

    QLineEdit* name_ = nullptr;
    QComboBox* type_ = nullptr;
    QComboBox* method_ = nullptr;
    QRadioButton* nvi_ = nullptr;
    QRadioButton* nvo_ = nullptr;
    QLineEdit* formula_ = nullptr;
    QLineEdit* minSend_ = nullptr;
    QLineEdit* maxSend_ = nullptr;
    QLineEdit* scopePid_ = nullptr;
    QComboBox* category_ = nullptr;
    QLineEdit* size_ = nullptr;
    QLineEdit* scaleA_ = nullptr;
    QLineEdit* scaleB_ = nullptr;
    QLineEdit* scaleC_ = nullptr;
    QLineEdit* byteOffset_ = nullptr;
    QLineEdit* bitOffset_ = nullptr;
    QCheckBox* lock_ = nullptr;
    QLabel* fbLabel_ = nullptr;
    QLineEdit* fbNumber_ = nullptr;
    QLineEdit* objectNumber_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* autoAssign_ = nullptr;
};

} // namespace korvex::ui::dialogs
