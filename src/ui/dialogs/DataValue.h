#pragma once
// "Object %d Data Update": a new live value for one data object, typed in the object's data
// format. Opened from the View Data grid. Apply stores it as the object's cached value and raises
// valueWriteRequest, upon which the device link writes it; Cancel or closing discards it.
#include "ui/dialogs/EditorDialog.h"

#include <cstdint>

namespace korvex::ui::dialogs {

class DataValue : public EditorDialog {
    Q_OBJECT
public:
    // n is the object number 1..400; cachedValue is its slot of the value table, read and
    // written under the map's lock.
    DataValue(const EditorContext& context, int n, uint32_t& cachedValue, QWidget* parent = nullptr);

    uint32_t value() const { return value_; }

protected:
    void redraw() override;

private:
    void apply();

    int n_;
    bool valid_;
    uint32_t& cached_;
    uint32_t value_ = 0;
    int datatype_ = 0;
    QLineEdit* box_ = nullptr;
};

} // namespace korvex::ui::dialogs
