#pragma once
// The Modbus Port page: the gateway's Modbus port settings, for the model with Modbus TCP also
// its TCP/IP settings and TCP device map, read from and written to the device; and the Modbus
// error counters of one slave. The page's indicator shows whether the settings match the device.
#include "model/Settings.h"
#include "ui/pages/ToolPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace korvex::ui::models {
class MapTableModel;
}

namespace korvex::ui::pages {

using models::MapTableModel;
struct PortFields;

class ModbusPortPage : public ToolPage {
    Q_OBJECT
public:
    explicit ModbusPortPage(ConfigTool& tool, QWidget* parent = nullptr);

    // Load fields: the settings (and TCP settings) are shown again and become the sync copy; the
    // indicator is set from the confirmed marks.
    void refresh() override;
    void leaving() override;
    // Redraws the TCP device map grid.
    void refreshTcpMap();
    // The indicator from the confirmed marks, and the window's flag with it.
    void updateIndicator();
    void showInSync(bool on);
    void showSessionSync();
    // As the device link (or a TCP map change) reports it: out of sync also drops the confirmed
    // marks, so that no later redraw takes the settings for confirmed again.
    void showDeviceSync(bool on);
    bool indicatorOn() const { return indicatorOn_; }

    // Read fields, then compare with the sync and saved copies (a change clears the marks).
    void fieldChanged();
    void readDevice();
    void writeDevice();
    void getErrorInfo();
    // Selected TCP map entry (row + 1), 0 before any selection.
    int selectedTcpEntry() const { return selectedEntry_; }
    void openTcpEntry(int entry);
    // A problem of the port settings: its field gets the focus. One of a TCP device entry: the
    // entry's row is selected and its editor opened.
    void showProblem(const Problem& problem) override;

    QCheckBox* slaveBox() const { return slave_; }
    QCheckBox* masterBox() const { return master_; }
    QPushButton* readButton() const { return read_; }
    QPushButton* writeButton() const { return write_; }
    QComboBox* baudList() const { return baud_; }
    QComboBox* formatList() const { return format_; }
    QLineEdit* timeoutBox() const { return timeout_; }
    QLineEdit* slaveAddressBox() const { return slaveAddress_; }
    QLineEdit* predelayBox() const { return predelay_; }
    QCheckBox* highRegFirstBox() const { return highRegFirst_; }
    QLineEdit* ipBox() const { return ip_; }
    QLineEdit* subnetBox() const { return subnet_; }
    QLineEdit* gatewayBox() const { return gateway_; }
    QLineEdit* tcpPortBox() const { return tcpPort_; }
    QTableView* tcpMapGrid() const { return tcpGrid_; }
    QLineEdit* unitBox() const { return unit_; }
    int unitPosition() const { return unitPosition_; }
    // The spinner's arrows: +1 up, -1 down.
    void stepUnit(int delta);
    QPushButton* errorInfoButton() const { return errorInfo_; }
    QLabel* indicator() const { return indicator_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildTopRow();
    QLayout* buildPortColumn();
    QWidget* buildTcpColumn();
    QLayout* buildBottomRow();
    void setSlaveChoice(bool slave);
    PortFields shownFields() const;
    void showFields(const PortFields& fields);
    // Korvex-C: baud list and pre-delay disabled, TCP controls shown.
    void applyDeviceModel();

    // TCP/IP boxes (ModbusPortPageTcp.cpp).
    void loadTcpBoxes();
    void tcpBoxLeft(QLineEdit* box);
    bool takeTcpBox(QLineEdit* box);
    const char* checkTcpText(const QLineEdit* box, const QString& text, const TcpSettings& tcp,
                             TcpSettings& next) const;
    bool storedTcpValid();
    void buildTcpGrid();

    void unitTyped();
    void setUnitPosition(int position);

    QLabel* indicator_ = nullptr;
    bool indicatorOn_ = false;
    QCheckBox* slave_ = nullptr;
    QCheckBox* master_ = nullptr;
    QPushButton* read_ = nullptr;
    QPushButton* write_ = nullptr;
    QComboBox* baud_ = nullptr;
    QComboBox* format_ = nullptr;
    QLineEdit* timeout_ = nullptr;
    QLineEdit* slaveAddress_ = nullptr;
    QLineEdit* predelay_ = nullptr;
    QCheckBox* highRegFirst_ = nullptr;
    QWidget* tcpColumn_ = nullptr;
    QLineEdit* ip_ = nullptr;
    QLineEdit* subnet_ = nullptr;
    QLineEdit* gateway_ = nullptr;
    QLineEdit* tcpPort_ = nullptr;
    QTableView* tcpGrid_ = nullptr;
    MapTableModel* tcpModel_ = nullptr;
    int selectedEntry_ = 0;
    QLineEdit* unit_ = nullptr;
    QToolButton* unitUp_ = nullptr;
    QToolButton* unitDown_ = nullptr;
    int unitPosition_ = 1;
    bool unitGuard_ = false;
    QPushButton* errorInfo_ = nullptr;
};

} // namespace korvex::ui::pages
