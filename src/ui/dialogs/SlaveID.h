#pragma once
// "Slave ID Change": one slave address for every entry of the Reg Import list. Opened by
// "Set Slave Addr" on the Reg Import page.
#include "ui/dialogs/EditorDialog.h"

#include "formats/csv/RegisterImport.h"

namespace korvex::ui::dialogs {

// The box's value: 1..255, as every other slave address box takes it; not a number gives 1.
uint8_t slaveIdFrom(const QString& text);
// Apply: the address into every entry of the list.
void setImportSlaves(RegisterImportList& list, uint8_t slave);

class SlaveID : public EditorDialog {
    Q_OBJECT
public:
    SlaveID(const EditorContext& context, RegisterImportList& list, QWidget* parent = nullptr);

    uint8_t slave() const { return slave_; }

protected:
    void redraw() override;

private:
    RegisterImportList& list_;
    uint8_t slave_ = 1;
    QLineEdit* box_ = nullptr;
};

} // namespace korvex::ui::dialogs
