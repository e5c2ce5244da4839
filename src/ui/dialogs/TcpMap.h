#pragma once
// "Modbus TCP Device Editor": one entry of the TCP device map, edited in a private copy. Opened
// from the Modbus Port page's TCP map grid. Apply stores the entry and Delete empties it; either
// packs the map and raises tcpMapChanged. Cancel or closing discards the copy.
#include "ui/dialogs/EditorDialog.h"

#include "model/Settings.h"

namespace korvex::ui::dialogs {

class TcpMap : public EditorDialog {
    Q_OBJECT
public:
    // n is the entry number 1..20.
    TcpMap(const EditorContext& context, int n, QWidget* parent = nullptr);

    const TcpDeviceMap& copy() const { return copy_; }
    int entryNumber() const { return n_; }

protected:
    void redraw() override;

private:
    void takeAddress(const QString& text);
    void finish(bool remove);

    int n_;
    bool valid_;
    TcpDeviceMap copy_{};
    TcpSettings gateway_{}; // the gateway's own addresses, for the domain warning

    QLineEdit* firstUnit_ = nullptr;
    QLineEdit* lastUnit_ = nullptr;
    QLineEdit* mapTo_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* port_ = nullptr;
};

} // namespace korvex::ui::dialogs
