#pragma once
// "Modbus Register Editor": one row of the register list, edited in a private copy. Opened from
// the Reg List grid (register-list mode) and from the master list's register columns (master-list
// mode). The Modicon option and the gateway-is-slave option are taken as they are at opening.
#include "ui/dialogs/EditorDialog.h"
#include "ui/dialogs/rules/ModRegEditFields.h"

#include "model/RegisterDef.h"

#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

namespace korvex::ui::dialogs {

class ModRegEdit : public EditorDialog {
    Q_OBJECT
public:
    // row is 0-based.
    ModRegEdit(const EditorContext& context, int row, RegEditMode mode, QWidget* parent = nullptr);

    const RegisterDef& copy() const { return copy_; }
    int row() const { return row_; }
    RegEditMode mode() const { return mode_; }

protected:
    void redraw() override;

private:
    QLayout* buildAccess();
    QLayout* buildFields();
    void makeControls();
    QLayout* placeFields();
    QLayout* buildButtons();
    void chooseAccessBox(Access access);
    void takeNumber(const QString& text);
    void apply();
    void showEnabling();

    int row_;
    RegEditMode mode_;
    bool modicon_;
    bool valid_ = false;
    RegisterDef copy_{};
    std::optional<bool> linkedInput_; // direction of the linked NV

    QButtonGroup* access_ = nullptr;
    QRadioButton* read_ = nullptr;
    QRadioButton* write_ = nullptr;
    QRadioButton* writeOnUpdate_ = nullptr;
    QLineEdit* number_ = nullptr;
    QComboBox* type_ = nullptr;
    QLineEdit* slave_ = nullptr;
    QLineEdit* bitNumber_ = nullptr;
    QLineEdit* mask_ = nullptr;
    QComboBox* format_ = nullptr;
    QLineEdit* fill_ = nullptr;
    QCheckBox* packed_ = nullptr;
    QCheckBox* highRegFirst_ = nullptr;
    QLineEdit* poll_ = nullptr;
    QLineEdit* scale_ = nullptr;
    QLineEdit* offset_ = nullptr;
    QLabel* fbLabel_ = nullptr;
    QLineEdit* fbNumber_ = nullptr;
    QLineEdit* objectNumber_ = nullptr;
    QPushButton* apply_ = nullptr;
};

} // namespace korvex::ui::dialogs
