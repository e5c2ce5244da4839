#pragma once
// "Object Editor": one data object's name, data format, default-value flags and default value,
// edited in a private copy. Opened from the master list. Apply stores them and asks for the
// master list to be redrawn; Cancel or closing discards the copy.
#include "ui/dialogs/EditorDialog.h"

#include "model/DataObject.h"

#include <QString>

#include <array>

class QCheckBox;
class QComboBox;

namespace korvex::ui::dialogs {

// The default value typed as a decimal fraction, stored in the object's data format.
void takeDefaultValue(DataObject& copy, const QString& text);
// The stored default value as its data format reads it; an unused format shows 0.
QString defaultValueText(const DataObject& copy);
// A new data format; the default value keeps its number as far as the new format holds it.
void chooseDataFormat(DataObject& copy, int datatype);
// Apply: the edited fields into the object, whose in-device and saved marks go.
void applyObjectEdit(ObjectMap& map, int n, const DataObject& copy);

class ObjEdit : public EditorDialog {
    Q_OBJECT
public:
    // n is the object number 1..400.
    ObjEdit(const EditorContext& context, int n, QWidget* parent = nullptr);

    const DataObject& copy() const { return copy_; }
    int objectNumber() const { return n_; }

protected:
    void redraw() override;

private:
    void apply();

    int n_;
    bool valid_;
    DataObject copy_{};

    QLineEdit* name_ = nullptr;
    QComboBox* format_ = nullptr;
    std::array<QCheckBox*, 3> flagBoxes_{}; // power-up, comm fail, persistent
    QLineEdit* defaultValue_ = nullptr;
};

} // namespace korvex::ui::dialogs
